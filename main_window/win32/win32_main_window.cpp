// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/win32/win32_main_window.h"

#include <commctrl.h>

#include "protocol/report_layout.h"

namespace {

constexpr wchar_t WindowClass[] = L"VelbrixQorunWindow";
// A fixed dialog frame with only a close box.
constexpr DWORD WindowStyle = WS_CAPTION | WS_SYSMENU;  // no WS_CLIPCHILDREN: the frame draws no inside
constexpr DWORD WindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
// How many entries a selector's open list shows.
constexpr int ListRows = 5;

enum Index { Frame, Phone, Message, Button, Zones, Operators, OperatorLabel, Pin, PinLabel, NoticeBand };

// The layout's boxes are sized for a smaller font than today's message font:
// with it the PIN box would scroll its first digit out of sight and the
// button lose the ends of its caption. Such a control keeps the family and
// only gets a smaller size, until `sample` fits its room.
HFONT FittedFont(HWND control, LOGFONTW font, std::u16string_view sample, int room)
{
    const std::wstring text(sample.begin(), sample.end());
    HDC dc = GetDC(control);
    const int smallest = font.lfHeight < 0 ? -6 : 6;
    HFONT fitted = CreateFontIndirectW(&font);
    for (;;) {
        const HGDIOBJ old = SelectObject(dc, fitted);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        if (extent.cx <= room || std::abs(font.lfHeight) <= std::abs(smallest))
            break;
        font.lfHeight += font.lfHeight < 0 ? 1 : -1;
        DeleteObject(fitted);
        fitted = CreateFontIndirectW(&font);
    }
    ReleaseDC(control, dc);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fitted), FALSE);
    return fitted;
}

// Room for text inside an edit box: its client area less its margins.
int EditRoom(HWND edit)
{
    RECT client{};
    GetClientRect(edit, &client);
    const auto margins = static_cast<DWORD>(SendMessageW(edit, EM_GETMARGINS, 0, 0));
    return client.right - LOWORD(margins) - HIWORD(margins) - 2;
}

void RegisterWindowClass(WNDPROC proc)
{
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = WindowClass;
    RegisterClassExW(&cls);  // fails harmlessly when already registered
}

HWND Create(HWND parent, const wchar_t* cls, std::u16string_view text, DWORD style, DWORD exStyle, int id)
{
    const std::u16string caption(text);
    return CreateWindowExW(exStyle, cls, Wide(caption), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

template <typename Table, typename DataOf>
void Fill(HWND combo, const Table& table, DataOf dataOf, std::u16string_view text)
{
    for (const auto& entry : table) {
        const std::u16string entryText(entry.text);
        const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entryText)));
        SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(dataOf(entry)));
    }
    const std::u16string shown(text);
    SetWindowTextW(combo, Wide(shown));
}

bool IsEditBox(HWND control)
{
    wchar_t cls[8] = {};
    GetClassNameW(control, cls, 8);
    return lstrcmpiW(cls, L"Edit") == 0;
}

}  // namespace

