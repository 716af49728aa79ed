// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/web/page_webhid.h"

#include <emscripten.h>

namespace {

BrowserHidListener* listener = nullptr;
InputBytes incoming{};

}  // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE void qorun_hid_opened(int device) { if (listener) listener->Opened(device); }
EMSCRIPTEN_KEEPALIVE void qorun_hid_refused(int device) { if (listener) listener->Refused(device); }
EMSCRIPTEN_KEEPALIVE void qorun_hid_closed(int device) { if (listener) listener->Closed(device); }
EMSCRIPTEN_KEEPALIVE std::uint8_t* qorun_hid_incoming() { return incoming.data(); }
EMSCRIPTEN_KEEPALIVE void qorun_hid_input(int device) { if (listener) listener->Input(device, incoming); }
EMSCRIPTEN_KEEPALIVE void qorun_hid_sent(int device, int taken) { if (listener) listener->Sent(device, taken != 0); }
}

EM_JS(int, qorun_hid_supported, (), { return typeof navigator !== 'undefined' && !!navigator.hid ? 1 : 0; });
EM_JS(void, qorun_hid_watch, (int vendorId, int productId), {
  if (!Module.qorunHid)
    Module.qorunHid = QorunWebHid.create(navigator.hid, {vendorId : vendorId, productId : productId}, {
      opened : function(id) { Module._qorun_hid_opened(id); },
      refused : function(id) { Module._qorun_hid_refused(id); },
      closed : function(id) { Module._qorun_hid_closed(id); },
      input : function(id, bytes) { HEAPU8.set(bytes, Module._qorun_hid_incoming()); Module._qorun_hid_input(id); },
      sent : function(id, taken) { Module._qorun_hid_sent(id, taken ? 1 : 0); }
    });
  Module.qorunHid.watch();
});
EM_JS(void, qorun_hid_unwatch, (), { if (Module.qorunHid) Module.qorunHid.unwatch(); });
EM_JS(void, qorun_hid_choose, (), { if (Module.qorunHid) Module.qorunHid.choose(); });
EM_JS(void, qorun_hid_send, (int device, const std::uint8_t* data), {
  Module.qorunHid.send(device, HEAPU8.slice(data, data + 8));
});

bool PageWebHid::Supported() const { return qorun_hid_supported() != 0; }

void PageWebHid::Watch(HidIdentity unit, BrowserHidListener& to)
{
    listener = &to;
    qorun_hid_watch(unit.vendorId, unit.productId);
}

void PageWebHid::Unwatch()
{
    qorun_hid_unwatch();
    listener = nullptr;
}

void PageWebHid::Choose(HidIdentity) { qorun_hid_choose(); }

void PageWebHid::Send(int device, const InputBytes& data) { qorun_hid_send(device, data.data()); }
