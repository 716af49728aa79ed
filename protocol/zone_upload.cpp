// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/zone_upload.h"

#include "protocol/report_layout.h"

namespace {

std::optional<std::int32_t> BaseOfZone(std::int32_t zoneNumber)
{
    for (const ZoneEntry& entry : ZoneTable)
        if (entry.zone == zoneNumber)
            return entry.base;
    return std::nullopt;
}

// Sends state.SendBytes from `offset`. False when a write would need an
// address above 255 or the library refused it; nothing from there on goes out.
bool WriteField(ConfiguratorState& state, HidLibrary& library, std::int64_t offset,
                UploadOutcome& outcome)
{
    for (std::size_t i = 0; i < state.SendBytes.size(); ++i) {
        const std::int64_t address = HalfEvenAddress(offset, i);
        if (address < 0 || address > HighestAddress) {
            outcome.stoppedAtAddress = address;
            return false;
        }
        state.ReportOut[AddressByte] = static_cast<std::uint8_t>(address);
        state.ReportOut[DataByte] = state.SendBytes[i];
        state.ReportOut[CommandByte] = CmdWriteByte;
        if (!library.WriteEx(DeviceVendorId, DeviceProductId, state.ReportOut)) {
            outcome.refusedAtAddress = address;
            return false;
        }
        ++outcome.reportsSent;
    }
    return true;
}

}  // namespace

UploadOutcome SendZoneConfiguration(ConfiguratorState& state, HidLibrary& library,
                                    std::int32_t zoneNumber, std::int32_t smscNumber,
                                    const std::u16string& pinText,
                                    const std::u16string& phoneText,
                                    const std::u16string& messageText)
{
    UploadOutcome outcome;
    state.SelectedZone = DecimalText(zoneNumber);
    if (const auto base = BaseOfZone(zoneNumber))
        state.ZoneBase = *base;  // an unknown zone keeps the previous base
    state.SelectedSmsc = DecimalText(smscNumber);

    const std::int64_t zoneBase = state.ZoneBase;
    const std::pair<const std::u16string*, std::int64_t> fields[] = {
        {&pinText, PinOffset},
        {&state.SelectedSmsc, SmscOffset},
        {&phoneText, zoneBase},
        {&messageText, zoneBase + TextOffset},
    };
    for (const auto& [text, offset] : fields) {
        state.SendBytes = EncodeField(*text);
        if (!WriteField(state, library, offset, outcome))
            break;
    }
    return outcome;
}

bool RequestZoneReadBack(ConfiguratorState& state, HidLibrary& library)
{
    for (const ZoneEntry& entry : ZoneTable) {
        if (DecimalText(entry.zone) == state.SelectedZone) {
            state.ReportOut[CommandByte] = static_cast<std::uint8_t>(entry.zone);
            library.WriteEx(DeviceVendorId, DeviceProductId, state.ReportOut);
            return true;
        }
    }
    return false;
}
