// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A model of the alarm unit's memory and its answers, used as a test double
// of the device by the tests and the demo. The real firmware's handling of
// writes is not ours to define; this model is kept simple and consistent:
//
// - Memory is 256 bytes, all 0 at start. Fields live in fixed areas: PIN 0-4,
//   service centre 5-14, zone n phone base..base+9, zone n text
//   base+10..base+59 (base = 15 + 60 * (n - 1)). Address 255 is in no area.
// - A write of data 0 is ignored: the tool sends the high byte of every
//   UTF-16 unit, 0 for ASCII and Latin-1, and storing those would clobber the
//   characters that the address rule puts on the same addresses.
// - A nonzero write to the first address of an area starts that field afresh:
//   the area is cleared first, so a shorter value replaces a longer one whole
//   instead of leaving its tail behind. Any other nonzero write stores its
//   byte; the last write to an address wins.
// - An empty field makes the tool send nothing, so the unit keeps the old one.
// - A character beyond Latin-1 does not survive: its nonzero high byte lands
//   on its own or the next character's address.
// - A read-back request for zone n (command 1-4) answers with the service
//   centre (tag 1, byte 5), then zone n's phone (tag 2, byte 6), then its
//   text (tag 3, byte 7), each field from its area's start up to its first 0
//   byte or the end of its area; one input report per character, all other
//   bytes 0. The data and address bytes a request carries are not looked at.
//   Any other command is only recorded in the log.
//
// The wire layout is written out here on its own rather than taken from the
// protocol code, so a slip there shows up against this double.
//
// Standard C++ only, so a standalone program can drive it as well.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The 8 data bytes of an input or output report as they cross the wire
// (no report ID).
using WireReport = std::array<std::uint8_t, 8>;

class AlarmUnitModel {
public:
    // Applies one output report and returns the input reports it provokes, in
    // the order the unit sends them (empty for writes).
    std::vector<WireReport> Receive(const WireReport& report);

    // Every output report received, in order.
    const std::vector<WireReport>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

    const std::array<std::uint8_t, 256>& Memory() const { return memory_; }

    // Load values directly, as if uploaded earlier (Latin-1 bytes). Each
    // replaces its area's content and is cut at the area's end; an unknown
    // zone (not 1-4) is ignored.
    void StoreServiceCentre(const std::string& digits);
    void StorePin(const std::string& pin);
    void StoreZone(int zone, const std::string& phone, const std::string& text);

    // The stored values as the unit would stream them back (empty for an
    // unknown zone).
    std::string ServiceCentre() const;
    std::string Phone(int zone) const;
    std::string Text(int zone) const;

private:
    std::array<std::uint8_t, 256> memory_{};
    std::vector<WireReport> log_;
};
