// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The baseline the tool is measured against: hidapi on the unit's hidraw
// node with nothing around it.

#include <string>
#include <vector>

#include "protocol/hid_library.h"

struct hid_device_;

class BareHidraw {
public:
    explicit BareHidraw(const std::string& node);
    ~BareHidraw();
    BareHidraw(const BareHidraw&) = delete;
    BareHidraw& operator=(const BareHidraw&) = delete;

    bool Open() const { return device_ != nullptr; }
    // One hid_write per report, as fast as they go.
    int WriteAll(const std::vector<Report>& reports);
    // Reads until `count` input reports came (or one read waits 2 s in vain).
    int ReadReports(int count);
    bool Write(const Report& report);

private:
    hid_device_* device_ = nullptr;
};
