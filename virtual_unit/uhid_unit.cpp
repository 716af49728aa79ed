// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "virtual_unit/uhid_unit.h"

#include "virtual_unit/unit_descriptor.h"

#include <linux/uhid.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

constexpr std::uint32_t UnitVendorId = VirtualUnitVendorId;
constexpr std::uint32_t UnitProductId = VirtualUnitProductId;
constexpr auto& ReportDescriptor = VirtualUnitReportDescriptor;

std::atomic<unsigned> creations{0};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

UhidUnit::~UhidUnit() { Remove(); }

bool UhidUnit::Create() {
    if (thread_.joinable()) {
        if (present_) return true;
        Remove();  // it pulled itself out: collect the thread first
    }
    fd_ = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        std::lock_guard lock(mutex_);
        error_ = std::string("cannot open /dev/uhid: ") + std::strerror(errno);
        return false;
    }
    stopFd_ = ::eventfd(0, EFD_CLOEXEC);

    uniq_ = "qorun-" + std::to_string(::getpid()) + "-" + std::to_string(++creations);
    uhid_event event{};
    event.type = UHID_CREATE2;
    auto& create = event.u.create2;
    std::snprintf(reinterpret_cast<char*>(create.name), sizeof create.name,
                  "Velbrix Qorun virtual alarm unit");
    std::snprintf(reinterpret_cast<char*>(create.uniq), sizeof create.uniq, "%s", uniq_.c_str());
    create.rd_size = sizeof ReportDescriptor;
    std::memcpy(create.rd_data, ReportDescriptor, sizeof ReportDescriptor);
    create.bus = BUS_USB;
    create.vendor = UnitVendorId;
    create.product = UnitProductId;
    if (!Send(&event)) {
        ::close(fd_);
        ::close(stopFd_);
        fd_ = stopFd_ = -1;
        return false;
    }
    present_ = true;
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void UhidUnit::Remove() {
    if (!thread_.joinable()) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(stopFd_, &one, sizeof one);
    thread_.join();
    // Closing /dev/uhid destroys a device that still exists.
    ::close(fd_);
    ::close(stopFd_);
    fd_ = stopFd_ = -1;
    present_ = false;
}

void UhidUnit::RemoveAfter(std::size_t reports) { removeAfter_ = reports; }

void UhidUnit::Serve() {
    // uhid queues output reports without waiting for us (a USB write waits
    // for the unit) and silently drops them once 32 are waiting. Running
    // ahead of the writer keeps that queue short; without the privilege to
    // do so (not root) the unit still works, only with less margin.
    sched_param realtime{};
    realtime.sched_priority = 10;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &realtime);

    pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    while (present_) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents) break;
        if ((fds[0].revents & POLLIN) && !HandleEvent()) break;
        if (fds[0].revents & (POLLERR | POLLHUP)) break;
    }
    present_ = false;
}

// Answers one event from the kernel; false when the device is gone.
bool UhidUnit::HandleEvent() {
    uhid_event event{};
    const ssize_t got = ::read(fd_, &event, sizeof event);
    if (got < 0) return errno == EINTR || errno == EAGAIN;
    switch (event.type) {
    case UHID_OUTPUT:
        if (event.u.output.rtype == UHID_OUTPUT_REPORT)
            ApplyOutput(event.u.output.data, event.u.output.size);
        break;
    case UHID_GET_REPORT: {
        // No feature reports: refuse at once instead of letting the kernel
        // wait for its timeout.
        uhid_event reply{};
        reply.type = UHID_GET_REPORT_REPLY;
        reply.u.get_report_reply.id = event.u.get_report.id;
        reply.u.get_report_reply.err = EIO;
        Send(&reply);
        break;
    }
    case UHID_SET_REPORT: {
        uhid_event reply{};
        reply.type = UHID_SET_REPORT_REPLY;
        reply.u.set_report_reply.id = event.u.set_report.id;
        reply.u.set_report_reply.err = EIO;
        Send(&reply);
        break;
    }
    default:  // start, stop, open, close: nothing to do
        break;
    }
    return present_;
}

void UhidUnit::ApplyOutput(const std::uint8_t* data, std::size_t size) {
    // hidraw hands over the report ID 0 in front of the 8 bytes; the unit's
    // USB link drops it, so the unit only ever sees the 8 wire bytes.
    if (size == 9 && data[0] == 0) {
        ++data;
        --size;
    }
    if (size != 8) return;  // not a report this unit has
    WireReport wire{};
    std::memcpy(wire.data(), data, wire.size());

    std::vector<WireReport> replies;
    {
        std::lock_guard lock(mutex_);
        replies = model_.Receive(wire);
    }
    for (std::size_t i = 0; i < replies.size(); ++i) {
        const WireReport& reply = replies[i];
        if (i > 0) std::this_thread::sleep_for(replyInterval_.load());
        uhid_event event{};
        event.type = UHID_INPUT2;
        event.u.input2.size = reply.size();
        std::memcpy(event.u.input2.data, reply.data(), reply.size());
        if (!Send(&event)) return;
        ++replies_;
    }
    // Only this thread counts down; RemoveAfter just sets the count.
    const std::size_t left = removeAfter_;
    if (left != 0 && (removeAfter_ = left - 1) == 0) {
        uhid_event destroy{};
        destroy.type = UHID_DESTROY;
        Send(&destroy);
        present_ = false;
    }
}

bool UhidUnit::Send(const void* event) {
    if (::write(fd_, event, sizeof(uhid_event)) == static_cast<ssize_t>(sizeof(uhid_event)))
        return true;
    std::lock_guard lock(mutex_);
    error_ = std::string("writing to /dev/uhid: ") + std::strerror(errno);
    return false;
}

std::string UhidUnit::HidrawNode() const {
    if (!present_) return {};
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/hidraw", ec)) {
        const std::string uevent = ReadFile(entry.path() / "device" / "uevent");
        if (uevent.find("HID_UNIQ=" + uniq_ + "\n") != std::string::npos)
            return "/dev/" + entry.path().filename().string();
    }
    return {};
}
