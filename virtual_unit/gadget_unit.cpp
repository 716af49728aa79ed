// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "virtual_unit/gadget_unit.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "virtual_unit/unit_descriptor.h"

namespace {

const std::string GadgetRoot = "/sys/kernel/config/usb_gadget";
const std::string Function = "functions/hid.usb0";

std::atomic<unsigned> gadgets{0};
std::atomic<unsigned> units{0};

// Sysfs files of a device that is going away fail with ENODEV: read with
// plain calls, "" on any error, never an exception.
std::string ReadFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    std::string text;
    char chunk[4096];
    ssize_t got;
    while ((got = ::read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<std::size_t>(got));
    ::close(fd);
    return got < 0 ? std::string() : text;
}

// The entries' names, none when the directory cannot be read; an entry that
// goes while it is read only ends the list.
std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator entry(dir, ec), end; !ec && entry != end; entry.increment(ec))
        names.push_back(entry->path().filename().string());
    return names;
}

// Slow steps (udev, devtmpfs) under a loaded emulator take seconds.
bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        ::usleep(10 * 1000);
    }
    return true;
}

// configfs takes each attribute in one write; errno tells why it refused.
bool WriteAttribute(const std::string& path, const void* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
    const int error = errno;
    ::close(fd);
    errno = error;
    return written;
}

bool WriteAttribute(const std::string& path, const std::string& text) {
    return WriteAttribute(path, text.data(), text.size());
}

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

GadgetUnit::GadgetUnit()
    : serial_("VQ" + std::to_string(::getpid()) + "N" + std::to_string(++units)),
      wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

GadgetUnit::~GadgetUnit() {
    Remove();
    TearDownGadget();
    ::close(wakeFd_);
}

bool GadgetUnit::Create() {
    if (thread_.joinable()) {
        if (present_) return true;
        Remove();  // it unplugged itself: collect the thread first
    }
    if (!MakeGadget() || !BindFreeController()) return false;
    if (!OpenFunctionNode()) {
        Unbind();
        return false;
    }
    stop_ = false;
    present_ = true;
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void GadgetUnit::Remove() {
    if (thread_.joinable()) {
        stop_ = true;
        Wake();
        thread_.join();
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    Unbind();
    present_ = false;
    // Gone for the host, and udevd has told its listeners: a tool started
    // next must not hear of this unit's removal, whose node a new one may reuse.
    WaitFor([this] { return NodeOfSerial().empty() && UdevIdle(); });
}

bool GadgetUnit::UdevIdle() {
    // udevd keeps /run/udev/queue while events wait to be handled.
    return ::access("/run/udev/control", F_OK) != 0 || ::access("/run/udev/queue", F_OK) != 0;
}

void GadgetUnit::RemoveAfter(std::size_t reports) {
    {
        std::lock_guard lock(mutex_);
        drained_.clear();
    }
    removeAfter_ = reports;
}

std::vector<WireReport> GadgetUnit::DrainedAtUnplug() const {
    std::lock_guard lock(mutex_);
    return drained_;
}

void GadgetUnit::Resume() {
    stalled_ = false;
    Wake();
}

bool GadgetUnit::MakeGadget() {
    if (!gadgetDir_.empty()) return true;
    const std::string dir = GadgetRoot + "/qorun-" + std::to_string(::getpid()) + "-" + std::to_string(++gadgets);
    made_.clear();
    const auto mkdir = [&](const std::string& path) {
        if (::mkdir(path.c_str(), 0755) != 0) return false;
        made_.push_back(path);
        return true;
    };
    const auto attribute = [&](const std::string& name, const std::string& value) {
        return WriteAttribute(dir + "/" + name, value);
    };
    gadgetDir_ = dir;
    const bool made =
        mkdir(dir) && attribute("idVendor", std::to_string(VirtualUnitVendorId)) &&
        attribute("idProduct", std::to_string(VirtualUnitProductId)) && attribute("bcdUSB", "0x0200") &&
        mkdir(dir + "/strings/0x409") && attribute("strings/0x409/serialnumber", serial_) &&
        attribute("strings/0x409/manufacturer", "Velbrix") &&
        attribute("strings/0x409/product", "Velbrix Qorun virtual alarm unit") && mkdir(dir + "/" + Function) &&
        attribute(Function + "/protocol", "0") && attribute(Function + "/subclass", "0") &&
        attribute(Function + "/report_length", std::to_string(VirtualUnitReportLength)) &&
        WriteAttribute(dir + "/" + Function + "/report_desc", VirtualUnitReportDescriptor,
                       sizeof VirtualUnitReportDescriptor) &&
        mkdir(dir + "/configs/c.1") && attribute("configs/c.1/MaxPower", "100") &&
        ::symlink((dir + "/" + Function).c_str(), (dir + "/configs/c.1/hid.usb0").c_str()) == 0;
    if (!made) {
        SetError(Reason("cannot make the USB gadget in " + dir +
                        " (root, configfs on /sys/kernel/config, modules libcomposite, dummy_hcd, usb_f_hid)"));
        TearDownGadget();
        return false;
    }
    made_.push_back(dir + "/configs/c.1/hid.usb0");
    return true;
}

void GadgetUnit::TearDownGadget() {
    if (gadgetDir_.empty()) return;
    // configfs undoes a gadget only in the reverse order of its making.
    for (auto path = made_.rbegin(); path != made_.rend(); ++path)
        if (::unlink(path->c_str()) != 0) ::rmdir(path->c_str());
    made_.clear();
    gadgetDir_.clear();
}

bool GadgetUnit::BindFreeController() {
    std::vector<std::string> controllers = Entries("/sys/class/udc");
    std::sort(controllers.begin(), controllers.end());
    // A controller another gadget holds refuses with EBUSY.
    for (const std::string& controller : controllers)
        if (WriteAttribute(gadgetDir_ + "/UDC", controller)) return true;
    SetError(controllers.empty() ? "no USB device controller (modprobe dummy_hcd)"
                                 : "every USB device controller is taken (modprobe dummy_hcd num=N)");
    return false;
}

void GadgetUnit::Unbind() {
    if (gadgetDir_.empty()) return;
    WriteAttribute(gadgetDir_ + "/UDC", "\n");
}

bool GadgetUnit::OpenFunctionNode() {
    // "major:minor" of the function's character device; devtmpfs names it.
    const std::string dev = ReadFile(gadgetDir_ + "/" + Function + "/dev");
    const std::string node = "/dev/hidg" + dev.substr(dev.find(':') + 1, dev.find_first_of("\n") - dev.find(':') - 1);
    WaitFor([&] { return (fd_ = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) >= 0; });
    if (fd_ < 0) SetError(Reason("cannot open " + node));
    return fd_ >= 0;
}

void GadgetUnit::Serve() {
    // Ahead of the host's writer, so an unplug after the n-th report lands
    // before the host can hand over the next one.
    sched_param realtime{};
    realtime.sched_priority = 10;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &realtime);

    std::uint8_t buffer[64];
    while (present_) {
        short revents = 0;
        if (!Wait(stalled_ ? 0 : POLLIN, -1, &revents)) break;
        if (revents & (POLLERR | POLLHUP)) break;
        if (!(revents & POLLIN)) continue;
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0 && errno != EAGAIN && errno != EINTR) break;
        if (got > 0) ApplyOutput(buffer, static_cast<std::size_t>(got));
    }
    present_ = false;
}

