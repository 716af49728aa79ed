// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The file calls whose spelling differs between POSIX and Windows. Paths are
// UTF-8 throughout, as the arguments are: Windows' narrow calls would read
// them in the ANSI code page.

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

std::filesystem::path PathOf(const std::string& utf8);
std::FILE* OpenFile(const std::string& utf8, const char* mode);
// What was written reaches the disk before this returns true.
bool FlushToDisk(std::FILE* file);
std::tm UtcOf(std::time_t seconds);
