// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The virtual unit holds what an upload wrote, byte for byte, for every zone,
// field and length: a shorter value after the longest replaces it whole, an
// empty one leaves it.

#include <gtest/gtest.h>

#include "protocol/report_layout.h"
#include "protocol/zone_upload.h"
#include "tests/support/recording_library.h"
#include "virtual_unit/alarm_unit_model.h"

namespace {

std::string Value(char first, std::size_t length) {
    std::string value;
    for (std::size_t i = 0; i < length; ++i)
        value += static_cast<char>(first + i);
    return value;
}

void Upload(AlarmUnitModel& unit, int zone, std::size_t length) {
    const auto units = [](const std::string& s) { return std::u16string(s.begin(), s.end()); };
    RecordingLibrary library;
    ConfiguratorState state;
    SendZoneConfiguration(state, library, zone, std::stoi(Value('1', std::clamp<std::size_t>(length, 1, 9))),
                          units(Value('1', std::min(length, PinMaxLength))),
                          units(Value('a', std::min(length, PhoneMaxLength))), units(Value('A', length)));
    for (const Report& r : library.written)
        unit.Receive({r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
}

TEST(UnitMemory, HoldsTheLastValueOfEachFieldWhole) {
    for (int zone = 1; zone <= 4; ++zone)
        for (std::size_t length = 0; length <= TextMaxLength; ++length) {
            AlarmUnitModel unit, expected;
            Upload(unit, zone, TextMaxLength);
            Upload(unit, zone, length);
            const std::size_t kept = length == 0 ? TextMaxLength : length;
            expected.StorePin(Value('1', std::min(kept, PinMaxLength)));
            expected.StoreServiceCentre(Value('1', std::clamp<std::size_t>(length, 1, 9)));
            expected.StoreZone(zone, Value('a', std::min(kept, PhoneMaxLength)), Value('A', kept));
            EXPECT_EQ(unit.Memory(), expected.Memory()) << "zone " << zone << ", length " << length;
        }
}

}  // namespace
