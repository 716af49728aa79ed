// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tool: the window over the USB HID backend.

#include <QApplication>

#include "main_window/main_form.h"
#include "usb_backend/hidapi_library.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    HidapiLibrary library;
    MainForm form(library);
    form.Load();
    form.show();
    return QApplication::exec();
}
