// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <thread>

namespace {

std::atomic<int> writeEnd{-1};

constexpr char SignalByte = 1;
constexpr char QuitByte = 0;  // from the destructor: the watcher ends

void Handler(int)
{
    // Only async-signal-safe calls here.
    const int saved = errno;
    [[maybe_unused]] const ssize_t written = write(writeEnd.load(), &SignalByte, 1);
    errno = saved;
}

}  // namespace

// The handler only writes a byte into a pipe; a thread reading the pipe's
// other end makes the call.
struct TerminationSignals::Handlers {
    void Watch(const std::function<void()>& onSignal);

    int pipe_[2] = {-1, -1};
    std::thread watcher_;
    struct sigaction previousInt_ = {};
    struct sigaction previousTerm_ = {};
};

TerminationSignals::TerminationSignals(std::function<void()> onSignal)
    : onSignal_(std::move(onSignal)), handlers_(std::make_unique<Handlers>())
{
    auto& pipe_ = handlers_->pipe_;
    auto& previousInt_ = handlers_->previousInt_;
    auto& previousTerm_ = handlers_->previousTerm_;
    if (pipe2(pipe_, O_CLOEXEC) != 0)
        return;  // no signal handling: the default action ends the program
    writeEnd = pipe_[1];
    handlers_->watcher_ = std::thread([this] { handlers_->Watch(onSignal_); });
    struct sigaction action = {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
}

void TerminationSignals::Handlers::Watch(const std::function<void()>& onSignal_)
{
    char byte = QuitByte;
    while (true) {
        const ssize_t got = read(pipe_[0], &byte, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got != 1 || byte == QuitByte)
            return;
        onSignal_();
    }
}

TerminationSignals::~TerminationSignals()
{
    auto& [pipe_, watcher_, previousInt_, previousTerm_] = *handlers_;
    if (!watcher_.joinable())
        return;
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
    writeEnd = -1;
    [[maybe_unused]] const ssize_t written = write(pipe_[1], &QuitByte, 1);
    watcher_.join();
    close(pipe_[0]);
    close(pipe_[1]);
}
