// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tool: the window over the USB HID backend.

#include <QApplication>

#include "main_window/qt/qt_main_window.h"
#include "device_link/window_event_sink.h"
#include "usb_backend/linux/hidapi_library.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    HidapiLibrary library(PostToWindow());
    QtMainWindow window(library);
    window.Load();
    window.show();
    return QApplication::exec();
}
