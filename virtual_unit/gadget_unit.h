// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The alarm unit model as a USB gadget: a HID function made through configfs
// and bound to a dummy_hcd controller, so the host reaches it through the USB
// HID class driver exactly as it reaches the real unit. A write on the host
// returns once the unit's endpoint has taken the report and times out when
// the unit stops taking them; input goes at the interrupt endpoint's pace.
// The unit side sees the 8 data bytes, as the real firmware does.
//
// Needs root, configfs mounted on /sys/kernel/config and the modules
// libcomposite, dummy_hcd and usb_f_hid. One controller per unit plugged in
// at once (dummy_hcd num=N gives N). The model outlives each plug-in.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "virtual_unit/hosted_model.h"

class GadgetUnit : public HostedModel {
public:
    GadgetUnit();
    ~GadgetUnit();  // unplugs and takes the gadget out of configfs
    GadgetUnit(const GadgetUnit&) = delete;
    GadgetUnit& operator=(const GadgetUnit&) = delete;

    // The USB serial number it is plugged in with, one per unit.
    const std::string& Serial() const { return serial_; }

    // Binds the gadget to a free controller (a plug-in) and starts serving
    // it. False, with the reason in Error(), when no gadget can be made or no
    // controller is free. A no-op while plugged in.
    bool Create();
    // Unbinds it (the host sees a USB disconnect) and joins the thread.
    void Remove();
    bool Present() const { return present_; }
    // Unbinds right after taking the n-th output report from now, on its own
    // thread. Its endpoint may already hold more of the host's writes: it
    // reads those without applying them (DrainedAtUnplug), then unbinds.
    void RemoveAfter(std::size_t reports);
    // What waited at the endpoint at the last such unplug, in order.
    std::vector<WireReport> DrainedAtUnplug() const;
    // usb_f_hid queues this many OUT requests: the host's writes that finish
    // while the unit does not read. So at most this many more than the unit
    // read (and drained) can have been acknowledged when it unbinds.
    static constexpr std::size_t OutRequests = 4;

    // Stops taking output reports right after the n-th from now: the
    // controller's few buffers fill, then the host's writes wait and time
    // out. Resume takes what is waiting.
    void StallAfter(std::size_t reports) { stallAfter_ = reports; }
    void Resume();
    bool Stalled() const { return stalled_; }

    // Extra gap between two input reports, on top of the bus's own pace.
    void SetReplyInterval(std::chrono::microseconds interval) { replyInterval_ = interval; }

    std::string HidrawNode() const;

    // udevd (if it runs) has handled every device event so far.
    static bool UdevIdle();

    // The host has taken the last input report the unit sent.
    bool InputTaken() const;

    // Input reports sent so far, over every plug-in.
    std::size_t RepliesSent() const { return replies_; }

private:
    bool MakeGadget();
    void TearDownGadget();
    bool BindFreeController();
    void Unbind();
    bool OpenFunctionNode();
    void Serve();
    void ApplyOutput(const std::uint8_t* data, std::size_t size);
    bool SendInput(const WireReport& report);
    // Waits for the wake event or `timeoutMs` (-1: forever) and, unless
    // `fdEvents` is 0, for the function node; false when told to stop.
    bool Wait(short fdEvents, int timeoutMs, short* fdRevents = nullptr);
    void Wake();
    void DrainAndUnbind();
    void SetError(const std::string& error);
    // The host's hidraw node with this unit's serial number, "" when none.
    std::string NodeOfSerial() const;

    std::string serial_;
    std::string gadgetDir_;     // empty until made
    std::vector<std::string> made_;  // what MakeGadget created, undone in reverse
    std::vector<WireReport> drained_;  // guarded by mutex_
    int fd_ = -1;               // the function's /dev/hidg node
    int wakeFd_ = -1;           // eventfd: stop, stall or resume
    std::thread thread_;
    std::atomic<bool> present_{false};
    std::atomic<bool> stop_{false};
    std::atomic<bool> stalled_{false};
    std::atomic<std::size_t> removeAfter_{0};  // reports left before unplugging; 0: never
    std::atomic<std::size_t> stallAfter_{0};   // reports left before stalling; 0: never
    std::atomic<std::size_t> replies_{0};
    std::atomic<std::chrono::microseconds> replyInterval_{std::chrono::microseconds(0)};
};
