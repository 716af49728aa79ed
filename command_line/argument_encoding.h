// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Arguments as the program gets them, checked before they are decoded: an
// argument that is not UTF-8 would reach the unit as replacement characters.

#include "command_line/exit_status.h"

// ExitOk when every argument after the program name is valid UTF-8 (no
// overlong forms, surrogates or code points past U+10FFFF); otherwise
// ExitBadInput naming the first one that is not.
Failure CheckArgumentEncoding(int argc, const char* const* argv);
