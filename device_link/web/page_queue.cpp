// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "device_link/web/page_queue.h"

void PageQueue::Post(std::function<void()> job)
{
    jobs_.push_back(std::move(job));
    if (woken_)
        return;
    woken_ = true;
    wake_();
}

void PageQueue::Run()
{
    woken_ = false;
    while (!jobs_.empty()) {
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        job();
    }
}
