// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Builds the window's Qt widgets as the layout fixes them: positions in
// twips, initial texts, list entries and tab order.

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "device_link/qt/text_units.h"
#include "main_window/main_form_layout.h"
#include "main_window/qt/entry_selector.h"
#include "main_window/qt/font_fit.h"
#include "main_window/qt/message_text_field.h"
#include "main_window/qt/notice_band.h"
#include "main_window/qt/qt_main_window.h"
#include "main_window/qt/twips.h"
#include "main_window/qt/whole_characters.h"
#include "protocol/report_layout.h"

namespace {

QString Text(std::u16string_view units) { return FromUnits(std::u16string(units)); }

template <typename Widget>
Widget* Place(QWidget* parent, const Layout::Place& place)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(place.name));
    widget->setGeometry(PixelRect(place.rect));
    return widget;
}

QLabel* CentredLabel(QWidget* parent, const Layout::Place& place)
{
    auto* label = Place<QLabel>(parent, place);
    label->setText(Text(place.text));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLineEdit* LineBox(QWidget* parent, const Layout::Place& place, std::u16string_view sample)
{
    auto* edit = Place<QLineEdit>(parent, place);
    edit->setValidator(new WholeCharacters(edit));
    edit->setText(Text(place.text));
    FitToSample(*edit, Text(sample));
    return edit;
}

template <typename Table, typename DataOf>
QComboBox* Selector(QWidget* parent, const Layout::Place& place, const Table& table, DataOf dataOf)
{
    auto* box = Place<QComboBox>(parent, place);
    box->setEditable(true);
    for (const auto& entry : table)
        box->addItem(Text(entry.text), QVariant(dataOf(entry)));
    box->setCurrentIndex(-1);  // the first addItem made entry 0 current
    box->setEditText(Text(place.text));
    return box;
}

}  // namespace

void QtMainWindow::BuildControls()
{
    setWindowTitle(Text(Layout::Caption));
    // A fixed dialog frame with only a close box; a tool window stays out of
    // the task bar.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // Qt lets no tool window end the program; this one is the program.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(FromTwips(Layout::ClientWidth), FromTwips(Layout::ClientHeight));

    Label2 = CentredLabel(this, Layout::Label2);
    pin = LineBox(this, Layout::pin, Layout::PinSample);
    Label1 = CentredLabel(this, Layout::Label1);
    Combo1 = Selector(this, Layout::Combo1, OperatorTable, [](const OperatorEntry& entry) { return entry.smsc; });

    t_a_1 = Place<QGroupBox>(this, Layout::t_a_1);
    t_a_1->setTitle(Text(Layout::t_a_1.text));
    t_e_m_1 = LineBox(t_a_1, Layout::t_e_m_1, Layout::PhoneSample);
    Text1 = Place<QPlainTextEdit>(t_a_1, Layout::Text1);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setTabChangesFocus(true);
    message_ = new MessageTextField(*Text1, TextMaxLength);
    message_->SetText(std::u16string(Layout::Text1.text));
    b_e_1 = Place<QPushButton>(t_a_1, Layout::b_e_1);
    b_e_1->setText(Text(Layout::b_e_1.text));
    FitCaption(*b_e_1);
    b_e_1->setAutoDefault(false);
    b_e_1->setDefault(false);

    ALARMA = Selector(this, Layout::ALARMA, ZoneTable, [](const ZoneEntry& entry) { return entry.zone; });

    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("aviso"));
    notice_->setGeometry(PixelRect(Layout::Notice));
    notices_ = new NoticeBand(*notice_);
    operators_ = new EntrySelector(*Combo1);
    zones_ = new EntrySelector(*ALARMA);

    SetTabOrder();
    DescribeForScreenReaders();
    CentreOnScreen();
}

void QtMainWindow::SetTabOrder()
{
    // The frame and the labels have places in the order but take no focus.
    QWidget::setTabOrder(t_e_m_1, Text1);
    QWidget::setTabOrder(Text1, b_e_1);
    QWidget::setTabOrder(b_e_1, ALARMA);
    QWidget::setTabOrder(ALARMA, Combo1);
    QWidget::setTabOrder(Combo1, pin);
    t_e_m_1->setFocus();
}

void QtMainWindow::DescribeForScreenReaders()
{
    Label2->setBuddy(pin);
    Label1->setBuddy(Combo1);
    Label2->setAccessibleName(QStringLiteral("Pin"));
    pin->setAccessibleName(QStringLiteral("PIN de la tarjeta SIM"));
    Label1->setAccessibleName(QStringLiteral("Compañía"));
    Combo1->setAccessibleName(QStringLiteral("Compañía telefónica"));
    t_a_1->setAccessibleName(QStringLiteral("Zona de alarma"));
    t_e_m_1->setAccessibleName(QStringLiteral("Teléfono de destino"));
    Text1->setAccessibleName(QStringLiteral("Texto del SMS"));
    b_e_1->setAccessibleName(QStringLiteral("Enviar la configuración de la zona"));
    ALARMA->setAccessibleName(QStringLiteral("Zona de alarma"));
    notice_->setAccessibleName(QStringLiteral("Aviso"));
}

void QtMainWindow::CentreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
}
