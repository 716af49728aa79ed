// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/argument_encoding.h"

#include <utf8.h>

#include <cstring>

Failure CheckArgumentEncoding(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* const end = argv[i] + std::strlen(argv[i]);
        if (utf8::find_invalid(argv[i], end) != end)
            return {ExitBadInput, "argument " + std::to_string(i) + " is not valid UTF-8; nothing sent\n"};
    }
    return {};
}
