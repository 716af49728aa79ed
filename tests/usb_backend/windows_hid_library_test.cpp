// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows library over fake HID devices, driven by real WM_DEVICECHANGE
// messages sent to its notification window; hidapi itself runs against the
// unit in the Wine guest test, and starts here.

#include "usb_backend/windows_hid_library.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>
#include <hidapi.h>

#include <functional>
#include <map>

#include "tests/usb_backend/fake_hidraw.h"

namespace {

using Events = std::vector<std::pair<int, DeviceHandle>>;
using State = UnitAccess::State;

// As hidapi lists them: lower case.
const std::string UnitA = R"(\\?\hid#vid_1781&pid_07d0#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
const std::string UnitB = R"(\\?\hid#vid_1781&pid_07d0#7&99aa00&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
const std::string Keyboard = R"(\\?\hid#vid_046d&pid_c31c&mi_00#8&2f3e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

class FakeDevices : public HidDevices {
public:
    FakeOpener opener;  // units by lower-case path
    std::vector<std::string> attached;
    std::vector<std::string> Enumerate(HidIdentity) override
    {
        std::vector<std::string> units;
        std::copy_if(attached.begin(), attached.end(), std::back_inserter(units),
                     [](const std::string& path) { return path != Keyboard; });
        return units;
    }
    OpenResult Open(const std::string& path) override { return opener.Open(path); }
};

class WindowsHidLibraryTest : public ::testing::Test {
protected:
    WindowsHidLibraryTest()
    {
        WNDCLASSW cls{};
        cls.lpfnWndProc = DefWindowProcW;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"QorunHidTestWindow";
        RegisterClassW(&cls);
        window = CreateWindowW(L"QorunHidTestWindow", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
        auto owned = std::make_unique<FakeDevices>();
        devices = owned.get();
        library = std::make_unique<WindowsHidLibrary>(std::move(owned), WindowsHidOptions{{0x1781, 0x07D0}, std::chrono::milliseconds(5)});
    }
    ~WindowsHidLibraryTest() override { library.reset(); DestroyWindow(window); }

    // Notifications name devices in upper case.
    void Notify(bool arrived, const std::string& path)
    {
        std::vector<std::uint8_t> buffer(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + path.size() * sizeof(wchar_t));
        auto* device = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(buffer.data());
        device->dbcc_size = static_cast<DWORD>(buffer.size());
        device->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        device->dbcc_classguid = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
        for (std::size_t i = 0; i < path.size(); ++i)
            device->dbcc_name[i] = static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(path[i])));
        SendMessageW(static_cast<HWND>(library->NotificationWindow()), WM_DEVICECHANGE,
                     arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(device));
    }
    std::shared_ptr<FakeUnit> Attach(const std::string& path)
    {
        devices->attached.push_back(path);
        return devices->opener.units[path] = std::make_shared<FakeUnit>();
    }
    void Plug(const std::string& path) { Attach(path), Notify(true, path); }
    void Pull(const std::string& path)
    {
        if (auto unit = devices->opener.units[path])
            unit->Pull();
        std::erase(devices->attached, path);
        Notify(false, path);
    }

    // What reached the window so far, handles numbered by first appearance.
    Events Delivered()
    {
        Events events;
        MSG message;
        while (PeekMessageW(&message, window, DeviceEventMessage, DeviceEventMessage, PM_REMOVE)) {
            const auto handle = static_cast<DeviceHandle>(message.lParam);
            if (handle != 0 && !ordinals.contains(handle))
                ordinals[handle] = static_cast<DeviceHandle>(ordinals.size() + 1);
            events.emplace_back(static_cast<int>(message.wParam), handle ? ordinals[handle] : 0);
        }
        return events;
    }
    static bool WaitFor(const std::function<bool()>& done)
    {
        for (int i = 0; i < 5000 && !done(); ++i)
            Sleep(1);
        return done();
    }

    DeviceHandle Handle() { return library->GetHandle(0x1781, 0x07D0); }
    bool Write(std::uint8_t command) { return library->WriteEx(0x1781, 0x07D0, {0, command, 2, 3, 4, 5, 6, 7, 8}); }

    HWND window = nullptr;
    FakeDevices* devices = nullptr;
    std::unique_ptr<WindowsHidLibrary> library;
    std::map<DeviceHandle, DeviceHandle> ordinals;
};

