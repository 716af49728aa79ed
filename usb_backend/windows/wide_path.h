// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Device paths between Windows' wide strings and the link's UTF-8 ones.

#include <string>
#include <string_view>

std::string Utf8Path(std::wstring_view path);
std::wstring WidePath(const std::string& path);

// Device paths differ only in case between a notification (upper) and a
// listing (lower), and Windows compares them without case: the link keeps
// them lower case throughout.
std::string LowerAscii(std::string text);