void GadgetUnit::ApplyOutput(const std::uint8_t* data, std::size_t size) {
    if (size != 8) return;  // not a report this unit has
    const std::vector<WireReport> replies = Receive(data, size);
    // Only this thread counts down; RemoveAfter and StallAfter just set the count.
    const std::size_t left = removeAfter_;
    if (left != 0 && (removeAfter_ = left - 1) == 0) {
        DrainAndUnbind();
        return;
    }
    const std::size_t beforeStall = stallAfter_;
    if (beforeStall != 0 && (stallAfter_ = beforeStall - 1) == 0)
        stalled_ = true;
    for (std::size_t i = 0; i < replies.size(); ++i) {
        const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(replyInterval_.load());
        if (i > 0 && gap.count() > 0 && !Wait(0, static_cast<int>(gap.count()))) return;
        if (!SendInput(replies[i])) return;
        ++replies_;
    }
}

void GadgetUnit::DrainAndUnbind() {
    // Each read hands a request back to the endpoint, so a write may still
    // land between the last read and the unbind: the host's count is at
    // least the reports read and drained, and at most OutRequests more.
    std::vector<WireReport> drained;
    WireReport report;
    std::uint8_t buffer[64];
    for (ssize_t got; (got = ::read(fd_, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR);)
        if (got == static_cast<ssize_t>(report.size())) {
            std::copy(buffer, buffer + got, report.begin());
            drained.push_back(report);
        }
    Unbind();
    present_ = false;
    std::lock_guard lock(mutex_);
    drained_ = std::move(drained);
}

bool GadgetUnit::InputTaken() const {
    pollfd fd{fd_, POLLOUT, 0};
    return ::poll(&fd, 1, 0) == 1 && (fd.revents & POLLOUT);
}

bool GadgetUnit::SendInput(const WireReport& report) {
    // The endpoint holds one report until the host polls it.
    for (;;) {
        if (::write(fd_, report.data(), report.size()) == static_cast<ssize_t>(report.size())) return true;
        if (errno != EAGAIN && errno != EINTR) return false;
        short revents = 0;
        if (!Wait(POLLOUT, -1, &revents) || (revents & (POLLERR | POLLHUP))) return false;
    }
}

bool GadgetUnit::Wait(short fdEvents, int timeoutMs, short* fdRevents) {
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {fd_, fdEvents, 0}};
    const int count = ::poll(fds, fdEvents ? 2 : 1, timeoutMs);
    if (count < 0 && errno != EINTR) return false;
    if (fds[0].revents & POLLIN) {
        std::uint64_t drained = 0;
        [[maybe_unused]] auto got = ::read(wakeFd_, &drained, sizeof drained);
    }
    if (fdRevents) *fdRevents = fds[1].revents;
    return !stop_;
}

void GadgetUnit::Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(wakeFd_, &one, sizeof one);
}

void GadgetUnit::SetError(const std::string& error) {
    std::lock_guard lock(mutex_);
    error_ = error;
}

std::string GadgetUnit::HidrawNode() const { return present_ ? NodeOfSerial() : std::string(); }

std::string GadgetUnit::NodeOfSerial() const {
    for (const std::string& name : Entries("/sys/class/hidraw")) {
        const std::string uevent = ReadFile("/sys/class/hidraw/" + name + "/device/uevent");
        if (uevent.find("HID_UNIQ=" + serial_ + "\n") != std::string::npos) return "/dev/" + name;
    }
    return {};
}
