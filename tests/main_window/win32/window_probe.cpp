// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// For drive_window.sh and the Wine guest test: the running window's
// controls, read and used from another process.
//   window_probe controls | serve
// serve answers commands on stdin, each answer ended by a line ".": controls; text NAME;
// pick NAME INDEX; set NAME ASCII_TEXT; click NAME; tip (the notice's long text).
// Each Wine process takes seconds to start in the emulated guest: one serves all.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

// By control id, from 100, in the window's order of creation.
const char* const Names[] = {"t_a_1", "t_e_m_1", "Text1",  "b_e_1",  "ALARMA",
                             "Combo1", "Label1", "pin",    "Label2", "aviso"};

std::string Utf8(const std::wstring& text)
{
    std::string out(text.size() * 3 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

std::wstring TextOf(HWND control)
{
    // WM_GETTEXT is carried across processes; GetWindowText is not.
    std::wstring text(512, L'\0');
    text.resize(SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return text;
}

HWND Window() { return FindWindowW(nullptr, L"Velbrix Qorun"); }

int Controls()
{
    const HWND window = Window();
    if (window == nullptr)
        return std::puts("no window"), 1;
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    std::printf("window %ld %ld %ld %ld %u %d\n", origin.x, origin.y, client.right, client.bottom,
                GetDpiForWindow(window), IsWindowVisible(window) ? 1 : 0);
    // The height of an entry in the zone list when it is open.
    std::printf("entry %ld\n", static_cast<long>(SendDlgItemMessageW(window, 104, CB_GETITEMHEIGHT, 0, 0)));
    for (int id = 0; id < 10; ++id) {
        const HWND control = GetDlgItem(window, 100 + id);
        if (control == nullptr)
            continue;
        RECT at;
        GetWindowRect(control, &at);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
        std::printf("%s %ld %ld %ld %ld %d %s\n", Names[id], at.left, at.top, at.right, at.bottom,
                    IsWindowVisible(control) ? 1 : 0, Utf8(TextOf(control)).c_str());
    }
    return 0;
}

HWND Named(const std::string& name)
{
    for (int id = 0; id < 10; ++id)
        if (name == Names[id])
            return GetDlgItem(Window(), 100 + id);
    return nullptr;
}

void Notify(HWND control, WORD code)
{
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

BOOL CALLBACK FindTip(HWND window, LPARAM found)
{
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (lstrcmpiW(cls, L"tooltips_class32") == 0)
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

// The tooltip keeps the text in the window's process: it is read while
// shown, with the pointer resting on the notice.
void Tip()
{
    HWND tip = nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(Window(), nullptr), FindTip, reinterpret_cast<LPARAM>(&tip));
    RECT at{};
    GetWindowRect(Named("aviso"), &at);
    SetCursorPos(at.right + 40, at.bottom + 40);
    for (int i = 0; i < 100 && tip != nullptr && IsWindowVisible(tip); ++i) Sleep(50);
    SetCursorPos(at.left + 4, (at.top + at.bottom) / 2);
    for (int i = 0; i < 600 && tip != nullptr && !IsWindowVisible(tip); ++i) {
        Sleep(50);
        if (i % 20 == 19) SetCursorPos(at.left + 4 + i / 20 % 2, (at.top + at.bottom) / 2);  // a fresh move
    }
    if (tip != nullptr && IsWindowVisible(tip))
        std::printf("%s\n", Utf8(TextOf(tip)).c_str());
}

void Serve()
{
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t space = line.find(' '), second = line.find(' ', space + 1);
        const std::string command = line.substr(0, space), name = line.substr(space + 1, second - space - 1);
        const std::string rest = second == std::string::npos ? "" : line.substr(second + 1);
        const HWND control = Named(name);
        if (command == "controls")
            Controls();
        else if (command == "tip")
            Tip();
        else if (command == "text" && control != nullptr)
            std::printf("%s\n", Utf8(TextOf(control)).c_str());
        else if (command == "pick" && control != nullptr) {
            SendMessageW(control, CB_SETCURSEL, std::stoul(rest), 0);
            Notify(control, CBN_SELENDOK);
        } else if (command == "set" && control != nullptr) {
            const std::wstring text(rest.begin(), rest.end());
            SendMessageW(control, EM_SETSEL, 0, -1);
            SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        } else if (command == "click" && control != nullptr)
            Notify(control, BN_CLICKED);
        else
            std::printf("cannot %s\n", line.c_str());
        std::printf(".\n");
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "controls")
        return Controls();
    if (argc == 2 && std::string(argv[1]) == "serve")
        return Serve(), 0;
    std::fputs("usage: window_probe controls | serve\n", stderr);
    return 2;
}
