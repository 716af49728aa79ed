// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/field_values.h"

#include <algorithm>
#include <cstdio>

#include "protocol/utf8_text.h"
#include "protocol/report_layout.h"

namespace {

bool HighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool LowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A lone surrogate has no UTF-16LE bytes the unit could give back as the
// character meant; a NUL would end the field where the unit reads it back.
bool CheckCharacters(const std::u16string& units, const char* what, std::string& error)
{
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        if (HighSurrogate(c) && i + 1 < units.size() && LowSurrogate(units[i + 1])) {
            ++i;
            continue;
        }
        if (HighSurrogate(c) || LowSurrogate(c)) {
            char code[8];
            std::snprintf(code, sizeof code, "%04x", static_cast<unsigned>(c));
            error = std::string(what) + ": holds a lone UTF-16 surrogate (U+" + code + ")";
            return false;
        }
        if (units[i] == 0) {
            error = std::string(what) + ": holds a NUL character";
            return false;
        }
    }
    return true;
}

std::optional<std::u16string> Limited(std::u16string units, std::size_t limit, const char* what,
                                      std::string& error)
{
    if (!CheckCharacters(units, what, error))
        return std::nullopt;
    if (units.size() > limit) {
        error = std::string(what) + ": " + std::to_string(units.size()) + " UTF-16 units, at most " +
                std::to_string(limit) + " fit";
        return std::nullopt;
    }
    return units;
}

bool AllDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Operator names are ASCII; any other character matches none of them.
bool SameLetters(const std::string& text, std::u16string_view name)
{
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    return text.size() == name.size() &&
           std::equal(text.begin(), text.end(), name.begin(), [&](char a, char16_t b) {
               return static_cast<unsigned char>(a) < 0x80 && lower(static_cast<char16_t>(a)) == lower(b);
           });
}

}  // namespace

std::optional<std::int32_t> ParseZone(const std::string& text, std::string& error)
{
    for (const ZoneEntry& entry : ZoneTable)
        if (text == std::to_string(entry.zone))
            return entry.zone;
    error = "zone: '" + text + "' is not a zone (1 to 4)";
    return std::nullopt;
}

std::optional<std::int32_t> ParseOperator(const std::string& text, std::string& error)
{
    for (const OperatorEntry& entry : OperatorTable)
        if (SameLetters(text, entry.text))
            return entry.smsc;
    const bool digits = !text.empty() && text.size() <= 9 && text.front() != '0' && AllDigits(text);
    if (digits)
        return std::stoi(text);
    std::string names;
    for (const OperatorEntry& entry : OperatorTable)
        names += (names.empty() ? "" : ", ") + ToUtf8(entry.text);
    error = "operator: '" + text + "' is neither " + names +
            " nor a service-centre number of 1 to 9 digits without a leading zero";
    return std::nullopt;
}

std::optional<std::u16string> ParsePin(const std::string& text, std::string& error)
{
    return Limited(FromUtf8(text), PinMaxLength, "pin", error);
}

std::optional<std::u16string> ParsePhone(const std::string& text, std::string& error)
{
    return Limited(FromUtf8(text), PhoneMaxLength, "phone", error);
}

std::optional<std::u16string> ParseText(const std::string& text, std::string& error)
{
    std::u16string wire;
    for (const char16_t c : FromUtf8(text)) {
        if (c == u'\n' && (wire.empty() || wire.back() != u'\r'))
            wire += u'\r';
        wire += c;
    }
    return Limited(std::move(wire), TextMaxLength, "text (a line break counts two)", error);
}

std::optional<std::u16string> ParseExactText(const std::string& text, std::string& error)
{
    return Limited(FromUtf8(text), TextMaxLength, "text (CR LF counts two)", error);
}

std::optional<std::size_t> ParseCount(const std::string& option, const std::string& text, std::string& error)
{
    const bool digits = !text.empty() && text.size() <= 9 && AllDigits(text);
    if (digits && std::stoul(text) > 0)
        return std::stoul(text);
    error = option + ": '" + text + "' is not a whole number of units from 1 to 999999999";
    return std::nullopt;
}

std::string OperatorLabel(const std::u16string& serviceCentre)
{
    for (const OperatorEntry& entry : OperatorTable)
        if (DecimalText(entry.smsc) == serviceCentre)
            return ToUtf8(entry.text);
    return ToUtf8(serviceCentre);
}

std::string DisplayText(std::string_view exactText)
{
    std::string shown;
    for (std::size_t i = 0; i < exactText.size(); ++i) {
        const char c = exactText[i];
        if (c == '\r' && i + 1 < exactText.size() && exactText[i + 1] == '\n') {
            shown += '\n';
            ++i;
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else {
            shown += c;
        }
    }
    return shown;
}
