// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The strip between the operator selector and the zone frame, where the
// window tells the user what it knows: the unit's state, which stays while
// its cause lasts, and the outcome of the last action, which takes
// precedence while it is shown. The text is fitted into the strip (smaller
// font, wrapped), selectable and copyable; the long text is the tooltip and
// the accessible description.

#include <QObject>

#include "main_window/notice.h"

class QLabel;

class NoticeBand : public QObject {
public:
    explicit NoticeBand(QLabel& label);

    void ShowDeviceState(const Notice& notice);
    void ClearDeviceState();

    // With `untilNextUserAction`, the notice goes at the next key or mouse
    // press anywhere in the window other than on the notice itself.
    void ShowAction(const Notice& notice, bool untilNextUserAction = false);
    void ClearAction();
    bool ShowsAction() const { return !action_.shortText.isEmpty(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();

    QLabel& label_;
    Notice deviceState_;
    Notice action_;
    bool watchingUser_ = false;
};
