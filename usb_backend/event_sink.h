// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Where device events go: the connected window, or nowhere. Posting and
// detaching exclude each other, so once Detach returns no thread can post.

#include <mutex>

#include "protocol/hid_library.h"

class EventSink {
public:
    void Attach(WindowHandle window);
    // Returns the window that was attached (nullptr if none).
    WindowHandle Detach();
    // Posts to the attached window; does nothing when detached. Any thread.
    void Post(int code, DeviceHandle handle = 0);

private:
    std::mutex mutex_;
    WindowHandle window_ = nullptr;
};
