// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The page's one queue: device events and the window's own jobs run from it
// one at a time, in the order posted. It is run once the browser has handled
// what it already had, so input reports that came together are handled
// together and the page is drawn once for them.

#include <deque>
#include <functional>

class PageQueue {
public:
    // Asks for Run() soon, from the browser's own task queue.
    using Wake = std::function<void()>;
    explicit PageQueue(Wake wake) : wake_(std::move(wake)) {}

    void Post(std::function<void()> job);
    // Runs jobs until none is left, those posted meanwhile too.
    void Run();

    // The page's own: woken by a message the page posts to itself.
    static PageQueue& Page();

private:
    std::deque<std::function<void()>> jobs_;
    bool woken_ = false;
    Wake wake_;
};
