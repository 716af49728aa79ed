// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/windows/notification_watch.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <dbt.h>
#include <setupapi.h>

#include <cstdio>

#include "usb_backend/windows/wide_path.h"

namespace {

// GUID_DEVINTERFACE_HID, spelled out so no DDK header is needed.
constexpr GUID HidInterfaceClass{0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

std::string UnitName(HidIdentity unit)
{
    char name[32];
    std::snprintf(name, sizeof name, "vid_%04x&pid_%04x", unit.vendorId, unit.productId);
    return name;
}

}  // namespace

std::vector<std::string> ListHidInterfaces(HidIdentity identity)
{
    std::vector<std::string> paths;
    const HDEVINFO set = SetupDiGetClassDevsW(&HidInterfaceClass, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return paths;
    SP_DEVICE_INTERFACE_DATA found{};
    found.cbSize = sizeof found;
    for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &HidInterfaceClass, i, &found); ++i) {
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &found, nullptr, 0, &size, nullptr);
        std::vector<DWORD> buffer(size / sizeof(DWORD) + 1);  // aligned as the structure wants
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof *detail;
        if (!SetupDiGetDeviceInterfaceDetailW(set, &found, detail, size, nullptr, nullptr))
            continue;
        const std::string path = LowerAscii(Utf8Path(detail->DevicePath));
        if (path.find(UnitName(identity)) != std::string::npos)
            paths.push_back(path);
    }
    SetupDiDestroyDeviceInfoList(set);
    return paths;
}

// A message-only window registered for the arrival and removal of HID
// device interfaces; it lives on the thread that started the watch.
class NotificationWatch::Registration {
public:
    // Null when the window or the registration cannot be had.
    static std::unique_ptr<Registration> Create(NotificationWatch& watch)
    {
        static const wchar_t* const className = L"QorunDeviceNotifications";
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = Proc;
        cls.hInstance = instance;
        cls.lpszClassName = className;
        RegisterClassExW(&cls);  // fails harmlessly when registered already

        std::unique_ptr<Registration> self(new Registration(watch));
        self->window_ = CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
        if (self->window_ == nullptr)
            return nullptr;
        SetWindowLongPtrW(self->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self.get()));

        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = HidInterfaceClass;
        self->handle_ = RegisterDeviceNotificationW(self->window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        if (self->handle_ == nullptr)
            return nullptr;
        return self;
    }

    ~Registration()
    {
        if (handle_ != nullptr)
            UnregisterDeviceNotification(handle_);
        if (window_ != nullptr)
            DestroyWindow(window_);
    }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

    HWND Window() const { return window_; }

private:
    explicit Registration(NotificationWatch& watch) : watch_(watch) {}

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<Registration*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self == nullptr || message != WM_DEVICECHANGE ||
            (wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE) || lParam == 0)
            return DefWindowProcW(window, message, wParam, lParam);
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
        if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
            if (IsEqualGUID(device->dbcc_classguid, HidInterfaceClass))
                self->watch_.InterfaceChanged(wParam == DBT_DEVICEARRIVAL, device->dbcc_name);
        }
        return TRUE;
    }

    NotificationWatch& watch_;
    HWND window_ = nullptr;
    HDEVNOTIFY handle_ = nullptr;
};

NotificationWatch::NotificationWatch(HidIdentity unit) : unit_(unit), unitName_(UnitName(unit)) {}

NotificationWatch::~NotificationWatch()
{
    Stop();
}

std::vector<DeviceNode> NotificationWatch::Enumerate()
{
    std::vector<DeviceNode> nodes;
    for (std::string& path : ListHidInterfaces(unit_))
        nodes.push_back({std::move(path), unit_});
    return nodes;
}

bool NotificationWatch::Start(DeviceWatchListener& listener)
{
    Stop();
    registration_ = Registration::Create(*this);
    listener.Snapshot(Enumerate());
    if (registration_)
        listener_ = &listener;
    return registration_ != nullptr;
}

void NotificationWatch::Stop()
{
    registration_.reset();
    listener_ = nullptr;
}

void* NotificationWatch::NotificationWindow() const
{
    return registration_ ? registration_->Window() : nullptr;
}

void NotificationWatch::InterfaceChanged(bool arrived, std::wstring_view name)
{
    const std::string path = LowerAscii(Utf8Path(name));
    if (listener_ == nullptr || path.find(unitName_) == std::string::npos)
        return;  // another HID device
    if (arrived)
        listener_->Arrived({path, unit_});
    else
        listener_->Left(path);
}
