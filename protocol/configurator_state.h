// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The protocol's persistent fields, owned by the window for its whole life,
// and what the read-back decoder needs of the window.

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/hid_library.h"

struct ConfiguratorState {
    std::u16string SelectedZone;       // "1".."4"
    std::int32_t ZoneBase = 0;         // kept between uploads
    std::u16string SelectedSmsc;       // decimal service-centre number
    std::u16string ReceivedSmsc;       // read-back characters since the last zone pick
    std::vector<std::uint8_t> SendBytes;  // scratch: the field being sent
    Report ReportOut{};                // never cleared: a read-back request carries the last write
    Report ReportIn{};
};

class ConfiguratorView {
public:
    virtual ~ConfiguratorView() = default;
    // Selects an operator entry as a user pick would, running its handler.
    virtual void SelectOperator(int index) = 0;
    virtual std::u16string PhoneText() const = 0;
    virtual void SetPhoneText(const std::u16string& text) = 0;
    virtual std::u16string MessageText() const = 0;
    virtual void SetMessageText(const std::u16string& text) = 0;
};