TEST_F(WindowsHidLibraryTest, PlugAndPullNotificationsBecomeDeviceEventsInOrder)
{
    struct Step {
        bool arrived;
        const std::string& path;
    };
    struct Case {
        const char* name;
        std::vector<std::string> attachedAtConnect;
        std::vector<Step> steps;
        Events expected;
    };
    const Case cases[] = {
        {"plug, pull, replug", {}, {{true, UnitA}, {false, UnitA}, {true, UnitA}},
         {{EventPlugged, 1}, {EventChanged, 0}, {EventUnplugged, 1}, {EventChanged, 0}, {EventPlugged, 2}, {EventChanged, 0}}},
        {"attached at connect, told again, pulled", {UnitA}, {{true, UnitA}, {false, UnitA}},
         {{EventChanged, 0}, {EventUnplugged, 1}, {EventChanged, 0}}},
        {"another device comes and goes", {}, {{true, Keyboard}, {false, Keyboard}}, {}},
        {"a second unit takes over", {}, {{true, UnitA}, {true, UnitB}, {false, UnitA}},
         {{EventPlugged, 1}, {EventChanged, 0}, {EventChanged, 0}, {EventUnplugged, 1}, {EventPlugged, 2}, {EventChanged, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        library->Disconnect();
        devices->attached.clear(), ordinals.clear();
        for (const std::string& path : c.attachedAtConnect)
            Attach(path);
        ASSERT_TRUE(library->Connect(window));
        for (const Step& step : c.steps)
            step.arrived ? Plug(step.path) : Pull(step.path);
        EXPECT_EQ(Delivered(), c.expected);
        EXPECT_EQ(Handle() != 0, !devices->attached.empty() && devices->attached.back() != Keyboard);
    }
}

TEST_F(WindowsHidLibraryTest, InputAfterReadNotifyOneEventPerReportInOrderNoneLostWhileTheWindowIsBusy)
{
    auto unit = Attach(UnitA);
    library->Connect(window);
    Delivered();  // the connect's EventChanged
    ASSERT_TRUE(Write(1));  // opens the unit: its answer comes before notifications are on
    unit->Send({0x30, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(WaitFor([&] { return unit->Consumed(); }));
    const DeviceHandle handle = Handle();
    library->SetReadNotify(handle + 1, true);
    library->SetReadNotify(handle, true);

    // The window does not pump while the reports come.
    constexpr int count = 200;
    for (int i = 0; i < count; ++i)
        unit->Send({static_cast<std::uint8_t>(i), 0, 0, 0, 0, 0, 0, 0x40});
    ASSERT_TRUE(WaitFor([&] { return unit->Consumed(); }));
    EXPECT_EQ(Delivered(), Events(count, {EventRead, 1}));
    Report report;
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(library->Read(handle, report)) << i;
        EXPECT_EQ(report, (Report{0, static_cast<std::uint8_t>(i), 0, 0, 0, 0, 0, 0, 0x40})) << i;
    }
    EXPECT_FALSE(library->Read(handle, report));
}

TEST_F(WindowsHidLibraryTest, RefusedAndPulledWritesFailAndAnotherHolderIsDenied)
{
    auto unit = Attach(UnitA);
    library->Connect(window);
    unit->refuseWrites = true;
    EXPECT_FALSE(Write(1));
    unit->refuseWrites = false;
    EXPECT_TRUE(Write(2));
    EXPECT_EQ(unit->Written().size(), 1u);

    // Another program holds it: said as such, until it lets go.
    library->Disconnect();
    devices->opener.deniedOpens = -1;
    library->Connect(window);
    library->SetReadNotify(Handle(), true);
    const UnitAccess denied = library->Access(0x1781, 0x07D0);
    EXPECT_EQ(denied.state, State::Denied);
    EXPECT_EQ(denied.devnode, UnitA);
    EXPECT_FALSE(Write(3));
    devices->opener.deniedOpens = 0;
    EXPECT_TRUE(Write(4));
    EXPECT_EQ(library->Access(0x1781, 0x07D0).state, State::Usable);

    // Pulled before its removal is told, then told.
    unit->Pull();
    EXPECT_FALSE(Write(5));
    Pull(UnitA);
    EXPECT_FALSE(Write(6));
    EXPECT_EQ(library->Access(0x1781, 0x07D0).state, State::Absent);
    EXPECT_EQ(unit->Written().size(), 2u);
}

TEST_F(WindowsHidLibraryTest, NothingIsPostedAfterDisconnect)
{
    auto unit = Attach(UnitA);
    library->Connect(window);
    library->SetReadNotify(Handle(), true);
    unit->Send({1, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(WaitFor([&] { return unit->Consumed(); }));
    Plug(UnitB);
    library->Disconnect();
    EXPECT_EQ(library->NotificationWindow(), nullptr);
    EXPECT_EQ(unit.use_count(), 2);  // the test's and the opener's: the port is closed, its reader joined
    EXPECT_EQ(Delivered(), Events{});
}

// hidapi looks up every system function it may call and, missing one, fails
// each call; and its listing finds nothing under Wine. Wine's own HID mouse
// and keyboard are there to be listed.
TEST(HidapiOnThisSystem, StartsAndTheListingGoesByVendorAndProduct)
{
    EXPECT_EQ(hid_init(), 0) << hid_error(nullptr);
    const std::unique_ptr<HidDevices> devices = HidapiDevices();
    for (const auto& [identity, listed] : {std::pair{HidIdentity{0x845E, 0x0001}, 1u}, {HidIdentity{0x845E, 0x0002}, 1u},
                                           {HidIdentity{0x845E, 0x0003}, 0u}, {HidIdentity{0x1781, 0x07D0}, 0u}})
        EXPECT_EQ(devices->Enumerate(identity).size(), listed) << std::hex << identity.productId;
}

}  // namespace
