// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// velbrix-qorun-cli: the command line over the USB backend.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "command_line/argument_encoding.h"
#include "command_line/command_line.h"
#include "command_line/platform.h"
#include "protocol/report_layout.h"
#include "usb_backend/attached_units.h"
#include "usb_backend/watched_unit_arrivals.h"

namespace {

constexpr HidIdentity Unit{static_cast<std::uint16_t>(DeviceVendorId), static_cast<std::uint16_t>(DeviceProductId)};

class UsbUnits : public UnitSource {
public:
    std::vector<ListedUnit> List() override
    {
        std::vector<ListedUnit> units;
        for (const AttachedUnit& unit : ListAttachedUnits(Unit.vendorId, Unit.productId)) {
            const auto access = unit.access == AttachedUnit::Access::Openable ? ListedUnit::Access::Openable
                                : unit.access == AttachedUnit::Access::Denied ? ListedUnit::Access::Denied
                                                                              : ListedUnit::Access::Failed;
            units.push_back({unit.devnode, access});
        }
        return units;
    }

    std::shared_ptr<HidLibrary> Open(const std::string& devnode) override { return OpenUsbLink(devnode); }

    std::string AccessFix() const override { return UsbAccessFix(); }
};

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments)
        pointers.push_back(argument.c_str());
    if (const Failure encoding = CheckArgumentEncoding(static_cast<int>(pointers.size()), pointers.data());
        encoding.status != ExitOk) {
        std::cerr << "velbrix-qorun-cli: " << encoding.message;
        return encoding.status;
    }
    UsbUnits units;
    WatchedUnitArrivals arrivals(UsbWatch(), Unit, [](const std::string& devnode) {
        return UsbSerialNumber(devnode, Unit.vendorId, Unit.productId);
    });
    CommandContext context{units, std::cout, std::cerr, StderrIsTerminal(), {}, &arrivals};
    return RunCommandLine(arguments, context);
}
