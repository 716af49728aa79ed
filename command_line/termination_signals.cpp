// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/termination_signals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

std::atomic<int> writeEnd{-1};

void Handler(int)
{
    // Only async-signal-safe calls here.
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(writeEnd.load(), &byte, 1);
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal))
{
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // no signal handling: the default action ends the program
    writeEnd = pipe_[1];
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(pipe_[0], bytes, sizeof bytes) > 0) {
        }
        onSignal_();
    });
    struct sigaction action = {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
}

TerminationSignals::~TerminationSignals()
{
    if (notifier_ == nullptr)
        return;
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
    writeEnd = -1;
    delete notifier_;
    close(pipe_[0]);
    close(pipe_[1]);
}
