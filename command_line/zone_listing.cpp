// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/zone_listing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>

#include "command_line/field_values.h"
#include "device_link/qt/text_units.h"
#include "protocol/report_layout.h"

namespace {

const QString FormatName = QStringLiteral("velbrix-qorun-backup");

}  // namespace

ZoneListing ListingOf(const std::vector<std::int32_t>& zones, const std::vector<ZoneReadout>& readouts)
{
    ZoneListing listing;
    if (!readouts.empty())
        listing.operatorLabel = OperatorLabel(readouts.front().serviceCentre);
    for (std::size_t i = 0; i < zones.size() && i < readouts.size(); ++i)
        listing.zones.push_back({zones[i], FromUnits(readouts[i].phone), FromUnits(readouts[i].text)});
    return listing;
}

QJsonObject ListingJson(const ZoneListing& listing)
{
    QJsonArray zones;
    for (const ShownZone& zone : listing.zones)
        zones.append(QJsonObject{{QStringLiteral("zone"), zone.zone},
                                 {QStringLiteral("phone"), zone.phone},
                                 {QStringLiteral("text"), zone.text}});
    return QJsonObject{{QStringLiteral("operator"), listing.operatorLabel},
                       {QStringLiteral("zones"), zones}};
}

QString ListingText(const ZoneListing& listing)
{
    QString text = QStringLiteral("operator: %1\n").arg(listing.operatorLabel);
    for (const ShownZone& zone : listing.zones)
        text += QStringLiteral("zone %1\n  phone: %2\n  text: %3\n")
                    .arg(zone.zone)
                    .arg(DisplayText(zone.phone), DisplayText(zone.text));
    return text;
}

QByteArray BackupFile(const ZoneListing& listing)
{
    QJsonObject root = ListingJson(listing);
    root.insert(QStringLiteral("format"), FormatName);
    root.insert(QStringLiteral("version"), BackupVersion);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

namespace {

std::optional<QString> StringField(const QJsonObject& object, const QString& key, const QString& where,
                                   QString& error)
{
    const QJsonValue value = object.value(key);
    if (!value.isString()) {
        error = QStringLiteral("%1%2: missing or not a string").arg(where, key);
        return std::nullopt;
    }
    return value.toString();
}

using TextParser = std::optional<std::u16string> (*)(const QString&, QString&);

std::optional<ZoneUpload> ParseZoneEntry(const QJsonValue& value, const QString& where, TextParser parseText,
                                         QString& error)
{
    if (!value.isObject()) {
        error = where + QStringLiteral(": not an object");
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    const QJsonValue number = object.value(QStringLiteral("zone"));
    QString problem;
    // toInt() would turn 1.5 into 1; only the exact numbers 1-4 are zones.
    const auto zone = number.isDouble() && number.toDouble() == number.toInt()
                          ? ParseZone(QString::number(number.toInt()), problem)
                          : std::nullopt;
    if (!zone) {
        error = where + QStringLiteral(".zone: missing or not a zone (1 to 4)");
        return std::nullopt;
    }
    const auto phoneText = StringField(object, QStringLiteral("phone"), where + QLatin1Char('.'), error);
    const auto textText = StringField(object, QStringLiteral("text"), where + QLatin1Char('.'), error);
    if (!phoneText || !textText)
        return std::nullopt;
    const auto phone = ParsePhone(*phoneText, problem);
    const auto text = phone ? parseText(*textText, problem) : std::nullopt;
    if (!phone || !text) {
        error = where + QLatin1Char('.') + problem;
        return std::nullopt;
    }
    return ZoneUpload{*zone, *phone, *text};
}

}  // namespace

std::optional<RestorePlan> ParseBackupFile(const QByteArray& content, QString& error)
{
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(content, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = QStringLiteral("not JSON: %1 at byte %2").arg(parse.errorString()).arg(parse.offset);
        return std::nullopt;
    }
    if (!document.isObject()) {
        error = QStringLiteral("not a JSON object");
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != FormatName) {
        error = QStringLiteral("format: not \"%1\"").arg(FormatName);
        return std::nullopt;
    }
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (version != QJsonValue(1) && version != QJsonValue(BackupVersion)) {
        error = QStringLiteral("version: only versions 1 and %1 are known").arg(BackupVersion);
        return std::nullopt;
    }
    const TextParser parseText = version == QJsonValue(1) ? ParseText : ParseExactText;
    const auto label = StringField(root, QStringLiteral("operator"), QString(), error);
    if (!label)
        return std::nullopt;
    RestorePlan plan;
    QString problem;
    const auto serviceCentre = ParseOperator(*label, problem);
    if (!serviceCentre) {
        error = problem;
        return std::nullopt;
    }
    plan.serviceCentre = *serviceCentre;

    const QJsonValue zones = root.value(QStringLiteral("zones"));
    if (!zones.isArray() || zones.toArray().isEmpty()) {
        error = QStringLiteral("zones: missing, empty or not an array");
        return std::nullopt;
    }
    const QJsonArray entries = zones.toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString where = QStringLiteral("zones[%1]").arg(i);
        auto zone = ParseZoneEntry(entries.at(i), where, parseText, error);
        if (!zone)
            return std::nullopt;
        const bool repeated = std::any_of(plan.zones.begin(), plan.zones.end(),
                                          [&](const ZoneUpload& z) { return z.zone == zone->zone; });
        if (repeated) {
            error = QStringLiteral("%1.zone: zone %2 appears twice").arg(where).arg(zone->zone);
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
