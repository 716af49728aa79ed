// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// How the SMS text's line breaks look on the wire and in the text edit. On the
// wire (and in the length limit) a line break the user makes is CR LF, two
// code units; the text edit holds it as one paragraph separator.

#include <QString>
#include <cstddef>

// Code units a character the user types takes on the wire: 2 for a
// paragraph or line separator (sent as CR LF), 1 for anything else.
std::size_t WireUnitsOf(QChar displayed);