Win32MainWindow::Win32MainWindow(HidLibrary& library)
{
    INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&common);
    RegisterWindowClass(&WindowProc);
    const std::u16string caption(Layout::Caption);
    window_ = CreateWindowExW(WindowExStyle, WindowClass, Wide(caption), WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    BuildControls();
    PlaceAll(GetDpiForWindow(window_), nullptr);

    windowSide_ = std::make_unique<Win32FormWindow>(window_);
    pinBox_ = std::make_unique<Win32TextBox>(controls_[Pin].hwnd);
    phoneBox_ = std::make_unique<Win32TextBox>(controls_[Phone].hwnd);
    messageBox_ = std::make_unique<Win32TextBox>(controls_[Message].hwnd);
    operatorList_ = std::make_unique<Win32EntryList>(controls_[Operators].hwnd);
    zoneList_ = std::make_unique<Win32EntryList>(controls_[Zones].hwnd);
    frame_ = std::make_unique<Win32Captioned>(controls_[Frame].hwnd);
    button_ = std::make_unique<Win32Captioned>(controls_[Button].hwnd);
    notices_ = std::make_unique<Win32NoticeArea>(controls_[NoticeBand].hwnd, tooltip_);
    form_ = std::make_unique<MainForm>(library, hook_,
                                       MainFormControls{*windowSide_, *pinBox_, *operatorList_, *frame_, *phoneBox_,
                                                        *messageBox_, *button_, *zoneList_, *notices_});
    MainForm& form = *form_;
    pinBox_->OnChange([&form] { form.pin_Change(); });
    phoneBox_->OnChange([&form] { form.t_e_m_1_Change(); });
    messageBox_->OnChange([&form] { form.Text1_Change(); });
    operatorList_->OnClick([&form] { form.Combo1_Click(); });
    zoneList_->OnClick([&form] { form.ALARMA_Click(); });
}

Win32MainWindow::~Win32MainWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
    if (font_ != nullptr)
        DeleteObject(font_);
    for (HFONT fitted : fitted_)
        if (fitted != nullptr)
            DeleteObject(fitted);
}

