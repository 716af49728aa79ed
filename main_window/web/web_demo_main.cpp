// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page against the in-process virtual alarm unit, for a look at the tool
// without the hardware: the chooser's button plugs it back in.

#include "device_link/window_event_sink.h"
#include "main_window/web/dom_page_elements.h"
#include "main_window/web/web_main_window.h"
#include "virtual_unit/alarm_unit_model.h"
#include "virtual_unit/in_process_library.h"
#include "virtual_unit/sample_data.h"

int main()
{
    static AlarmUnitModel unit;
    LoadDemoUnit(unit);
    static InProcessLibrary library(unit, PostToWindow());
    static WebMainWindow* window = nullptr;
    static DomPageElements page([](const std::string& name, PageEvent event) {
        if (window)
            window->Handle(name, event);
    });
    static WebMainWindow opened(page, PageQueue::Page(), library, BrowserAccess{true, [] { library.Plug(); }});
    window = &opened;
    window->Open();
    return 0;
}
