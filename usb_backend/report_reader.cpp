// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/report_reader.h"

#include <algorithm>
#include <array>

ReportReader::ReportReader(UnitPort& port, std::chrono::milliseconds timeout, InputHandler onInput)
    : port_(port), timeout_(timeout), onInput_(std::move(onInput)), thread_([this] { Run(); })
{
}

ReportReader::~ReportReader()
{
    stop_ = true;
    thread_.join();
}

void ReportReader::Run()
{
    // Room for a longer report than the unit's, so nothing is cut short by
    // the kernel; the unit's data are the first eight bytes.
    std::array<std::uint8_t, 64> buffer{};
    while (!stop_) {
        const int length = port_.Read(buffer, timeout_);
        if (length < 0) {
            failed_ = true;
            return;
        }
        if (length == 0)
            continue;
        InputBytes bytes{};
        std::copy_n(buffer.begin(), std::min<std::size_t>(static_cast<std::size_t>(length), bytes.size()),
                    bytes.begin());
        onInput_(bytes);
    }
}
