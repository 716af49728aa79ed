// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window against the in-process virtual unit behind the real device link,
// and what that unit keeps of an upload.

#include <QSignalSpy>

#include "tests/main_window/qt/form_driver.h"
#include "virtual_unit/alarm_unit_model.h"

namespace {

TEST(WithVirtualUnit, APickFillsTheZoneExactlyAReplugReadsBackAgainAndCloseEndsIt)
{
    UnitWindow w([](UnitWindow& w) {
        w.model.StoreServiceCentre("607003110");
        w.model.StoreZone(1, "611111111", "Uno");
        w.model.StoreZone(2, "611222333", "Ventana\r\nabierta");
    });
    const auto pickZone = [&w](int zone) { PickEntry(w.ALARMA, zone - 1), DeliverAll(); };

    // The answer's events all queued at once: each box is drawn once for them.
    PickEntry(w.ALARMA, 1);
    QSignalSpy phoneDrawn(w.t_e_m_1, &QLineEdit::textChanged), textDrawn(w.Text1, &QPlainTextEdit::textChanged);
    DeliverAll();
    EXPECT_EQ(QList({phoneDrawn.count(), textDrawn.count()}), QList<qsizetype>({1, 1}));
    EXPECT_EQ(w.t_e_m_1->text(), QStringLiteral("611222333"));
    EXPECT_EQ(w.Text1->toPlainText(), QStringLiteral("Ventana\nabierta"));
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("VODAFONE"));

    // A replug gets read back again; answers in flight at unplug are lost.
    PickEntry(w.ALARMA, 1);  // answers queued, their events not yet delivered
    w.library.Unplug();
    DeliverAll();
    EXPECT_EQ(w.notice->text(), QStringLiteral("Alarma no conectada"));
    EXPECT_EQ(w.form.PhoneText(), u"");

    w.library.Plug();
    DeliverAll();
    pickZone(1);
    EXPECT_EQ(w.form.PhoneText(), u"611111111");
    EXPECT_EQ(w.form.MessageText(), u"Uno");

    // Nothing arrives after close and nothing is replayed.
    PickEntry(w.ALARMA, 1);  // answers posted but not yet delivered
    w.window.close();
    w.library.Unplug();
    w.library.Plug();
    DeliverAll();
    EXPECT_EQ(w.form.PhoneText(), u"");
    EXPECT_EQ(w.form.MessageText(), u"");
}

// Fields of up to `length` characters, uploaded or stored directly.
void Load(AlarmUnitModel& unit, int zone, std::size_t length, bool upload)
{
    const std::string digits = std::string("123456789").substr(0, std::clamp<std::size_t>(length, 1, 9));
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += static_cast<char>('A' + i);
    const std::string pin = text.substr(0, 4), phone = text.substr(0, 9);
    if (!upload)
        return unit.StorePin(pin), unit.StoreServiceCentre(digits), unit.StoreZone(zone, phone, text);
    const auto u16 = [](const std::string& s) { return std::u16string(s.begin(), s.end()); };
    for (const Report& r : UploadOf(zone, std::stoi(digits), u16(pin), u16(phone), u16(text)))
        unit.Receive({r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
}

// A shorter value after the longest replaces it whole; an empty one leaves it.
TEST(UnitMemory, HoldsTheLastValueOfEachFieldWhole)
{
    for (int zone = 1; zone <= 4; ++zone)
        for (std::size_t length = 0; length <= 49; ++length) {
            AlarmUnitModel unit, expected;
            Load(unit, zone, 49, true), Load(unit, zone, length, true);
            Load(expected, zone, length == 0 ? 49 : length, false);
            expected.StoreServiceCentre(std::string("123456789").substr(0, std::clamp<std::size_t>(length, 1, 9)));
            EXPECT_EQ(unit.Memory(), expected.Memory()) << "zone " << zone << ", length " << length;
        }
}

}  // namespace
