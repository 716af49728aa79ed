#include "main_window/main_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "main_window/font_fit.h"
#include "main_window/entry_selector.h"
#include "main_window/message_text_field.h"
#include "main_window/text_units.h"
#include "protocol/report_layout.h"
#include "protocol/zone_upload.h"

MainForm::MainForm(HidLibrary& library, QWidget* parent)
    : QWidget(parent),
      ConfiguratorNotifications(library, state_, *this),
      library_(library),
      deviceLink_(library)
{
    BuildControls();
}

MainForm::~MainForm()
{
    // A window destroyed without being closed must not leave the library
    // posting events to it.
    UnloadDeviceLink();
}

void MainForm::Load()
{
    // The answer to the start-up request is not shown; decoding starts with
    // the first zone picked once the link is attached.
    SetDecoding(false);
    operators_->Select(0);
    zones_->Select(0);  // asks for zone 1 before the link is attached
    state_.SelectedSmsc = DecimalText(*operators_->SelectedData());
    state_.SelectedZone = DecimalText(*zones_->SelectedData());
    t_a_1->setTitle(QStringLiteral("Zona Alarma ") + FromUnits(state_.SelectedZone));
    t_e_m_1->setText(QStringLiteral("Tlf env."));
    message_->SetText(u"Texto a enviar");
    deviceLink_.AttachDeviceLink(this);
    linkAttached_ = true;
}

void MainForm::OnZoneSelected()
{
    ClearNotice();
    message_->SetText(u"");
    t_e_m_1->setText(QString());
    state_.ReceivedSmsc.clear();
    state_.SelectedZone = DecimalText(*zones_->SelectedData());
    const QString zone = FromUnits(state_.SelectedZone);
    t_a_1->setTitle(QStringLiteral("Zona Alarma ") + zone);
    b_e_1->setText(QStringLiteral("Env. Config. Zona ") + zone);
    FitCaption(*b_e_1);
    if (linkAttached_)
        SetDecoding(true);
    RequestZoneReadBack(state_, library_);
}

void MainForm::OnOperatorSelected()
{
    state_.SelectedSmsc = DecimalText(*operators_->SelectedData());
}

void MainForm::OnSendClicked()
{
    const auto zone = zones_->SelectedData();
    const auto smsc = operators_->SelectedData();
    // Typed text in a selector carries no entry data to send; say which list
    // needs a pick instead of sending a half-defined configuration.
    if (!zone && !smsc) {
        ShowNotice(QStringLiteral("Elija zona y compañía"),
                   QStringLiteral("No se ha enviado nada: elija una zona y una compañía de la lista."));
        return;
    }
    if (!zone) {
        ShowNotice(QStringLiteral("Elija una zona de la lista"),
                   QStringLiteral("No se ha enviado nada: elija una zona de la lista."));
        return;
    }
    if (!smsc) {
        ShowNotice(QStringLiteral("Elija una compañía de la lista"),
                   QStringLiteral("No se ha enviado nada: elija una compañía de la lista."));
        return;
    }
    const UploadOutcome outcome =
        SendZoneConfiguration(state_, library_, *zone, *smsc, ToUnits(pin->text()),
                              PhoneText(), MessageText());
    if (outcome.Complete()) {
        ClearNotice();
        return;
    }
    if (outcome.refusedAtAddress) {
        ShowNotice(QStringLiteral("Alarma no conectada"),
                   QStringLiteral("La alarma no recibió la configuración completa "
                                  "(se detuvo en la dirección %1).")
                       .arg(*outcome.refusedAtAddress));
        return;
    }
    ShowNotice(QStringLiteral("Envío incompleto"),
               QStringLiteral("La configuración no se envió completa: no cabe en la memoria "
                              "de la alarma (dirección %1).")
                   .arg(*outcome.stoppedAtAddress));
}

void MainForm::ShowNotice(const QString& shortText, const QString& fullText)
{
    notice_->setText(shortText);
    notice_->setToolTip(fullText);
    notice_->setAccessibleDescription(fullText);
    notice_->show();
}

void MainForm::ClearNotice()
{
    notice_->hide();
    notice_->clear();
    notice_->setToolTip(QString());
    notice_->setAccessibleDescription(QString());
}

void MainForm::SelectOperator(int index)
{
    operators_->Select(index);
}

std::u16string MainForm::PhoneText() const
{
    return ToUnits(t_e_m_1->text());
}

void MainForm::SetPhoneText(const std::u16string& text)
{
    t_e_m_1->setText(FromUnits(text));  // the line edit cuts it to its limit
}

std::u16string MainForm::MessageText() const
{
    return message_->Text();
}

void MainForm::SetMessageText(const std::u16string& text)
{
    message_->SetText(text);
}

void MainForm::closeEvent(QCloseEvent* event)
{
    UnloadDeviceLink();
    event->accept();  // closing is never refused
}

void MainForm::UnloadDeviceLink()
{
    if (!linkAttached_)
        return;
    linkAttached_ = false;
    deviceLink_.DetachDeviceLink();
}
