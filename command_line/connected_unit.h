// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The chosen unit with the device link attached, as the window has it but
// without a window: a device change enables read notifications, each read
// notification is decoded by the protocol's decoder, and a zone's read-back
// is collected until the unit falls quiet.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "command_line/exit_status.h"
#include "device_link/device_notifications.h"
#include "device_link/hid_dll_interface.h"
#include "command_line/device_event_queue.h"
#include "device_link/window_hook.h"
#include "protocol/configurator_state.h"
#include "protocol/zone_upload.h"

// A zone's answer carries no length and no end mark (each field stops at
// its first 0 byte, which is not sent), so its end is told from the unit's
// own pace: once the reports stop for several times the longest gap between
// them, the answer is over.
struct ReadBackTimings {
    // No report at all this long after the request: the unit did not answer.
    // The second report is given as long, the pace being unknown before it,
    // and so is every gap while fewer reports than the caller expects have come.
    std::chrono::milliseconds firstAnswer{2000};
    // The least quiet that ends an answer of unknown length. A loaded
    // machine, a virtual one above all, can hold reports it already has for
    // well over 100 ms; an answer cut there is a backup short of characters,
    // and the next zone's answer would start with this one's tail.
    std::chrono::milliseconds quiet{300};
    // The least quiet once the answer holds all the caller expects. An upload
    // clears each field it writes, so only a faulty unit has more to send;
    // this rules out its next report at any pace a bus keeps (1-2 ms), and
    // costs each zone's verify little beside its 70-130 ms answer.
    std::chrono::milliseconds quietWhole{20};
    // Well past the pace's own jitter (reports keep to the bus's 1 ms
    // frames); a hiccup already seen in this answer is given 6 times over.
    int gapsToEnd{6};
    // Once the answer holds all the caller expects, only more than the file
    // holds could come, at the pace seen: twice its longest gap rules it out.
    int gapsToEndWhole{2};
    // A unit still sending after this long is broken; the read stops.
    std::chrono::milliseconds longest{10000};
    // A write refused while the unit is still listed this long after means
    // it stopped taking reports; one pulled out is unlisted sooner, though a
    // busy machine's device manager may take a second or two to say so.
    std::chrono::milliseconds unplugNotice{3000};
};

// What a zone's read-back brought, as the decoder put it together.
struct ZoneReadout {
    std::u16string serviceCentre;
    std::u16string phone;
    std::u16string text;  // exactly as stored
};

class ConnectedUnit : public DeviceNotifications, private ConfiguratorView {
public:
    ConnectedUnit(HidLibrary& library, ReadBackTimings timings);
    ~ConnectedUnit() override;

    ConnectedUnit(const ConnectedUnit&) = delete;
    ConnectedUnit& operator=(const ConnectedUnit&) = delete;

    // Attaches the device link and lets the first device change through.
    // The unit's access state, Usable when it can be talked to.
    UnitAccess Attach();

    // Asks for zone `zone` and waits for its answer. Nothing, with `failure`
    // set, when the unit does not answer, keeps sending or is unplugged.
    // `expectedReports`, when the caller knows what the unit should hold, keeps
    // a pause inside that answer (a busy machine) from cutting it short, and
    // ends an answer that holds it all after a short quiet; an answer that
    // comes short of it is asked for once more.
    std::optional<ZoneReadout> ReadZone(std::int32_t zone, Failure& failure, std::size_t expectedReports = 0);

    // After a refused write: whether the unit is still attached once the
    // backend has had `notice` to learn of an unplug.
    bool StayedAttached(std::chrono::milliseconds notice);

    UploadOutcome Send(std::int32_t zone, std::int32_t serviceCentre, const std::u16string& pin,
                       const std::u16string& phone, const std::u16string& text);

    void OnPlugged(DeviceHandle pHandle) override;
    void OnUnplugged(DeviceHandle pHandle) override;
    void OnChanged() override;
    void OnRead(DeviceHandle pHandle) override;

private:
    // Nothing to hook: the unit takes its events from its own queue.
    class QueueHook : public WindowHook {
    public:
        void Install(WindowHandle, Route) override {}
        void Remove() override {}
    };
    using Clock = std::chrono::steady_clock;

    // One request and its answer.
    std::optional<ZoneReadout> ReadAnswer(std::int32_t zone, Failure& failure, std::size_t expectedReports);
    // Hands each event waiting, and those coming until `deadline`, to the
    // link; returns when `done` holds or the deadline has passed.
    void DeliverUntil(Clock::time_point deadline, const std::function<bool()>& done);

    void SelectOperator(int index) override;
    std::u16string PhoneText() const override { return phone_; }
    void SetPhoneText(const std::u16string& text) override { phone_ = text; }
    std::u16string MessageText() const override { return text_; }
    void SetMessageText(const std::u16string& text) override { text_ = text; }

    HidLibrary& library_;
    const ReadBackTimings timings_;
    DeviceEventQueue events_;  // outlives the link, which posts into it
    QueueHook hook_;
    HIDDLLInterface link_;
    ConfiguratorState state_;
    DeviceHandle handle_ = 0;
    bool gone_ = false;
    std::size_t reports_ = 0;
    std::size_t expected_ = 0;
    Clock::time_point lastReport_;
    Clock::duration longestGap_{};  // between this answer's reports
    std::u16string phone_;
    std::u16string text_;
    bool waiting_ = false;  // while a read-back is awaited
    Clock::time_point answerBy_;  // the answer so far ends unless a report comes
};
