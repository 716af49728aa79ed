// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The stand-in hidapi flags two calls at once on one handle: hidapi replaces a
// handle's error string on every read and write, so an overlap leaks it or frees it twice.

#include <gtest/gtest.h>
#include <hidapi.h>

#include <unistd.h>

#include <condition_variable>
#include <thread>

#include "usb_backend/linux/hidraw_opener.h"

struct hid_device_ {
    int callsInside = 0;
};

namespace {
std::mutex mutex;
std::condition_variable changed;
int opensLeft = 0, open = 0, writes = 0, reads = 0;
bool overlapped = false;

// Marks a call inside the handle until the returned guard ends.
auto Inside(hid_device* device)
{
    overlapped |= device->callsInside++ > 0;
    changed.notify_all();
    return std::unique_ptr<hid_device, void (*)(hid_device*)>(device, [](hid_device* d) { --d->callsInside; });
}
}  // namespace

// hidraw5 may be read but not written, whoever runs the test: root passes the real check.
extern "C" int access(const char* path, int mode) noexcept
{
    if (std::string_view(path) != "/dev/hidraw5")
        return euidaccess(path, mode);
    return (mode & W_OK) != 0 ? (errno = EACCES, -1) : 0;
}

int hid_init() { return 0; }
hid_device* hid_open_path(const char*) { return opensLeft-- > 0 ? (++open, new hid_device) : nullptr; }
void hid_close(hid_device* device) { --open, delete device; }
int hid_write(hid_device* device, const unsigned char*, size_t length)
{
    const std::lock_guard lock(mutex);
    const auto inside = Inside(device);
    ++writes;
    return static_cast<int>(length);
}
// Stays inside until a write has come, so the two calls overlap in time.
int hid_read_timeout(hid_device* device, unsigned char*, size_t, int milliseconds)
{
    std::unique_lock lock(mutex);
    const auto inside = Inside(device);
    ++reads;
    changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [] { return writes > 0; });
    return 0;
}

namespace {

TEST(HidapiPort, ReadOnItsThreadAndWriteMeanwhileNeverShareAHandleNoneIsLeftOpenAndARefusalIsTold) {
    for (const int opens : {0, 1}) {  // of the two a port takes
        for (const std::string node : {"/dev/no-hidraw0", "/dev/hidraw5"}) {  // missing, read-only
            opensLeft = opens;
            const OpenResult failed = HidrawOpener().Open(node);
            EXPECT_TRUE(!failed.port && failed.permissionDenied == node.ends_with('5')) << node;
            EXPECT_EQ(open, 0) << "a failed open left a handle open after " << opens;
        }
    }
    opensLeft = 2;
    OpenResult opened = HidrawOpener().Open("/dev/hidraw0");
    ASSERT_TRUE(opened.port);
    std::thread reader([&] {
        std::array<std::uint8_t, 8> buffer{};
        opened.port->Read(buffer, std::chrono::seconds(5));
    });
    { std::unique_lock lock(mutex); changed.wait(lock, [] { return reads > 0; }); }
    EXPECT_TRUE(opened.port->Write(Report{}));
    reader.join();
    EXPECT_FALSE(overlapped);
    opened.port.reset();
    EXPECT_EQ(open, 0) << "a handle was left open";
}

// The command line lists units by their nodes' permissions, opening none.
TEST(NodeAccess, IsTheNodesPermissionForThisUser) {
    const std::pair<std::string, AttachedUnit::Access> cases[] = {
        {"/dev/null", AttachedUnit::Access::Openable},
        {"/dev/hidraw5", AttachedUnit::Access::Denied},   // may be read, not written
        {"/dev/no-hidraw0", AttachedUnit::Access::Failed},  // gone meanwhile
    };
    for (const auto& [node, access] : cases)
        EXPECT_EQ(NodeAccess(node), access) << node;
}

}  // namespace
