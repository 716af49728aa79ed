// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The reports one press of the send button must deliver, worked out from the
// protocol's definition and not through the tool's code, so that a fault the
// tool shares with its unit tests still shows.

#include <cfenv>
#include <cmath>
#include <vector>

#include "virtual_unit/alarm_unit_model.h"

// Each field's UTF-16LE bytes, the i-th written to offset + i/2 rounded half
// to even after the addition; `zone` is 1-4.
inline std::vector<WireReport> ExpectedUpload(int zone, const std::u16string& pin, const std::u16string& serviceCentre,
                                              const std::u16string& phone, const std::u16string& text) {
    std::fesetround(FE_TONEAREST);
    std::vector<WireReport> out;
    const auto field = [&](double offset, const std::u16string& units) {
        for (std::size_t i = 0; i < 2 * units.size(); ++i)
            out.push_back({0, 0, 0, 0, 0, 10 /* write */, static_cast<std::uint8_t>(units[i / 2] >> (i % 2 * 8)),
                           static_cast<std::uint8_t>(std::nearbyint(offset + static_cast<double>(i) / 2.0))});
    };
    const int base = 15 + 60 * (zone - 1);
    field(0, pin);
    field(5, serviceCentre);
    field(base, phone);
    field(base + 10, text);
    return out;
}
