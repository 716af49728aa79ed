// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The virtual unit holds what an upload wrote, byte for byte, for every zone,
// field and length: a shorter value after the longest replaces it whole, an
// empty one leaves it.

#include "tests/main_window/form_driver.h"
#include "virtual_unit/alarm_unit_model.h"

namespace {

// The PIN, service centre, phone and text of up to `length` characters,
// uploaded or (`upload` false) stored directly.
void Load(AlarmUnitModel& unit, int zone, std::size_t length, bool upload)
{
    const std::string digits = std::string("123456789").substr(0, std::clamp<std::size_t>(length, 1, 9));
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += static_cast<char>('A' + i);
    const std::string pin = text.substr(0, 4), phone = text.substr(0, 9);
    if (!upload)
        return unit.StorePin(pin), unit.StoreServiceCentre(digits), unit.StoreZone(zone, phone, text);
    const auto u16 = [](const std::string& s) { return std::u16string(s.begin(), s.end()); };
    for (const Report& r : UploadOf(zone, std::stoi(digits), u16(pin), u16(phone), u16(text)))
        unit.Receive({r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
}

TEST(UnitMemory, HoldsTheLastValueOfEachFieldWhole)
{
    for (int zone = 1; zone <= 4; ++zone)
        for (std::size_t length = 0; length <= 49; ++length) {
            AlarmUnitModel unit, expected;
            Load(unit, zone, 49, true), Load(unit, zone, length, true);
            Load(expected, zone, length == 0 ? 49 : length, false);
            expected.StoreServiceCentre(std::string("123456789").substr(0, std::clamp<std::size_t>(length, 1, 9)));
            EXPECT_EQ(unit.Memory(), expected.Memory()) << "zone " << zone << ", length " << length;
        }
}

}  // namespace
