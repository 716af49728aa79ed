// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// SIGINT and SIGTERM (Ctrl-C and Ctrl-Break in a Windows console), while this
// lives, become a call on a thread other than the one they interrupt. A
// second signal ends the program at once.

#include <functional>
#include <memory>

class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals();  // the previous handlers come back

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    struct Handlers;  // each platform's own
    std::function<void()> onSignal_;
    std::unique_ptr<Handlers> handlers_;
};
