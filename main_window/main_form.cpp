// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/main_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "main_window/font_fit.h"
#include "main_window/entry_selector.h"
#include "main_window/message_text_field.h"
#include "main_window/notice.h"
#include "main_window/notice_band.h"
#include "main_window/window_writes.h"
#include "device_link/text_units.h"
#include "protocol/report_layout.h"
#include "protocol/zone_upload.h"

MainForm::MainForm(HidLibrary& library, QWidget* parent)
    : QWidget(parent),
      ConfiguratorNotifications(library, state_, *this),
      writes_(std::make_unique<WindowWrites>(library)),
      library_(*writes_),
      deviceLink_(library)
{
    BuildControls();
}

MainForm::~MainForm()
{
    // A window destroyed without being closed must not leave the library
    // posting events to it, nor writes going out.
    writes_->Stop();
    UnloadDeviceLink();
}

void MainForm::Load()
{
    // The answer to the start-up request is not shown; decoding starts with
    // the first zone picked once the link is attached.
    SetDecoding(false);
    operators_->Select(0);
    zones_->Select(0);  // asks for zone 1 before the link is attached
    state_.SelectedSmsc = DecimalText(*operators_->SelectedData());
    state_.SelectedZone = DecimalText(*zones_->SelectedData());
    t_a_1->setTitle(QStringLiteral("Zona Alarma ") + FromUnits(state_.SelectedZone));
    t_e_m_1->setText(QStringLiteral("Tlf env."));
    message_->SetText(u"Texto a enviar");
    deviceLink_.AttachDeviceLink(this);
    linkAttached_ = true;
    ShowDeviceState();
}

void MainForm::OnZoneSelected()
{
    // A new zone starts afresh; only a pick still missing is still said.
    if (sendNotice_ != SendNotice::MissingPick || CheckPicks())
        ShowSendNotice(SendNotice::None, {});
    message_->SetText(u"");
    t_e_m_1->setText(QString());
    state_.ReceivedSmsc.clear();
    state_.SelectedZone = DecimalText(*zones_->SelectedData());
    const QString zone = FromUnits(state_.SelectedZone);
    t_a_1->setTitle(QStringLiteral("Zona Alarma ") + zone);
    b_e_1->setText(QStringLiteral("Env. Config. Zona ") + zone);
    FitCaption(*b_e_1);
    if (linkAttached_)
        SetDecoding(true);
    RequestZoneReadBack(state_, library_);
}

void MainForm::OnOperatorSelected()
{
    state_.SelectedSmsc = DecimalText(*operators_->SelectedData());
    if (sendNotice_ == SendNotice::MissingPick && CheckPicks())
        ShowSendNotice(SendNotice::None, {});
}

bool MainForm::CheckPicks()
{
    // Typed text in a selector carries no entry data to send.
    const bool zoneMissing = !zones_->SelectedData();
    const bool operatorMissing = !operators_->SelectedData();
    if (!zoneMissing && !operatorMissing)
        return true;
    ShowSendNotice(SendNotice::MissingPick, MissingPickNotice(zoneMissing, operatorMissing));
    return false;
}

void MainForm::OnSendClicked()
{
    if (writes_->Uploading())
        return;  // the button is off meanwhile; a queued click is not a second upload
    if (!CheckPicks())
        return;
    // The design text would go into the unit as the SIM PIN, and each failed
    // unlock brings the SIM card closer to its PUK lock.
    if (pin->text() == QStringView(PinDesignText)) {
        ShowSendNotice(SendNotice::DesignPin, DesignPinNotice());
        return;
    }
    if (ShowDeviceState().state == UnitAccess::State::Absent) {
        ShowSendNotice(SendNotice::NoUnit, NothingSentNotice(UnitAbsentNotice()));
        return;
    }
    if (library_.WritesWait()) {
        StartBackgroundUpload({*zones_->SelectedData(), *operators_->SelectedData(), ToUnits(pin->text()),
                               PhoneText(), MessageText()});
        return;
    }
    ReportUpload(SendZoneConfiguration(state_, library_, *zones_->SelectedData(),
                                       *operators_->SelectedData(), ToUnits(pin->text()),
                                       PhoneText(), MessageText()));
}

