// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// SIGINT and SIGTERM, while this lives, become a call on the Qt thread: the
// handler only writes a byte into a pipe, and a socket notifier on the
// pipe's other end makes the call. A second signal ends the program at once.

#include <QObject>

#include <csignal>
#include <functional>

class QSocketNotifier;

class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals() override;  // the previous handlers come back

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    std::function<void()> onSignal_;
    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previousInt_ = {};
    struct sigaction previousTerm_ = {};
};
