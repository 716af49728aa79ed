// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/web/webhid_library.h"

#include <string>

namespace {

// The device's place in the presence bookkeeping, which knows devices by node.
std::string NodeOf(int device) { return "webhid:" + std::to_string(device); }

}  // namespace

WebHidLibrary::WebHidLibrary(BrowserHid& browser, std::unique_ptr<DeviceEventSink> sink)
    : browser_(browser), sink_(std::move(sink))
{
}

WebHidLibrary::~WebHidLibrary()
{
    Disconnect();
}

bool WebHidLibrary::Connect(WindowHandle window)
{
    if (!browser_.Supported())
        return false;
    sink_.Attach(window);
    if (!watching_)
        browser_.Watch(unit_, *this);
    watching_ = true;
    return true;
}

bool WebHidLibrary::Disconnect()
{
    if (!watching_)
        return false;
    watching_ = false;
    browser_.Unwatch();
    sink_.Detach();
    queue_.Disable();
    return true;
}

DeviceHandle WebHidLibrary::GetHandle(std::int32_t vendorId, std::int32_t productId)
{
    return SameIdentity(unit_, vendorId, productId) ? presence_.Handle() : 0;
}

void WebHidLibrary::SetReadNotify(DeviceHandle handle, bool enabled)
{
    if (handle == 0 || handle != presence_.Handle())
        return;
    if (enabled)
        queue_.Enable(handle);
    else
        queue_.Disable();
}

bool WebHidLibrary::Read(DeviceHandle handle, Report& report)
{
    return handle != 0 && handle == presence_.Handle() && queue_.Take(handle, report);
}

bool WebHidLibrary::WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report)
{
    if (GetHandle(vendorId, productId) == 0)
        return false;
    Send(vendorId, productId, report, [](bool) {});
    return true;
}

void WebHidLibrary::Send(std::int32_t vendorId, std::int32_t productId, const Report& report,
                         std::function<void(bool taken)> done)
{
    if (GetHandle(vendorId, productId) == 0) {
        done(false);
        return;
    }
    InputBytes data;
    std::copy(report.begin() + 1, report.end(), data.begin());
    sending_.push_back(std::move(done));
    browser_.Send(PresentDevice(), data);
}

UnitAccess WebHidLibrary::Access(std::int32_t vendorId, std::int32_t productId)
{
    UnitAccess access;
    if (!SameIdentity(unit_, vendorId, productId))
        return access;
    if (presence_.Handle() != 0)
        access.state = UnitAccess::State::Usable;
    else if (!refused_.empty())
        access.state = UnitAccess::State::Denied;
    return access;
}

void WebHidLibrary::Opened(int device)
{
    refused_.erase(device);
    PostAll(presence_.Arrived({NodeOf(device), unit_}));
}

void WebHidLibrary::Refused(int device)
{
    refused_.insert(device);
    sink_.Post(EventChanged);
}

void WebHidLibrary::Closed(int device)
{
    refused_.erase(device);
    const DeviceHandle before = presence_.Handle();
    const std::vector<PendingEvent> events = presence_.Left(NodeOf(device));
    if (presence_.Handle() != before)
        queue_.Forget(before);
    PostAll(events);
}

void WebHidLibrary::Input(int device, const InputBytes& bytes)
{
    if (device != PresentDevice())
        return;
    const DeviceHandle handle = presence_.Handle();
    if (queue_.Offer(handle, bytes))
        sink_.Post(EventRead, handle);
}

void WebHidLibrary::Sent(int, bool taken)
{
    if (sending_.empty())
        return;
    std::function<void(bool)> done = std::move(sending_.front());
    sending_.pop_front();
    done(taken);
}

void WebHidLibrary::PostAll(const std::vector<PendingEvent>& events)
{
    for (const PendingEvent& event : events)
        sink_.Post(event.code, event.handle);
}

int WebHidLibrary::PresentDevice() const
{
    const std::string& node = presence_.Devnode();
    return node.empty() ? -1 : std::stoi(node.substr(node.find(':') + 1));
}
