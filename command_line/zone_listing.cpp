// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/zone_listing.h"

#include <algorithm>

#include "command_line/field_values.h"
#include "protocol/utf8_text.h"
#include "protocol/report_layout.h"

using nlohmann::json;

namespace {

const std::string FormatName = "velbrix-qorun-backup";

}  // namespace

ZoneListing ListingOf(const std::vector<std::int32_t>& zones, const std::vector<ZoneReadout>& readouts)
{
    ZoneListing listing;
    if (!readouts.empty())
        listing.operatorLabel = OperatorLabel(readouts.front().serviceCentre);
    for (std::size_t i = 0; i < zones.size() && i < readouts.size(); ++i)
        listing.zones.push_back({zones[i], ToUtf8(readouts[i].phone), ToUtf8(readouts[i].text)});
    return listing;
}

json ListingJson(const ZoneListing& listing)
{
    json zones = json::array();
    for (const ShownZone& zone : listing.zones)
        zones.push_back({{"zone", zone.zone}, {"phone", zone.phone}, {"text", zone.text}});
    return {{"operator", listing.operatorLabel}, {"zones", zones}};
}

std::string IndentedJson(const json& value)
{
    return value.dump(4) + "\n";
}

std::string ListingText(const ZoneListing& listing)
{
    std::string text = "operator: " + listing.operatorLabel + "\n";
    for (const ShownZone& zone : listing.zones)
        text += "zone " + std::to_string(zone.zone) + "\n  phone: " + DisplayText(zone.phone) + "\n  text: " +
                DisplayText(zone.text) + "\n";
    return text;
}

std::string BackupFile(const ZoneListing& listing)
{
    json root = ListingJson(listing);
    root["format"] = FormatName;
    root["version"] = BackupVersion;
    return IndentedJson(root);
}

namespace {

std::optional<std::string> StringField(const json& object, const std::string& key, const std::string& where,
                                       std::string& error)
{
    const auto value = object.find(key);
    if (value == object.end() || !value->is_string()) {
        error = where + key + ": missing or not a string";
        return std::nullopt;
    }
    return value->get<std::string>();
}

using TextParser = std::optional<std::u16string> (*)(const std::string&, std::string&);

// Only the exact numbers 1-4 are zones: 1.5 is none, 1.0 is zone 1.
std::optional<std::int32_t> ZoneNumber(const json& object)
{
    const auto number = object.find("zone");
    if (number == object.end() || !number->is_number())
        return std::nullopt;
    for (const ZoneEntry& entry : ZoneTable)
        if (number->get<double>() == entry.zone)
            return entry.zone;
    return std::nullopt;
}

std::optional<ZoneUpload> ParseZoneEntry(const json& value, const std::string& where, TextParser parseText,
                                         std::string& error)
{
    if (!value.is_object()) {
        error = where + ": not an object";
        return std::nullopt;
    }
    const auto zone = ZoneNumber(value);
    if (!zone) {
        error = where + ".zone: missing or not a zone (1 to 4)";
        return std::nullopt;
    }
    const auto phoneText = StringField(value, "phone", where + '.', error);
    const auto textText = StringField(value, "text", where + '.', error);
    if (!phoneText || !textText)
        return std::nullopt;
    std::string problem;
    const auto phone = ParsePhone(*phoneText, problem);
    const auto text = phone ? parseText(*textText, problem) : std::nullopt;
    if (!phone || !text) {
        error = where + '.' + problem;
        return std::nullopt;
    }
    return ZoneUpload{*zone, *phone, *text};
}

// nlohmann's "[json.exception.parse_error.101] parse error at line 1, column
// 9: syntax error ..." without its prefix, and without where when it is told
// in bytes.
std::string ParseProblem(const json::exception& e)
{
    std::string what = e.what();
    what.erase(0, what.find("] ") == std::string::npos ? 0 : what.find("] ") + 2);
    const std::size_t colon = what.find(": ");
    return what.starts_with("parse error") && colon != std::string::npos ? what.substr(colon + 2) : what;
}

}  // namespace

std::optional<RestorePlan> ParseBackupFile(std::string_view content, std::string& error)
{
    json root;
    try {
        root = json::parse(content);
    } catch (const json::parse_error& e) {
        error = "not JSON: " + ParseProblem(e) + " at byte " + std::to_string(e.byte);
        return std::nullopt;
    } catch (const json::exception& e) {  // a number past what a double holds
        error = "not JSON: " + ParseProblem(e);
        return std::nullopt;
    }
    if (!root.is_object()) {
        error = "not a JSON object";
        return std::nullopt;
    }
    const auto format = root.find("format");
    if (format == root.end() || *format != FormatName) {
        error = "format: not \"" + FormatName + "\"";
        return std::nullopt;
    }
    const auto version = root.find("version");
    const bool known = version != root.end() && version->is_number() && (*version == 1 || *version == BackupVersion);
    if (!known) {
        error = "version: only versions 1 and " + std::to_string(BackupVersion) + " are known";
        return std::nullopt;
    }
    const TextParser parseText = *version == 1 ? ParseText : ParseExactText;
    const auto label = StringField(root, "operator", "", error);
    if (!label)
        return std::nullopt;
    RestorePlan plan;
    std::string problem;
    const auto serviceCentre = ParseOperator(*label, problem);
    if (!serviceCentre) {
        error = problem;
        return std::nullopt;
    }
    plan.serviceCentre = *serviceCentre;

    const auto zones = root.find("zones");
    if (zones == root.end() || !zones->is_array() || zones->empty()) {
        error = "zones: missing, empty or not an array";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < zones->size(); ++i) {
        const std::string where = "zones[" + std::to_string(i) + "]";
        auto zone = ParseZoneEntry((*zones)[i], where, parseText, error);
        if (!zone)
            return std::nullopt;
        const bool repeated = std::any_of(plan.zones.begin(), plan.zones.end(),
                                          [&](const ZoneUpload& z) { return z.zone == zone->zone; });
        if (repeated) {
            error = where + ".zone: zone " + std::to_string(zone->zone) + " appears twice";
            return std::nullopt;
        }
        plan.zones.push_back(std::move(*zone));
    }
    std::sort(plan.zones.begin(), plan.zones.end(),
              [](const ZoneUpload& a, const ZoneUpload& b) { return a.zone < b.zone; });
    return plan;
}

std::size_t AnswerLength(std::int32_t serviceCentre, const ZoneUpload& zone)
{
    return DecimalText(serviceCentre).size() + zone.phone.size() + zone.text.size();
}
