// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <vector>

#include "virtual_unit/in_process_library.h"

// The in-process unit with faults to switch on; `altered` addresses store 'X',
// and refused writes leave it attached (a unit that stopped taking reports).
class FaultyUnitLibrary : public InProcessLibrary {
public:
    using InProcessLibrary::InProcessLibrary;
    int unplugAfterWrites = -1, refuseAfterWrites = -1, unplugAfterReads = -1;  // -1: never
    // After a refused write, the listing still shows the unit this many times
    // more: the backend learns of the unplug a moment late.
    int unplugNoticedAfter = -1;
    std::vector<int> altered;
    bool silent = false, denied = false;

    UnitAccess Access(std::int32_t vendor, std::int32_t product) override
    { return denied ? UnitAccess{UnitAccess::State::Denied, "/dev/hidraw7"} : InProcessLibrary::Access(vendor, product); }
    DeviceHandle GetHandle(std::int32_t vendor, std::int32_t product) override
    { if (refused_ && unplugNoticedAfter-- == 0) Unplug(); return InProcessLibrary::GetHandle(vendor, product); }
    bool Read(DeviceHandle handle, Report& report) override
    { if (unplugAfterReads-- == 0) Unplug(); return InProcessLibrary::Read(handle, report); }
    bool WriteEx(std::int32_t vendor, std::int32_t product, const Report& report) override
    {
        if (unplugAfterWrites-- == 0)
            Unplug();
        if (refuseAfterWrites == 0)
            return refused_ = true, false;
        if (refuseAfterWrites > 0)
            --refuseAfterWrites;
        Report stored = report;
        if (report[6] == 10 && report[7] != 0 && std::count(altered.begin(), altered.end(), report[8]))
            stored[7] = 'X';
        return !denied && ((silent && report[6] != 10) || InProcessLibrary::WriteEx(vendor, product, stored));
    }

private:
    bool refused_ = false;
};
