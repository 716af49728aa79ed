// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/windows_hid_library.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <dbt.h>
#include <setupapi.h>

#include <hidapi.h>

#include <cstdio>

namespace {

// GUID_DEVINTERFACE_HID, spelled out so no DDK header is needed.
constexpr GUID HidInterfaceClass{0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

// Device paths differ only in case between a notification (upper) and an
// enumeration (lower), and Windows compares them without case: keep them
// lower case throughout.
std::string LowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string Utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::string UnitName(HidIdentity unit);

class HidapiPort : public UnitPort {
public:
    // hidapi keeps one error string per handle and replaces it on every
    // failing call, so the reader thread and the writer each get their own.
    HidapiPort(hid_device* reader, hid_device* writer) : reader_(reader), writer_(writer) {}
    ~HidapiPort() override
    {
        hid_close(reader_);
        hid_close(writer_);
    }
    HidapiPort(const HidapiPort&) = delete;
    HidapiPort& operator=(const HidapiPort&) = delete;

    // hidapi waits a second for the unit to take the report, then gives up.
    bool Write(const Report& report) override { return hid_write(writer_, report.data(), report.size()) > 0; }
    int Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override
    {
        return hid_read_timeout(reader_, buffer.data(), buffer.size(), static_cast<int>(timeout.count()));
    }

private:
    hid_device* reader_;
    hid_device* writer_;
};

// Every call comes under the library's lock, which also keeps hidapi's one
// global error string from being replaced by two threads at once.
class HidapiWindowsDevices : public HidDevices {
public:
    HidapiWindowsDevices() { hid_init(); }  // hid_exit never: other instances may still use it

    // Listed through SetupAPI, not hid_enumerate: Wine's cfgmgr32 cannot list
    // device interfaces, so hidapi finds nothing there. The unit is the
    // interface whose path names its vendor and product, as in notifications.
    std::vector<std::string> Enumerate(HidIdentity identity) override
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
            const std::string path = Utf8(detail->DevicePath);
            if (LowerAscii(path).find(UnitName(identity)) != std::string::npos)
                paths.push_back(path);
        }
        SetupDiDestroyDeviceInfoList(set);
        return paths;
    }

    OpenResult Open(const std::string& path) override
    {
        // When a read-write open is refused, hidapi opens with no access
        // instead, which succeeds but neither reads nor writes; so ask first,
        // and learn why it was refused.
        const HANDLE probe = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_OVERLAPPED, nullptr);
        if (probe == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            return {nullptr, error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED};
        }
        CloseHandle(probe);
        hid_device* reader = hid_open_path(path.c_str());
        hid_device* writer = reader ? hid_open_path(path.c_str()) : nullptr;
        if (writer)
            return {std::make_unique<HidapiPort>(reader, writer), false};
        if (reader)
            hid_close(reader);
        return {nullptr, false};
    }
};

}  // namespace

std::unique_ptr<HidDevices> HidapiDevices()
{
    return std::make_unique<HidapiWindowsDevices>();
}

// A message-only window registered for the arrival and removal of HID
// device interfaces; it lives on the thread that connected.
class DeviceNotifications {
public:
    // Null when the window or the registration cannot be had.
    static std::unique_ptr<DeviceNotifications> Create(WindowsHidLibrary& library)
    {
        static const wchar_t* const className = L"QorunDeviceNotifications";
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = Proc;
        cls.hInstance = instance;
        cls.lpszClassName = className;
        RegisterClassExW(&cls);  // fails harmlessly when registered already

        std::unique_ptr<DeviceNotifications> self(new DeviceNotifications(library));
        self->window_ = CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
        if (self->window_ == nullptr)
            return nullptr;
        SetWindowLongPtrW(self->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self.get()));

        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = HidInterfaceClass;
        self->registration_ = RegisterDeviceNotificationW(self->window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        if (self->registration_ == nullptr)
            return nullptr;
        return self;
    }

    ~DeviceNotifications()
    {
        if (registration_ != nullptr)
            UnregisterDeviceNotification(registration_);
        if (window_ != nullptr)
            DestroyWindow(window_);
    }
    DeviceNotifications(const DeviceNotifications&) = delete;
    DeviceNotifications& operator=(const DeviceNotifications&) = delete;

    HWND Window() const { return window_; }

private:
    explicit DeviceNotifications(WindowsHidLibrary& library) : library_(library) {}

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<DeviceNotifications*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self == nullptr || message != WM_DEVICECHANGE ||
            (wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE) || lParam == 0)
            return DefWindowProcW(window, message, wParam, lParam);
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
        if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
            if (IsEqualGUID(device->dbcc_classguid, HidInterfaceClass))
                self->library_.InterfaceChanged(wParam == DBT_DEVICEARRIVAL, device->dbcc_name);
        }
        return TRUE;
    }

    WindowsHidLibrary& library_;
    HWND window_ = nullptr;
    HDEVNOTIFY registration_ = nullptr;
};

namespace {

std::string UnitName(HidIdentity unit)
{
    char name[32];
    std::snprintf(name, sizeof name, "vid_%04x&pid_%04x", unit.vendorId, unit.productId);
    return name;
}

}  // namespace

