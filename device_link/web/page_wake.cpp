// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <emscripten.h>

#include "device_link/web/page_queue.h"

extern "C" EMSCRIPTEN_KEEPALIVE void qorun_page_run() { PageQueue::Page().Run(); }

// A timeout, not a microtask: events the browser already has come first.
EM_JS(void, qorun_page_wake, (), { setTimeout(function() { Module._qorun_page_run(); }, 0); });

PageQueue& PageQueue::Page()
{
    static PageQueue page([] { qorun_page_wake(); });
    return page;
}
