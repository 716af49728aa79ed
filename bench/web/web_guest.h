// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What a page in the guest needs around it: loopback up, Chromium's managed
// policy granting it the unit (the root is read-only, so /etc/chromium gets a
// tmpfs of its own), and Emscripten's emrun serving a folder. The web
// benchmark and the web guest test share it.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>

#include "chromium_page.h"

// Polls `done` until it holds or `limit` passes; returns `done()`.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);

// Brings up lo and writes the policy that lets http://localhost:PORT open
// the unit without a chooser. "" on success, else what failed.
std::string PrepareChromiumGuest(int port, int vendorId, int productId);

// emrun serving the folder `root` on localhost:PORT until destroyed.
class PageServer {
public:
    PageServer() = default;
    ~PageServer();
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    // Starts it and waits until the port takes connections.
    bool Start(const std::string& root, int port, const std::string& logPath, std::chrono::milliseconds limit);

private:
    pid_t pid_ = -1;
};

// The whole rig for one page: policy, server, browser, page loaded. Plug the
// unit in first: Chromium lists HID devices as it starts.
class GuestPage {
public:
    // "" once `page`, a path in `root`, is loaded from http://localhost:PORT,
    // else what failed (with the tail of the failing program's log, kept in
    // `logDir`).
    std::string Open(const std::string& root, const std::string& page, int port, int vendorId, int productId,
                     const std::string& logDir);
    // Another page of the same folder, in place of the one shown.
    bool Load(const std::string& page) { return page_.Navigate(Url(page), std::chrono::minutes(5)); }
    ChromiumPage& Page() { return page_; }
    double BrowserStartMs() const { return browserStartMs_; }  // to its first answer
    double PageLoadMs() const { return pageLoadMs_; }          // new target to load event

private:
    std::string Url(const std::string& page) const { return "http://localhost:" + std::to_string(port_) + "/" + page; }
    int port_ = 0;
    PageServer server_;
    ChromiumPage page_;  // after server_: closed first
    double browserStartMs_ = 0, pageLoadMs_ = 0;
};
