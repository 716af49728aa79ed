// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/notice.h"

#include "protocol/report_layout.h"
#include "protocol/utf8_text.h"

Notice UnitAbsentNotice()
{
    return {u"Alarma no conectada",
            u"La alarma no está conectada. Conéctela a un puerto USB; este aviso desaparece en cuanto se "
            u"detecta."};
}

Notice UnitDeniedNotice(const std::string& devnode)
{
#ifdef _WIN32
    // Any user may open the unit on Windows: a refused open means another
    // program holds it for itself. Its device path tells the user nothing.
    static_cast<void>(devnode);
    return {u"Alarma en uso por otro programa",
            u"La alarma está conectada, pero otro programa la tiene abierta y no deja usarla. Cierre ese "
            u"programa y vuelva a intentarlo."};
#endif
    // The path as the user reads it; a byte that is no UTF-8 shows as U+FFFD.
    const std::u16string where = devnode.empty() ? std::u16string() : u" en " + FromUtf8(devnode);
    return {u"Alarma sin permiso de acceso",
            u"La alarma está conectada" + where +
                u", pero este usuario no tiene permiso para abrirla. El paquete Debian instala la regla udev "
                u"que lo da; sin el paquete: sudo cp packaging/70-velbrix-qorun.rules /etc/udev/rules.d/ y "
                u"sudo udevadm control --reload-rules; después desconecte la alarma y vuelva a conectarla."};
}

Notice MissingPickNotice(bool zoneMissing, bool operatorMissing)
{
    if (zoneMissing && operatorMissing)
        return {u"Elija zona y compañía", u"No se ha enviado nada: elija una zona y una compañía de la lista."};
    if (zoneMissing)
        return {u"Elija una zona de la lista", u"No se ha enviado nada: elija una zona de la lista."};
    return {u"Elija una compañía de la lista", u"No se ha enviado nada: elija una compañía de la lista."};
}

Notice DesignPinNotice()
{
    return {u"Escriba el PIN",
            u"No se ha enviado nada: la casilla del PIN aún dice «pin». Escriba el PIN de la tarjeta SIM. "
            u"Si deja la casilla vacía, no se envía ningún PIN y la alarma conserva el que tiene guardado."};
}

Notice NothingSentNotice(const Notice& deviceState)
{
    return {deviceState.shortText, u"No se ha enviado nada. " + deviceState.longText};
}

Notice InterruptedNotice(std::size_t reportsSent, std::int64_t address)
{
    return {u"Envío interrumpido",
            u"La alarma dejó de responder durante el envío: llegaron " +
                DecimalText(static_cast<std::int64_t>(reportsSent)) + u" informes y el envío se detuvo en la dirección " +
                DecimalText(address) +
                u"; el resto no se envió. Conecte la alarma y pulse de nuevo el botón de envío."};
}

Notice BeyondMemoryNotice(std::int64_t address)
{
    return {u"Envío incompleto",
            u"La configuración no se envió completa: no cabe en la memoria de la alarma (dirección " +
                DecimalText(address) + u")."};
}

Notice SentNotice(const std::u16string& zone)
{
    return {u"Configuración enviada", u"La configuración de la zona " + zone + u" llegó completa a la alarma."};
}

Notice SendingNotice(const std::u16string& zone)
{
    return {u"Enviando configuración",
            u"Se está enviando la configuración de la zona " + zone +
                u" a la alarma. Si la alarma deja de aceptar informes, el envío se da por interrumpido a los "
                u"pocos segundos."};
}
