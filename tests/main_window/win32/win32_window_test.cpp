// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Win32 controls keep the seam's promises, the window is built as the
// layout draws it (at 96 dpi, 15 twips to a pixel), and a user's zone pick,
// PIN and send reach the in-process unit through real window messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <utility>

#include "main_window/win32/win32_main_window.h"

#include <commctrl.h>  // after windows.h
#include "protocol/report_layout.h"
#include "virtual_unit/alarm_unit_model.h"
#include "virtual_unit/in_process_library.h"
#include "virtual_unit/sample_data.h"

namespace {

std::function<void(HWND, WORD)> commanded;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && commanded)
        commanded(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

// Runs the window's messages until `done` holds, for 30 s at the most.
bool PumpUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    MSG message;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

// Opens a drop-down list and clicks one of its entries, as a user does.
void PickFromOpenList(HWND combo, int index)
{
    SetFocus(combo);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    RECT item{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, at);
    SendMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
}

// Plain controls on a parent whose notifications go to `commanded`.
class ControlsTest : public testing::Test {
protected:
    ControlsTest()
    {
        WNDCLASSW cls{};
        cls.lpfnWndProc = ParentProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"QorunControlsTest";
        RegisterClassW(&cls);
        parent = CreateWindowW(cls.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr,
                               cls.hInstance, nullptr);
    }
    ~ControlsTest() override
    {
        commanded = nullptr;
        DestroyWindow(parent);
    }
    HWND Make(const wchar_t* cls, DWORD style)
    {
        return CreateWindowW(cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 150, parent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    }
    HWND parent;
};

struct TextCase {
    DWORD style;
    std::size_t limit;
    std::u16string set, kept;
};

TEST_F(ControlsTest, TextBoxKeepsWholeCharactersWithinItsLimitAndEveryLineBreak)
{
    const DWORD multi = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    for (const TextCase& c : std::initializer_list<TextCase>{
             {ES_AUTOHSCROLL, 4, u"12\U0001F600", u"12\U0001F600"},  // the pair fills the limit exactly
             {ES_AUTOHSCROLL, 4, u"123\U0001F600", u"123"},          // half of it would not fit
             {ES_AUTOHSCROLL, 4, u"123456", u"1234"},
             {multi, 9, u"a\rb\r\nc\nd", u"a\rb\r\nc\nd"},  // a lone CR or LF kept as set
             {multi, 4, u"ab\r\n", u"ab\r\n"},
             {multi, 3, u"ab\r\n", u"ab\r"},
         }) {
        Win32TextBox box(Make(WC_EDITW, c.style));
        int changes = 0;
        box.OnChange([&] { ++changes; });
        box.SetMaxLength(c.limit);
        box.SetText(c.set);
        EXPECT_EQ(box.Text(), c.kept) << c.limit;
        EXPECT_EQ(changes, 1);  // once, single- or multi-line alike
    }
}

TEST_F(ControlsTest, PasteAtTheLimitNeverKeepsHalfAPair)
{
    for (DWORD style : {DWORD(ES_AUTOHSCROLL), DWORD(ES_MULTILINE | ES_WANTRETURN)}) {
        HWND edit = Make(WC_EDITW, style);
        Win32TextBox box(edit);
        int changes = 0;
        box.OnChange([&] { ++changes; });
        commanded = [&](HWND from, WORD code) {
            if (from == edit && code == EN_CHANGE)
                box.Changed();
        };
        box.SetMaxLength(3);
        box.SetText(u"ab");
        SendMessageW(edit, EM_SETSEL, 2, 2);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\U0001F600x"));
        EXPECT_EQ(box.Text(), u"ab");
        EXPECT_GE(changes, 2);
    }
}

TEST_F(ControlsTest, EntryListClicksOnEveryPickAndTypingSelectsNothing)
{
    HWND combo = Make(WC_COMBOBOXW, CBS_DROPDOWN | WS_VSCROLL);
    for (int data : {70, 80, 90}) {
        const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"entry"));
        SendMessageW(combo, CB_SETITEMDATA, at, data);
    }
    Win32EntryList list(combo);
    int clicks = 0;
    list.OnClick([&] { ++clicks; });
    commanded = [&](HWND from, WORD code) {
        if (from == combo)
            list.Notified(code);
    };
    EXPECT_EQ(list.SelectedEntry(), std::nullopt);
    list.SelectEntry(1);
    list.SelectEntry(1);  // the entry already selected clicks again
    list.SelectEntry(3);  // outside the list: nothing
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.SelectedEntry(), 1);
    EXPECT_EQ(list.EntryData(2), 90);

    // A user's pick from the open list, twice the same entry.
    PickFromOpenList(combo, 2);
    PickFromOpenList(combo, 2);
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(list.SelectedEntry(), 2);

    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    SendMessageW(info.hwndItem, WM_CHAR, L'7', 0);
    EXPECT_EQ(list.SelectedEntry(), std::nullopt);
    EXPECT_EQ(clicks, 4);
}

