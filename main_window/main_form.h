// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The tool's one window: PIN, operator, the zone's phone and SMS text, the
// send button and the zone selector. It owns the protocol state, answers the
// read-back decoder's calls, and receives the device notifications once its
// load has attached the device link.

#include <QWidget>
#include <memory>

#include "main_window/configurator_notifications.h"
#include "device_link/hid_dll_interface.h"
#include "protocol/configurator_state.h"

class EntrySelector;
class WindowWrites;
class MessageTextField;
class NoticeBand;
struct Notice;
struct UploadOutcome;
struct UploadRequest;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// What the PIN box shows until the user types the PIN.
inline constexpr char16_t PinDesignText[] = u"pin";

class MainForm : public QWidget, public ConfiguratorView, public ConfiguratorNotifications {
    Q_OBJECT

public:
    explicit MainForm(HidLibrary& library, QWidget* parent = nullptr);
    ~MainForm() override;

    // Start-up: selects the first operator and zone (the zone asks the unit
    // for its values), sets the placeholder texts, attaches the device link.
    // Runs once, before the window is first shown.
    void Load();

    // ConfiguratorView
    void SelectOperator(int index) override;
    std::u16string PhoneText() const override;
    void SetPhoneText(const std::u16string& text) override;
    std::u16string MessageText() const override;
    void SetMessageText(const std::u16string& text) override;

    const ConfiguratorState& State() const { return state_; }

    // DeviceNotifications: each also brings the unit's state into the
    // notice band.
    void OnPlugged(DeviceHandle pHandle) override;
    void OnUnplugged(DeviceHandle pHandle) override;
    void OnChanged() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void SetTabOrder();
    void DescribeForScreenReaders();
    void CentreOnScreen();

    void OnZoneSelected();
    void OnOperatorSelected();
    void OnSendClicked();
    void ReportUpload(const UploadOutcome& outcome);
    // Sends from another thread; the send button and the zone selector wait
    // for it, so no second upload or read-back starts in the middle of one.
    void StartBackgroundUpload(const UploadRequest& request);
    void FinishBackgroundUpload(const ConfiguratorState& after, const UploadOutcome& outcome);
    // Which selector still needs a pick; true when both have one.
    bool CheckPicks();
    // Shows the unit's state in the notice band and returns it.
    UnitAccess ShowDeviceState();
    void UnloadDeviceLink();

    // Why the send button's last press left a notice; each goes when its
    // cause does.
    enum class SendNotice { None, MissingPick, DesignPin, NoUnit, Sending, Interrupted, BeyondMemory, Sent };
    void ShowSendNotice(SendNotice cause, const Notice& notice);

    // First: library_ goes through it, and it outlives what it reports to.
    std::unique_ptr<WindowWrites> writes_;
    HidLibrary& library_;
    ConfiguratorState state_;
    HIDDLLInterface deviceLink_;
    bool linkAttached_ = false;

    QLabel* Label2 = nullptr;
    QLineEdit* pin = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QGroupBox* t_a_1 = nullptr;
    QLineEdit* t_e_m_1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* b_e_1 = nullptr;
    QComboBox* ALARMA = nullptr;
    QLabel* notice_ = nullptr;  // the band between the operator selector and the frame
    NoticeBand* notices_ = nullptr;
    SendNotice sendNotice_ = SendNotice::None;

    EntrySelector* operators_ = nullptr;
    EntrySelector* zones_ = nullptr;
    MessageTextField* message_ = nullptr;
};
