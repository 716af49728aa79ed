// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The two operations that send reports: writing a zone's configuration into
// the unit's memory and asking the unit to stream a zone back.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "protocol/configurator_state.h"

struct UploadOutcome {
    std::size_t reportsSent = 0;
    // Set when a write would have needed an address above 255: that write and
    // every later one of the same press were not sent.
    std::optional<std::int64_t> stoppedAtAddress;
    // Set when the library refused a write (the unit is absent or went away
    // mid-upload): the address of that write; nothing after it was sent.
    std::optional<std::int64_t> refusedAtAddress;

    bool Complete() const { return !stoppedAtAddress && !refusedAtAddress; }
};

// Writes PIN, service centre, phone and text, one output report per encoded
// byte. The caller reads all five values from the window at the press. A
// write the library refuses ends the press: what follows would only land on
// a unit that came back halfway through, as an upload without its start.
UploadOutcome SendZoneConfiguration(ConfiguratorState& state, HidLibrary& library,
                                    std::int32_t zoneNumber, std::int32_t smscNumber,
                                    const std::u16string& pinText,
                                    const std::u16string& phoneText,
                                    const std::u16string& messageText);

// Asks for the stored configuration of zone `SelectedZone`. Bytes 7 and 8 of
// the request still carry the last write. Returns false, sending nothing,
// when `SelectedZone` is not "1".."4": any other command value would make
// the unit do something else with those leftover bytes.
bool RequestZoneReadBack(ConfiguratorState& state, HidLibrary& library);