class WindowTest : public testing::Test {
protected:
    WindowTest() { LoadDemoUnit(unit); }
    HWND Child(const char* name) { return window.Child(name); }
    AlarmUnitModel unit;
    InProcessLibrary library{unit};
    Win32MainWindow window{library};
};

TEST_F(WindowTest, BuiltAsTheLayoutDrawsItAt96Dpi)
{
    const HWND hwnd = window.Handle();
    EXPECT_EQ(WindowText(hwnd), Layout::Caption);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 191);  // 2865 / 15
    EXPECT_EQ(client.bottom, 338);  // 5070 / 15
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
    EXPECT_EQ(style & WS_SYSMENU, WS_SYSMENU);

    struct Expected {
        const char* name;
        RECT at;  // left, top, right, bottom in client pixels
    };
    for (const Expected& c : std::initializer_list<Expected>{
             {"Label2", {48, 8, 129, 25}},     {"pin", {72, 24, 105, 43}},
             {"Label1", {48, 56, 137, 73}},    {"Combo1", {48, 72, 145, 93}},
             {"t_a_1", {24, 112, 161, 297}},   {"t_e_m_1", {56, 152, 121, 171}},  // frame + 32, 40
             {"Text1", {32, 184, 137, 257}},   {"b_e_1", {32, 264, 137, 289}},
             {"ALARMA", {40, 304, 145, 325}},  {"aviso", {0, 93, 191, 112}},
         }) {
        RECT at;
        GetWindowRect(Child(c.name), &at);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&at), 2);
        EXPECT_EQ(std::make_tuple(at.left, at.top, at.right, at.bottom),
                  std::make_tuple(c.at.left, c.at.top, c.at.right, c.at.bottom))
            << c.name;
    }
    // The PIN's four digits, the phone's nine and the button's caption show whole.
    for (const auto& [name, text] : {std::pair{"pin", L"1234"}, std::pair{"t_e_m_1", L"123456789"},
                                     std::pair{"b_e_1", L"Env. Config. Zona 4"}}) {
        const HWND control = Child(name);
        HDC dc = GetDC(control);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
        ReleaseDC(control, dc);
        RECT client;
        GetClientRect(control, &client);
        const auto margins = static_cast<DWORD>(SendMessageW(control, EM_GETMARGINS, 0, 0));  // 0 for the button
        EXPECT_LE(extent.cx, client.right - std::max<int>(LOWORD(margins) + HIWORD(margins), 8)) << name;
    }
    // Tab order as the layout numbers it; labels and the frame take no focus.
    HWND at = Child("t_e_m_1");
    for (const char* next : {"Text1", "b_e_1", "ALARMA", "Combo1", "pin", "t_e_m_1"}) {
        at = GetNextDlgTabItem(hwnd, at, FALSE);
        EXPECT_EQ(at, Child(next)) << next;
    }
}

TEST_F(WindowTest, ZonePickPinAndSendReachTheUnit)
{
    window.Load();
    window.Show();
    HWND zones = Child("ALARMA"), phone = Child("t_e_m_1"), pin = Child("pin"), notice = Child("aviso");
    bool pumped = false;  // the device events of the link's attaching come first
    PumpUntil([&] { return std::exchange(pumped, true); });

    PickFromOpenList(zones, 1);
    ASSERT_TRUE(PumpUntil([&] { return WindowText(phone) == u"611222333"; }));
    EXPECT_EQ(WindowText(Child("Text1")), u"Alarma: ventana del sal\u00F3n");
    EXPECT_EQ(WindowText(Child("Combo1")), u"YOIGO");  // the unit's service centre

    SendMessageW(pin, EM_SETSEL, 0, -1);
    for (wchar_t digit : {L'4', L'3', L'2', L'1'})
        SendMessageW(pin, WM_CHAR, digit, 0);
    SendMessageW(phone, EM_SETSEL, 0, -1);
    for (wchar_t digit : std::wstring(L"699000111"))
        SendMessageW(phone, WM_CHAR, digit, 0);
    SendMessageW(Child("b_e_1"), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return WindowText(notice) == u"Configuración enviada"; }));
    EXPECT_TRUE(IsWindowVisible(notice));
    EXPECT_EQ(unit.Phone(2), "699000111");
    EXPECT_EQ(unit.Text(2), "Alarma: ventana del sal\xF3n");
    const auto& memory = unit.Memory();
    const std::string pinBytes = "4321";
    EXPECT_NE(std::search(memory.begin(), memory.end(), pinBytes.begin(), pinBytes.end()), memory.end());

    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window.Run(), 0);
    EXPECT_FALSE(window.Form().Uploading());
}

}  // namespace
