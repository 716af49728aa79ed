// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Figures of velbrix-qorun-cli in the guest: backup of four full zones and
// restore of a full file, each against the time its reports need on the wire
// at the unit's pace (one report per millisecond).

#include <string>

// Prints the figures; false, having said why, when a run failed.
bool BenchCommandLine(const std::string& cliPath, int runs);
