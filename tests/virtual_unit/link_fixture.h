#pragma once
// The virtual unit behind the real device link, attached to a test window.

#include <gtest/gtest.h>

#include "device_link/hid_dll_interface.h"
#include "tests/virtual_unit/test_window.h"
#include "virtual_unit/in_process_library.h"

class VirtualUnitLink : public ::testing::Test {
protected:
    AlarmUnitModel unit;
    InProcessLibrary library{unit};
    TestWindow window{library};
    HIDDLLInterface link{library};

    // Attaches and lets the first EventChanged enable read notifications.
    void AttachAndSettle()
    {
        link.AttachDeviceLink(&window);
        DeliverPostedEvents(window);
    }

    std::size_t ReadEventsFor(DeviceHandle handle) const
    {
        std::size_t n = 0;
        for (const auto& [code, h] : window.deviceEvents)
            n += code == EventRead && h == handle;
        return n;
    }
};
