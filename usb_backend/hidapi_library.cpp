// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/hidapi_library.h"

#include "usb_backend/hidapi_unit_port.h"

namespace {

UnitLinkOptions LinkOptions(HidapiOptions options)
{
    UnitLinkOptions link;
    link.diagnostics = options.diagnostics;
    link.onlyDevnode = std::move(options.onlyDevnode);
    return link;
}

}  // namespace

HidapiLibrary::HidapiLibrary() : HidapiLibrary(HidapiOptions{}) {}

HidapiLibrary::HidapiLibrary(HidapiOptions options)
    : UnitLink(std::make_unique<UdevHidrawWatch>(options.source), std::make_unique<HidapiOpener>(),
               LinkOptions(std::move(options)))
{
}
