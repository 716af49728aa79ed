// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The window on a web page: the nine controls at their twips, the notice
// band, and what only a browser needs, a button that opens the browser's
// chooser, shown while no unit is granted, or a notice where the browser
// has no WebHID. MainForm does the rest.

#include <functional>
#include <memory>
#include <string>

#include "device_link/web/page_window.h"
#include "main_window/main_form.h"
#include "main_window/web/web_controls.h"

// The page's hook, which also runs `after` once MainForm has had each
// device event: the grant bar follows the unit's state.
class FollowingHook : public WindowHook {
public:
    void Install(WindowHandle window, Route route) override;
    void Remove() override { inner_.Remove(); }
    std::function<void()> after;

private:
    PageWindowHook inner_;
};

struct BrowserAccess {
    bool supported = true;              // the browser has WebHID
    std::function<void()> choose;       // opens its chooser
};

class WebMainWindow {
public:
    WebMainWindow(PageElements& page, PageQueue& queue, HidLibrary& library, BrowserAccess browser);
    ~WebMainWindow();

    // Load, as the page opens.
    void Open();
    // Unload, as the page goes.
    void Close();
    // What the user did on the page.
    void Handle(const std::string& name, PageEvent event);

    MainForm& Form() { return *form_; }

private:
    void ShowGrant();

    PageElements& page_;
    HidLibrary& library_;
    BrowserAccess browser_;
    WebFormWindow window_;
    FollowingHook hook_;
    WebTextBox pin_, phone_, text_;
    WebEntryList operators_, zones_;
    WebCaptioned frame_, send_;
    WebNoticeArea notice_;
    std::unique_ptr<MainForm> form_;
    bool open_ = false;
};

// The page's window, its own names: the chooser's button and the notice of
// a browser without WebHID.
inline constexpr char GrantName[] = "grant";
inline constexpr char NoWebHidName[] = "nowebhid";
inline constexpr char NoticeName[] = "notice";
