// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The HidLibrary of the browser: the units granted to the page, followed
// through WebHID. Everything runs on the page's one thread; writes finish
// later, so they go through WritesLater. The same bookkeeping as the other
// platforms decides which device is the unit and what its events are.

#include <deque>
#include <functional>
#include <memory>
#include <set>

#include "protocol/device_event_sink.h"
#include "protocol/hid_library.h"
#include "protocol/report_layout.h"
#include "usb_backend/event_sink.h"
#include "usb_backend/unit_presence.h"
#include "usb_backend/web/browser_hid.h"

class WebHidLibrary : public HidLibrary, public LaterWrites, private BrowserHidListener {
public:
    WebHidLibrary(BrowserHid& browser, std::unique_ptr<DeviceEventSink> sink);
    ~WebHidLibrary() override;
    WebHidLibrary(const WebHidLibrary&) = delete;
    WebHidLibrary& operator=(const WebHidLibrary&) = delete;

    // False, following nothing, in a browser without WebHID.
    bool Connect(WindowHandle window) override;
    bool Disconnect() override;
    DeviceHandle GetHandle(std::int32_t vendorId, std::int32_t productId) override;
    void SetReadNotify(DeviceHandle handle, bool enabled) override;
    bool Read(DeviceHandle handle, Report& report) override;
    // Hands the report over; true when a unit is there to send it to.
    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override;
    LaterWrites* WritesLater() override { return this; }
    void Send(std::int32_t vendorId, std::int32_t productId, const Report& report,
              std::function<void(bool taken)> done) override;
    // Denied while a granted unit is attached that the browser could not open.
    UnitAccess Access(std::int32_t vendorId, std::int32_t productId) override;

    bool Supported() const { return browser_.Supported(); }
    // The browser's chooser; only from a user's press.
    void Choose() { browser_.Choose(unit_); }

private:
    void Opened(int device) override;
    void Refused(int device) override;
    void Closed(int device) override;
    void Input(int device, const InputBytes& bytes) override;
    void Sent(int device, bool taken) override;
    void PostAll(const std::vector<PendingEvent>& events);
    int PresentDevice() const;

    BrowserHid& browser_;
    HidIdentity unit_{static_cast<std::uint16_t>(DeviceVendorId), static_cast<std::uint16_t>(DeviceProductId)};
    EventSink sink_;
    UnitPresence presence_{unit_};
    InputQueue queue_;
    std::set<int> refused_;
    // What to tell once each report under way has finished, oldest first.
    std::deque<std::function<void(bool)>> sending_;
    bool watching_ = false;
};
