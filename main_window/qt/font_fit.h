// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The layout's controls are sized for a smaller system font than most
// desktops use: with the default font the send button loses the zone number
// of its caption off both edges and the phone box shows eight of nine
// digits. Such a control keeps the default family and only steps its size
// down until its content fits.

class QLabel;
class QLineEdit;
class QPushButton;
class QString;

// Fits the button's current caption.
void FitCaption(QPushButton& button);
// Fits the label's text, bold, wrapped at word boundaries if need be.
void FitWrapped(QLabel& label);
// Fits `sample`, the longest text the box is meant to show whole.
void FitToSample(QLineEdit& edit, const QString& sample);
