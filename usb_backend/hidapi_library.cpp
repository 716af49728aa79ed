#include "usb_backend/hidapi_library.h"

#include "usb_backend/hidapi_unit_port.h"

namespace {

UnitLinkOptions LinkOptions(const HidapiOptions& options)
{
    UnitLinkOptions link;
    link.diagnostics = options.diagnostics;
    return link;
}

}  // namespace

HidapiLibrary::HidapiLibrary() : HidapiLibrary(HidapiOptions{}) {}

HidapiLibrary::HidapiLibrary(HidapiOptions options)
    : UnitLink(std::make_unique<UdevHidrawWatch>(options.source), std::make_unique<HidapiOpener>(),
               LinkOptions(options))
{
}
