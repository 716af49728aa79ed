// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's behaviour, decided once for every toolkit.

#include <gtest/gtest.h>

#include "device_link/device_event.h"
#include "tests/main_window/fake_controls.h"
#include "tests/support/reports.h"

namespace {

using Calls = std::vector<std::string>;

template <typename Form>
void ReadBack(Form& f, const std::u16string& units, std::uint8_t tag)
{
    for (const char16_t unit : units) {
        f.library.pendingInput.push_back(InputReport(tag, static_cast<std::uint8_t>(unit)));
        f.hook.Deliver(EventRead, f.library.presentHandle);
    }
}

Report RequestFor(std::uint8_t zone) { return Report{0, 0, 0, 0, 0, 0, zone, 0, 0}; }

struct Loaded : FakeForm<> {
    Loaded() { form->Load(); }
};

TEST(StartUp, AsksForZoneOneBeforeAttachingThenShowsThePlaceholdersWithTheirLimits)
{
    FakeForm<> f;
    // The limits hold from before the first edit, also for a first paste.
    EXPECT_EQ(std::vector<std::size_t>({f.pin.maxLength, f.t_e_m_1.maxLength, f.Text1.maxLength}),
              std::vector<std::size_t>({4, 9, 49}));
    EXPECT_TRUE(f.library.calls.empty());
    f->Load();
    EXPECT_EQ(f.library.calls, (Calls{"WriteEx", "Connect", "Install"}));
    EXPECT_EQ(f.library.written, std::vector<Report>{RequestFor(1)});
    EXPECT_EQ(f.hook.window, f.window.NativeHandle());
    EXPECT_EQ(std::make_pair(f.Combo1.selected, f.ALARMA.selected), std::make_pair(std::optional(0), std::optional(0)));
    EXPECT_EQ((std::vector<std::u16string>{f->State().SelectedSmsc, f->State().SelectedZone, f.t_a_1.caption,
                                           f.b_e_1.caption, f.pin.text, f.t_e_m_1.text, f.Text1.text, f.notice.shortText}),
              (std::vector<std::u16string>{u"609090909", u"1", u"Zona Alarma 1", u"Env. Config. Zona 1", u"pin",
                                           u"Tlf env.", u"Texto a enviar", u""}));

    // The start-up answer still arriving after attach never lands in the fields.
    f.hook.Deliver(EventPlugged, 7);  // changes nothing by itself
    EXPECT_TRUE(f.library.readNotifyCalls.empty());
    // Every change asks for the handle again and passes it on as it comes.
    f.library.presentHandle = 0, f.hook.Deliver(EventChanged);
    f.library.presentHandle = 7, f.hook.Deliver(EventChanged);
    EXPECT_EQ(f.library.readNotifyCalls, (std::vector<std::pair<DeviceHandle, bool>>{{0, true}, {7, true}}));
    ReadBack(f, u"6", TagSmsc), ReadBack(f, u"6", TagPhone), ReadBack(f, u"Z", TagText);
    EXPECT_TRUE(f.library.pendingInput.empty());  // taken, not left queued
    EXPECT_EQ((std::vector<std::u16string>{f->PhoneText(), f->MessageText(), f->State().ReceivedSmsc}),
              (std::vector<std::u16string>{u"Tlf env.", u"Texto a enviar", u""}));

    // The user's first pick starts decoding; an event for another handle reads nothing.
    f.ALARMA.SelectEntry(1);
    f.library.pendingInput.push_back(InputReport(TagPhone, '6'));
    f.hook.Deliver(EventRead, f.library.presentHandle + 1);
    EXPECT_EQ(f->PhoneText(), u"");
    f.hook.Deliver(EventRead, f.library.presentHandle);
    EXPECT_EQ(f->PhoneText(), u"6");
}

TEST(Close, DisconnectsBeforeUnhookingOnceAndADestroyedWindowDetachesToo)
{
    for (const bool closed : {true, false}) {
        Loaded f;
        f.library.calls.clear();
        if (closed)
            f->Unload(), f->Unload();
        f.form.reset();
        EXPECT_EQ(f.library.calls, (Calls{"Disconnect", "Remove"})) << closed;
    }
}

TEST(ZoneSelection, EmptiesTheFieldsRetitlesAndAsksForTheZoneOnEveryPick)
{
    Loaded f;
    f.ALARMA.SelectEntry(0);
    for (const int zone : {3, 2, 2}) {  // a re-pick reloads the zone too
        ReadBack(f, u"6", TagSmsc);
        f.t_e_m_1.Type(u"123");
        f.ALARMA.SelectEntry(zone - 1);
        const std::u16string n = DecimalText(zone);
        EXPECT_EQ((std::vector<std::u16string>{f->PhoneText(), f->MessageText(), f->State().ReceivedSmsc,
                                               f->State().SelectedZone, f.t_a_1.caption, f.b_e_1.caption}),
                  (std::vector<std::u16string>{u"", u"", u"", n, u"Zona Alarma " + n, u"Env. Config. Zona " + n}));
        EXPECT_EQ(f.library.written.back(), RequestFor(static_cast<std::uint8_t>(zone)));
    }
    EXPECT_EQ(f.library.written.size(), 5u);  // start-up's request, then one per pick
    f.ALARMA.Type();  // typing selects nothing and sends nothing
    EXPECT_EQ(f.library.written.size(), 5u);
    EXPECT_EQ(f->State().SelectedZone, u"2");
}

// Queued reports are decoded one by one, each at once, up to the limits, and
// each box is drawn once for the lot when the queue gets that far.
TEST(ReadBack, DecodesEachQueuedReportAtOnceAndDrawsEachBoxOnceForTheLot)
{
    const std::tuple<std::u16string, std::u16string, std::u16string, std::u16string> answers[] = {
        {u"6", u"6", u"", u""},  // a single report
        {u"6112223334", u"611222333", u"Hola\r\n" + std::u16string(44, u'x'), u"Hola\r\n" + std::u16string(43, u'x')},
    };
    for (const auto& [phone, phoneKept, text, textKept] : answers) {
        Loaded f;
        f.ALARMA.SelectEntry(0);
        const std::pair drawn(f.t_e_m_1.drawn + 1, f.Text1.drawn + (text.empty() ? 0 : 1));
        for (std::size_t n = 1; n <= phone.size(); ++n) {
            ReadBack(f, phone.substr(n - 1, 1), TagPhone);
            EXPECT_EQ(f->PhoneText(), phoneKept.substr(0, n));
        }
        ReadBack(f, text, TagText);
        EXPECT_EQ(f->MessageText() + u"|" + f.t_e_m_1.text + f.Text1.text, textKept + u"|") << "drawn too early";
        f.window.RunPosted();
        EXPECT_EQ(f.t_e_m_1.text + u"|" + f.Text1.text, phoneKept + u"|" + textKept);
        EXPECT_EQ(std::pair(f.t_e_m_1.drawn, f.Text1.drawn), drawn);
    }
}

// What the user does between two reports is kept as without the wait.
TEST(ReadBack, KeepsWhatTheUserDidBeforeTheBoxesWereDrawn)
{
    const std::pair<std::function<void(Loaded&)>, std::u16string> between[] = {
        {[](Loaded& f) { f->UserAction(), f.t_e_m_1.Type(f.t_e_m_1.text + u"9"); }, u"6192"},  // a key typed
        {[](Loaded& f) { f.t_e_m_1.Type(f.t_e_m_1.text + u"9"); }, u"9612"},  // a change with no key press
        {[](Loaded& f) { f.ALARMA.SelectEntry(1); }, u"2"},                   // a new zone starts empty
    };
    for (const auto& [action, phone] : between) {
        Loaded f;
        f.ALARMA.SelectEntry(0);
        ReadBack(f, u"61", TagPhone), action(f), ReadBack(f, u"2", TagPhone), f.window.RunPosted();
        EXPECT_EQ(f->PhoneText() + u"|" + f.t_e_m_1.text, phone + u"|" + phone);
    }
}

TEST(Send, WritesTheFieldsOfThePicksAndTheSameAgainAnEmptyPinKeepsTheStoredOne)
{
    Loaded f;
    f.ALARMA.SelectEntry(1);
    f.Combo1.Type();
    ReadBack(f, u"656000311", TagSmsc);
    EXPECT_EQ(f.Combo1.selected, 1) << "the read-back selects over typed text";
    f.Combo1.SelectEntry(3);
    EXPECT_EQ(f.library.written.size(), 2u) << "an operator pick sends nothing";
    f.pin.Type(u"1234"), f.t_e_m_1.Type(u"12"), f.Text1.Type(u"H\r\ni");
    const std::vector<Report> expected = UploadOf(2, 622996111, u"1234", u"12", u"H\r\ni");
    for (int press = 0; press < 2; ++press) {
        const std::size_t before = f.library.written.size();
        f->b_e_1_Click();
        EXPECT_EQ(std::vector<Report>(f.library.written.begin() + static_cast<long>(before), f.library.written.end()),
                  expected) << press;
    }
    EXPECT_EQ(f->State().SelectedSmsc, u"622996111");
    f.pin.Type(u"");
    const std::size_t before = f.library.written.size();
    f->b_e_1_Click();
    EXPECT_EQ(f.library.written.at(before)[AddressByte], 5) << "the service centre first";
}

// The unit as the band sees it: its state, and writes it stops taking.
struct UnitLibrary : RecordingLibrary {
    UnitAccess access{UnitAccess::State::Usable, ""};
    bool unplugsWhenRefusing = false;
    UnitAccess Access(std::int32_t, std::int32_t) override { return access; }
    bool WriteEx(std::int32_t vendor, std::int32_t product, const Report& report) override
    {
        const bool taken = RecordingLibrary::WriteEx(vendor, product, report);
        if (!taken && unplugsWhenRefusing)
            access = {UnitAccess::State::Absent, ""};
        return taken;
    }
};
using UnitForm = FakeForm<UnitLibrary>;

struct Said {
    const char* name;
    std::function<void(UnitForm&)> before, causeGoes;  // no cause: goes at the next user action
    std::u16string shortText, longText;                // the long text starts so
    bool reachesTheUnit = false;
};

const std::u16string Interrupted = u"La alarma dejó de responder durante el envío: llegaron ";
// A refused open: for lack of rights on Linux, held by another program on Windows.
#ifdef _WIN32
const bool DeniedNamesNode = false;
const std::u16string Denied = u"Alarma en uso por otro programa", DeniedFix = u"Cierre ese programa",
                     DeniedSent = u"No se ha enviado nada. La alarma está conectada, pero otro programa";
#else
const bool DeniedNamesNode = true;
const std::u16string Denied = u"Alarma sin permiso de acceso", DeniedFix = u"70-velbrix-qorun.rules",
                     DeniedSent = u"No se ha enviado nada. La alarma está conectada en /dev/hidraw7, pero";
#endif
const Said Notices[] = {
    {"Sent", [](UnitForm&) {}, {}, u"Configuración enviada", u"La configuración de la zona 1 llegó completa a la alarma.", true},
    {"NoUnit", [](UnitForm& f) { f.library.access = {UnitAccess::State::Absent, ""}; },
     [](UnitForm& f) { f.library.access = {UnitAccess::State::Usable, ""}, f.hook.Deliver(EventChanged); },
     u"Alarma no conectada", u"No se ha enviado nada. La alarma no está conectada.", false},
    {"RefusedAccess", [](UnitForm& f) { f.library.access = {UnitAccess::State::Denied, "/dev/hidraw7"}, f.library.acceptedWrites = 1; },
     [](UnitForm& f) { f.library.access = {UnitAccess::State::Usable, ""}, f.hook.Deliver(EventPlugged, 7); },
     Denied, DeniedSent, false},
    {"Unplugged", [](UnitForm& f) { f.library.acceptedWrites = 1 + 11, f.library.unplugsWhenRefusing = true; },
     [](UnitForm& f) {  // plugged in again, the outcome is still said until a zone is picked
         f.library.access = {UnitAccess::State::Usable, ""}, f.hook.Deliver(EventChanged);
         EXPECT_EQ(f.notice.shortText, u"Envío interrumpido");
         f.ALARMA.SelectEntry(0);
     },
     u"Envío interrumpido", Interrupted + u"11 informes y el envío se detuvo en la dirección 10;", true},
    // Still attached, the unit stops taking reports: the eighth goes to address 8.
    {"RefusedWrite", [](UnitForm& f) { f.library.acceptedWrites = 1 + 7; }, [](UnitForm& f) { f.ALARMA.SelectEntry(0); },
     u"Envío interrumpido", Interrupted + u"7 informes y el envío se detuvo en la dirección 8;", true},
    {"BeyondMemory", [](UnitForm& f) { f.ALARMA.SelectEntry(3), f.Text1.text = std::u16string(51, u'z'); },
     [](UnitForm& f) { f.ALARMA.SelectEntry(0); }, u"Envío incompleto",
     u"La configuración no se envió completa: no cabe en la memoria de la alarma (dirección 256).", true},
    {"DesignPin", [](UnitForm& f) { f.pin.Type(u"pin"); }, [](UnitForm& f) { f.pin.Type(u"pin1"); }, u"Escriba el PIN",
     u"No se ha enviado nada: la casilla del PIN aún dice «pin».", false},
    {"MissingZonePick", [](UnitForm& f) { f.ALARMA.Type(); }, [](UnitForm& f) { f.ALARMA.SelectEntry(1); },
     u"Elija una zona de la lista", u"No se ha enviado nada: elija una zona de la lista.", false},
    {"MissingOperatorPick", [](UnitForm& f) { f.Combo1.Type(); }, [](UnitForm& f) { f.Combo1.SelectEntry(1); },
     u"Elija una compañía de la lista", u"No se ha enviado nada: elija una compañía de la lista.", false},
    {"MissingBothPicks", [](UnitForm& f) { f.ALARMA.Type(), f.Combo1.Type(); },
     [](UnitForm& f) {  // the first pick leaves the other one said
         f.ALARMA.SelectEntry(1);
         EXPECT_EQ(f.notice.shortText, u"Elija una compañía de la lista");
         f.Combo1.SelectEntry(1);
     },
     u"Elija zona y compañía", u"No se ha enviado nada: elija una zona y una compañía de la lista.", false},
};

class SendNotices : public testing::TestWithParam<Said> {};

TEST_P(SendNotices, SayTheOutcomeUntilTheirTimeComes)
{
    const Said& said = GetParam();
    UnitForm f;
    f->Load();
    f.pin.Type(u"");
    said.before(f);
    const std::size_t before = f.library.written.size();
    f->b_e_1_Click();
    EXPECT_EQ(f.library.written.size() > before, said.reachesTheUnit);
    EXPECT_EQ(f.notice.shortText, said.shortText);
    EXPECT_EQ(f.notice.longText.substr(0, said.longText.size()), said.longText);
    f->UserAction();
    EXPECT_EQ(f.notice.shortText.empty(), !said.causeGoes);
    if (said.causeGoes) {
        said.causeGoes(f);
        EXPECT_EQ(f.notice.shortText, u"");
    }
}

INSTANTIATE_TEST_SUITE_P(EachOutcome, SendNotices, testing::ValuesIn(Notices),
                         [](const testing::TestParamInfo<Said>& info) { return info.param.name; });

TEST(DeviceState, IsSaidFromStartUpUntilTheUnitIsUsableAndOnlyARefusedOpenNamesANodeAndAFix)
{
    const std::pair<UnitAccess, std::u16string> states[] = {
        {{UnitAccess::State::Absent, ""}, u"Alarma no conectada"},
        {{UnitAccess::State::Denied, "/dev/hidraw7"}, Denied},
    };
    for (const auto& [access, shortText] : states) {
        UnitForm f;
        f.library.access = access;
        f->Load();
        EXPECT_EQ(f.notice.shortText, shortText);
        const bool denied = access.state == UnitAccess::State::Denied;
        EXPECT_EQ(f.notice.longText.find(u"en /dev/hidraw7,") != std::u16string::npos, denied && DeniedNamesNode);
        EXPECT_EQ(f.notice.longText.find(DeniedFix) != std::u16string::npos, denied);
        f->UserAction();  // a state lasts while its cause does
        EXPECT_EQ(f.notice.shortText, shortText);
        f.library.access = {UnitAccess::State::Usable, ""};
        f.hook.Deliver(EventUnplugged, 3);
        EXPECT_EQ(f.notice.shortText, u"");
    }
}

TEST(Limits, TextsAreCutInCodeUnitsNeverBetweenTheHalvesOfACharacter)
{
    const std::u16string emoji = u"\xD83D\xDE00";
    const std::tuple<std::u16string, std::size_t, std::u16string> cuts[] = {
        {u"12345678" + emoji, 9, u"12345678"}, {u"1234567" + emoji, 9, u"1234567" + emoji},
        {u"12345", 4, u"1234"}, {emoji, 1, u""}, {u"a\r\nb", 2, u"a\r"},
    };
    for (const auto& [text, limit, cut] : cuts)
        EXPECT_EQ(CutToUnits(text, limit), cut) << limit;
    // A lone half goes; the cursor stays between the same characters.
    const std::tuple<std::u16string, std::size_t, std::u16string, std::size_t> halves[] = {
        {u"a\xD83D" u"b", 3, u"ab", 2}, {u"\xDE00" u"ab", 1, u"ab", 0}, {u"a" + emoji, 3, u"a" + emoji, 3},
        {u"ab\xD83D", 1, u"ab", 1},
    };
    for (const auto& [text, cursor, whole, moved] : halves) {
        std::size_t at = cursor;
        EXPECT_EQ(WithoutHalfPairs(text, &at), whole);
        EXPECT_EQ(at, moved);
    }
}

}  // namespace
