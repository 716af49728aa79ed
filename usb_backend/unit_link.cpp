// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/unit_link.h"

#include <algorithm>
#include <thread>

UnitLink::UnitLink(std::unique_ptr<DeviceWatch> watch, std::unique_ptr<UnitOpener> opener,
                   std::unique_ptr<DeviceEventSink> sink, UnitLinkOptions options)
    : watch_(std::move(watch)),
      opener_(std::move(opener)),
      options_(options),
      sink_(std::move(sink)),
      permissionNotice_(options.diagnostics),
      hotplugNotice_(options.diagnostics),
      presence_(options.unit, options.onlyDevnode)
{
}

UnitLink::~UnitLink()
{
    Disconnect();
}

bool UnitLink::Connect(WindowHandle window)
{
    std::lock_guard lock(linkMutex_);
    if (connected_)
        Disconnect();
    sink_.Attach(window);
    connected_ = true;
    watching_ = watch_->Start(*this);
    if (!watching_)
        hotplugNotice_.Say(options_.notices.hotplugUnavailable);
    return watching_;
}

bool UnitLink::Disconnect()
{
    std::lock_guard lock(linkMutex_);
    // Events already posted must not reach the window either.
    sink_.Detach();
    watch_->Stop();
    watching_ = false;
    connected_ = false;
    CloseUnit();
    queue_.Disable();
    return true;
}

DeviceHandle UnitLink::GetHandle(std::int32_t vendorId, std::int32_t productId)
{
    if (!SameIdentity(options_.unit, vendorId, productId))
        return 0;
    std::lock_guard lock(linkMutex_);
    ReleaseStaleUnit();
    RefreshIfUnwatched();
    return PresentHandle();
}

void UnitLink::SetReadNotify(DeviceHandle handle, bool enabled)
{
    if (handle == 0)
        return;
    std::lock_guard lock(linkMutex_);
    ReleaseStaleUnit();
    if (handle != PresentHandle())
        return;
    if (!enabled) {
        queue_.Disable();
        return;
    }
    // Gate first: input read from here on is kept, whatever came before is not.
    queue_.Enable(handle);
    EnsureOpen();
}

bool UnitLink::Read(DeviceHandle handle, Report& report)
{
    if (handle == 0 || handle != PresentHandle())
        return false;
    return queue_.Take(handle, report);
}

bool UnitLink::WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report)
{
    if (!SameIdentity(options_.unit, vendorId, productId))
        return false;
    const std::shared_ptr<OpenedUnit> unit = OpenForWrite();
    if (unit == nullptr)
        return false;
    if (unit->Write(report))
        return true;
    // Pulled out mid-upload, most likely. Stop the reader before anything
    // else touches the device; the next write opens afresh.
    CloseUnit();
    return false;
}

UnitAccess UnitLink::Access(std::int32_t vendorId, std::int32_t productId)
{
    UnitAccess access;
    if (!SameIdentity(options_.unit, vendorId, productId))
        return access;
    std::lock_guard linkLock(linkMutex_);
    ReleaseStaleUnit();
    RefreshIfUnwatched();
    std::lock_guard lock(presenceMutex_);
    if (presence_.Handle() == 0)
        return access;
    access.devnode = presence_.Devnode();
    access.state = presence_.Handle() == deniedHandle_ ? UnitAccess::State::Denied : UnitAccess::State::Usable;
    return access;
}

void UnitLink::Snapshot(const std::vector<DeviceNode>& nodes)
{
    std::lock_guard lock(presenceMutex_);
    const DeviceHandle before = presence_.Handle();
    presence_.Replace(nodes);
    if (presence_.Handle() != before)
        queue_.Forget(before);
    // Lets the window enable read notifications without a replug, and after
    // lost messages tells it the unit may have gone or come back.
    if (presence_.Handle() != 0 || before != 0)
        sink_.Post(EventChanged);
}

void UnitLink::Arrived(const DeviceNode& node)
{
    std::lock_guard lock(presenceMutex_);
    const DeviceHandle before = presence_.Handle();
    // Another device on the unit's node means the unit left: its input goes.
    const std::vector<PendingEvent> events = presence_.Arrived(node);
    if (before != 0 && presence_.Handle() != before)
        queue_.Forget(before);
    for (const PendingEvent& event : events)
        sink_.Post(event.code, event.handle);
}

void UnitLink::Left(const std::string& devnode)
{
    std::lock_guard lock(presenceMutex_);
    const DeviceHandle before = presence_.Handle();
    const std::vector<PendingEvent> events = presence_.Left(devnode);
    if (presence_.Handle() != before)
        queue_.Forget(before);
    for (const PendingEvent& event : events)
        sink_.Post(event.code, event.handle);
}

DeviceHandle UnitLink::PresentHandle() const
{
    std::lock_guard lock(presenceMutex_);
    return presence_.Handle();
}

void UnitLink::RefreshIfUnwatched()
{
    if (watching_ || unit_)
        return;
    std::vector<DeviceNode> nodes = watch_->Enumerate();
    std::lock_guard lock(presenceMutex_);
    presence_.Replace(nodes);
}

void UnitLink::ReleaseStaleUnit()
{
    if (unit_ && (unit_->ReaderFailed() || unit_->Handle() != PresentHandle()))
        CloseUnit();
}

OpenedUnit* UnitLink::EnsureOpen()
{
    ReleaseStaleUnit();
    if (unit_)
        return unit_.get();

    DeviceHandle handle = 0;
    std::string devnode;
    {
        std::lock_guard lock(presenceMutex_);
        handle = presence_.Handle();
        devnode = presence_.Devnode();
    }
    if (handle == 0)
        return nullptr;

    // Retry only the first open of a plug-in; after that one attempt per
    // call, so an upload to a unit we may not open fails fast.
    const int attempts = handle == retriedHandle_ ? 1 : std::max(1, options_.openAttempts);
    retriedHandle_ = handle;
    OpenResult opened;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(options_.openPause);
        opened = opener_->Open(devnode);
        if (opened.port || !opened.permissionDenied)
            break;
    }
    if (!opened.port) {
        if (opened.permissionDenied) {
            deniedHandle_ = handle;
            if (options_.notices.denied != nullptr)
                permissionNotice_.Say(options_.notices.denied(devnode));
        }
        return nullptr;
    }
    deniedHandle_ = 0;
    unit_ = std::make_shared<OpenedUnit>(std::move(opened.port), handle, options_.readTimeout,
                                         [this](DeviceHandle from, const InputBytes& bytes) {
                                             if (queue_.Offer(from, bytes))
                                                 sink_.Post(EventRead, from);
                                         });
    return unit_.get();
}

std::shared_ptr<OpenedUnit> UnitLink::OpenForWrite()
{
    std::lock_guard lock(linkMutex_);
    ReleaseStaleUnit();
    RefreshIfUnwatched();
    return EnsureOpen() ? unit_ : nullptr;
}

void UnitLink::CloseUnit()
{
    std::lock_guard lock(linkMutex_);
    unit_.reset();
}
