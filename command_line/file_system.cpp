// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/file_system.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

std::filesystem::path PathOf(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::FILE* OpenFile(const std::string& utf8, const char* mode)
{
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(PathOf(utf8).c_str(), wideMode.c_str());
#else
    return std::fopen(utf8.c_str(), mode);
#endif
}

bool FlushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

std::tm UtcOf(std::time_t seconds)
{
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    return utc;
}
