// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "virtual_unit/alarm_unit_model.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace {

// Output report, wire positions.
constexpr std::size_t WireCommand = 5;
constexpr std::size_t WireData = 6;
constexpr std::size_t WireAddress = 7;
constexpr std::uint8_t WriteCommand = 10;

// Input report, wire positions.
constexpr std::size_t WireTag = 7;
constexpr std::size_t WireServiceCentreChar = 4;
constexpr std::size_t WirePhoneChar = 5;
constexpr std::size_t WireTextChar = 6;

constexpr int ZoneCount = 4;

struct Area {
    std::size_t start;
    std::size_t size;
};

constexpr Area PinArea{0, 5};
constexpr Area ServiceCentreArea{5, 10};

std::optional<Area> PhoneArea(int zone)
{
    if (zone < 1 || zone > ZoneCount)
        return std::nullopt;
    return Area{15 + 60 * static_cast<std::size_t>(zone - 1), 10};
}

std::optional<Area> TextArea(int zone)
{
    if (const auto phone = PhoneArea(zone))
        return Area{phone->start + 10, 50};
    return std::nullopt;
}

std::optional<Area> AreaStartingAt(std::size_t address)
{
    for (const Area area : {PinArea, ServiceCentreArea})
        if (area.start == address)
            return area;
    for (int zone = 1; zone <= ZoneCount; ++zone)
        for (const auto area : {PhoneArea(zone), TextArea(zone)})
            if (area->start == address)
                return area;
    return std::nullopt;
}

}  // namespace

std::vector<WireReport> AlarmUnitModel::Receive(const WireReport& report)
{
    log_.push_back(report);
    const std::uint8_t command = report[WireCommand];

    if (command == WriteCommand) {
        const std::uint8_t data = report[WireData];
        const std::size_t address = report[WireAddress];
        if (data == 0)
            return {};
        if (const auto area = AreaStartingAt(address))
            std::fill_n(memory_.begin() + area->start, area->size, 0);
        memory_[address] = data;
        return {};
    }

    if (command < 1 || command > ZoneCount)
        return {};
    const int zone = command;
    std::vector<WireReport> replies;
    const auto stream = [&replies](const std::string& field, std::uint8_t tag,
                                   std::size_t charPosition) {
        for (const char c : field) {
            WireReport reply{};
            reply[WireTag] = tag;
            reply[charPosition] = static_cast<std::uint8_t>(c);
            replies.push_back(reply);
        }
    };
    stream(ServiceCentre(), 1, WireServiceCentreChar);
    stream(Phone(zone), 2, WirePhoneChar);
    stream(Text(zone), 3, WireTextChar);
    return replies;
}

namespace {

void Store(std::array<std::uint8_t, 256>& memory, Area area, const std::string& value)
{
    std::fill_n(memory.begin() + area.start, area.size, 0);
    std::copy_n(value.begin(), std::min(value.size(), area.size), memory.begin() + area.start);
}

std::string Stored(const std::array<std::uint8_t, 256>& memory, Area area)
{
    const auto begin = memory.begin() + area.start;
    const auto end = std::find(begin, begin + area.size, 0);
    return std::string(begin, end);
}

}  // namespace

void AlarmUnitModel::StoreServiceCentre(const std::string& digits)
{
    Store(memory_, ServiceCentreArea, digits);
}

void AlarmUnitModel::StorePin(const std::string& pin) { Store(memory_, PinArea, pin); }

void AlarmUnitModel::StoreZone(int zone, const std::string& phone, const std::string& text)
{
    const auto phoneArea = PhoneArea(zone);
    if (!phoneArea)
        return;
    Store(memory_, *phoneArea, phone);
    Store(memory_, *TextArea(zone), text);
}

std::string AlarmUnitModel::ServiceCentre() const { return Stored(memory_, ServiceCentreArea); }

std::string AlarmUnitModel::Phone(int zone) const
{
    const auto area = PhoneArea(zone);
    return area ? Stored(memory_, *area) : std::string();
}

std::string AlarmUnitModel::Text(int zone) const
{
    const auto area = TextArea(zone);
    return area ? Stored(memory_, *area) : std::string();
}
