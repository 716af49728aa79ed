// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a press of the send button sends and what the band then says, against
// the in-process unit: only "sent" goes at the user's next action; the others
// stay until their cause goes. Every notice is readable whole inside the band.

#include <QClipboard>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QSignalBlocker>

#include <functional>

#include "main_window/notice.h"
#include "main_window/notice_band.h"
#include "tests/main_window/form_driver.h"

namespace {

struct Said {
    const char* name;
    std::function<void(UnitWindow&)> before, causeGoes;  // no cause: goes at the next action
    QString shortText, longText;                      // the tooltip starts with longText
    bool reachesTheUnit = false;
};

const Said Notices[] = {
    {"Sent", [](UnitWindow&) {}, {}, "Configuración enviada", "La configuración de la zona 1 llegó completa a la alarma.", true},
    {"NoUnit", [](UnitWindow& w) { w.library.Unplug(); }, [](UnitWindow& w) { w.library.Plug(); }, "Alarma no conectada",
     "No se ha enviado nada. La alarma no está conectada."},
    {"RefusedAccess", [](UnitWindow& w) { w.library.denied = true; }, [](UnitWindow& w) { w.library.denied = false, w.library.Unplug(), w.library.Plug(); },
     "Alarma sin permiso de acceso", "No se ha enviado nada. La alarma está conectada en /dev/hidraw7, pero"},
    {"Interrupted", [](UnitWindow& w) { w.library.unplugAfterWrites = 11; }, [](UnitWindow& w) { w.library.Plug(), DeliverAll(), PickEntry(w.ALARMA, 0); },
     "Envío interrumpido", "La alarma dejó de responder durante el envío: llegaron 11 informes y el envío se detuvo en la dirección 10;", true},
    // Still attached, the unit stops taking reports: the eighth goes to address 8.
    {"RefusedWrite", [](UnitWindow& w) { w.library.refuseAfterWrites = 7; }, [](UnitWindow& w) { w.library.refuseAfterWrites = -1, PickEntry(w.ALARMA, 0); },
     "Envío interrumpido", "La alarma dejó de responder durante el envío: llegaron 7 informes y el envío se detuvo en la dirección 8;", true},
    {"BeyondMemory", [](UnitWindow& w) { PickEntry(w.ALARMA, 3), QSignalBlocker(w.Text1), w.Text1->setPlainText(QString(51, u'z')); },
     [](UnitWindow& w) { PickEntry(w.ALARMA, 0); }, "Envío incompleto",
     "La configuración no se envió completa: no cabe en la memoria de la alarma (dirección 256).", true},
    {"DesignPin", [](UnitWindow& w) { w.pin->setText("pin"); }, [](UnitWindow& w) { QTest::keyClicks(w.pin, "1"); }, "Escriba el PIN",
     "No se ha enviado nada: la casilla del PIN aún dice «pin»."},
    // Typed text selects nothing, even with Enter or focus out.
    {"MissingPick", [](UnitWindow& w) { TypeIntoSelector(w.ALARMA, "Zona 2"), QTest::keyClick(w.ALARMA->lineEdit(), Qt::Key_Return), w.Text1->setFocus(); },
     [](UnitWindow& w) { PickEntry(w.ALARMA, 1); },
     "Elija una zona de la lista", "No se ha enviado nada: elija una zona de la lista."},
    {"MissingOperatorPick", [](UnitWindow& w) { TypeIntoSelector(w.Combo1, "YOIGO"); }, [](UnitWindow& w) { PickEntry(w.Combo1, 1); },
     "Elija una compañía de la lista", "No se ha enviado nada: elija una compañía de la lista."},
    {"MissingBothPicks", [](UnitWindow& w) { TypeIntoSelector(w.ALARMA, "Zona 2"), TypeIntoSelector(w.Combo1, "YOIGO"); },
     [](UnitWindow& w) {  // the first pick leaves the other one said
         PickEntry(w.ALARMA, 1);
         EXPECT_EQ(w.notice->text(), QStringLiteral("Elija una compañía de la lista"));
         PickEntry(w.Combo1, 1);
     },
     "Elija zona y compañía", "No se ha enviado nada: elija una zona y una compañía de la lista."},
};

class SendNotices : public testing::TestWithParam<Said> {};

TEST_P(SendNotices, SayTheOutcomeUntilTheirTimeComes)
{
    const Said& said = GetParam();
    UnitWindow w;
    w.pin->clear();
    const std::size_t logged = w.model.Log().size();
    said.before(w);
    DeliverAll();
    QTest::mouseClick(w.b_e_1, Qt::LeftButton);
    DeliverAll();
    EXPECT_EQ(w.model.Log().size() > logged, said.reachesTheUnit);
    EXPECT_EQ(w.notice->text(), said.shortText);
    EXPECT_TRUE(w.notice->toolTip().startsWith(said.longText)) << w.notice->toolTip().toStdString();
    QTest::keyClicks(w.t_e_m_1, "5");
    EXPECT_EQ(w.notice->isVisible() && w.notice->toolTip().startsWith(said.longText), bool(said.causeGoes));
    if (said.causeGoes) {
        said.causeGoes(w), DeliverAll();
        EXPECT_FALSE(w.notice->isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(EachOutcome, SendNotices, testing::ValuesIn(Notices),
                         [](const testing::TestParamInfo<Said>& info) { return info.param.name; });

using SendOutcome = LoadedForm;

// The design text's refusal is a row above.
TEST_F(SendOutcome, AnEmptyPinBoxKeepsTheStoredPinATypedOneGoesFirstAndTheSentNoticeCanBeCopied)
{
    for (const auto& [pinText, firstAddress] : {std::pair{QString(), 5}, std::pair{QStringLiteral("4321"), 0}}) {
        pin->setText(pinText);
        const std::size_t before = library.written.size();
        QTest::mouseClick(b_e_1, Qt::LeftButton);
        ASSERT_GT(library.written.size(), before);
        EXPECT_EQ(library.written[before][AddressByte], firstAddress) << pinText.toStdString();
    }
    EXPECT_EQ(notice->accessibleDescription(), notice->toolTip());

    // Selected with the mouse and copied, as for a support request.
    const int textLeft = (notice->width() - notice->fontMetrics().horizontalAdvance(notice->text())) / 2;
    const int middle = notice->height() / 2;
    QTest::mousePress(notice, Qt::LeftButton, {}, QPoint(textLeft + 1, middle));
    QTest::mouseMove(notice, QPoint(notice->width() / 2, middle));
    QTest::mouseRelease(notice, Qt::LeftButton, {}, QPoint(notice->width() / 2, middle));
    ASSERT_TRUE(notice->hasSelectedText());
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(notice, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), notice->selectedText());
    EXPECT_TRUE(notice->isVisible());
}

TEST(NoticeBand, EveryNoticeFitsTheBandAtTheDefaultFontAndAtElevenPoints)
{
    const Notice notices[] = {
        UnitAbsentNotice(), UnitDeniedNotice(QStringLiteral("/dev/hidraw12")),
        MissingPickNotice(true, true), MissingPickNotice(true, false), MissingPickNotice(false, true),
        DesignPinNotice(), NothingSentNotice(UnitAbsentNotice()), InterruptedNotice(141, 254),
        BeyondMemoryNotice(256), SentNotice(QStringLiteral("4")),
    };
    const QFont defaultFont = QApplication::font();
    QFont eleven = defaultFont;
    eleven.setPointSizeF(11);
    for (const QFont& font : {defaultFont, eleven}) {
        QApplication::setFont(font);
        RecordingLibrary library;
        MainForm form(library);
        auto* label = Control<QLabel>(form, "aviso");
        NoticeBand band(*label);
        for (const Notice& notice : notices) {
            band.ShowAction(notice);
            const QRect room = label->contentsRect();
            EXPECT_LE(label->heightForWidth(room.width()), room.height())
                << notice.shortText.toStdString() << " at " << font.pointSizeF();
            for (const QString& word : notice.shortText.split(QRegularExpression(QStringLiteral("\\s+"))))
                EXPECT_LE(label->fontMetrics().horizontalAdvance(word), room.width())
                    << word.toStdString() << " at " << font.pointSizeF();
            EXPECT_EQ(label->toolTip(), notice.longText);
        }
        // Not shrunk to nothing: the band stays readable.
        EXPECT_GE(label->font().pointSizeF(), 6.0);
    }
    QApplication::setFont(defaultFont);
}

}  // namespace
