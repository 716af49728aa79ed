// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's WebHID side over a navigator.hid the test plays (node --test).
const test = require('node:test');
const assert = require('node:assert');
const QorunWebHid = require(process.env.QORUN_WEBHID_JS || '../../usb_backend/web/webhid.js');

const unit = { vendorId: 0x1781, productId: 0x07d0 };

// A device whose sendReport waits until the test settles it.
function fakeDevice(ids = unit, { openFails = false } = {}) {
  const device = Object.assign({ opened: false, sends: [], oninputreport: null }, ids);
  device.open = async () => { if (openFails) throw new Error('busy'); device.opened = true; };
  device.sendReport = (reportId, data) =>
    new Promise((resolve, reject) => device.sends.push({ reportId, data: Array.from(data), resolve, reject }));
  device.report = (bytes) => {
    const data = new DataView(Uint8Array.from(bytes).buffer);
    device.oninputreport({ reportId: 0, data });
  };
  return device;
}

function fakeHid(granted) {
  const listeners = { connect: [], disconnect: [] };
  const hid = {
    granted,
    addEventListener: (type, f) => listeners[type].push(f),
    removeEventListener: (type, f) => { listeners[type] = listeners[type].filter((g) => g !== f); },
    getDevices: async () => granted,
    requestDevice: async ({ filters }) => { hid.asked = filters; return hid.offered || []; },
    fire: (type, device) => listeners[type].forEach((f) => f({ device })),
  };
  return hid;
}

function recorder() {
  const heard = [];
  const tell = {};
  for (const name of ['opened', 'refused', 'closed', 'input', 'sent'])
    tell[name] = (...args) => heard.push([name, ...args.map((a) => (a instanceof Uint8Array ? Array.from(a) : a))]);
  return { heard, tell };
}

const settle = () => new Promise((resolve) => setImmediate(resolve));

test('opens the granted units only, and a refused open is told as such', async () => {
  const mine = fakeDevice();
  const busy = fakeDevice(unit, { openFails: true });
  const other = fakeDevice({ vendorId: 1, productId: 2 });
  const { heard, tell } = recorder();
  await QorunWebHid.create(fakeHid([mine, other, busy]), unit, tell).watch();
  assert.deepStrictEqual(heard, [['opened', 1], ['refused', 2]]);
  assert.strictEqual(other.opened, false);
});

test('a connect while the unit is still being opened opens it once, not refused', async () => {
  const device = fakeDevice();
  let finish;
  // As the browser does: a second open while one is under way is refused.
  device.open = () => {
    if (finish) return Promise.reject(new Error('a state change is in progress'));
    return new Promise((resolve) => { finish = () => { device.opened = true; resolve(); }; });
  };
  const hid = fakeHid([device]);
  const { heard, tell } = recorder();
  const watched = QorunWebHid.create(hid, unit, tell).watch();
  await settle();
  hid.fire('connect', device);
  await settle();
  finish();
  await watched;
  await settle();
  assert.deepStrictEqual(heard, [['opened', 1]]);
});

test('each input report is handed on at once, in order, its eight bytes', async () => {
  const device = fakeDevice();
  const { heard, tell } = recorder();
  await QorunWebHid.create(fakeHid([device]), unit, tell).watch();
  device.report([1, 2, 3, 4, 5, 6, 7, 8]);
  device.report([9]);
  assert.deepStrictEqual(heard.slice(1), [['input', 1, [1, 2, 3, 4, 5, 6, 7, 8]], ['input', 1, [9, 0, 0, 0, 0, 0, 0, 0]]]);
});

test('one report is sent at a time, each after the one before was taken, a refusal told and the rest go on', async () => {
  const device = fakeDevice();
  const { heard, tell } = recorder();
  const hid = QorunWebHid.create(fakeHid([device]), unit, tell);
  await hid.watch();
  hid.send(1, [1, 1, 1, 1, 1, 1, 1, 1]);
  hid.send(1, [2, 2, 2, 2, 2, 2, 2, 2]);
  await settle();
  assert.strictEqual(device.sends.length, 1, 'the second went out before the first was taken');
  assert.deepStrictEqual(device.sends[0].data, [1, 1, 1, 1, 1, 1, 1, 1]);
  assert.strictEqual(device.sends[0].reportId, 0);
  device.sends[0].reject(new Error('stall'));
  await settle();
  assert.strictEqual(device.sends.length, 2);
  device.sends[1].resolve();
  await settle();
  assert.deepStrictEqual(heard.slice(1), [['sent', 1, false], ['sent', 1, true]]);
});

test('a unit pulled out is closed, its sends refused, and one plugged in again is a new device', async () => {
  const first = fakeDevice();
  const hid = fakeHid([first]);
  const { heard, tell } = recorder();
  const watch = QorunWebHid.create(hid, unit, tell);
  await watch.watch();
  hid.fire('disconnect', first);
  first.opened = false;
  await watch.send(1, [0, 0, 0, 0, 0, 0, 0, 0]);
  const again = fakeDevice();
  hid.fire('connect', again);
  await settle();
  assert.deepStrictEqual(heard, [['opened', 1], ['closed', 1], ['sent', 1, false], ['opened', 2]]);
  watch.unwatch();
  hid.fire('connect', fakeDevice());
  await settle();
  assert.strictEqual(heard.length, 4, 'heard after unwatch');
});

test('the chooser asks for the unit only and opens what the user grants', async () => {
  const hid = fakeHid([]);
  const { heard, tell } = recorder();
  const watch = QorunWebHid.create(hid, unit, tell);
  await watch.watch();
  hid.offered = [fakeDevice()];
  await watch.choose();
  assert.deepStrictEqual(hid.asked, [unit]);
  assert.deepStrictEqual(heard, [['opened', 1]]);
});
