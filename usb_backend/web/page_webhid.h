// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The browser's navigator.hid, through webhid.js.

#include "usb_backend/web/browser_hid.h"

class PageWebHid : public BrowserHid {
public:
    bool Supported() const override;
    void Watch(HidIdentity unit, BrowserHidListener& listener) override;
    void Unwatch() override;
    void Choose(HidIdentity unit) override;
    void Send(int device, const InputBytes& data) override;
};
