// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The baseline of the Wine guest's benchmark: the Windows build's hidapi on
// the unit with nothing around it. Serves commands on stdin, each answer
// ended by a line ".", so Wine's start-up is paid once:
//   upload        the longest upload (142 reports), one hid_write each
//   readback N [Z]  zone Z's request (1 unless given), then hid_read until N
//                 reports came
//   writes N A    N writes of the byte 0 at address A, one hid_write each
// Each answers how many reports went or came, -1 without a unit.

#include <hidapi.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tests/e2e/expected_reports.h"
#include "usb_backend/windows/notification_watch.h"

int main()
{
    hid_init();
    // Found as the tool finds it: hidapi's own listing finds nothing under Wine.
    const std::vector<std::string> paths = ListHidInterfaces({0x1781, 0x07D0});
    hid_device* unit = paths.empty() ? nullptr : hid_open_path(paths[0].c_str());
    std::vector<std::vector<unsigned char>> upload;
    for (const WireReport& report :
         ExpectedUpload(4, u"9876", u"607003110", u"699111222", u"Alarma: intrusion detectada en la zona, llame ya!")) {
        upload.push_back({0});  // the report ID
        upload.back().insert(upload.back().end(), report.begin(), report.end());
    }
    for (std::string command; std::getline(std::cin, command);) {
        int done = 0;
        if (unit == nullptr) {
            done = -1;
        } else if (command.rfind("upload", 0) == 0) {
            for (const auto& report : upload) done += hid_write(unit, report.data(), report.size()) > 0;
        } else if (int count = 0, value = 1; std::sscanf(command.c_str(), "readback %d %d", &count, &value) >= 1) {
            const unsigned char request[9] = {0, 0, 0, 0, 0, 0, static_cast<unsigned char>(value), 0, 0};
            unsigned char buffer[64];
            hid_write(unit, request, sizeof request);
            while (done < count && hid_read_timeout(unit, buffer, sizeof buffer, 2000) > 0)
                ++done;
        } else if (std::sscanf(command.c_str(), "writes %d %d", &count, &value) == 2) {
            const unsigned char write[9] = {0, 0, 0, 0, 0, 10, 0, static_cast<unsigned char>(value), 0};
            while (done < count && hid_write(unit, write, sizeof write) > 0)
                ++done;
        }
        std::printf("%d\n.\n", done);
        std::fflush(stdout);
    }
    if (unit != nullptr)
        hid_close(unit);
    hid_exit();
    return unit != nullptr ? 0 : 1;
}
