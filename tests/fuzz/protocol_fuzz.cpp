// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary values through upload, read-back request and decoding and
// checks what must hold whatever comes in: write reports are well formed,
// addresses never wrap, and each report adds at most one character.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "protocol/readback.h"
#include "protocol/report_layout.h"
#include "protocol/zone_upload.h"
#include "tests/support/recording_library.h"

namespace {

std::u16string Text(FuzzedDataProvider& in)
{
    std::u16string text(in.ConsumeIntegralInRange<std::size_t>(0, 63), u'\0');
    for (char16_t& c : text)
        c = in.ConsumeIntegral<char16_t>();
    return text;
}

class TextView : public ConfiguratorView {
public:
    std::u16string phone, message;
    void SelectOperator(int index) override
    {
        if (index < 0 || index >= static_cast<int>(OperatorTable.size()))
            std::abort();
    }
    std::u16string PhoneText() const override { return phone; }
    void SetPhoneText(const std::u16string& t) override { phone = t; }
    std::u16string MessageText() const override { return message; }
    void SetMessageText(const std::u16string& t) override { message = t; }
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckUpload(const RecordingLibrary& library, const UploadOutcome& outcome)
{
    Check(library.written.size() == outcome.reportsSent);
    for (const Report& r : library.written) {
        Check(r[CommandByte] == CmdWriteByte);
        for (std::size_t b = 0; b < CommandByte; ++b)
            Check(r[b] == 0);
    }
    // A stop is only ever for an address the report cannot carry.
    if (!outcome.Complete())
        Check(*outcome.stoppedAtAddress > HighestAddress || *outcome.stoppedAtAddress < 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    ConfiguratorState state;
    RecordingLibrary library;
    TextView view;

    const std::int32_t zone = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 5) : in.ConsumeIntegral<std::int32_t>();
    const std::int32_t smsc = in.ConsumeIntegral<std::int32_t>();
    const std::u16string pin = Text(in), phone = Text(in), message = Text(in);

    const UploadOutcome outcome =
        SendZoneConfiguration(state, library, zone, smsc, pin, phone, message);
    CheckUpload(library, outcome);

    // Within one field each address is the previous one or the next: a
    // wrapped or clamped address would break the step.
    std::size_t report = 0;
    for (const std::size_t units : {pin.size(), DecimalText(smsc).size(), phone.size(), message.size()}) {
        for (std::size_t i = 1; i < 2 * units && report + i < library.written.size(); ++i) {
            const int step = library.written[report + i][AddressByte] - library.written[report + i - 1][AddressByte];
            Check(step == 0 || step == 1);
        }
        report += 2 * units;
    }

    const std::size_t sent = library.written.size();
    state.SelectedZone = Text(in);
    const bool requested = RequestZoneReadBack(state, library);
    Check(library.written.size() == sent + (requested ? 1 : 0));
    if (requested)
        Check(library.written.back()[CommandByte] >= 1 && library.written.back()[CommandByte] <= 4);

    while (in.remaining_bytes() > 0) {
        Report r{};
        in.ConsumeData(r.data(), r.size());
        library.pendingInput.push_back(r);
        const std::size_t phoneBefore = view.phone.size(), messageBefore = view.message.size();
        HandleInputReport(state, library, view, library.presentHandle);
        Check(view.phone.size() <= phoneBefore + 1 && view.message.size() <= messageBefore + 1);
        Check(view.phone.find(u'\0') == std::u16string::npos);
        Check(view.message.find(u'\0') == std::u16string::npos);
    }
    return 0;
}
