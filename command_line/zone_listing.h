// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Zones as the command line shows and saves them: texts exactly as the unit
// holds them, the operator by name or number. One JSON shape serves `show
// --json` and the backup file; the backup adds its format and version.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_line/connected_unit.h"

struct ShownZone {
    std::int32_t zone = 0;
    std::string phone;  // UTF-8
    std::string text;
};

struct ZoneListing {
    std::string operatorLabel;  // name, or the number when it matches none
    std::vector<ShownZone> zones;
};

// `readouts[i]` is the answer for `zones[i]`; the operator comes from the
// first answer.
ZoneListing ListingOf(const std::vector<std::int32_t>& zones, const std::vector<ZoneReadout>& readouts);

nlohmann::json ListingJson(const ZoneListing& listing);
std::string ListingText(const ZoneListing& listing);
// Keys in order, four spaces a level, a line break at the end. (An empty
// array would print as [] where the tool once wrote two lines; no listing
// has one.)
std::string IndentedJson(const nlohmann::json& value);

// Version 1 wrote a line break as "\n", which a lone LF could not survive;
// it is still read that way. Version 2 holds texts exactly.
inline constexpr int BackupVersion = 2;
std::string BackupFile(const ZoneListing& listing);

// A backup file checked whole, in the values the upload takes.
struct ZoneUpload {
    std::int32_t zone = 0;
    std::u16string phone;
    std::u16string text;  // exactly as the unit is to hold it
};
struct RestorePlan {
    std::int32_t serviceCentre = 0;
    std::vector<ZoneUpload> zones;  // in zone order, each zone at most once
};
// Reports a unit holding `zone` and `serviceCentre` answers its read-back with.
std::size_t AnswerLength(std::int32_t serviceCentre, const ZoneUpload& zone);

std::optional<RestorePlan> ParseBackupFile(std::string_view content, std::string& error);
