// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Asks a window for a repaint every few milliseconds and records the longest
// span without one from its creation on: how long the window looked frozen.

#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>

class RepaintWatch : public QObject {
public:
    explicit RepaintWatch(QWidget& window) : window_(window) {
        window.installEventFilter(this);
        connect(&ask_, &QTimer::timeout, &window, [&window] { window.update(); });
        ask_.start(5);
        since_.start();
    }
    std::chrono::milliseconds Longest() {
        longest_ = std::max(longest_, since_.elapsed());
        return std::chrono::milliseconds(longest_);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint) {
            longest_ = std::max(longest_, since_.restart());
        }
        return false;
    }

private:
    QWidget& window_;
    QTimer ask_;
    QElapsedTimer since_;
    qint64 longest_ = 0;
};
