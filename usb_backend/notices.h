// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Messages the link gives on standard error, each at most once: the tool
// keeps running, but the user must learn why the unit does not answer. Each
// platform words them for its own fix.

#include <ostream>
#include <string>

struct LinkNotices {
    // The unit is present at `devnode` but may not be opened; null: nothing said.
    std::string (*denied)(const std::string& devnode) = nullptr;
    // Plugging and unplugging cannot be followed; empty: nothing said.
    std::string hotplugUnavailable;
};

class OnceNotice {
public:
    explicit OnceNotice(std::ostream* out) : out_(out) {}
    // Writes `text` the first time only; nothing with no stream or no text.
    void Say(const std::string& text);

private:
    std::ostream* out_;
    bool said_ = false;
};
