// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's elements for the web window: made, read and set by name, and
// what the user does to them told back.
var QorunPage = (function () {
  const kinds = ['label', 'line', 'lines', 'combo', 'frame', 'button', 'notice'];
  const events = { typed: 0, picked: 1, pressed: 2, touched: 3 };
  const px = (twips) => twips / 15 + 'px';
  const elements = new Map();
  let client = null;
  let tell = () => {};

  function place(element, left, top, width, height) {
    Object.assign(element.style, { left: px(left), top: px(top), width: px(width), height: px(height) });
  }
  function make(name, kindIndex, parent, left, top, width, height, text, tab) {
    const kind = kinds[kindIndex];
    const tag = { label: 'div', line: 'input', lines: 'textarea', combo: 'div', frame: 'div', button: 'button', notice: 'div' }[kind];
    const element = document.createElement(tag);
    element.id = name;
    element.className = kind;
    place(element, left, top, width, height);
    const entry = { kind, element, field: element, list: null };
    if (kind === 'combo') {
      entry.list = document.createElement('select');
      entry.list.tabIndex = -1;
      entry.field = document.createElement('input');
      entry.field.value = text;
      element.append(entry.list, entry.field);
      entry.field.addEventListener('input', () => { entry.list.selectedIndex = -1; });
      entry.list.addEventListener('change', () => {
        entry.field.value = entry.list.selectedIndex < 0 ? entry.field.value : entry.list.options[entry.list.selectedIndex].text;
        tell(name, events.picked);
      });
    } else if (kind === 'line' || kind === 'lines') {
      element.value = text;
      element.spellcheck = false;
      element.addEventListener('input', () => tell(name, events.typed));
    } else if (kind === 'frame') {
      // A fieldset would move what it holds down by its legend's height.
      element.append(document.createElement('span'));
      element.firstChild.className = 'caption';
      element.firstChild.textContent = text;
    } else {
      element.textContent = text;
      if (kind === 'button') element.addEventListener('click', () => tell(name, events.pressed));
    }
    if (tab >= 0) entry.field.tabIndex = tab + 1;
    elements.set(name, entry);
    (parent ? elements.get(parent).element : client).append(element);
  }
  const get = (name) => elements.get(name);
  return {
    events,
    // `onEvent(name, event)` hears what the user does inside `root`.
    start(root, onEvent) {
      client = root;
      tell = onEvent;
      const touched = (event) => { if (!event.target.closest('#notice')) onEvent('', events.touched); };
      root.addEventListener('keydown', touched, true);
      root.addEventListener('mousedown', touched, true);
    },
    make,
    value: (name) => get(name).field.value,
    setValue(name, text) { get(name).field.value = text; },
    setEnabled(name, on) {
      const entry = get(name);
      for (const element of [entry.element, entry.field, entry.list]) if (element) element.disabled = !on;
    },
    setShown(name, shown) { get(name).element.hidden = !shown; },
    setCaption(name, text) {
      const entry = get(name);
      (entry.kind === 'frame' ? entry.element.firstChild : entry.element).textContent = text;
    },
    setTitle(name, text) { get(name).element.title = text; },
    addEntry(name, text) { get(name).list.add(new Option(text)); get(name).list.selectedIndex = -1; },
    picked: (name) => get(name).list.selectedIndex,
    pick(name, index) {
      const entry = get(name);
      entry.list.selectedIndex = index;
      entry.field.value = entry.list.options[index].text;
    },
    focus(name) { get(name).field.focus(); },
  };
})();
if (typeof module !== 'undefined' && module.exports) module.exports = QorunPage;
