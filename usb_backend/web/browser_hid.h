// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the page's WebHID does for the library. The page numbers the granted
// devices it opens; every answer comes later, on the page's thread, through
// the listener.

#include "usb_backend/hid_identity.h"
#include "usb_backend/input_queue.h"

class BrowserHidListener {
public:
    // A granted unit is open and its input reports are followed.
    virtual void Opened(int device) = 0;
    // Granted and attached, but the browser could not open it (another tab
    // or program holds it).
    virtual void Refused(int device) = 0;
    // Pulled out, or its grant was taken back.
    virtual void Closed(int device) = 0;
    virtual void Input(int device, const InputBytes& bytes) = 0;
    // The report handed to Send was taken by the unit, or not.
    virtual void Sent(int device, bool taken) = 0;

protected:
    ~BrowserHidListener() = default;
};

class BrowserHid {
public:
    virtual ~BrowserHid() = default;
    // False when the browser has no WebHID at all.
    virtual bool Supported() const = 0;
    // Opens each granted unit attached now and each one attached later.
    virtual void Watch(HidIdentity unit, BrowserHidListener& listener) = 0;
    virtual void Unwatch() = 0;
    // The browser's own chooser, in which the user grants a unit; only from
    // a user's press.
    virtual void Choose(HidIdentity unit) = 0;
    // One output report, report ID 0, its eight data bytes.
    virtual void Send(int device, const InputBytes& data) = 0;
};