void Win32MainWindow::BuildControls()
{
    // Created in tab order: the order of creation is Win32's tab order.
    const auto place = [this](Index index, const Layout::Place& at, const wchar_t* cls, DWORD style,
                              DWORD exStyle = 0, bool inFrame = false) {
        controls_[index] = {&at, Create(window_, cls, at.text, style, exStyle, 100 + index), inFrame};
    };
    place(Frame, Layout::t_a_1, WC_BUTTONW, BS_GROUPBOX);
    place(Phone, Layout::t_e_m_1, WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, true);
    place(Message, Layout::Text1, WC_EDITW, WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
          WS_EX_CLIENTEDGE, true);
    place(Button, Layout::b_e_1, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, true);
    place(Zones, Layout::ALARMA, WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL);
    place(Operators, Layout::Combo1, WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL);
    place(OperatorLabel, Layout::Label1, WC_STATICW, SS_CENTER);
    place(Pin, Layout::pin, WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    place(PinLabel, Layout::Label2, WC_STATICW, SS_CENTER);
    controls_[NoticeBand] = {nullptr, Create(window_, WC_STATICW, u"", SS_CENTER | SS_NOTIFY, 0, 100 + NoticeBand),
                             false};
    ShowWindow(controls_[NoticeBand].hwnd, SW_HIDE);
    Fill(controls_[Operators].hwnd, OperatorTable, [](const OperatorEntry& e) { return e.smsc; },
         Layout::Combo1.text);
    Fill(controls_[Zones].hwnd, ZoneTable, [](const ZoneEntry& e) { return e.zone; }, Layout::ALARMA.text);
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
}

void Win32MainWindow::PlaceAll(UINT dpi, const RECT* suggested)
{
    RECT frame{0, 0, PixelsAt(Layout::ClientWidth, dpi), PixelsAt(Layout::ClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, WindowStyle, FALSE, WindowExStyle, dpi);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int x = 0, y = 0;
    if (suggested != nullptr) {
        x = suggested->left;
        y = suggested->top;
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
        x = (monitor.rcWork.left + monitor.rcWork.right - width) / 2;
        y = (monitor.rcWork.top + monitor.rcWork.bottom - height) / 2;
    }
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    // The system's message font, at this DPI.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);

    for (const Placed& control : controls_) {
        const TwipRect& at = control.place != nullptr ? control.place->rect : Layout::Notice;
        const int left = at.left + (control.inFrame ? Layout::t_a_1.rect.left : 0);
        const int top = at.top + (control.inFrame ? Layout::t_a_1.rect.top : 0);
        SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        int h = PixelsAt(at.height, dpi);
        const bool combo = control.hwnd == controls_[Zones].hwnd || control.hwnd == controls_[Operators].hwnd;
        if (combo) {
            // The closed field keeps the layout's height; the open list
            // hangs below it.
            SendMessageW(control.hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), h - 6);
            h *= 1 + ListRows;
        }
        SetWindowPos(control.hwnd, nullptr, PixelsAt(left, dpi), PixelsAt(top, dpi), PixelsAt(at.width, dpi), h,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (font_ != nullptr)
        DeleteObject(font_);
    font_ = font;
    const std::pair<Index, std::u16string_view> fits[] = {
        {Pin, Layout::PinSample}, {Phone, Layout::PhoneSample}, {Button, u"Env. Config. Zona 4"}};
    for (std::size_t i = 0; i < fitted_.size(); ++i) {
        const HWND control = controls_[fits[i].first].hwnd;
        RECT client{};
        GetClientRect(control, &client);
        const int room = fits[i].first == Button ? client.right - 2 * PixelsAt(90, dpi) : EditRoom(control);
        const HFONT old = fitted_[i];
        fitted_[i] = FittedFont(control, metrics.lfMessageFont, fits[i].second, room);
        if (old != nullptr)
            DeleteObject(old);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

HWND Win32MainWindow::Child(std::string_view name) const
{
    for (const Placed& control : controls_)
        if (control.place != nullptr ? name == control.place->name : name == "aviso")
            return control.hwnd;
    return nullptr;
}

void Win32MainWindow::Show()
{
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SetFocus(controls_[Phone].hwnd);
}

bool Win32MainWindow::PreTranslate(const MSG& message)
{
    if (window_ == nullptr || (message.hwnd != window_ && !IsChild(window_, message.hwnd)))
        return false;
    const bool key = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    // AltGr comes as Ctrl+Alt: AltGr+A is a character of the layout (Polish ą), not select all.
    const bool ctrlOnly = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
    if (key && message.wParam == 'A' && ctrlOnly && IsEditBox(message.hwnd)) {
        SendMessageW(message.hwnd, EM_SETSEL, 0, -1);
        return true;
    }
    // A lone modifier, or copying from the notice, is no new action.
    const bool modifier = key && (message.wParam == VK_CONTROL || message.wParam == VK_SHIFT ||
                                  message.wParam == VK_MENU || message.wParam == VK_LWIN || message.wParam == VK_RWIN);
    const bool press = key || message.message == WM_LBUTTONDOWN || message.message == WM_RBUTTONDOWN;
    if (press && !modifier && message.hwnd != controls_[NoticeBand].hwnd)
        form_->UserAction();
    return false;
}

int Win32MainWindow::Run()
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslate(message) || IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK Win32MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ != window)  // during CreateWindowExW
        return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT Win32MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (form_ != nullptr)
            Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case Win32FormWindow::JobMessage: Win32FormWindow::RunJob(lParam); return 0;
    case WM_DPICHANGED:
        PlaceAll(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        DestroyWindow(window_);  // closing is never refused
        return 0;
    case WM_DESTROY:
        if (form_ != nullptr && !unloaded_) {
            unloaded_ = true;
            form_->Unload();
        }
        Win32FormWindow::DropJobs(window_);
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Win32MainWindow::Command(HWND control, WORD code)
{
    if (control == nullptr)
        return;
    if (code == EN_CHANGE) {
        if (control == controls_[Pin].hwnd)
            pinBox_->Changed();
        else if (control == controls_[Phone].hwnd)
            phoneBox_->Changed();
        else if (control == controls_[Message].hwnd)
            messageBox_->Changed();
    } else if (control == controls_[Operators].hwnd) {
        operatorList_->Notified(code);
    } else if (control == controls_[Zones].hwnd) {
        zoneList_->Notified(code);
    } else if (control == controls_[Button].hwnd && code == BN_CLICKED) {
        form_->b_e_1_Click();
    }
}
