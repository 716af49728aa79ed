// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's side of WebHID: opens the granted units, follows their connect
// and disconnect, hands each input report on as it comes, and sends one
// output report at a time, each after the one before has been taken.
var QorunWebHid = (function () {
  function create(hid, filter, tell) {
    const ids = new Map();
    const devices = new Map();
    let next = 1;
    let watching = false;
    let chain = Promise.resolve();
    const matches = (device) => device.vendorId === filter.vendorId && device.productId === filter.productId;
    const idOf = (device) => {
      if (!ids.has(device)) {
        ids.set(device, next);
        devices.set(next++, device);
      }
      return ids.get(device);
    };
    // One open at a time a device: the browser refuses a second while the
    // first is under way, as when a connect comes during getDevices' open.
    const opening = new Map();
    function open(device) {
      if (!watching || !matches(device)) return Promise.resolve();
      if (!opening.has(device)) opening.set(device, openOnce(device).finally(() => opening.delete(device)));
      return opening.get(device);
    }
    async function openOnce(device) {
      const id = idOf(device);
      try {
        if (!device.opened) await device.open();
      } catch (e) {
        tell.refused(id);
        return;
      }
      if (!watching) return;
      device.oninputreport = (event) => {
        if (!watching || event.reportId !== 0) return;
        const bytes = new Uint8Array(8);
        bytes.set(new Uint8Array(event.data.buffer, event.data.byteOffset, Math.min(8, event.data.byteLength)));
        tell.input(id, bytes);
      };
      tell.opened(id);
    }
    const onConnect = (event) => open(event.device);
    const onDisconnect = (event) => {
      if (!ids.has(event.device)) return;
      event.device.oninputreport = null;
      if (watching) tell.closed(ids.get(event.device));
    };
    return {
      watch() {
        watching = true;
        hid.addEventListener('connect', onConnect);
        hid.addEventListener('disconnect', onDisconnect);
        return hid.getDevices().then((devices) => Promise.all(devices.map(open)));
      },
      unwatch() {
        watching = false;
        hid.removeEventListener('connect', onConnect);
        hid.removeEventListener('disconnect', onDisconnect);
      },
      // Nothing chosen, or the chooser closed, changes nothing.
      choose() {
        return hid.requestDevice({ filters: [filter] }).then((devices) => Promise.all(devices.map(open)), () => {});
      },
      send(id, bytes) {
        const data = Uint8Array.from(bytes);
        chain = chain
          .then(() => {
            const device = devices.get(id);
            return device && device.opened ? device.sendReport(0, data) : Promise.reject(new Error('gone'));
          })
          .then(() => tell.sent(id, true), () => tell.sent(id, false));
        return chain;
      },
    };
  }
  return { create };
})();
if (typeof module !== 'undefined' && module.exports) module.exports = QorunWebHid;
