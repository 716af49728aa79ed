// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tool_session.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

void InstallQuietOffscreenNotes() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        const char* kind = type == QtDebugMsg ? "debug" : type == QtInfoMsg ? "info" : "warning";
        if (!message.startsWith("This plugin does not support"))
            std::fprintf(stderr, "qt %s: %s\n", kind, qPrintable(message));
    });
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return QTest::qWaitFor(done, static_cast<int>(limit.count()));
}

void Settle(std::chrono::milliseconds span) { QTest::qWait(static_cast<int>(span.count())); }

ToolSession::ToolSession() : form_(std::make_unique<QtMainWindow>(library_)) {
    InstallQuietOffscreenNotes();
    form_->Load();
    // Load has already queued the backend's first events.
    events_ = std::make_unique<DeviceEventRecorder>(*form_);
    form_->show();
}

ToolSession::~ToolSession() {
    form_->close();
}  // the members then go in reverse order

template <typename T>
T& ToolSession::Control(const char* name) const {
    T* control = form_->findChild<T*>(name);
    return control ? *control : throw std::runtime_error(std::string("the window has no control ") + name);
}

void ToolSession::Pick(QComboBox& box, int index) {
    // Open, move, Enter: as a user picks, which also re-picks the current entry.
    PointAt(box, index);
    TakePointed(box);
}

void ToolSession::PointAt(QComboBox& box, int index) {
    box.setFocus();
    box.showPopup();
    box.view()->setCurrentIndex(box.model()->index(index, box.modelColumn()));
}

void ToolSession::TakePointed(QComboBox& box) {
    QTest::keyClick(box.view(), Qt::Key_Return);
    if (box.view()->isVisible()) box.hidePopup();
}

void ToolSession::Type(QLineEdit& field, const QString& text) {
    field.setFocus();
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_Backspace);
    QTest::keyClicks(&field, text);
}

void ToolSession::PickZone(int index) { Pick(Control<QComboBox>("ALARMA"), index); }
void ToolSession::PointAtZone(int index) { PointAt(Control<QComboBox>("ALARMA"), index); }
void ToolSession::TakePointedZone() { TakePointed(Control<QComboBox>("ALARMA")); }
void ToolSession::PickOperator(int index) { Pick(Control<QComboBox>("Combo1"), index); }
void ToolSession::TypePin(const QString& text) { Type(Control<QLineEdit>("pin"), text); }
void ToolSession::TypePhone(const QString& text) { Type(Control<QLineEdit>("t_e_m_1"), text); }
void ToolSession::SetMessage(const QString& text) { Control<QPlainTextEdit>("Text1").setPlainText(text); }
void ToolSession::TryZoneKey(Qt::Key key) { QTest::keyClick(&Control<QComboBox>("ALARMA"), key); }
void ToolSession::PressSend() { QTest::mouseClick(&Control<QPushButton>("b_e_1"), Qt::LeftButton); }

QString ToolSession::Phone() const { return Control<QLineEdit>("t_e_m_1").text(); }
QString ToolSession::Message() const { return Control<QPlainTextEdit>("Text1").toPlainText(); }
QString ToolSession::Operator() const { return Control<QComboBox>("Combo1").currentText(); }
QString ToolSession::Notice() const { return Control<QLabel>("aviso").text(); }
QString ToolSession::NoticeDetail() const { return Control<QLabel>("aviso").toolTip(); }
bool ToolSession::SendEnabled() const { return Control<QPushButton>("b_e_1").isEnabled(); }
bool ToolSession::ZoneEnabled() const { return Control<QComboBox>("ALARMA").isEnabled(); }

QWidget& ToolSession::Window() { return *form_; }
