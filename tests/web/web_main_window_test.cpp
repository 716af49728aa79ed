// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The web window over page elements the test plays: drawn as laid out, its
// fields held to their limits, its selectors and the chooser's button.

#include <gtest/gtest.h>

#include <map>

#include "device_link/device_event.h"
#include "main_window/web/web_main_window.h"
#include "protocol/report_layout.h"
#include "tests/support/recording_library.h"

namespace {

struct Element {
    ElementKind kind;
    std::string parent;
    TwipRect rect;
    int tab;
    std::u16string value, caption, title;
    std::vector<std::u16string> entries{};
    bool enabled = true, shown = true;
    int picked = -1;
};

struct FakePage : PageElements {
    std::map<std::string, Element> elements;
    std::string focused;
    Element& operator[](const std::string& name) { return elements.at(name); }
    void Make(const char* name, ElementKind kind, const char* parent, TwipRect rect, std::u16string_view text, int tab) override
    {
        Element made{kind, parent, rect, tab, {}, {}, {}};
        (kind == ElementKind::Line || kind == ElementKind::Lines || kind == ElementKind::Combo ? made.value : made.caption) = text;
        elements.emplace(name, made);
    }
    std::u16string Value(const char* name) const override { return elements.at(name).value; }
    void SetValue(const char* name, std::u16string_view text) override { (*this)[name].value = text; }
    void SetEnabled(const char* name, bool on) override { (*this)[name].enabled = on; }
    void SetShown(const char* name, bool on) override { (*this)[name].shown = on; }
    void SetCaption(const char* name, std::u16string_view text) override { (*this)[name].caption = text; }
    void SetTitle(const char* name, std::u16string_view text) override { (*this)[name].title = text; }
    void AddEntry(const char* name, std::u16string_view text) override { (*this)[name].entries.emplace_back(text); }
    int PickedEntry(const char* name) const override { return elements.at(name).picked; }
    void PickEntry(const char* name, int i) override { auto& e = (*this)[name]; e.picked = i, e.value = e.entries.at(i); }
    void Focus(const char* name) override { focused = name; }
};

struct AbsentWhenTold : RecordingLibrary {
    bool absent = false;
    WindowHandle connectedTo = nullptr;
    bool Connect(WindowHandle window) override { connectedTo = window; return RecordingLibrary::Connect(window); }
    UnitAccess Access(std::int32_t, std::int32_t) override
    { UnitAccess a; a.state = absent ? UnitAccess::State::Absent : UnitAccess::State::Usable; return a; }
};

struct WebWindow : ::testing::Test {
    void Open() { window.emplace(page, queue, library, BrowserAccess{supported, [this] { ++chosen; }}), window->Open(); }
    void Type(const std::string& name, std::u16string text) { page[name].value = std::move(text), window->Handle(name, PageEvent::Typed); }
    FakePage page;
    PageQueue queue{[] {}};
    AbsentWhenTold library;
    bool supported = true;
    int chosen = 0;
    std::optional<WebMainWindow> window;
};

TEST_F(WebWindow, DrawsTheNineControlsAtTheirTwipsInTheirTabOrder)
{
    Open();
    const std::pair<const Layout::Place*, ElementKind> expected[] = {
        {&Layout::Label2, ElementKind::Label}, {&Layout::pin, ElementKind::Line},      {&Layout::Label1, ElementKind::Label},
        {&Layout::Combo1, ElementKind::Combo}, {&Layout::t_a_1, ElementKind::Frame},   {&Layout::t_e_m_1, ElementKind::Line},
        {&Layout::Text1, ElementKind::Lines},  {&Layout::b_e_1, ElementKind::Button},  {&Layout::ALARMA, ElementKind::Combo}};
    for (const auto& [place, kind] : expected) {
        const Element& made = page[place->name];
        EXPECT_EQ(made.kind, kind) << place->name;
        EXPECT_EQ(std::tie(made.rect.left, made.rect.top, made.rect.width, made.rect.height),
                  std::tie(place->rect.left, place->rect.top, place->rect.width, place->rect.height)) << place->name;
        const bool inFrame = place == &Layout::t_e_m_1 || place == &Layout::Text1 || place == &Layout::b_e_1;
        EXPECT_EQ(made.parent, inFrame ? "t_a_1" : "") << place->name;
        EXPECT_EQ(made.tab, kind == ElementKind::Label || kind == ElementKind::Frame ? -1 : place->tab) << place->name;
    }
    EXPECT_EQ(page.focused, "t_e_m_1");
    EXPECT_EQ(page["pin"].value, u"pin");
    EXPECT_EQ(page["t_e_m_1"].value, u"Tlf env.");
    EXPECT_EQ(page["Text1"].value, u"Texto a enviar");
    EXPECT_EQ(page["t_a_1"].caption, u"Zona Alarma 1");
    EXPECT_EQ(page["Combo1"].entries, (std::vector<std::u16string>{u"MOVISTAR", u"AMENA", u"VODAFONE", u"YOIGO"}));
    EXPECT_EQ(std::make_pair(page["Combo1"].picked, page["Combo1"].value), std::make_pair(0, std::u16string(u"MOVISTAR")));
    EXPECT_EQ(std::make_pair(page["ALARMA"].picked, page["ALARMA"].value), std::make_pair(0, std::u16string(u"Zona 1")));
    EXPECT_EQ(library.written.size(), 1u) << "no start-up request";
}

// What the user types is held to the field's limit in CR LF units, whole
// characters only; the page's line breaks are LF.
TEST_F(WebWindow, TypedTextIsHeldToItsLimitInWholeCharacters)
{
    Open();
    const std::u16string emoji = u"\U0001F600";
    const std::u16string text48(48, u'x');
    const struct { const char* name; std::u16string typed, kept, text; } rows[] = {
        {"pin", u"12345", u"1234", u"1234"},
        {"pin", u"123" + emoji, u"123", u"123"},
        {"t_e_m_1", u"6123456789", u"612345678", u"612345678"},
        {"Text1", u"a\nb", u"a\nb", u"a\r\nb"},
        {"Text1", text48 + u"\nz", text48, text48},  // the break would take two
        {"Text1", u"a" + emoji.substr(0, 1), u"a", u"a"},
    };
    for (const auto& row : rows) {
        Type(row.name, row.typed);
        EXPECT_EQ(page[row.name].value, row.kept) << row.name;
        const std::u16string shown = row.name == std::string("Text1") ? window->Form().MessageText()
                                    : row.name == std::string("pin")  ? page["pin"].value
                                                                      : window->Form().PhoneText();
        EXPECT_EQ(shown, row.text) << row.name;
    }
}

TEST_F(WebWindow, TypingInASelectorPicksNothingAndPickingFromItsListAsksForTheZone)
{
    Open();
    page["ALARMA"].picked = -1, page["ALARMA"].value = u"Zona 9";
    window->Handle("ALARMA", PageEvent::Typed);
    window->Handle("b_e_1", PageEvent::Pressed);
    EXPECT_EQ(library.written.size(), 1u) << "sent with no zone picked";
    EXPECT_EQ(page["notice"].caption, u"Elija una zona de la lista");
    EXPECT_TRUE(page["notice"].shown);
    EXPECT_NE(page["notice"].title.find(u"No se ha enviado nada"), std::u16string::npos) << "the long text is its title";
    page["ALARMA"].picked = 2;
    window->Handle("ALARMA", PageEvent::Picked);
    ASSERT_EQ(library.written.size(), 2u);
    EXPECT_EQ(library.written.back()[CommandByte], 3);
    EXPECT_EQ(page["t_a_1"].caption, u"Zona Alarma 3");
    EXPECT_EQ(page["b_e_1"].caption, u"Env. Config. Zona 3");
    EXPECT_FALSE(page["notice"].shown) << "the pick's notice outlived the pick";
}

TEST_F(WebWindow, TheChooserButtonShowsOnlyWhileNoUnitIsThere)
{
    library.absent = true;
    Open();
    EXPECT_TRUE(page["grant"].shown);
    EXPECT_FALSE(page["nowebhid"].shown);
    EXPECT_EQ(page["notice"].caption, u"Alarma no conectada");
    window->Handle("grant", PageEvent::Pressed);
    EXPECT_EQ(chosen, 1);
    library.absent = false;
    window->Handle("", PageEvent::Touched);
    EXPECT_FALSE(page["grant"].shown);
}

TEST_F(WebWindow, ADeviceEventBringsTheChooserButtonUpToDate)
{
    Open();
    EXPECT_FALSE(page["grant"].shown);
    library.absent = true;
    PostDeviceEvent(library.connectedTo, EventChanged);  // where a library posts
    queue.Run();
    EXPECT_TRUE(page["grant"].shown);
    EXPECT_EQ(page["notice"].caption, u"Alarma no conectada");
}

TEST_F(WebWindow, ABrowserWithoutWebHidSaysWhichBrowsersWork)
{
    supported = false;
    library.absent = true;
    Open();
    EXPECT_TRUE(page["nowebhid"].shown);
    EXPECT_NE(page["nowebhid"].caption.find(u"Chrome"), std::u16string::npos);
    EXPECT_FALSE(page["grant"].shown);
}

}  // namespace
