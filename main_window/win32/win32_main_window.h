// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The tool's window drawn with Win32's own controls: it builds the controls
// at their places, hands them to MainForm and turns each notification into
// its handler. All the window decides is MainForm's.

#include <array>
#include <memory>
#include <string_view>

#include "device_link/win32/win32_window_hook.h"
#include "main_window/main_form.h"
#include "main_window/main_form_layout.h"
#include "main_window/win32/win32_controls.h"

class Win32MainWindow {
public:
    // Creates the window hidden, centred on its monitor.
    explicit Win32MainWindow(HidLibrary& library);
    ~Win32MainWindow();
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // The window's load: runs the start-up sequence. Once, before Show().
    void Load() { form_->Load(); }
    void Show();
    MainForm& Form() { return *form_; }
    HWND Handle() const { return window_; }
    // A control by its layout name ("aviso" for the notice band).
    HWND Child(std::string_view name) const;

    // What the message loop does before dispatching: Ctrl+A in an edit box
    // selects all (true: handled), a key or click in the window is a user
    // action.
    bool PreTranslate(const MSG& message);
    // The message loop, until the window is closed; returns the exit code.
    int Run();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildControls();
    // Places the window and its controls at the window's DPI.
    void PlaceAll(UINT dpi, const RECT* suggested);
    void Command(HWND control, WORD code);

    struct Placed {
        const Layout::Place* place;  // null for the notice band
        HWND hwnd;
        bool inFrame;
    };

    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    HFONT font_ = nullptr;
    std::array<HFONT, 3> fitted_{};  // the PIN box's, the phone box's and the button's
    std::array<Placed, 10> controls_{};
    std::unique_ptr<Win32FormWindow> windowSide_;
    std::unique_ptr<Win32TextBox> pinBox_, phoneBox_, messageBox_;
    std::unique_ptr<Win32EntryList> operatorList_, zoneList_;
    std::unique_ptr<Win32Captioned> frame_, button_;
    std::unique_ptr<Win32NoticeArea> notices_;

    Win32WindowHook hook_;
    std::unique_ptr<MainForm> form_;
    bool unloaded_ = false;
};

// Pixels for twips at a DPI: 15 twips to a pixel at 96.
inline int PixelsAt(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
