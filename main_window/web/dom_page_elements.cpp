// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/web/dom_page_elements.h"

#include <emscripten.h>

#include <cstdlib>

namespace {

std::function<void(const std::string&, PageEvent)> listener;

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void qorun_page_event(const char* name, int event)
{
    if (listener)
        listener(name, static_cast<PageEvent>(event));
}

// Texts cross as UTF-16: a pointer and a length in code units.
EM_JS(void, qorun_page_start, (), {
  QorunPage.start(document.getElementById('client'), function(name, event) {
    Module.ccall('qorun_page_event', null, [ 'string', 'number' ], [ name, event ]);
  });
});
EM_JS(void, qorun_page_make,
      (const char* name, int kind, const char* parent, int left, int top, int width, int height,
       const char16_t* text, int length, int tab),
      {
        QorunPage.make(UTF8ToString(name), kind, UTF8ToString(parent), left, top, width, height,
                       UTF16ToString(text, 2 * length), tab);
      });
EM_JS(char16_t*, qorun_page_value, (const char* name, int* length), {
  const text = QorunPage.value(UTF8ToString(name));
  const bytes = 2 * text.length + 2;
  const at = _malloc(bytes);
  stringToUTF16(text, at, bytes);
  HEAP32[length >> 2] = text.length;
  return at;
});
EM_JS(void, qorun_page_set_value, (const char* name, const char16_t* text, int length),
      { QorunPage.setValue(UTF8ToString(name), UTF16ToString(text, 2 * length)); });
EM_JS(void, qorun_page_set_caption, (const char* name, const char16_t* text, int length),
      { QorunPage.setCaption(UTF8ToString(name), UTF16ToString(text, 2 * length)); });
EM_JS(void, qorun_page_set_title, (const char* name, const char16_t* text, int length),
      { QorunPage.setTitle(UTF8ToString(name), UTF16ToString(text, 2 * length)); });
EM_JS(void, qorun_page_add_entry, (const char* name, const char16_t* text, int length),
      { QorunPage.addEntry(UTF8ToString(name), UTF16ToString(text, 2 * length)); });
EM_JS(void, qorun_page_set_enabled, (const char* name, int on), { QorunPage.setEnabled(UTF8ToString(name), !!on); });
EM_JS(void, qorun_page_set_shown, (const char* name, int on), { QorunPage.setShown(UTF8ToString(name), !!on); });
EM_JS(int, qorun_page_picked, (const char* name), { return QorunPage.picked(UTF8ToString(name)); });
EM_JS(void, qorun_page_pick, (const char* name, int index), { QorunPage.pick(UTF8ToString(name), index); });
EM_JS(void, qorun_page_focus, (const char* name), { QorunPage.focus(UTF8ToString(name)); });

namespace {

int Length(std::u16string_view text) { return static_cast<int>(text.size()); }

}  // namespace

DomPageElements::DomPageElements(std::function<void(const std::string& name, PageEvent event)> onEvent)
{
    listener = std::move(onEvent);
    qorun_page_start();
}

void DomPageElements::Make(const char* name, ElementKind kind, const char* parent, TwipRect rect,
                           std::u16string_view text, int tab)
{
    qorun_page_make(name, static_cast<int>(kind), parent, rect.left, rect.top, rect.width, rect.height, text.data(),
                    Length(text), tab);
}

std::u16string DomPageElements::Value(const char* name) const
{
    int length = 0;
    char16_t* text = qorun_page_value(name, &length);
    std::u16string value(text, static_cast<std::size_t>(length));
    std::free(text);
    return value;
}

void DomPageElements::SetValue(const char* name, std::u16string_view text)
{
    qorun_page_set_value(name, text.data(), Length(text));
}
void DomPageElements::SetEnabled(const char* name, bool enabled) { qorun_page_set_enabled(name, enabled); }
void DomPageElements::SetShown(const char* name, bool shown) { qorun_page_set_shown(name, shown); }
void DomPageElements::SetCaption(const char* name, std::u16string_view caption)
{
    qorun_page_set_caption(name, caption.data(), Length(caption));
}
void DomPageElements::SetTitle(const char* name, std::u16string_view title)
{
    qorun_page_set_title(name, title.data(), Length(title));
}
void DomPageElements::AddEntry(const char* name, std::u16string_view text)
{
    qorun_page_add_entry(name, text.data(), Length(text));
}
int DomPageElements::PickedEntry(const char* name) const { return qorun_page_picked(name); }
void DomPageElements::PickEntry(const char* name, int index) { qorun_page_pick(name, index); }
void DomPageElements::Focus(const char* name) { qorun_page_focus(name); }
