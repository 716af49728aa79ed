// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The hidapi port over a stand-in hidapi that flags two calls at once on one
// handle: hidapi frees and replaces a handle's error string on every read and
// write, so an overlap leaks it or frees it twice.

#include <gtest/gtest.h>
#include <hidapi.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "usb_backend/hidapi_unit_port.h"

struct hid_device_ {
    int callsInside = 0;
};

namespace {
std::mutex mutex;
std::condition_variable changed;
int opensLeft = 0, open = 0, writesStarted = 0, readsInside = 0;
bool overlapped = false;

void Enter(hid_device* device) { overlapped |= device->callsInside++ > 0; }
}  // namespace

int hid_init() { return 0; }
hid_device* hid_open_path(const char*)
{
    const std::lock_guard lock(mutex);
    if (opensLeft == 0) return nullptr;
    --opensLeft, ++open;
    return new hid_device;
}
void hid_close(hid_device* device)
{
    const std::lock_guard lock(mutex);
    --open;
    delete device;
}
int hid_write(hid_device* device, const unsigned char*, size_t length)
{
    std::unique_lock lock(mutex);
    Enter(device);
    ++writesStarted;
    changed.notify_all();
    --device->callsInside;
    return static_cast<int>(length);
}
// Stays inside until a write has started, so the two calls overlap in time.
int hid_read_timeout(hid_device* device, unsigned char*, size_t, int milliseconds)
{
    std::unique_lock lock(mutex);
    Enter(device);
    ++readsInside;
    changed.notify_all();
    changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [] { return writesStarted > 0; });
    --readsInside, --device->callsInside;
    return 0;
}

namespace {

TEST(HidapiPort, ReadOnItsThreadAndWriteMeanwhileNeverShareAHandle) {
    opensLeft = 2, writesStarted = 0, overlapped = false;
    OpenResult opened = HidapiOpener().Open("/dev/hidraw0");
    ASSERT_TRUE(opened.port);
    std::thread reader([&] {
        std::array<std::uint8_t, 8> buffer{};
        opened.port->Read(buffer, std::chrono::seconds(5));
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [] { return readsInside > 0; });
    }
    EXPECT_TRUE(opened.port->Write(Report{}));
    reader.join();
    EXPECT_FALSE(overlapped);
    opened.port.reset();
    EXPECT_EQ(open, 0) << "a handle was left open";
}

TEST(HidapiPort, AFailedOpenLeavesNoHandleOpen) {
    for (const int opens : {0, 1}) {
        opensLeft = opens;
        EXPECT_FALSE(HidapiOpener().Open("/dev/hidraw-none").port) << opens;
        EXPECT_EQ(open, 0) << "after " << opens << " of the two opens succeeded";
    }
}

}  // namespace
