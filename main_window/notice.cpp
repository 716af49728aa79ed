// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/notice.h"

Notice UnitAbsentNotice()
{
    return {QStringLiteral("Alarma no conectada"),
            QStringLiteral("La alarma no está conectada. Conéctela a un puerto USB; este aviso "
                           "desaparece en cuanto se detecta.")};
}

Notice UnitDeniedNotice(const QString& devnode)
{
    const QString where = devnode.isEmpty() ? QString() : QStringLiteral(" en ") + devnode;
    return {QStringLiteral("Alarma sin permiso de acceso"),
            QStringLiteral("La alarma está conectada%1, pero este usuario no tiene permiso para "
                           "abrirla. El paquete Debian instala la regla udev que lo da; sin el "
                           "paquete: sudo cp packaging/70-velbrix-qorun.rules /etc/udev/rules.d/ "
                           "y sudo udevadm control --reload-rules; después desconecte la alarma "
                           "y vuelva a conectarla.")
                .arg(where)};
}

Notice MissingPickNotice(bool zoneMissing, bool operatorMissing)
{
    if (zoneMissing && operatorMissing)
        return {QStringLiteral("Elija zona y compañía"),
                QStringLiteral("No se ha enviado nada: elija una zona y una compañía de la lista.")};
    if (zoneMissing)
        return {QStringLiteral("Elija una zona de la lista"),
                QStringLiteral("No se ha enviado nada: elija una zona de la lista.")};
    return {QStringLiteral("Elija una compañía de la lista"),
            QStringLiteral("No se ha enviado nada: elija una compañía de la lista.")};
}

Notice DesignPinNotice()
{
    return {QStringLiteral("Escriba el PIN"),
            QStringLiteral("No se ha enviado nada: la casilla del PIN aún dice «pin». Escriba el "
                           "PIN de la tarjeta SIM. Si deja la casilla vacía, no se envía ningún "
                           "PIN y la alarma conserva el que tiene guardado.")};
}

Notice NothingSentNotice(const Notice& deviceState)
{
    return {deviceState.shortText, QStringLiteral("No se ha enviado nada. ") + deviceState.longText};
}

Notice InterruptedNotice(std::size_t reportsSent, std::int64_t address)
{
    return {QStringLiteral("Envío interrumpido"),
            QStringLiteral("La alarma dejó de responder durante el envío: llegaron %1 informes y "
                           "el envío se detuvo en la dirección %2; el resto no se envió. Conecte la "
                           "alarma y pulse de nuevo el botón de envío.")
                .arg(reportsSent)
                .arg(address)};
}

Notice BeyondMemoryNotice(std::int64_t address)
{
    return {QStringLiteral("Envío incompleto"),
            QStringLiteral("La configuración no se envió completa: no cabe en la memoria de la "
                           "alarma (dirección %1).")
                .arg(address)};
}

Notice SentNotice(const QString& zone)
{
    return {QStringLiteral("Configuración enviada"),
            QStringLiteral("La configuración de la zona %1 llegó completa a la alarma.").arg(zone)};
}

Notice SendingNotice(const QString& zone)
{
    return {QStringLiteral("Enviando configuración"),
            QStringLiteral("Se está enviando la configuración de la zona %1 a la alarma. Si la alarma deja "
                           "de aceptar informes, el envío se da por interrumpido a los pocos segundos.")
                .arg(zone)};
}
