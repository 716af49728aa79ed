// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The HidLibrary of every platform: over a watch of hot-plugged device nodes
// and an opener of them (each platform's own), it follows which node is the
// alarm unit, opens it on demand and keeps it open, reads its input on a
// thread of its own, and posts device events through the sink it is given.
//
// Threads: the public calls come from one thread (the window's), except that
// WriteEx may also come from one other thread (an upload kept off the
// window's thread, since a write waits for the unit to take the report, up
// to the kernel's timeout). The watch reports node changes on its thread (its
// own, or the connecting one); the reader thread reports input. Opening and
// closing run on the caller's thread; a write runs outside the link's lock,
// so the other calls never wait for the unit.

#include <chrono>
#include <iostream>
#include <memory>
#include <mutex>

#include "protocol/device_event_sink.h"
#include "protocol/hid_library.h"
#include "protocol/report_layout.h"
#include "usb_backend/event_sink.h"
#include "usb_backend/device_watch.h"
#include "usb_backend/input_queue.h"
#include "usb_backend/notices.h"
#include "usb_backend/opened_unit.h"
#include "usb_backend/unit_port.h"
#include "usb_backend/unit_presence.h"

struct UnitLinkOptions {
    HidIdentity unit{static_cast<std::uint16_t>(DeviceVendorId), static_cast<std::uint16_t>(DeviceProductId)};
    // How long the reader waits per read; bounds how long closing takes.
    std::chrono::milliseconds readTimeout{50};
    // Right after plug-in the node may refuse access until the system has
    // granted it, so the first open of each plug-in is retried this often.
    int openAttempts = 5;
    std::chrono::milliseconds openPause{40};
    std::ostream* diagnostics = &std::cerr;
    LinkNotices notices{};
    // When set, only the unit on this node is used.
    std::string onlyDevnode;
};

class UnitLink : public HidLibrary, private DeviceWatchListener {
public:
    UnitLink(std::unique_ptr<DeviceWatch> watch, std::unique_ptr<UnitOpener> opener,
             std::unique_ptr<DeviceEventSink> sink, UnitLinkOptions options = {});
    ~UnitLink() override;

    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;

    // True when plugging and unplugging are followed from now on.
    bool Connect(WindowHandle window) override;
    bool Disconnect() override;
    DeviceHandle GetHandle(std::int32_t vendorId, std::int32_t productId) override;
    void SetReadNotify(DeviceHandle handle, bool enabled) override;
    bool Read(DeviceHandle handle, Report& report) override;
    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override;
    bool WritesWait() const override { return true; }
    // Denied once an open of the present unit was refused (no access rights,
    // or another program holds it), until an open of it succeeds or another
    // plug-in replaces it.
    UnitAccess Access(std::int32_t vendorId, std::int32_t productId) override;

private:
    void Snapshot(const std::vector<DeviceNode>& nodes) override;
    void Arrived(const DeviceNode& node) override;
    void Left(const std::string& devnode) override;

    DeviceHandle PresentHandle() const;
    // Without the watch running, nothing keeps the node set current: list it
    // again, unless the unit is open (a failing write says when it left).
    void RefreshIfUnwatched();
    // Closes the open unit once it is no longer the present one or its reader
    // failed.
    void ReleaseStaleUnit();
    OpenedUnit* EnsureOpen();
    // The open unit for one write, opened if need be; null when none.
    std::shared_ptr<OpenedUnit> OpenForWrite();
    void CloseUnit();

    std::unique_ptr<DeviceWatch> watch_;
    std::unique_ptr<UnitOpener> opener_;
    const UnitLinkOptions options_;

    EventSink sink_;
    InputQueue queue_;
    OnceNotice permissionNotice_;
    OnceNotice hotplugNotice_;

    mutable std::mutex presenceMutex_;
    UnitPresence presence_;

    // Guards what follows; taken by the public calls, never across a write.
    std::recursive_mutex linkMutex_;
    bool connected_ = false;
    bool watching_ = false;
    DeviceHandle retriedHandle_ = 0;  // plug-in whose first open was already retried
    DeviceHandle deniedHandle_ = 0;   // plug-in whose last open was refused access
    std::shared_ptr<OpenedUnit> unit_;  // a write under way holds it open
};
