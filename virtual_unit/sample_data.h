// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Sample contents for a virtual unit, so that selecting a zone in the demo
// has something to bring back.

class AlarmUnitModel;

void LoadDemoUnit(AlarmUnitModel& unit);
