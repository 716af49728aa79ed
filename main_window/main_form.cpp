// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/main_form.h"

#include <algorithm>

#include "main_window/code_units.h"
#include "main_window/main_form_layout.h"
#include "main_window/window_writes.h"
#include "protocol/report_layout.h"
#include "protocol/zone_upload.h"

MainForm::MainForm(HidLibrary& library, WindowHook& hook, const MainFormControls& controls)
    : ConfiguratorNotifications(library, state_, *this),
      controls_(controls),
      writes_(std::make_unique<WindowWrites>(
          library, [&window = controls.window](std::function<void()> job) { window.PostToWindow(std::move(job)); })),
      library_(*writes_),
      deviceLink_(library, hook)
{
    controls_.pin.SetMaxLength(PinMaxLength);
    controls_.t_e_m_1.SetMaxLength(PhoneMaxLength);
    controls_.Text1.SetMaxLength(TextMaxLength);
}

MainForm::~MainForm()
{
    // A window destroyed without being closed must not leave the library
    // posting events to it, nor writes going out.
    writes_->Stop();
    if (linkAttached_)
        deviceLink_.DetachDeviceLink();
}

void MainForm::Load()
{
    // The answer to the start-up request is not shown; decoding starts with
    // the first zone picked once the link is attached.
    SetDecoding(false);
    controls_.Combo1.SelectEntry(0);
    controls_.ALARMA.SelectEntry(0);  // asks for zone 1 before the link is attached
    state_.SelectedSmsc = DecimalText(SelectedData(controls_.Combo1).value_or(0));
    state_.SelectedZone = DecimalText(SelectedData(controls_.ALARMA).value_or(0));
    controls_.t_a_1.SetCaption(u"Zona Alarma " + state_.SelectedZone);
    controls_.t_e_m_1.SetText(u"Tlf env.");
    controls_.Text1.SetText(u"Texto a enviar");
    deviceLink_.AttachDeviceLink(controls_.window.NativeHandle(), *this);
    linkAttached_ = true;
    ShowDeviceState();
}

void MainForm::Unload()
{
    writes_->Cancel();
    if (!linkAttached_)
        return;
    linkAttached_ = false;
    deviceLink_.DetachDeviceLink();
}

std::optional<std::int32_t> MainForm::SelectedData(const EntryList& list) const
{
    const std::optional<int> entry = list.SelectedEntry();
    if (!entry)
        return std::nullopt;
    return list.EntryData(*entry);
}

void MainForm::ALARMA_Click()
{
    const std::optional<std::int32_t> zone = SelectedData(controls_.ALARMA);
    if (!zone)
        return;
    // A new zone starts afresh; only a pick still missing is still said.
    if (sendNotice_ != SendNotice::MissingPick || CheckPicks())
        ShowSendNotice(SendNotice::None, {});
    phone_.text.reset(), message_.text.reset();  // emptied anyway
    controls_.Text1.SetText(u"");
    controls_.t_e_m_1.SetText(u"");
    state_.ReceivedSmsc.clear();
    state_.SelectedZone = DecimalText(*zone);
    controls_.t_a_1.SetCaption(u"Zona Alarma " + state_.SelectedZone);
    controls_.b_e_1.SetCaption(u"Env. Config. Zona " + state_.SelectedZone);
    if (linkAttached_)
        SetDecoding(true);
    RequestZoneReadBack(state_, library_);
}

void MainForm::Combo1_Click()
{
    const std::optional<std::int32_t> smsc = SelectedData(controls_.Combo1);
    if (!smsc)
        return;
    state_.SelectedSmsc = DecimalText(*smsc);
    if (sendNotice_ == SendNotice::MissingPick && CheckPicks())
        ShowSendNotice(SendNotice::None, {});
}

bool MainForm::CheckPicks()
{
    // Typed text in a selector carries no entry data to send.
    const bool zoneMissing = !controls_.ALARMA.SelectedEntry();
    const bool operatorMissing = !controls_.Combo1.SelectedEntry();
    if (!zoneMissing && !operatorMissing)
        return true;
    ShowSendNotice(SendNotice::MissingPick, MissingPickNotice(zoneMissing, operatorMissing));
    return false;
}

void MainForm::b_e_1_Click()
{
    if (writes_->Uploading())
        return;  // the button is off meanwhile; a queued click is not a second upload
    if (!CheckPicks())
        return;
    // The design text would go into the unit as the SIM PIN, and each failed
    // unlock brings the SIM card closer to its PUK lock.
    const std::u16string pin = controls_.pin.Text();
    if (pin == PinDesignText) {
        ShowSendNotice(SendNotice::DesignPin, DesignPinNotice());
        return;
    }
    if (ShowDeviceState().state == UnitAccess::State::Absent) {
        ShowSendNotice(SendNotice::NoUnit, NothingSentNotice(UnitAbsentNotice()));
        return;
    }
    const std::int32_t zone = *SelectedData(controls_.ALARMA);
    const std::int32_t smsc = *SelectedData(controls_.Combo1);
    if (library_.WritesWait()) {
        StartBackgroundUpload({zone, smsc, pin, PhoneText(), MessageText()});
        return;
    }
    ReportUpload(SendZoneConfiguration(state_, library_, zone, smsc, pin, PhoneText(), MessageText()));
}

