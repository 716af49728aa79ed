// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The strip between the operator selector and the zone frame, where the
// window shows its notice: the text is fitted into the strip (smaller font,
// wrapped), selectable and copyable; the long text is the tooltip and the
// accessible description. It also tells the window of each user action, so
// a notice that lasts until then can go.

#include <QObject>
#include <functional>

#include "main_window/controls.h"

class QLabel;

class NoticeBand : public QObject, public NoticeArea {
public:
    explicit NoticeBand(QLabel& label);
    // `onUserAction` runs at each key or mouse press in the window other
    // than on the notice.
    void OnUserAction(std::function<void()> onUserAction) { onUserAction_ = std::move(onUserAction); }

    void ShowNotice(const std::u16string& shortText, const std::u16string& longText) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel& label_;
    std::function<void()> onUserAction_;
};
