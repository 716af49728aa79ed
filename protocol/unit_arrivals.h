// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The second seam: alarm units being plugged in and pulled out, for a program
// that serves each unit as it comes. The USB backend follows hidraw nodes;
// tests plug units by hand.

#include <string>

struct ArrivedUnit {
    std::string devnode;       // e.g. /dev/hidraw3
    std::string serialNumber;  // UTF-8; empty when the unit has none
};

class UnitArrivalListener {
public:
    // From any thread, one call at a time.
    virtual void Arrived(const ArrivedUnit& unit) = 0;
    virtual void Left(const std::string& devnode) = 0;

protected:
    ~UnitArrivalListener() = default;
};

class UnitArrivals {
public:
    virtual ~UnitArrivals() = default;
    // Reports each unit attached now as arrived, then every change until
    // Stop. False when changes cannot be followed.
    virtual bool Start(UnitArrivalListener& listener) = 0;
    // No listener call is made once this returns. Harmless when not started.
    virtual void Stop() = 0;
};
