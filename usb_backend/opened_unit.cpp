// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/opened_unit.h"

OpenedUnit::OpenedUnit(std::unique_ptr<UnitPort> port, DeviceHandle handle, std::chrono::milliseconds readTimeout,
                       InputHandler onInput)
    : port_(std::move(port)),
      handle_(handle),
      reader_(*port_, readTimeout, [handle, onInput = std::move(onInput)](const InputBytes& bytes) {
          onInput(handle, bytes);
      })
{
}
