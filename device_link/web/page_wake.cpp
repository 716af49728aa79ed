// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <emscripten.h>

#include "device_link/web/page_queue.h"

extern "C" EMSCRIPTEN_KEEPALIVE void qorun_page_run() { PageQueue::Page().Run(); }

// A message to the page itself, not a microtask, so events the browser
// already has come first; not a timeout either, which a browser holds back
// for a page in a background tab (to once a minute in the end).
EM_JS(void, qorun_page_wake, (), {
  if (!Module.qorunWake) {
    const channel = new MessageChannel();
    channel.port1.onmessage = function() { Module._qorun_page_run(); };
    Module.qorunWake = function() { channel.port2.postMessage(0); };
  }
  Module.qorunWake();
});

PageQueue& PageQueue::Page()
{
    static PageQueue page([] { qorun_page_wake(); });
    return page;
}
