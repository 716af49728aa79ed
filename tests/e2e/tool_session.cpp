#include "tool_session.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <stdexcept>

namespace {

template <typename T>
T* Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    if (!child) throw std::runtime_error(std::string("the window has no control ") + name);
    return child;
}

void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
    const char* kind = type == QtDebugMsg ? "debug" : type == QtInfoMsg ? "info" : "warning";
    std::fprintf(stderr, "qt %s: %s\n", kind, qPrintable(message));
}

}  // namespace

void InstallQuietOffscreenNotes() { qInstallMessageHandler(QuietOffscreenNotes); }

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return QTest::qWaitFor(done, static_cast<int>(limit.count()));
}

void Settle(std::chrono::milliseconds span) { QTest::qWait(static_cast<int>(span.count())); }

ToolSession::ToolSession() : form_(std::make_unique<MainForm>(library_)) {
    MainForm& form = *form_;
    pin_ = Child<QLineEdit>(form, "pin");
    operators_ = Child<QComboBox>(form, "Combo1");
    zones_ = Child<QComboBox>(form, "ALARMA");
    frame_ = Child<QGroupBox>(form, "t_a_1");
    phone_ = Child<QLineEdit>(form, "t_e_m_1");
    message_ = Child<QPlainTextEdit>(form, "Text1");
    send_ = Child<QPushButton>(form, "b_e_1");
    form.Load();
    // Watch from before the first event loop turn: the backend's first
    // events are already queued by Load.
    events_ = std::make_unique<DeviceEventRecorder>(form);
    form.show();
}

ToolSession::~ToolSession() {
    form_->close();
    events_.reset();
    form_.reset();
}

void ToolSession::Pick(QComboBox& box, int index) {
    // Open the list, move to the entry and confirm with Enter: the path a
    // user's pick takes, which also re-picks the entry already selected.
    box.setFocus();
    box.showPopup();
    QAbstractItemView* list = box.view();
    list->setCurrentIndex(box.model()->index(index, box.modelColumn()));
    QTest::keyClick(list, Qt::Key_Return);
    if (box.view()->isVisible()) box.hidePopup();
}

void ToolSession::PickZone(int index) { Pick(*zones_, index); }
void ToolSession::PickOperator(int index) { Pick(*operators_, index); }

void ToolSession::TypePin(const QString& text) {
    pin_->setFocus();
    pin_->selectAll();
    QTest::keyClick(pin_, Qt::Key_Backspace);
    QTest::keyClicks(pin_, text);
}

void ToolSession::TypePhone(const QString& text) {
    phone_->setFocus();
    phone_->selectAll();
    QTest::keyClick(phone_, Qt::Key_Backspace);
    QTest::keyClicks(phone_, text);
}

void ToolSession::SetMessage(const QString& text) { message_->setPlainText(text); }

void ToolSession::PressSend() { QTest::mouseClick(send_, Qt::LeftButton); }

QString ToolSession::Phone() const { return phone_->text(); }
QString ToolSession::Message() const { return message_->toPlainText(); }
QString ToolSession::Operator() const { return operators_->currentText(); }
QString ToolSession::ZoneTitle() const { return frame_->title(); }
