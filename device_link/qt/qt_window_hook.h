// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The device link's hook on a Qt window: an event filter that routes each
// device event first and always lets it go on to the window.

#include <QObject>
#include <QPointer>

#include "device_link/window_hook.h"

class QtWindowHook : public QObject, public WindowHook {
public:
    ~QtWindowHook() override;
    void Install(WindowHandle window, Route route) override;
    void Remove() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> window_;
    Route route_;
};
