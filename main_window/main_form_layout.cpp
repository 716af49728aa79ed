// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Builds the window's controls as the layout fixes them: positions in twips,
// initial texts, list entries, limits and tab order.

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "main_window/font_fit.h"
#include "main_window/entry_selector.h"
#include "main_window/main_form.h"
#include "main_window/message_text_field.h"
#include "main_window/notice_band.h"
#include "main_window/whole_characters.h"
#include "device_link/text_units.h"
#include "main_window/twips.h"
#include "protocol/report_layout.h"

namespace {

template <typename Widget>
Widget* Place(QWidget* parent, const char* name, QRect geometry)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* CentredLabel(QWidget* parent, const char* name, QRect geometry, const QString& text)
{
    auto* label = Place<QLabel>(parent, name, geometry);
    label->setText(text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

template <typename Table, typename DataOf>
QComboBox* Selector(QWidget* parent, const char* name, QRect geometry, const Table& table,
                    DataOf dataOf, const QString& editText)
{
    auto* box = Place<QComboBox>(parent, name, geometry);
    box->setEditable(true);
    for (const auto& entry : table)
        box->addItem(FromUnits(std::u16string(entry.text)), QVariant(dataOf(entry)));
    box->setCurrentIndex(-1);  // the first addItem made entry 0 current
    box->setEditText(editText);
    return box;
}

}  // namespace

void MainForm::BuildControls()
{
    setWindowTitle(QStringLiteral("Velbrix Qorun"));
    // A fixed dialog frame with only a close box; a tool window stays out of
    // the task bar.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Qt lets no tool window end the program; this one is the program.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(TwipSize(2865, 5070));

    Label2 = CentredLabel(this, "Label2", TwipRect(720, 120, 1215, 255), QStringLiteral("Pin"));
    pin = Place<QLineEdit>(this, "pin", TwipRect(1080, 360, 495, 285));
    // The limit holds from the start, also for a first paste.
    pin->setMaxLength(static_cast<int>(PinMaxLength));
    pin->setValidator(new WholeCharacters(pin));
    pin->setText(QString::fromUtf16(PinDesignText));

    Label1 = CentredLabel(this, "Label1", TwipRect(720, 840, 1335, 255),
                          QStringLiteral("Compañia"));
    Combo1 = Selector(this, "Combo1", TwipRect(720, 1080, 1455, 315), OperatorTable,
                      [](const OperatorEntry& entry) { return entry.smsc; },
                      QStringLiteral("Compañia"));

    t_a_1 = Place<QGroupBox>(this, "t_a_1", TwipRect(360, 1680, 2055, 2775));
    t_a_1->setTitle(QStringLiteral("Zona de Alarma 1"));
    t_e_m_1 = Place<QLineEdit>(t_a_1, "t_e_m_1", TwipRect(480, 600, 975, 285));
    t_e_m_1->setMaxLength(static_cast<int>(PhoneMaxLength));
    t_e_m_1->setValidator(new WholeCharacters(t_e_m_1));
    t_e_m_1->setText(QStringLiteral("Tlf envio"));
    FitToSample(*t_e_m_1, QString(static_cast<int>(PhoneMaxLength), QLatin1Char('8')));
    Text1 = Place<QPlainTextEdit>(t_a_1, "Text1", TwipRect(120, 1080, 1575, 1095));
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setTabChangesFocus(true);
    message_ = new MessageTextField(*Text1, TextMaxLength);
    message_->SetText(u"Texto a enviar\r\n");
    b_e_1 = Place<QPushButton>(t_a_1, "b_e_1", TwipRect(120, 2280, 1575, 375));
    b_e_1->setText(QStringLiteral("Env. Config. zona 1"));
    FitCaption(*b_e_1);
    b_e_1->setAutoDefault(false);
    b_e_1->setDefault(false);

    ALARMA = Selector(this, "ALARMA", TwipRect(600, 4560, 1575, 315), ZoneTable,
                      [](const ZoneEntry& entry) { return entry.zone; },
                      QStringLiteral("alarma"));

    // The free band between the operator selector and the zone frame.
    notice_ = Place<QLabel>(this, "aviso", QRect(0, Combo1->geometry().bottom() + 1, width(),
                                                 t_a_1->y() - Combo1->geometry().bottom() - 1));
    notices_ = new NoticeBand(*notice_);

    operators_ = new EntrySelector(*Combo1, [this] { OnOperatorSelected(); });
    zones_ = new EntrySelector(*ALARMA, [this] { OnZoneSelected(); });
    connect(b_e_1, &QPushButton::clicked, this, &MainForm::OnSendClicked);
    connect(pin, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (sendNotice_ == SendNotice::DesignPin && text != QStringView(PinDesignText))
            ShowSendNotice(SendNotice::None, {});
    });

    SetTabOrder();
    DescribeForScreenReaders();
    CentreOnScreen();
}

void MainForm::SetTabOrder()
{
    // The frame and the labels have places in the order but take no focus.
    QWidget::setTabOrder(t_e_m_1, Text1);
    QWidget::setTabOrder(Text1, b_e_1);
    QWidget::setTabOrder(b_e_1, ALARMA);
    QWidget::setTabOrder(ALARMA, Combo1);
    QWidget::setTabOrder(Combo1, pin);
    t_e_m_1->setFocus();
}

void MainForm::DescribeForScreenReaders()
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

void MainForm::CentreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    screen->availableGeometry()));
}
