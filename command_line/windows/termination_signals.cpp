// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/termination_signals.h"

#include "command_line/windows/console_control.h"

#include <mutex>

namespace {

// The console calls its handlers on a thread it makes for the purpose.
std::mutex mutex;
const std::function<void()>* onSignal = nullptr;
bool signalled = false;

}  // namespace

BOOL WINAPI ConsoleControlHandler(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    const std::lock_guard lock(mutex);
    if (onSignal == nullptr || signalled)
        return FALSE;  // the next handler, in the end the system's: the program ends at once
    signalled = true;
    (*onSignal)();
    return TRUE;
}

struct TerminationSignals::Handlers {};

TerminationSignals::TerminationSignals(std::function<void()> call) : onSignal_(std::move(call))
{
    {
        const std::lock_guard lock(mutex);
        onSignal = &onSignal_;
        signalled = false;
    }
    SetConsoleCtrlHandler(ConsoleControlHandler, TRUE);
}

TerminationSignals::~TerminationSignals()
{
    SetConsoleCtrlHandler(ConsoleControlHandler, FALSE);
    const std::lock_guard lock(mutex);
    onSignal = nullptr;
}
