// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// SIGINT and SIGTERM, while this lives, become a call on a thread of its
// own: the handler only writes a byte into a pipe, and the thread reading the
// pipe's other end makes the call. A second signal ends the program at once.

#include <csignal>
#include <functional>
#include <thread>

class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals();  // the previous handlers come back

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void Watch();

    std::function<void()> onSignal_;
    int pipe_[2] = {-1, -1};
    std::thread watcher_;
    struct sigaction previousInt_ = {};
    struct sigaction previousTerm_ = {};
};
