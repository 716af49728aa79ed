// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the window tells the user in its notice band: a short text that fits
// the band and a long one for the tooltip and screen readers.

#include <QString>
#include <cstdint>

struct Notice {
    QString shortText;
    QString longText;
};

// Device state.
Notice UnitAbsentNotice();
Notice UnitDeniedNotice(const QString& devnode);

// Why a press of the send button sent nothing, or how far it got.
Notice MissingPickNotice(bool zoneMissing, bool operatorMissing);
Notice DesignPinNotice();
Notice NothingSentNotice(const Notice& deviceState);
Notice InterruptedNotice(std::size_t reportsSent, std::int64_t address);
Notice BeyondMemoryNotice(std::int64_t address);
Notice SentNotice(const QString& zone);
Notice SendingNotice(const QString& zone);