void MainForm::StartBackgroundUpload(const UploadRequest& request)
{
    b_e_1->setEnabled(false);
    ALARMA->setEnabled(false);
    ShowSendNotice(SendNotice::Sending, SendingNotice(FromUnits(DecimalText(request.zone))));
    writes_->StartUpload(state_, request, this, [this](const ConfiguratorState& after, const UploadOutcome& outcome) {
        FinishBackgroundUpload(after, outcome);
    });
}

void MainForm::FinishBackgroundUpload(const ConfiguratorState& after, const UploadOutcome& outcome)
{
    // What the upload changed, as a press on this thread would have; the
    // operator may have been picked anew meanwhile.
    state_.SelectedZone = after.SelectedZone;
    state_.ZoneBase = after.ZoneBase;
    state_.SendBytes = after.SendBytes;
    state_.ReportOut = after.ReportOut;
    b_e_1->setEnabled(true);
    ALARMA->setEnabled(true);
    ReportUpload(outcome);
}

void MainForm::ReportUpload(const UploadOutcome& outcome)
{
    // A refused write may have been the library's first news of the unit
    // going away or of a refused open.
    const UnitAccess access = ShowDeviceState();
    if (outcome.refusedAtAddress) {
        if (outcome.reportsSent == 0 && access.state == UnitAccess::State::Absent)
            ShowSendNotice(SendNotice::NoUnit, NothingSentNotice(UnitAbsentNotice()));
        else if (outcome.reportsSent == 0 && access.state == UnitAccess::State::Denied)
            ShowSendNotice(SendNotice::NoUnit, NothingSentNotice(UnitDeniedNotice(
                                                   QString::fromStdString(access.devnode))));
        else
            ShowSendNotice(SendNotice::Interrupted,
                           InterruptedNotice(outcome.reportsSent, *outcome.refusedAtAddress));
        return;
    }
    if (outcome.stoppedAtAddress) {
        ShowSendNotice(SendNotice::BeyondMemory, BeyondMemoryNotice(*outcome.stoppedAtAddress));
        return;
    }
    ShowSendNotice(SendNotice::Sent, SentNotice(FromUnits(state_.SelectedZone)));
}

void MainForm::ShowSendNotice(SendNotice cause, const Notice& notice)
{
    sendNotice_ = cause;
    notices_->ShowAction(notice, cause == SendNotice::Sent);
}

UnitAccess MainForm::ShowDeviceState()
{
    const UnitAccess access = library_.Access(DeviceVendorId, DeviceProductId);
    switch (access.state) {
    case UnitAccess::State::Absent: notices_->ShowDeviceState(UnitAbsentNotice()); break;
    case UnitAccess::State::Denied:
        notices_->ShowDeviceState(UnitDeniedNotice(QString::fromStdString(access.devnode)));
        break;
    case UnitAccess::State::Usable: notices_->ClearDeviceState(); break;
    }
    // "Not connected" after a press goes once the unit is there and usable.
    if (sendNotice_ == SendNotice::NoUnit && access.state == UnitAccess::State::Usable)
        ShowSendNotice(SendNotice::None, {});
    return access;
}

void MainForm::OnPlugged(DeviceHandle pHandle)
{
    ConfiguratorNotifications::OnPlugged(pHandle);
    ShowDeviceState();
}

void MainForm::OnUnplugged(DeviceHandle pHandle)
{
    ConfiguratorNotifications::OnUnplugged(pHandle);
    ShowDeviceState();
}

void MainForm::OnChanged()
{
    // Enabling notifications is what makes the library try to open the unit,
    // so the state is read after it.
    ConfiguratorNotifications::OnChanged();
    ShowDeviceState();
}

void MainForm::SelectOperator(int index)
{
    operators_->Select(index);
}

std::u16string MainForm::PhoneText() const
{
    return ToUnits(t_e_m_1->text());
}

void MainForm::SetPhoneText(const std::u16string& text)
{
    t_e_m_1->setText(FromUnits(text));  // the line edit cuts it to its limit
}

std::u16string MainForm::MessageText() const
{
    return message_->Text();
}

void MainForm::SetMessageText(const std::u16string& text)
{
    message_->SetText(text);
}

void MainForm::closeEvent(QCloseEvent* event)
{
    writes_->Cancel();
    UnloadDeviceLink();
    event->accept();  // closing is never refused
}

void MainForm::UnloadDeviceLink()
{
    if (!linkAttached_)
        return;
    linkAttached_ = false;
    deviceLink_.DetachDeviceLink();
}
