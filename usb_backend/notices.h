// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Messages the backend gives on standard error, each at most once: the tool
// keeps running, but the user must learn why the unit does not answer.

#include <ostream>
#include <string>

// How to let the logged-in user open the unit, as indented lines.
std::string PermissionFix();
// The unit is present but its node may not be opened.
std::string PermissionDeniedNotice(const std::string& devnode);
// Plugging and unplugging cannot be followed.
std::string HotplugUnavailableNotice();

class OnceNotice {
public:
    explicit OnceNotice(std::ostream* out) : out_(out) {}
    // Writes `text` the first time only; nothing with no stream.
    void Say(const std::string& text);

private:
    std::ostream* out_;
    bool said_ = false;
};
