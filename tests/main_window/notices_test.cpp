// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every notice is readable whole inside the window's notice band.

#include <QFontMetrics>
#include <QRegularExpression>

#include "main_window/notice.h"
#include "main_window/notice_band.h"
#include "tests/main_window/form_driver.h"

namespace {

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
