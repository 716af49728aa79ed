// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page opens the window; it lives as long as the page does.

#include <emscripten.h>

#include "device_link/window_event_sink.h"
#include "main_window/web/dom_page_elements.h"
#include "main_window/web/web_main_window.h"
#include "usb_backend/web/page_webhid.h"
#include "usb_backend/web/webhid_library.h"

int main()
{
    static PageWebHid hid;
    static WebHidLibrary library(hid, PostToWindow());
    static WebMainWindow* window = nullptr;
    static DomPageElements page([](const std::string& name, PageEvent event) {
        if (window)
            window->Handle(name, event);
    });
    static WebMainWindow opened(page, PageQueue::Page(), library,
                                BrowserAccess{library.Supported(), [] { library.Choose(); }});
    window = &opened;
    window->Open();
    // For the benchmark: the window is drawn and answers from here on.
    EM_ASM(performance.mark('qorun-ready'));
    return 0;
}
