// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What only Windows adds to the link: the unit's interfaces followed through
// real WM_DEVICECHANGE messages sent to the watch's notification window, and
// listed through SetupAPI; hidapi itself runs against the unit in the Wine
// guest test, and starts here.

#include "usb_backend/windows/notification_watch.h"
#include "usb_backend/windows/held_device_opener.h"
#include "usb_backend/windows/hidapi_lookup.h"
#include "usb_backend/windows/notification_thread.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>
#include <hidapi.h>

#include <cctype>
#include <thread>
#include <tuple>

namespace {

const HidIdentity UnitId{0x1781, 0x07D0};
constexpr GUID HidClass{0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr GUID OtherClass{0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

// As SetupAPI lists them: lower case.
const std::string UnitA = R"(\\?\hid#vid_1781&pid_07d0#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
const std::string UnitB = R"(\\?\hid#vid_1781&pid_07d0#7&99aa00&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
const std::string Keyboard = R"(\\?\hid#vid_046d&pid_c31c&mi_00#8&2f3e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

struct Recorder : DeviceWatchListener {
    std::vector<std::string> seen;
    void Snapshot(const std::vector<DeviceNode>& nodes) override { seen.push_back("= " + std::to_string(nodes.size())); }
    void Arrived(const DeviceNode& node) override { seen.push_back("+" + node.devnode + (node.identity == UnitId ? "" : "?")); }
    void Left(const std::string& devnode) override { seen.push_back("-" + devnode); }
};

// Notifications name devices in upper case.
void Notify(void* window, WPARAM change, const std::string& path, const GUID& cls = HidClass)
{
    std::vector<std::uint8_t> buffer(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + path.size() * sizeof(wchar_t));
    auto* device = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(buffer.data());
    device->dbcc_size = static_cast<DWORD>(buffer.size());
    device->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    device->dbcc_classguid = cls;
    for (std::size_t i = 0; i < path.size(); ++i)
        device->dbcc_name[i] = static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(path[i])));
    SendMessageW(static_cast<HWND>(window), WM_DEVICECHANGE, change, reinterpret_cast<LPARAM>(device));
}

TEST(NotificationWatch, TellsTheUnitsInterfacesComingAndGoingLowerCaseAndNothingElse)
{
    struct Step {
        WPARAM change;
        const std::string& path;
        GUID cls = HidClass;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"plug, pull, replug", {{DBT_DEVICEARRIVAL, UnitA}, {DBT_DEVICEREMOVECOMPLETE, UnitA}, {DBT_DEVICEARRIVAL, UnitA}},
         {"+" + UnitA, "-" + UnitA, "+" + UnitA}},
        {"two units", {{DBT_DEVICEARRIVAL, UnitA}, {DBT_DEVICEARRIVAL, UnitB}, {DBT_DEVICEREMOVECOMPLETE, UnitA}},
         {"+" + UnitA, "+" + UnitB, "-" + UnitA}},
        {"another HID device comes and goes", {{DBT_DEVICEARRIVAL, Keyboard}, {DBT_DEVICEREMOVECOMPLETE, Keyboard}}, {}},
        {"another class, other changes", {{DBT_DEVICEARRIVAL, UnitA, OtherClass}, {DBT_DEVICEQUERYREMOVE, UnitA}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NotificationWatch watch(UnitId);
        Recorder recorder;
        ASSERT_TRUE(watch.Start(recorder));
        ASSERT_NE(watch.NotificationWindow(), nullptr);
        for (const Step& step : c.steps)
            Notify(watch.NotificationWindow(), step.change, step.path, step.cls);
        std::vector<std::string> expected{"= 0"};  // no unit here to list
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(recorder.seen, expected);

        watch.Stop();
        EXPECT_EQ(watch.NotificationWindow(), nullptr);
    }
}

// For a program without a message loop: the changes come on the watch's own
// thread, which ends with Stop.
TEST(NotificationThread, TellsTheChangesOnItsOwnThreadUntilStopped)
{
    struct ThreadRecorder : Recorder {
        std::vector<DWORD> threads;
        void Arrived(const DeviceNode& node) override { Recorder::Arrived(node), threads.push_back(GetCurrentThreadId()); }
    } recorder;
    NotificationThread watch(UnitId);
    ASSERT_TRUE(watch.Start(recorder));
    void* const window = watch.NotificationWindow();
    ASSERT_NE(window, nullptr);
    Notify(window, DBT_DEVICEARRIVAL, UnitA);  // waits until that thread took it
    Notify(window, DBT_DEVICEARRIVAL, Keyboard);
    watch.Stop();
    EXPECT_EQ(watch.NotificationWindow(), nullptr);
    EXPECT_FALSE(IsWindow(static_cast<HWND>(window)));
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"= 0", "+" + UnitA}));
    ASSERT_EQ(recorder.threads.size(), 1u);
    EXPECT_NE(recorder.threads[0], GetCurrentThreadId());
}

