// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a press of the send button sends and what the window then says.

#include <QClipboard>

#include "tests/main_window/form_driver.h"

namespace {

using SendOutcome = LoadedForm;

// The design text's refusal is a row of SendNotices.
TEST_F(SendOutcome, AnEmptyPinBoxKeepsTheStoredPinATypedOneGoesFirstAndTheSentNoticeCanBeCopied)
{
    for (const auto& [pinText, firstAddress] : {std::pair{QString(), 5}, std::pair{QStringLiteral("4321"), 0}}) {
        pin->setText(pinText);
        const std::size_t before = library.written.size();
        QTest::mouseClick(b_e_1, Qt::LeftButton);
        ASSERT_GT(library.written.size(), before);
        EXPECT_EQ(library.written[before][AddressByte], firstAddress) << pinText.toStdString();
        EXPECT_EQ(notice->text(), QStringLiteral("Configuración enviada"));
    }
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
}

}  // namespace
