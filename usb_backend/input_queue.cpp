// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/input_queue.h"

#include <algorithm>

InputQueue::InputQueue(std::size_t capacity) : capacity_(capacity) {}

void InputQueue::Enable(DeviceHandle handle)
{
    std::lock_guard lock(mutex_);
    if (handle == enabled_)
        return;
    enabled_ = handle;
    reports_.clear();
}

void InputQueue::Disable()
{
    std::lock_guard lock(mutex_);
    enabled_ = 0;
    reports_.clear();
}

void InputQueue::Forget(DeviceHandle handle)
{
    std::lock_guard lock(mutex_);
    if (handle != enabled_)
        return;
    enabled_ = 0;
    reports_.clear();
}

bool InputQueue::Offer(DeviceHandle handle, const InputBytes& bytes)
{
    std::lock_guard lock(mutex_);
    if (handle == 0 || handle != enabled_ || reports_.size() >= capacity_)
        return false;
    reports_.push_back(bytes);
    return true;
}

bool InputQueue::Take(DeviceHandle handle, Report& report)
{
    std::lock_guard lock(mutex_);
    if (handle == 0 || handle != enabled_ || reports_.empty())
        return false;
    report[0] = 0;
    std::copy(reports_.front().begin(), reports_.front().end(), report.begin() + 1);
    reports_.pop_front();
    return true;
}
