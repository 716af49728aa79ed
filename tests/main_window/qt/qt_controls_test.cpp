// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Qt's widgets keep the promises the window relies on.

#include <QRegularExpression>
#include <QStyle>
#include <QTimer>

#include "device_link/qt/text_units.h"
#include "main_window/notice.h"
#include "main_window/qt/notice_band.h"
#include "main_window/qt/qt_controls.h"
#include "tests/main_window/qt/form_driver.h"

namespace {

using QtControls = LoadedForm;

TEST_F(QtControls, AListClicksOnEveryPickAlsoOfTheSameEntryAndNeverForTypedText)
{
    const std::size_t before = library.written.size();
    PickEntry(ALARMA, 2);
    PickEntry(ALARMA, 2);
    EXPECT_EQ(library.written.size(), before + 2);
    EXPECT_EQ(ALARMA->currentText(), QStringLiteral("Zona 3"));
    // Typed text that matches an entry selects nothing, even with Enter or focus out.
    TypeIntoSelector(ALARMA, QStringLiteral("Zona 2"));
    QTest::keyClick(ALARMA->lineEdit(), Qt::Key_Return);
    t_e_m_1->setFocus();
    TypeIntoSelector(Combo1, QStringLiteral("YOIGO"));
    QTest::keyClick(Combo1->lineEdit(), Qt::Key_Return);
    t_e_m_1->setFocus();
    EXPECT_EQ(ALARMA->currentText(), QStringLiteral("Zona 2"));
    EXPECT_EQ(library.written.size(), before + 2);
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_EQ(notice->text(), QStringLiteral("Elija zona y compañía"));
    // The program's pick shows the entry and clicks like the user's.
    form.SelectOperator(3);
    EXPECT_EQ(Combo1->currentText(), QStringLiteral("YOIGO"));
    EXPECT_EQ(notice->text(), QStringLiteral("Elija una zona de la lista"));
}

TEST_F(QtControls, TheSentNoticeGoesAtTheNextKeyButNotForCopyingItOrAModifier)
{
    pin->clear();
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_EQ(notice->text(), QStringLiteral("Configuración enviada"));
    EXPECT_EQ(notice->accessibleDescription(), notice->toolTip());
    EXPECT_TRUE(notice->toolTip().startsWith(QStringLiteral("La configuración de la zona 1 llegó completa")));

    // Copying it, or a lone modifier, is no new action.
    QTest::keyClick(notice, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(t_e_m_1, Qt::Key_Shift);
    EXPECT_TRUE(notice->isVisible());
    QTest::keyClicks(t_e_m_1, "5");
    EXPECT_FALSE(notice->isVisible());
}

TEST(QtFit, CaptionsFieldsAndEveryNoticeShowWhole)
{
    const Notice notices[] = {
        UnitAbsentNotice(), UnitDeniedNotice("/dev/hidraw12"), MissingPickNotice(true, true),
        MissingPickNotice(true, false), MissingPickNotice(false, true), DesignPinNotice(),
        NothingSentNotice(UnitAbsentNotice()), InterruptedNotice(141, 254), BeyondMemoryNotice(256),
        SentNotice(u"4"), SendingNotice(u"4"),
    };
    const QFont defaultFont = QApplication::font();
    QFont eleven = defaultFont;
    eleven.setPointSizeF(11);
    for (const QFont& font : {defaultFont, eleven}) {
        QApplication::setFont(font);
        RecordingLibrary library;
        QtMainWindow w(library);
        w.Load();
        auto* button = Control<QPushButton>(w, "b_e_1");
        EXPECT_EQ(button->text(), QStringLiteral("Env. Config. Zona 1"));
        EXPECT_LE(button->sizeHint().width(), button->width()) << font.pointSizeF();
        EXPECT_EQ(Control<QGroupBox>(w, "t_a_1")->title(), QStringLiteral("Zona Alarma 1"));
        for (const auto& [name, sample] : {std::pair{"pin", "1234"}, std::pair{"t_e_m_1", "123456789"}}) {
            auto* box = Control<QLineEdit>(w, name);
            box->setText(QString::fromLatin1(sample));
            const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
            EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()),
                      box->contentsRect().width() - 2 * (frame + 2))
                << name << " at " << font.pointSizeF();
        }
        auto* label = Control<QLabel>(w, "aviso");
        NoticeBand band(*label);
        for (const Notice& notice : notices) {
            band.ShowNotice(notice.shortText, notice.longText);
            const QRect room = label->contentsRect();
            const QString shortText = FromUnits(notice.shortText);
            EXPECT_LE(label->heightForWidth(room.width()), room.height())
                << shortText.toStdString() << " at " << font.pointSizeF();
            for (const QString& word : shortText.split(QRegularExpression(QStringLiteral("\\s+"))))
                EXPECT_LE(label->fontMetrics().horizontalAdvance(word), room.width())
                    << word.toStdString() << " at " << font.pointSizeF();
            EXPECT_EQ(label->toolTip(), FromUnits(notice.longText));
        }
        EXPECT_GE(label->font().pointSizeF(), 6.0);  // not shrunk to nothing
    }
    QApplication::setFont(defaultFont);
}

TEST(QtWindow, RunsPostedJobsOnItsLoopDropsThemOnceGoneAndClosingItEndsTheProgram)
{
    RecordingLibrary library;
    int ran = 0;
    {
        QtMainWindow gone(library);
        QtFormWindow(gone).PostToWindow([&] { ++ran; });
    }
    QtMainWindow window(library);
    window.Load();
    ShowAndActivate(window);
    QtFormWindow(window).PostToWindow([&] { ran += 10; });
    EXPECT_EQ(ran, 0);  // not before the loop runs
    // Closing the one window ends the event loop; 99 says it did not.
    QTimer::singleShot(0, &window, [&] { window.close(); });
    QTimer::singleShot(10000, qApp, [] { QApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(ran, 10);
    EXPECT_EQ(library.Count("Disconnect"), 1);
}

}  // namespace