// Any user may open the unit on Windows: only a path another program holds
// for itself is a refusal worth telling; a path that is no HID device is not.
TEST(HeldDeviceOpener, OnlyAPathHeldByAnotherOpenIsRefusedAccess)
{
    wchar_t folder[MAX_PATH], name[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
    ASSERT_NE(GetTempFileNameW(folder, L"qor", 0, name), 0u);
    std::string path;
    for (const wchar_t* c = name; *c != 0; ++c)
        path += static_cast<char>(*c);  // the temporary folder's name is ASCII here
    const HANDLE held = CreateFileW(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const OpenResult whileHeld = HeldDeviceOpener().Open(path);
    CloseHandle(held);
    const OpenResult plainFile = HeldDeviceOpener().Open(path);
    const OpenResult missing = HeldDeviceOpener().Open(path + ".gone");
    DeleteFileW(name);
    for (const auto& [what, opened, denied] : {std::tuple{"held", &whileHeld, true}, {"plain file", &plainFile, false},
                                               {"missing", &missing, false}}) {
        EXPECT_EQ(opened->port, nullptr) << what;
        EXPECT_EQ(opened->permissionDenied, denied) << what;
    }
}

// hidapi looks up every system function it may call and, missing one, fails
// each call; and its listing finds nothing under Wine. Wine's own HID mouse
// and keyboard are there to be listed, once its HID bus, started beside this
// program, has made them.
TEST(HidapiOnThisSystem, StartsAndTheListingGoesByVendorAndProduct)
{
    EXPECT_EQ(hid_init(), 0) << hid_error(nullptr);
    for (int wait = 0; wait < 100 && (ListHidInterfaces({0x845E, 1}).empty() || ListHidInterfaces({0x845E, 2}).empty()); ++wait)
        Sleep(100);
    for (const auto& [identity, listed] : {std::pair{HidIdentity{0x845E, 0x0001}, 1u}, {HidIdentity{0x845E, 0x0002}, 1u},
                                           {HidIdentity{0x845E, 0x0003}, 0u}, {HidIdentity{0x1781, 0x07D0}, 0u}}) {
        const std::vector<std::string> paths = ListHidInterfaces(identity);
        EXPECT_EQ(paths.size(), listed) << std::hex << identity.productId;
        for (const std::string& path : paths)
            EXPECT_EQ(path.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << path;
    }
}

// hidapi's 64 input reports kept per handle are raised to the most Windows keeps.
TEST(HidapiOnThisSystem, KeepsMoreInputReportsThanHidapiAsksFor)
{
    std::vector<std::string> mice;
    for (int wait = 0; wait < 100 && (mice = ListHidInterfaces({0x845E, 1})).empty(); ++wait)
        Sleep(100);
    ASSERT_FALSE(mice.empty()) << "Wine's HID bus made no mouse";
    const HANDLE mouse = CreateFileA(mice[0].c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(mouse, INVALID_HANDLE_VALUE);
    const HMODULE hid = LoadLibraryA("hid.dll");
    const auto set = reinterpret_cast<BOOLEAN(WINAPI*)(HANDLE, ULONG)>(reinterpret_cast<void (*)()>(QorunHidapiLookup(hid, "HidD_SetNumInputBuffers")));
    const auto get = reinterpret_cast<BOOLEAN(WINAPI*)(HANDLE, PULONG)>(reinterpret_cast<void (*)()>(GetProcAddress(hid, "HidD_GetNumInputBuffers")));
    ULONG kept = 0;
    EXPECT_TRUE(set(mouse, 64) && get(mouse, &kept));
    EXPECT_EQ(kept, static_cast<ULONG>(QORUN_INPUT_BUFFERS));
    CloseHandle(mouse);
}

// hidapi's 1 s wait for a write, on one the unit takes only after 1.5 s, as a busy machine may.
TEST(HidapiOnThisSystem, AWriteTheUnitTakesLateIsWaitedFor)
{
    const HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread unit([taken] { Sleep(1500), SetEvent(taken); });
    EXPECT_EQ(QorunHidapiWait(taken, 1000), WAIT_OBJECT_0);
    unit.join();
    CloseHandle(taken);
}

}  // namespace
