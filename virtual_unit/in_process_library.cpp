// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "virtual_unit/in_process_library.h"

#include <algorithm>

#include "protocol/report_layout.h"

InProcessLibrary::InProcessLibrary(AlarmUnitModel& unit, std::unique_ptr<DeviceEventSink> sink, bool plugged)
    : unit_(unit), sink_(std::move(sink))
{
    if (plugged)
        Plug();
}

bool InProcessLibrary::Connect(WindowHandle window)
{
    sink_->Target(window);
    connected_ = window != nullptr;
    if (Plugged())
        Post(EventChanged);
    return true;
}

bool InProcessLibrary::Disconnect()
{
    // The seam promises that nothing arrives once this returns, so events
    // already queued for the window go too.
    sink_->DropPending();
    sink_->Target(nullptr);
    connected_ = false;
    readNotify_ = false;
    pending_.clear();
    return true;
}

DeviceHandle InProcessLibrary::GetHandle(std::int32_t vendorId, std::int32_t productId)
{
    if (vendorId != DeviceVendorId || productId != DeviceProductId)
        return 0;
    return handle_;
}

void InProcessLibrary::SetReadNotify(DeviceHandle handle, bool enabled)
{
    if (handle != 0 && handle == handle_)
        readNotify_ = enabled;
}

bool InProcessLibrary::Read(DeviceHandle handle, Report& report)
{
    if (handle == 0 || handle != handle_ || pending_.empty())
        return false;
    report[0] = 0;
    std::copy(pending_.front().begin(), pending_.front().end(), report.begin() + 1);
    pending_.pop_front();
    return true;
}

bool InProcessLibrary::WriteEx(std::int32_t vendorId, std::int32_t productId,
                               const Report& report)
{
    if (!Plugged() || vendorId != DeviceVendorId || productId != DeviceProductId)
        return false;
    WireReport wire{};
    std::copy(report.begin() + 1, report.end(), wire.begin());
    for (const WireReport& reply : unit_.Receive(wire)) {
        if (!readNotify_)
            continue;
        pending_.push_back(reply);
        Post(EventRead, handle_);
    }
    return true;
}

void InProcessLibrary::Plug()
{
    if (Plugged())
        return;
    if (++lastHandle_ == 0)  // 0 means "no device"
        ++lastHandle_;
    handle_ = lastHandle_;
    Post(EventPlugged, handle_);
    Post(EventChanged);
}

void InProcessLibrary::Unplug()
{
    if (!Plugged())
        return;
    const DeviceHandle gone = handle_;
    handle_ = 0;
    readNotify_ = false;
    pending_.clear();
    Post(EventUnplugged, gone);
    Post(EventChanged);
}

void InProcessLibrary::Post(int code, DeviceHandle handle)
{
    if (connected_)
        sink_->Post(code, handle);
}
