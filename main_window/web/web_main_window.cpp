// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/web/web_main_window.h"

#include "protocol/report_layout.h"

namespace {

std::vector<std::int32_t> OperatorData()
{
    std::vector<std::int32_t> data;
    for (const OperatorEntry& entry : OperatorTable) data.push_back(entry.smsc);
    return data;
}

std::vector<std::int32_t> ZoneData()
{
    std::vector<std::int32_t> data;
    for (const ZoneEntry& entry : ZoneTable) data.push_back(entry.zone);
    return data;
}

// Below the window's own area, the width of its frame.
constexpr TwipRect GrantRect{Layout::t_a_1.rect.left, Layout::ClientHeight + 120, Layout::t_a_1.rect.width, 375};
constexpr TwipRect NoWebHidRect{0, Layout::ClientHeight + 120, Layout::ClientWidth, 1200};

}  // namespace

WebMainWindow::WebMainWindow(PageElements& page, PageQueue& queue, HidLibrary& library, BrowserAccess browser)
    : page_(page), library_(library), browser_(std::move(browser)), window_(queue),
      pin_(page, Layout::pin.name), phone_(page, Layout::t_e_m_1.name), text_(page, Layout::Text1.name),
      operators_(page, Layout::Combo1.name, OperatorData()), zones_(page, Layout::ALARMA.name, ZoneData()),
      frame_(page, Layout::t_a_1.name), send_(page, Layout::b_e_1.name), notice_(page, NoticeName)
{
    using enum ElementKind;
    const auto make = [&](const Layout::Place& place, ElementKind kind, const char* parent) {
        page_.Make(place.name, kind, parent, place.rect, place.text,
                   kind == Label || kind == Frame ? -1 : place.tab);
    };
    make(Layout::Label2, Label, "");
    make(Layout::pin, Line, "");
    make(Layout::Label1, Label, "");
    make(Layout::Combo1, Combo, "");
    make(Layout::t_a_1, Frame, "");
    make(Layout::t_e_m_1, Line, Layout::t_a_1.name);
    make(Layout::Text1, Lines, Layout::t_a_1.name);
    make(Layout::b_e_1, Button, Layout::t_a_1.name);
    make(Layout::ALARMA, Combo, "");
    page_.Make(NoticeName, Notice, "", Layout::Notice, u"", -1);
    for (const OperatorEntry& entry : OperatorTable) page_.AddEntry(Layout::Combo1.name, entry.text);
    for (const ZoneEntry& entry : ZoneTable) page_.AddEntry(Layout::ALARMA.name, entry.text);
    // Last in the tab order, after the window's own controls.
    page_.Make(GrantName, Button, "", GrantRect, u"Elegir la alarma…", 9);
    page_.Make(NoWebHidName, Notice, "", NoWebHidRect,
               u"Este navegador no da acceso a dispositivos USB (WebHID). Abra la página en Chrome, Edge u "
               u"Opera de escritorio (Windows, macOS, Linux o ChromeOS).",
               -1);
    page_.SetShown(NoticeName, false);
    page_.SetShown(NoWebHidName, !browser_.supported);
    page_.SetShown(GrantName, false);
    hook_.after = [this] { ShowGrant(); };

    form_ = std::make_unique<MainForm>(
        library_, hook_, MainFormControls{window_, pin_, operators_, frame_, phone_, text_, send_, zones_, notice_});
    operators_.onClick = [this] { form_->Combo1_Click(); };
    zones_.onClick = [this] { form_->ALARMA_Click(); };
    pin_.onChange = [this] { form_->pin_Change(); };
    phone_.onChange = [this] { form_->t_e_m_1_Change(); };
    text_.onChange = [this] { form_->Text1_Change(); };
}

void FollowingHook::Install(WindowHandle window, Route route)
{
    inner_.Install(window, [this, route = std::move(route)](int code, DeviceHandle handle) {
        route(code, handle);
        if (after)
            after();
    });
}

WebMainWindow::~WebMainWindow()
{
    Close();
    form_.reset();
}

void WebMainWindow::Open()
{
    form_->Load();
    open_ = true;
    page_.Focus(Layout::t_e_m_1.name);
    ShowGrant();
}

void WebMainWindow::Close()
{
    if (!open_)
        return;
    open_ = false;
    form_->Unload();
}

void WebMainWindow::Handle(const std::string& name, PageEvent event)
{
    if (!open_)
        return;
    if (event == PageEvent::Touched) {
        form_->UserAction();
    } else if (event == PageEvent::Pressed && name == GrantName) {
        if (browser_.choose)
            browser_.choose();
    } else if (event == PageEvent::Pressed && name == Layout::b_e_1.name) {
        form_->b_e_1_Click();
    } else if (event == PageEvent::Picked && name == Layout::Combo1.name) {
        operators_.Picked();
    } else if (event == PageEvent::Picked && name == Layout::ALARMA.name) {
        zones_.Picked();
    } else if (event == PageEvent::Typed && name == Layout::pin.name) {
        pin_.Typed();
    } else if (event == PageEvent::Typed && name == Layout::t_e_m_1.name) {
        phone_.Typed();
    } else if (event == PageEvent::Typed && name == Layout::Text1.name) {
        text_.Typed();
    }
    ShowGrant();
}

void WebMainWindow::ShowGrant()
{
    const bool granted = library_.Access(DeviceVendorId, DeviceProductId).state != UnitAccess::State::Absent;
    page_.SetShown(GrantName, browser_.supported && !granted);
}
