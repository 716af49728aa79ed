// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window against the in-process virtual alarm unit, for a look at the
// tool without the hardware.

#include <QApplication>

#include "virtual_unit/sample_data.h"
#include "main_window/qt/qt_main_window.h"
#include "virtual_unit/alarm_unit_model.h"
#include "device_link/window_event_sink.h"
#include "virtual_unit/in_process_library.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    AlarmUnitModel unit;
    LoadDemoUnit(unit);
    InProcessLibrary library(unit, PostToWindow());
    QtMainWindow window(library);
    window.Load();
    window.show();
    return QApplication::exec();
}
