// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/field_values.h"

#include <QStringList>

#include "device_link/qt/text_units.h"
#include "protocol/report_layout.h"

namespace {

// A lone surrogate has no UTF-16LE bytes the unit could give back as the
// character meant; a NUL would end the field where the unit reads it back.
bool CheckCharacters(const std::u16string& units, const char* what, QString& error)
{
    for (std::size_t i = 0; i < units.size(); ++i) {
        const QChar c(units[i]);
        if (c.isHighSurrogate() && i + 1 < units.size() && QChar(units[i + 1]).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) {
            error = QStringLiteral("%1: holds a lone UTF-16 surrogate (U+%2)")
                        .arg(QLatin1String(what))
                        .arg(units[i], 4, 16, QLatin1Char('0'));
            return false;
        }
        if (units[i] == 0) {
            error = QStringLiteral("%1: holds a NUL character").arg(QLatin1String(what));
            return false;
        }
    }
    return true;
}

std::optional<std::u16string> Limited(std::u16string units, std::size_t limit, const char* what,
                                      QString& error)
{
    if (!CheckCharacters(units, what, error))
        return std::nullopt;
    if (units.size() > limit) {
        error = QStringLiteral("%1: %2 UTF-16 units, at most %3 fit")
                    .arg(QLatin1String(what))
                    .arg(units.size())
                    .arg(limit);
        return std::nullopt;
    }
    return units;
}

}  // namespace

std::optional<std::int32_t> ParseZone(const QString& text, QString& error)
{
    for (const ZoneEntry& entry : ZoneTable)
        if (text == QString::number(entry.zone))
            return entry.zone;
    error = QStringLiteral("zone: '%1' is not a zone (1 to 4)").arg(text);
    return std::nullopt;
}

std::optional<std::int32_t> ParseOperator(const QString& text, QString& error)
{
    for (const OperatorEntry& entry : OperatorTable)
        if (text.compare(QStringView(entry.text), Qt::CaseInsensitive) == 0)
            return entry.smsc;
    bool digits = !text.isEmpty() && text.size() <= 9 && text.front() != QLatin1Char('0');
    for (const QChar c : text)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (digits)
        return text.toInt();
    QStringList names;
    for (const OperatorEntry& entry : OperatorTable)
        names << QStringView(entry.text).toString();
    error = QStringLiteral("operator: '%1' is neither %2 nor a service-centre number of 1 to 9 "
                           "digits without a leading zero")
                .arg(text, names.join(QStringLiteral(", ")));
    return std::nullopt;
}

std::optional<std::u16string> ParsePin(const QString& text, QString& error)
{
    return Limited(ToUnits(text), PinMaxLength, "pin", error);
}

std::optional<std::u16string> ParsePhone(const QString& text, QString& error)
{
    return Limited(ToUnits(text), PhoneMaxLength, "phone", error);
}

std::optional<std::u16string> ParseText(const QString& text, QString& error)
{
    std::u16string wire;
    for (const char16_t c : ToUnits(text)) {
        if (c == u'\n' && (wire.empty() || wire.back() != u'\r'))
            wire += u'\r';
        wire += c;
    }
    return Limited(std::move(wire), TextMaxLength, "text (a line break counts two)", error);
}

std::optional<std::u16string> ParseExactText(const QString& text, QString& error)
{
    return Limited(ToUnits(text), TextMaxLength, "text (CR LF counts two)", error);
}

std::optional<std::size_t> ParseCount(const QString& text, QString& error)
{
    bool digits = !text.isEmpty() && text.size() <= 9;
    for (const QChar c : text)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (digits && text.toUInt() > 0)
        return text.toUInt();
    error = QStringLiteral("count: '%1' is not a whole number of units from 1 to 999999999").arg(text);
    return std::nullopt;
}

QString OperatorLabel(const std::u16string& serviceCentre)
{
    for (const OperatorEntry& entry : OperatorTable)
        if (DecimalText(entry.smsc) == serviceCentre)
            return QStringView(entry.text).toString();
    return FromUnits(serviceCentre);
}

QString DisplayText(const QString& exactText)
{
    QString shown;
    for (qsizetype i = 0; i < exactText.size(); ++i) {
        const QChar c = exactText[i];
        if (c == u'\r' && i + 1 < exactText.size() && exactText[i + 1] == u'\n') {
            shown += u'\n';
            ++i;
        } else if (c == u'\r') {
            shown += QStringLiteral("\\r");
        } else if (c == u'\n') {
            shown += QStringLiteral("\\n");
        } else {
            shown += c;
        }
    }
    return shown;
}
