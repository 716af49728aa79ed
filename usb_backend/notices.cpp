// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/notices.h"

void OnceNotice::Say(const std::string& text)
{
    if (said_ || out_ == nullptr || text.empty())
        return;
    said_ = true;
    *out_ << text << std::flush;
}
