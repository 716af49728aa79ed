#pragma once
// The real tool as a user has it: the production USB backend and the main
// window, started the way main() starts them, driven through its widgets.

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>

#include "tests/support/device_event_recorder.h"
#include "main_window/main_form.h"
#include "usb_backend/hidapi_library.h"

// Lets failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

class QComboBox;
class QLineEdit;

// Drops the offscreen platform's notes that it cannot raise windows or grab
// the keyboard (said on every popup, and saying nothing about the tool).
void InstallQuietOffscreenNotes();

// Runs the event loop until `done` holds or `limit` passes; returns `done()`.
// Waiting long is fine here: TCG is slow, and no test measures speed.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(20));
// Lets queued events run for a while, to give a wrong report the chance to
// land before a test checks that it did not.
void Settle(std::chrono::milliseconds span = std::chrono::milliseconds(500));

class ToolSession {
public:
    // Load() and show(), as main() does.
    ToolSession();
    // Closes the window (detaching the device link) before the backend goes.
    ~ToolSession();

    DeviceEventRecorder& Events() { return *events_; }

    // A user's pick from the drop-down list, also of the entry already shown.
    void PickZone(int index);
    void PickOperator(int index);
    // Replaces the field's text by typing it, as a user does.
    void TypePin(const QString& text);
    void TypePhone(const QString& text);
    void SetMessage(const QString& text);
    void PressSend();

    QString Phone() const;
    QString Message() const;  // lines separated by '\n', as Qt shows them
    QString Operator() const;

private:
    template <typename T>
    T& Control(const char* name) const;
    static void Pick(QComboBox& box, int index);
    static void Type(QLineEdit& field, const QString& text);

    HidapiLibrary library_;
    std::unique_ptr<MainForm> form_;
    std::unique_ptr<DeviceEventRecorder> events_;
};
