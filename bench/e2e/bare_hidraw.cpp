// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bare_hidraw.h"

#include <hidapi/hidapi.h>

BareHidraw::BareHidraw(const std::string& node) : device_(hid_open_path(node.c_str())) {}

BareHidraw::~BareHidraw() {
    if (device_) hid_close(device_);
}

bool BareHidraw::Write(const Report& report) {
    return hid_write(device_, report.data(), report.size()) == static_cast<int>(report.size());
}

int BareHidraw::WriteAll(const std::vector<Report>& reports) {
    int written = 0;
    for (const Report& report : reports) written += Write(report);
    return written;
}

int BareHidraw::ReadReports(int count) {
    unsigned char buffer[64];
    int got = 0;
    while (got < count && hid_read_timeout(device_, buffer, sizeof buffer, 2000) > 0) ++got;
    return got;
}
