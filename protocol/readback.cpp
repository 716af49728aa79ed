// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/readback.h"

#include <cstddef>

#include "protocol/report_layout.h"

void HandleInputReport(ConfiguratorState& state, HidLibrary& library, ConfiguratorView& view,
                       DeviceHandle pHandle)
{
    if (!library.Read(pHandle, state.ReportIn))
        return;
    const std::uint8_t tag = state.ReportIn[TagByte];

    if (tag == TagSmsc)
        state.ReceivedSmsc.push_back(CharacterOfInputByte(state.ReportIn[SmscCharByte]));

    // Runs for every report, whatever its tag: while ReceivedSmsc matches, each
    // report re-selects that operator over whatever the user picked meanwhile.
    for (std::size_t k = 0; k < OperatorTable.size(); ++k)
        if (state.ReceivedSmsc == DecimalText(OperatorTable[k].smsc))
            view.SelectOperator(static_cast<int>(k));

    if (tag == TagPhone) {
        const char16_t c = CharacterOfInputByte(state.ReportIn[PhoneCharByte]);
        if (c != 0)
            view.SetPhoneText(view.PhoneText() + c);
    } else if (tag == TagText) {
        const char16_t c = CharacterOfInputByte(state.ReportIn[TextCharByte]);
        if (c != 0)
            view.SetMessageText(view.MessageText() + c);
    }
}
