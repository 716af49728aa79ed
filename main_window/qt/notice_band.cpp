// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/qt/notice_band.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "device_link/qt/text_units.h"
#include "main_window/qt/font_fit.h"

NoticeBand::NoticeBand(QLabel& label) : QObject(&label), label_(label)
{
    label_.setAlignment(Qt::AlignCenter);
    label_.setWordWrap(true);
    // Mouse selection only: the band keeps out of the keyboard tab order.
    label_.setTextInteractionFlags(Qt::TextSelectableByMouse);
    label_.hide();
    qApp->installEventFilter(this);
}

void NoticeBand::ShowNotice(const std::u16string& shortText, const std::u16string& longText)
{
    label_.setText(FromUnits(shortText));
    label_.setToolTip(FromUnits(longText));
    label_.setAccessibleDescription(FromUnits(longText));
    if (shortText.empty()) {
        label_.hide();
        return;
    }
    FitWrapped(label_);
    label_.show();
}

bool NoticeBand::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonDblClick && type != QEvent::Wheel)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != label_.window() || widget == &label_)
        return false;
    if (type == QEvent::KeyPress) {
        // Copying the notice (its keys pass on to the window) or a lone
        // modifier is no new action.
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool fromNotice = QApplication::focusWidget() == &label_ && widget->isAncestorOf(&label_);
        if (fromNotice || key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt ||
            key == Qt::Key_Meta || key == Qt::Key_AltGr)
            return false;
    }
    if (onUserAction_)
        onUserAction_();
    return false;
}
