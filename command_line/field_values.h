// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The values a user gives on the command line or in a backup file, checked
// against what the unit's memory holds and turned into the texts the
// protocol sends; and the unit's texts turned back for showing.
//
// A line break typed on the command line is "\n" and goes as CR LF, where it
// counts two UTF-16 units towards the text's limit. JSON holds texts exactly
// as the unit does, so a lone CR or LF the unit holds comes back unchanged.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Each parser takes UTF-8 and returns the value, or nothing with `error`
// saying why.
std::optional<std::int32_t> ParseZone(const std::string& text, std::string& error);
// An operator's name (any letter case) or a service-centre number of 1 to 9
// digits without a leading zero, so that the number sent reads as given.
std::optional<std::int32_t> ParseOperator(const std::string& text, std::string& error);
std::optional<std::u16string> ParsePin(const std::string& text, std::string& error);
std::optional<std::u16string> ParsePhone(const std::string& text, std::string& error);
// Every "\n" not already after a CR becomes CR LF.
std::optional<std::u16string> ParseText(const std::string& text, std::string& error);
// The text sent as given, character for character.
std::optional<std::u16string> ParseExactText(const std::string& text, std::string& error);
// A whole number of units, 1 or more, in plain digits, for --`option`.
std::optional<std::size_t> ParseCount(const std::string& option, const std::string& text, std::string& error);

// The operator's name when the number is one of the table's, else the number.
std::string OperatorLabel(const std::u16string& serviceCentre);
// The unit's text for reading on a terminal: each CR LF a line break, a lone
// CR or LF shown as \r or \n, since printed raw it would hide text or pass
// for a line break.
std::string DisplayText(std::string_view exactText);
