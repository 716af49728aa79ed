// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The demo, writing every report its unit received to LOG (hex, one a line)
// once the window is closed.

#include <cstdio>

#include "main_window/win32/program.h"
#include "virtual_unit/alarm_unit_model.h"
#include "virtual_unit/in_process_library.h"
#include "virtual_unit/sample_data.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return std::fputs("usage: recording_demo LOG\n", stderr), 2;
    AlarmUnitModel unit;
    LoadDemoUnit(unit);
    InProcessLibrary library(unit);
    char* program[] = {argv[0], nullptr};
    const int status = RunWindow(library, 1, program);
    std::FILE* log = std::fopen(argv[1], "w");
    if (log == nullptr)
        return std::perror(argv[1]), 1;
    for (const WireReport& report : unit.Log()) {
        for (std::uint8_t byte : report)
            std::fprintf(log, "%02x", byte);
        std::fputc('\n', log);
    }
    return std::fclose(log) == 0 ? status : 1;
}
