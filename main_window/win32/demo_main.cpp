// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window against the in-process virtual alarm unit, for a look at the
// tool without the hardware.

#include "main_window/win32/program.h"
#include "virtual_unit/alarm_unit_model.h"
#include "device_link/window_event_sink.h"
#include "virtual_unit/in_process_library.h"
#include "virtual_unit/sample_data.h"

int main(int argc, char** argv)
{
    AlarmUnitModel unit;
    LoadDemoUnit(unit);
    InProcessLibrary library(unit, PostToWindow());
    return RunWindow(library, argc, argv);
}