WindowsHidLibrary::WindowsHidLibrary(std::unique_ptr<HidDevices> devices, WindowsHidOptions options)
    : devices_(std::move(devices)), options_(options), unitName_(UnitName(options.unit)), presence_(options.unit)
{
}

WindowsHidLibrary::~WindowsHidLibrary()
{
    Disconnect();
}

bool WindowsHidLibrary::Connect(WindowHandle window)
{
    std::lock_guard lock(mutex_);
    Disconnect();
    sink_.Attach(window);
    target_.Set(window);
    // Registered before listing, so no plug-in falls between the two; one
    // told twice is known already and says nothing.
    notifications_ = DeviceNotifications::Create(*this);

    const DeviceHandle before = presence_.Handle();
    presence_.Replace(Listed());
    if (presence_.Handle() != before)
        queue_.Forget(before);
    // Lets the window enable read notifications without a replug.
    if (presence_.Handle() != 0 || before != 0)
        sink_.Post(EventChanged);
    return notifications_ != nullptr;
}

bool WindowsHidLibrary::Disconnect()
{
    std::lock_guard lock(mutex_);
    notifications_.reset();
    sink_.Detach();
    CloseUnit();
    queue_.Disable();
    // Events already posted must not reach the window either.
    target_.DropPending();
    target_.Set(nullptr);
    return true;
}

WindowHandle WindowsHidLibrary::NotificationWindow() const
{
    return notifications_ ? notifications_->Window() : nullptr;
}

void WindowsHidLibrary::InterfaceChanged(bool arrived, std::wstring_view name)
{
    const std::string path = LowerAscii(Utf8(name));
    if (path.find(unitName_) == std::string::npos)
        return;  // another HID device
    std::lock_guard lock(mutex_);
    const DeviceHandle before = presence_.Handle();
    const std::vector<PendingEvent> events =
        arrived ? presence_.Arrived({path, options_.unit}) : presence_.Left(path);
    if (presence_.Handle() != before)
        queue_.Forget(before);
    for (const PendingEvent& event : events)
        sink_.Post(event.code, event.handle);
}

DeviceHandle WindowsHidLibrary::GetHandle(std::int32_t vendorId, std::int32_t productId)
{
    if (!SameIdentity(options_.unit, vendorId, productId))
        return 0;
    std::lock_guard lock(mutex_);
    ReleaseStaleUnit();
    RefreshIfUnwatched();
    return presence_.Handle();
}

void WindowsHidLibrary::SetReadNotify(DeviceHandle handle, bool enabled)
{
    std::lock_guard lock(mutex_);
    ReleaseStaleUnit();
    if (handle == 0 || handle != presence_.Handle())
        return;
    if (!enabled) {
        queue_.Disable();
        return;
    }
    // Gate first: input read from here on is kept, whatever came before is not.
    queue_.Enable(handle);
    EnsureOpen();
}

bool WindowsHidLibrary::Read(DeviceHandle handle, Report& report)
{
    std::lock_guard lock(mutex_);
    if (handle == 0 || handle != presence_.Handle())
        return false;
    return queue_.Take(handle, report);
}

bool WindowsHidLibrary::WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report)
{
    if (!SameIdentity(options_.unit, vendorId, productId))
        return false;
    std::shared_ptr<OpenedUnit> unit;
    {
        std::lock_guard lock(mutex_);
        ReleaseStaleUnit();
        RefreshIfUnwatched();
        if (EnsureOpen())
            unit = unit_;
    }
    if (unit == nullptr)
        return false;
    if (unit->Write(report))
        return true;
    // Pulled out mid-upload, most likely: the next write opens afresh.
    std::lock_guard lock(mutex_);
    if (unit_ == unit)
        CloseUnit();
    return false;
}

UnitAccess WindowsHidLibrary::Access(std::int32_t vendorId, std::int32_t productId)
{
    UnitAccess access;
    if (!SameIdentity(options_.unit, vendorId, productId))
        return access;
    std::lock_guard lock(mutex_);
    ReleaseStaleUnit();
    RefreshIfUnwatched();
    if (presence_.Handle() == 0)
        return access;
    access.devnode = presence_.Devnode();
    access.state = presence_.Handle() == deniedHandle_ ? UnitAccess::State::Denied : UnitAccess::State::Usable;
    return access;
}

void WindowsHidLibrary::RefreshIfUnwatched()
{
    if (notifications_ || unit_)
        return;
    presence_.Replace(Listed());
}

std::vector<HidrawNode> WindowsHidLibrary::Listed()
{
    std::vector<HidrawNode> nodes;
    for (const std::string& path : devices_->Enumerate(options_.unit))
        nodes.push_back({LowerAscii(path), options_.unit});
    return nodes;
}

void WindowsHidLibrary::ReleaseStaleUnit()
{
    if (unit_ && (unit_->ReaderFailed() || unit_->Handle() != presence_.Handle()))
        CloseUnit();
}

OpenedUnit* WindowsHidLibrary::EnsureOpen()
{
    ReleaseStaleUnit();
    if (unit_)
        return unit_.get();
    const DeviceHandle handle = presence_.Handle();
    if (handle == 0)
        return nullptr;
    OpenResult opened = devices_->Open(presence_.Devnode());
    if (!opened.port) {
        if (opened.permissionDenied)
            deniedHandle_ = handle;
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

void WindowsHidLibrary::CloseUnit()
{
    unit_.reset();
}
