// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "virtual_unit/sample_data.h"

#include "virtual_unit/alarm_unit_model.h"

void LoadDemoUnit(AlarmUnitModel& unit)
{
    // YOIGO's number, so a read-back visibly moves the operator off the
    // start-up MOVISTAR. Texts are the unit's single-byte code page (\xF3 is ó).
    unit.StoreServiceCentre("622996111");
    unit.StorePin("1234");
    unit.StoreZone(1, "600111222", "Alarma: puerta principal abierta");
    unit.StoreZone(2, "611222333", "Alarma: ventana del sal\xF3n");
    unit.StoreZone(3, "622333444", "Humo en la cocina");
    unit.StoreZone(4, "633444555", "Garaje abierto\r\nAvisar al vecino");
}
