// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The tool's one window, whatever toolkit draws it: PIN, operator, the zone's
// phone and SMS text, the send button and the zone selector. It owns the
// protocol state, answers the read-back decoder's calls, receives the device
// notifications once its load has attached the device link, and says in the
// notice band what reached the unit. The toolkit builds the controls, hands
// them over, and calls one handler per user action.

#include <memory>

#include "device_link/hid_dll_interface.h"
#include "main_window/configurator_notifications.h"
#include "main_window/controls.h"
#include "main_window/notice.h"
#include "protocol/configurator_state.h"

class WindowWrites;
struct UploadOutcome;
struct UploadRequest;

class MainForm : public ConfiguratorView, public ConfiguratorNotifications {
public:
    // The text boxes take their limits at once, so even a first paste is held to them.
    MainForm(HidLibrary& library, WindowHook& hook, const MainFormControls& controls);
    ~MainForm() override;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Window load: selects the first operator and zone (the zone asks the
    // unit for its values), sets the placeholder texts, attaches the device
    // link. Runs once, before the window is first shown.
    void Load();
    // Window unload: cancels what is still to be written and detaches the
    // link. Closing is never refused.
    void Unload();

    void ALARMA_Click();
    void Combo1_Click();
    void b_e_1_Click();
    void pin_Change();
    void t_e_m_1_Change();
    void Text1_Change();
    // A key or mouse press in the window, other than on the notice itself
    // (copying it is no new action).
    void UserAction();

    // ConfiguratorView. The read-back's texts are the window's at once and
    // reach their boxes once the events already queued are handled: one
    // redraw for a zone's answer, not one a report.
    void SelectOperator(int index) override;
    std::u16string PhoneText() const override;
    void SetPhoneText(const std::u16string& text) override;
    std::u16string MessageText() const override;
    void SetMessageText(const std::u16string& text) override;

    // DeviceNotifications: each also brings the unit's state into the
    // notice band.
    void OnPlugged(DeviceHandle pHandle) override;
    void OnUnplugged(DeviceHandle pHandle) override;
    void OnChanged() override;

    const ConfiguratorState& State() const { return state_; }
    // From a press that started an upload until its outcome is shown.
    bool Uploading() const;

private:
    void ReportUpload(const UploadOutcome& outcome);
    // Sends from another thread; the send button and the zone selector wait
    // for it, so no second upload or read-back starts in the middle of one.
    void StartBackgroundUpload(const UploadRequest& request);
    void FinishBackgroundUpload(const ConfiguratorState& after, const UploadOutcome& outcome);
    // Says which selector still needs a pick; true when both have one.
    bool CheckPicks();
    std::optional<std::int32_t> SelectedData(const EntryList& list) const;
    // Shows the unit's state in the notice band and returns it.
    UnitAccess ShowDeviceState();

    // Why the send button's last press left a notice; each goes when its
    // cause does, "sent" at the user's next action.
    enum class SendNotice { None, MissingPick, DesignPin, NoUnit, Sending, Interrupted, BeyondMemory, Sent };
    void ShowSendNotice(SendNotice cause, const Notice& notice);
    // The last action's notice takes precedence over the unit's state.
    void RefreshNotice();

    // A read-back's text its box does not show yet, and what the box showed
    // when the first of those characters came.
    struct AwaitedText {
        std::optional<std::u16string> text;
        std::u16string shown;
    };
    void Await(AwaitedText& awaited, TextBox& box, const std::u16string& text, std::size_t limit);
    // Puts the awaited texts into their boxes.
    void Redraw();
    // A box the user changed before its redraw keeps the change, and the
    // characters read back since follow it.
    static void KeepUserChange(AwaitedText& awaited, const TextBox& box, std::size_t limit);

    MainFormControls controls_;
    // Before library_, which goes through it; it outlives what it reports to.
    std::unique_ptr<WindowWrites> writes_;
    HidLibrary& library_;
    ConfiguratorState state_;
    HIDDLLInterface deviceLink_;
    bool linkAttached_ = false;

    Notice deviceState_;
    Notice action_;
    SendNotice sendNotice_ = SendNotice::None;
    Notice shown_;

    AwaitedText phone_, message_;
    bool redrawPosted_ = false;
};
