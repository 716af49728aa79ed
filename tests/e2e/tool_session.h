// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The real tool as a user has it: the USB backend and the main window,
// started as main() starts them, driven through its widgets.

#include <QCoreApplication>
#include <QRegularExpression>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>

#include "main_window/qt/qt_main_window.h"
#include "tests/support/device_event_recorder.h"
#include "device_link/window_event_sink.h"
#include "usb_backend/linux/hidapi_library.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// The test's argument --NAME=VALUE: its value, "" if not given.
inline QString Given(const QString& name) {
    const QStringList given = QCoreApplication::arguments().filter(QRegularExpression("^--" + name + "="));
    return given.isEmpty() ? QString() : given.first().section('=', 1);
}

class QComboBox;
class QLineEdit;

// Drops the offscreen platform's notes that it cannot raise windows or grab
// the keyboard, said on every popup.
void InstallQuietOffscreenNotes();

// Runs the event loop until `done` holds or `limit` passes (TCG on a loaded
// host takes tens of seconds for a plug-in); returns `done()`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(90));
// Gives a wrong report the time to land before a test checks it did not;
// never a wait for something that must happen.
void Settle(std::chrono::milliseconds span = std::chrono::milliseconds(500));

class ToolSession {
public:
    ToolSession();   // Load() and show(), as main() does
    ~ToolSession();  // closes the window (detaching the link) before the backend goes

    DeviceEventRecorder& Events() { return *events_; }

    // A user's pick from the list, also of the entry already shown.
    void PickZone(int index);
    // The same in two steps: the list opened at the entry, then the entry taken.
    void PointAtZone(int index);
    void TakePointedZone();
    void PickOperator(int index);
    // Replaces the field's text by typing it.
    void TypePin(const QString& text);
    void TypePhone(const QString& text);
    void SetMessage(const QString& text);
    void PressSend();
    // A key pressed on the zone selector, as a user tries a pick.
    void TryZoneKey(Qt::Key key);

    QString Phone() const;
    QString Message() const;  // lines separated by '\n'
    QString Operator() const;
    QString Notice() const;        // the notice band's short text
    QString NoticeDetail() const;  // and its long one
    bool SendEnabled() const;
    bool ZoneEnabled() const;

    QWidget& Window();

private:
    template <typename T>
    T& Control(const char* name) const;
    static void Pick(QComboBox& box, int index);
    static void PointAt(QComboBox& box, int index);
    static void TakePointed(QComboBox& box);
    static void Type(QLineEdit& field, const QString& text);

    HidapiLibrary library_{PostToWindow()};
    std::unique_ptr<QtMainWindow> form_;
    std::unique_ptr<DeviceEventRecorder> events_;
};
