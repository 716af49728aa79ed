// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The command line's exit statuses.

#include <string>

enum ExitStatus : int {
    ExitOk = 0,
    ExitBadInput = 2,     // bad arguments or file; nothing was sent
    ExitNoUnit = 3,       // no unit, unit gone, or no answer
    ExitDifferences = 4,  // verify found fields that differ
};

// A command's result: the status and, when it failed, what to tell the user.
struct Failure {
    ExitStatus status = ExitOk;
    std::string message;  // UTF-8, one or more lines, no prefix
};
