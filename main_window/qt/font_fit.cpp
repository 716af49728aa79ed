// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/qt/font_fit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <functional>

namespace {

constexpr qreal SmallestPointSize = 6.0;
constexpr qreal Step = 0.5;
// QLineEdit keeps this much space between its frame and its text.
constexpr int LineEditTextMargin = 2;

void ShrinkUntil(QWidget& widget, const std::function<bool()>& fits, bool bold = false)
{
    QFont font;  // start again from the default
    font.setBold(bold);
    widget.setFont(font);
    while (!fits() && font.pointSizeF() - Step >= SmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - Step);
        widget.setFont(font);
    }
}

}  // namespace

void FitCaption(QPushButton& button)
{
    ShrinkUntil(button, [&] { return button.sizeHint().width() <= button.width(); });
}

void FitWrapped(QLabel& label)
{
    ShrinkUntil(label, [&] {
        const QRect room = label.contentsRect();
        const QRect needed = label.fontMetrics().boundingRect(
            room, static_cast<int>(label.alignment()) | Qt::TextWordWrap, label.text());
        return needed.width() <= room.width() && needed.height() <= room.height();
    }, true);
}

void FitToSample(QLineEdit& edit, const QString& sample)
{
    ShrinkUntil(edit, [&] {
        const int frame = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit);
        const int room = edit.contentsRect().width() - 2 * (frame + LineEditTextMargin);
        return edit.fontMetrics().horizontalAdvance(sample) <= room;
    });
}
