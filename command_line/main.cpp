// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// velbrix-qorun-cli: the command line over the USB backend.

#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "command_line/argument_encoding.h"
#include "command_line/command_line.h"
#include "command_line/device_event_queue.h"
#include "usb_backend/attached_units.h"
#include "usb_backend/linux/hidapi_library.h"
#include "usb_backend/watched_unit_arrivals.h"
#include "usb_backend/linux/udev_notices.h"

namespace {

class UsbUnits : public UnitSource {
public:
    std::vector<ListedUnit> List() override
    {
        std::vector<ListedUnit> units;
        for (const AttachedUnit& unit : ListAttachedUnits(DeviceVendorId, DeviceProductId)) {
            const auto access = unit.access == AttachedUnit::Access::Openable ? ListedUnit::Access::Openable
                                : unit.access == AttachedUnit::Access::Denied ? ListedUnit::Access::Denied
                                                                              : ListedUnit::Access::Failed;
            units.push_back({unit.devnode, access});
        }
        return units;
    }

    HidLibrary& Open(const std::string& devnode) override
    {
        HidapiOptions options;
        options.diagnostics = nullptr;  // the commands say it themselves
        options.onlyDevnode = devnode;
        library_ = std::make_unique<HidapiLibrary>(PostToQueue(), options);
        return *library_;
    }

    std::string AccessFix() const override { return PermissionFix(); }

private:
    std::unique_ptr<HidapiLibrary> library_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (const Failure encoding = CheckArgumentEncoding(argc, argv); encoding.status != ExitOk) {
        std::cerr << "velbrix-qorun-cli: " << encoding.message;
        return encoding.status;
    }
    UsbUnits units;
    const auto serialOf = [](const std::string& devnode) {
        return UsbSerialNumber(devnode, DeviceVendorId, DeviceProductId);
    };
    WatchedUnitArrivals arrivals(std::make_unique<UdevHidrawWatch>(),
                                {static_cast<std::uint16_t>(DeviceVendorId), static_cast<std::uint16_t>(DeviceProductId)},
                                serialOf);
    CommandContext context{units, std::cout, std::cerr, isatty(STDERR_FILENO) == 1, {}, &arrivals};
    return RunCommandLine(std::vector<std::string>(argv, argv + argc), context);
}
