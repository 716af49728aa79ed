// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Win32 controls keep the seam's promises, and the window has its frame,
// fitted fonts and tab order. Places, picks and sends: drive_window.sh.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include "main_window/win32/win32_main_window.h"

#include <commctrl.h>  // after windows.h
#include "virtual_unit/alarm_unit_model.h"
#include "device_link/window_event_sink.h"
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

COMBOBOXINFO PartsOf(HWND combo)
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof info, GetComboBoxInfo(combo, &info);
    return info;
}

// Opens a drop-down list and clicks one of its entries, as a user does.
void PickFromOpenList(HWND combo, int index)
{
    SetFocus(combo);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    const COMBOBOXINFO info = PartsOf(combo);
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
        cls.lpfnWndProc = ParentProc, cls.hInstance = GetModuleHandleW(nullptr), cls.lpszClassName = L"QorunControlsTest";
        RegisterClassW(&cls);
        parent = CreateWindowW(cls.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr,
                               cls.hInstance, nullptr);
    }
    ~ControlsTest() override { commanded = nullptr, DestroyWindow(parent); }
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

    SendMessageW(PartsOf(combo).hwndItem, WM_CHAR, L'7', 0);
    EXPECT_EQ(list.SelectedEntry(), std::nullopt);
    EXPECT_EQ(clicks, 4);
}

class WindowTest : public testing::Test {
protected:
    WindowTest() { LoadDemoUnit(unit); }
    HWND Child(const char* name) { return window.Child(name); }
    AlarmUnitModel unit;
    InProcessLibrary library{unit, PostToWindow()};
    Win32MainWindow window{library};
};

TEST_F(WindowTest, FixedFrameTextsShownWholeCtrlAButNotAltGrASelectsAllAndTheTabOrder)
{
    const HWND hwnd = window.Handle();
    EXPECT_EQ(WindowText(hwnd), Layout::Caption);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
    EXPECT_EQ(style & WS_SYSMENU, WS_SYSMENU);

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
    // Ctrl+A selects all in each edit box, which the plain edit control leaves undone. AltGr comes as
    // Ctrl+Alt: AltGr+A types the layout's character (Polish ą) where the cursor is, as A types "a".
    const std::tuple<const char*, std::vector<int>, char16_t, std::u16string_view, std::pair<DWORD, DWORD>> held[] = {
        {"Ctrl", {VK_CONTROL, VK_LCONTROL}, u'a', u"123", {0, 3}},
        {"AltGr", {VK_CONTROL, VK_LCONTROL, VK_MENU, VK_RMENU}, u'\u0105', u"1\u0105" u"23", {2, 2}},
        {"nothing", {}, u'a', u"1a23", {2, 2}},  // last: nothing is left held
    };
    BYTE keys[256]{};
    GetKeyboardState(keys);
    for (const auto& [what, down, typed, text, selection] : held) {
        for (const int key : {VK_CONTROL, VK_LCONTROL, VK_MENU, VK_RMENU})
            keys[key] = std::find(down.begin(), down.end(), key) != down.end() ? 0x80 : 0;
        SetKeyboardState(keys);
        for (const char* name : {"pin", "t_e_m_1", "Text1"}) {
            const HWND box = Child(name);
            SetWindowTextW(box, L"123");
            SendMessageW(box, EM_SETSEL, 1, 1);
            // As the message loop does: a key the window leaves goes on as the layout's character.
            if (!window.PreTranslate(MSG{box, WM_KEYDOWN, 'A', 0, 0, {}}))
                SendMessageW(box, WM_CHAR, typed, 0);
            DWORD from = 9, to = 9;
            SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            EXPECT_EQ(WindowText(box), text) << what << " in " << name;
            EXPECT_EQ(std::pair(from, to), selection) << what << " in " << name;
        }
    }

    // Tab order as the layout numbers it; labels and the frame take no focus.
    HWND at = Child("t_e_m_1");
    for (const char* next : {"Text1", "b_e_1", "ALARMA", "Combo1", "pin", "t_e_m_1"}) {
        at = GetNextDlgTabItem(hwnd, at, FALSE);
        EXPECT_EQ(at, Child(next)) << next;
    }
}

}  // namespace
