// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a press of the send button sends and what the window then says.

#include <QClipboard>

#include "tests/main_window/form_driver.h"

namespace {

using SendOutcome = LoadedForm;

TEST_F(SendOutcome, ThePinBoxDecidesWhatGoesOut)
{
    struct Case {
        QString pinText;
        bool sends;
        int firstAddress;  // of the first write
        QString notice;
    };
    const Case cases[] = {
        {QStringLiteral("pin"), false, 0, QStringLiteral("Escriba el PIN")},
        {QString(), true, 5, QStringLiteral("Configuración enviada")},  // the stored PIN stays
        {QStringLiteral("4321"), true, 0, QStringLiteral("Configuración enviada")},
    };
    for (const Case& c : cases) {
        pin->setText(c.pinText);
        const std::size_t before = library.written.size();
        QTest::mouseClick(b_e_1, Qt::LeftButton);
        EXPECT_EQ(library.written.size() > before, c.sends) << c.pinText.toStdString();
        if (library.written.size() > before) {
            EXPECT_EQ(library.written[before][AddressByte], c.firstAddress) << c.pinText.toStdString();
        }
        EXPECT_EQ(notice->text(), c.notice) << c.pinText.toStdString();
    }
    pin->setText(QStringLiteral("pin"));
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_TRUE(notice->toolTip().contains(QStringLiteral("conserva")));
    QTest::keyClicks(pin, "1");  // typing the PIN removes the cause
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(SendOutcome, AnInterruptedUploadSendsNothingAfterTheRefusedWriteAndSaysWhereItStopped)
{
    pin->setText(QStringLiteral("12"));
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    const std::vector<Report> whole(library.written.begin() + 1, library.written.end());

    library.written.resize(1);
    library.acceptedWrites = 1 + 7;  // the request, then 7 of the upload
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_EQ(std::vector<Report>(library.written.begin() + 1, library.written.end()),
              std::vector<Report>(whole.begin(), whole.begin() + 7));
    EXPECT_EQ(notice->text(), QStringLiteral("Envío interrumpido"));
    const int stoppedAt = whole[7][AddressByte];
    EXPECT_TRUE(notice->toolTip().contains(QStringLiteral("dirección %1").arg(stoppedAt)))
        << notice->toolTip().toStdString();
}

TEST_F(SendOutcome, SentGoesAtTheNextUserActionButNotWhenTheNoticeIsSelected)
{
    pin->clear();
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    ASSERT_EQ(notice->text(), QStringLiteral("Configuración enviada"));
    EXPECT_EQ(notice->accessibleDescription(), notice->toolTip());

    // Selected with the mouse and copied, as for a support request.
    const int textLeft =
        (notice->width() - notice->fontMetrics().horizontalAdvance(notice->text())) / 2;
    const int middle = notice->height() / 2;
    QTest::mousePress(notice, Qt::LeftButton, {}, QPoint(textLeft + 1, middle));
    QTest::mouseMove(notice, QPoint(notice->width() / 2, middle));
    QTest::mouseRelease(notice, Qt::LeftButton, {}, QPoint(notice->width() / 2, middle));
    ASSERT_TRUE(notice->hasSelectedText());
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(notice, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), notice->selectedText());
    EXPECT_TRUE(notice->isVisible());

    QTest::keyClicks(t_e_m_1, "5");
    EXPECT_FALSE(notice->isVisible());
}

}  // namespace
