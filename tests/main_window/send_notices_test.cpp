// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the band says after each kind of send, against the in-process unit:
// only "sent" goes at the user's next action; the others stay until their
// cause goes.

#include <QSignalBlocker>

#include <functional>

#include "tests/main_window/form_driver.h"
#include "tests/support/faulty_unit_library.h"

namespace {

struct Window {
    AlarmUnitModel model;
    FaultyUnitLibrary library{model};
    MainForm form{library};
    QComboBox* ALARMA = Control<QComboBox>(form, "ALARMA");
    QComboBox* Combo1 = Control<QComboBox>(form, "Combo1");
    QPlainTextEdit* Text1 = Control<QPlainTextEdit>(form, "Text1");
    QLineEdit* pin = Control<QLineEdit>(form, "pin");
};

struct Said {
    const char* name;
    std::function<void(Window&)> before, causeGoes;  // no cause: goes at the next action
    QString shortText, longText;                      // the tooltip starts with longText
    bool reachesTheUnit = false;
};

const Said Notices[] = {
    {"Sent", [](Window&) {}, {}, "Configuración enviada", "La configuración de la zona 1 llegó completa a la alarma.", true},
    {"NoUnit", [](Window& w) { w.library.Unplug(); }, [](Window& w) { w.library.Plug(); }, "Alarma no conectada",
     "No se ha enviado nada. La alarma no está conectada."},
    {"RefusedAccess", [](Window& w) { w.library.denied = true; }, [](Window& w) { w.library.denied = false, w.library.Unplug(), w.library.Plug(); },
     "Alarma sin permiso de acceso", "No se ha enviado nada. La alarma está conectada en /dev/hidraw7, pero"},
    {"Interrupted", [](Window& w) { w.library.unplugAfterWrites = 11; }, [](Window& w) { w.library.Plug(), DeliverAll(), PickEntry(w.ALARMA, 0); },
     "Envío interrumpido", "La alarma dejó de responder durante el envío: llegaron 11 informes y el envío se detuvo en la dirección 10;", true},
    {"BeyondMemory", [](Window& w) { PickEntry(w.ALARMA, 3), QSignalBlocker(w.Text1), w.Text1->setPlainText(QString(51, u'z')); },
     [](Window& w) { PickEntry(w.ALARMA, 0); }, "Envío incompleto",
     "La configuración no se envió completa: no cabe en la memoria de la alarma (dirección 256).", true},
    {"DesignPin", [](Window& w) { w.pin->setText("pin"); }, [](Window& w) { QTest::keyClicks(w.pin, "1"); }, "Escriba el PIN",
     "No se ha enviado nada: la casilla del PIN aún dice «pin»."},
    {"MissingPick", [](Window& w) { TypeIntoSelector(w.ALARMA, "Zona 2"); }, [](Window& w) { PickEntry(w.ALARMA, 1); },
     "Elija una zona de la lista", "No se ha enviado nada: elija una zona de la lista."},
    {"MissingOperatorPick", [](Window& w) { TypeIntoSelector(w.Combo1, "YOIGO"); }, [](Window& w) { PickEntry(w.Combo1, 1); },
     "Elija una compañía de la lista", "No se ha enviado nada: elija una compañía de la lista."},
    {"MissingBothPicks", [](Window& w) { TypeIntoSelector(w.ALARMA, "Zona 2"), TypeIntoSelector(w.Combo1, "YOIGO"); },
     [](Window& w) {  // the first pick leaves the other one said
         PickEntry(w.ALARMA, 1);
         EXPECT_EQ(Control<QLabel>(w.form, "aviso")->text(), QStringLiteral("Elija una compañía de la lista"));
         PickEntry(w.Combo1, 1);
     },
     "Elija zona y compañía", "No se ha enviado nada: elija una zona y una compañía de la lista."},
};

class SendNotices : public testing::TestWithParam<Said> {};

TEST_P(SendNotices, SayTheOutcomeUntilTheirTimeComes)
{
    const Said& said = GetParam();
    Window w;
    w.form.Load();
    ShowAndActivate(w.form);
    w.pin->clear();
    said.before(w);
    DeliverAll();
    const std::size_t logged = w.model.Log().size();
    QTest::mouseClick(Control<QPushButton>(w.form, "b_e_1"), Qt::LeftButton);
    DeliverAll();
    EXPECT_EQ(w.model.Log().size() > logged, said.reachesTheUnit);
    auto* notice = Control<QLabel>(w.form, "aviso");
    EXPECT_EQ(notice->text(), said.shortText);
    EXPECT_TRUE(notice->toolTip().startsWith(said.longText)) << notice->toolTip().toStdString();
    QTest::keyClicks(Control<QLineEdit>(w.form, "t_e_m_1"), "5");
    EXPECT_EQ(notice->isVisible() && notice->toolTip().startsWith(said.longText), bool(said.causeGoes));
    if (said.causeGoes) {
        said.causeGoes(w), DeliverAll();
        EXPECT_FALSE(notice->isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(EachOutcome, SendNotices, testing::ValuesIn(Notices),
                         [](const testing::TestParamInfo<Said>& info) { return info.param.name; });

}  // namespace