void MainForm::StartBackgroundUpload(const UploadRequest& request)
{
    controls_.b_e_1.SetEnabled(false);
    controls_.ALARMA.SetEnabled(false);
    ShowSendNotice(SendNotice::Sending, SendingNotice(DecimalText(request.zone)));
    writes_->StartUpload(state_, request, [this](const ConfiguratorState& after, const UploadOutcome& outcome) {
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
    controls_.b_e_1.SetEnabled(true);
    controls_.ALARMA.SetEnabled(true);
    ReportUpload(outcome);
}

bool MainForm::Uploading() const
{
    return writes_->Uploading();
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
            ShowSendNotice(SendNotice::NoUnit, NothingSentNotice(UnitDeniedNotice(access.devnode)));
        else
            ShowSendNotice(SendNotice::Interrupted, InterruptedNotice(outcome.reportsSent, *outcome.refusedAtAddress));
        return;
    }
    if (outcome.stoppedAtAddress) {
        ShowSendNotice(SendNotice::BeyondMemory, BeyondMemoryNotice(*outcome.stoppedAtAddress));
        return;
    }
    ShowSendNotice(SendNotice::Sent, SentNotice(state_.SelectedZone));
}

void MainForm::ShowSendNotice(SendNotice cause, const Notice& notice)
{
    sendNotice_ = cause;
    action_ = notice;
    RefreshNotice();
}

void MainForm::UserAction()
{
    // The key or click then meets the texts as they are.
    Redraw();
    if (sendNotice_ == SendNotice::Sent)
        ShowSendNotice(SendNotice::None, {});
}

void MainForm::RefreshNotice()
{
    const Notice& shown = action_.shortText.empty() ? deviceState_ : action_;
    if (shown == shown_)
        return;
    shown_ = shown;
    controls_.notice.ShowNotice(shown_.shortText, shown_.longText);
}

UnitAccess MainForm::ShowDeviceState()
{
    const UnitAccess access = library_.Access(DeviceVendorId, DeviceProductId);
    switch (access.state) {
    case UnitAccess::State::Absent: deviceState_ = UnitAbsentNotice(); break;
    case UnitAccess::State::Denied: deviceState_ = UnitDeniedNotice(access.devnode); break;
    case UnitAccess::State::Usable: deviceState_ = {}; break;
    }
    // "Not connected" after a press goes once the unit is there and usable.
    if (sendNotice_ == SendNotice::NoUnit && access.state == UnitAccess::State::Usable)
        ShowSendNotice(SendNotice::None, {});
    RefreshNotice();
    return access;
}

void MainForm::pin_Change()
{
    controls_.pin.SetMaxLength(PinMaxLength);
    if (sendNotice_ == SendNotice::DesignPin && controls_.pin.Text() != PinDesignText)
        ShowSendNotice(SendNotice::None, {});
}

void MainForm::t_e_m_1_Change()
{
    controls_.t_e_m_1.SetMaxLength(PhoneMaxLength);
    KeepUserChange(phone_, controls_.t_e_m_1, PhoneMaxLength);
}

void MainForm::Text1_Change()
{
    controls_.Text1.SetMaxLength(TextMaxLength);
    KeepUserChange(message_, controls_.Text1, TextMaxLength);
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
    controls_.Combo1.SelectEntry(index);
}

std::u16string MainForm::PhoneText() const
{
    return phone_.text ? *phone_.text : controls_.t_e_m_1.Text();  // no box read while it waits
}

void MainForm::SetPhoneText(const std::u16string& text)
{
    Await(phone_, controls_.t_e_m_1, text, PhoneMaxLength);
}

std::u16string MainForm::MessageText() const
{
    return message_.text ? *message_.text : controls_.Text1.Text();
}

void MainForm::SetMessageText(const std::u16string& text)
{
    Await(message_, controls_.Text1, text, TextMaxLength);
}

void MainForm::Await(AwaitedText& awaited, TextBox& box, const std::u16string& text, std::size_t limit)
{
    if (!awaited.text)
        awaited.shown = box.Text();
    awaited.text = CutToUnits(text, limit);  // what the box will keep
    if (redrawPosted_)
        return;
    // Behind the reports already queued; the window owns this object, so a
    // job it still receives finds it alive.
    redrawPosted_ = true;
    controls_.window.PostToWindow([this] { Redraw(); });
}

void MainForm::Redraw()
{
    redrawPosted_ = false;
    // Each text leaves its slot before its box raises the change.
    for (auto [awaited, box] : {std::pair{&phone_, &controls_.t_e_m_1}, std::pair{&message_, &controls_.Text1}}) {
        if (!awaited->text)
            continue;
        const std::u16string text = std::move(*awaited->text);
        awaited->text.reset();
        box->SetText(text);
    }
}

void MainForm::KeepUserChange(AwaitedText& awaited, const TextBox& box, std::size_t limit)
{
    const std::u16string now = box.Text();
    if (!awaited.text || now == awaited.shown)
        return;
    const std::u16string readSince = awaited.text->substr(std::min(awaited.shown.size(), awaited.text->size()));
    awaited.text = CutToUnits(now + readSince, limit);
    awaited.shown = now;
}
