// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/notice_band.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "main_window/font_fit.h"

NoticeBand::NoticeBand(QLabel& label) : QObject(&label), label_(label)
{
    label_.setAlignment(Qt::AlignCenter);
    label_.setWordWrap(true);
    // Mouse selection only: the band keeps out of the keyboard tab order.
    label_.setTextInteractionFlags(Qt::TextSelectableByMouse);
    label_.hide();
}

void NoticeBand::ShowDeviceState(const Notice& notice)
{
    deviceState_ = notice;
    Refresh();
}

void NoticeBand::ClearDeviceState()
{
    ShowDeviceState({});
}

void NoticeBand::ShowAction(const Notice& notice, bool untilNextUserAction)
{
    action_ = notice;
    if (untilNextUserAction != watchingUser_) {
        watchingUser_ = untilNextUserAction;
        if (watchingUser_)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
    }
    Refresh();
}

void NoticeBand::ClearAction()
{
    ShowAction({});
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
        if (fromNotice || key == Qt::Key_Control ||
            key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta ||
            key == Qt::Key_AltGr)
            return false;
    }
    ClearAction();
    return false;
}

void NoticeBand::Refresh()
{
    const Notice& shown = ShowsAction() ? action_ : deviceState_;
    if (shown.shortText == label_.text() && shown.longText == label_.toolTip())
        return;
    label_.setText(shown.shortText);
    label_.setToolTip(shown.longText);
    label_.setAccessibleDescription(shown.longText);
    if (shown.shortText.isEmpty()) {
        label_.hide();
        return;
    }
    FitWrapped(label_);
    label_.show();
}
