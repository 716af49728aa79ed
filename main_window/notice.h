// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the window tells the user in its notice band: a short text that fits
// the band and a long one for the tooltip and screen readers.

#include <cstddef>
#include <cstdint>
#include <string>

struct Notice {
    std::u16string shortText;
    std::u16string longText;

    bool operator==(const Notice&) const = default;
};

// Device state. `devnode` is where the unit is attached, UTF-8.
Notice UnitAbsentNotice();
Notice UnitDeniedNotice(const std::string& devnode);

// Why a press of the send button sent nothing, or how far it got.
Notice MissingPickNotice(bool zoneMissing, bool operatorMissing);
Notice DesignPinNotice();
Notice NothingSentNotice(const Notice& deviceState);
Notice InterruptedNotice(std::size_t reportsSent, std::int64_t address);
Notice BeyondMemoryNotice(std::int64_t address);
Notice SentNotice(const std::u16string& zone);
Notice SendingNotice(const std::u16string& zone);
