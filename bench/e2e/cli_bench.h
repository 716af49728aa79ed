// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Figures of velbrix-qorun-cli in the guest: backup of four full zones and
// restore of a full file, each against the time its reports need on the wire
// at the unit's pace (one report per millisecond).

#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

#include "protocol/hid_library.h"

class GadgetUnit;

// The same reports through bare calls of the build under test, on the one unit.
class BareLoops {
public:
    virtual ~BareLoops() = default;
    // The zone's request, then reads until `count` came (or one waits 2 s).
    virtual int ReadBack(int zone, int count) = 0;
    // `count` writes of the byte 0 at `address`, as fast as they go.
    virtual int WriteAll(int count, int address) = 0;
};
using BareOpener = std::function<std::unique_ptr<BareLoops>(GadgetUnit& unit)>;

// `cli`: the program and the arguments that come before the command's (under
// Wine, the .exe). `startUp`: time for a provision run to be up and waiting.
// Prints the figures; false, having said why, when a run failed.
bool BenchCommandLine(const QStringList& cli, const BareOpener& openBare, int runs, std::chrono::milliseconds startUp);
