// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// MainForm over controls that only record but keep the controls' promises;
// no toolkit, no event loop: posted jobs run when the test says so.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device_link/window_hook.h"
#include "main_window/code_units.h"
#include "main_window/controls.h"
#include "main_window/main_form.h"
#include "protocol/report_layout.h"
#include "tests/support/recording_library.h"

struct FakeTextBox : TextBox {
    std::u16string text;
    std::size_t maxLength = 32767;  // a toolkit's own default
    bool enabled = true;
    int drawn = 0;  // texts the program set
    std::function<void()> onChange;

    std::u16string Text() const override { return text; }
    void SetText(const std::u16string& t) override { ++drawn, Type(t); }
    void SetMaxLength(std::size_t units) override { maxLength = units; }
    void SetEnabled(bool on) override { enabled = on; }
    void Type(const std::u16string& t) { text = CutToUnits(t, maxLength), onChange ? onChange() : void(); }
};

struct FakeEntryList : EntryList {
    std::vector<std::int32_t> data;
    std::optional<int> selected;
    bool enabled = true;
    std::function<void()> onClick;

    std::optional<int> SelectedEntry() const override { return selected; }
    std::int32_t EntryData(int index) const override { return data.at(static_cast<std::size_t>(index)); }
    void SetEnabled(bool on) override { enabled = on; }
    void SelectEntry(int index) override  // outside the list: nothing
    {
        if (index >= 0 && index < static_cast<int>(data.size()))
            selected = index, onClick ? onClick() : void();
    }
    void Type() { selected.reset(); }  // the user types into the edit field
};

struct FakeCaption : Captioned {
    std::u16string caption;
    bool enabled = true;
    void SetCaption(const std::u16string& c) override { caption = c; }
    void SetEnabled(bool on) override { enabled = on; }
};

struct FakeNotice : NoticeArea {
    std::u16string shortText, longText;
    void ShowNotice(const std::u16string& s, const std::u16string& l) override { shortText = s, longText = l; }
};

// Posted jobs wait until RunPosted, as on an event loop that is busy.
struct FakeWindow : FormWindow {
    WindowHandle NativeHandle() override { return this; }
    void PostToWindow(std::function<void()> job) override
    { const std::lock_guard lock(mutex); posted.push_back(std::move(job)), arrived.notify_all(); }
    bool AwaitPosted()
    { std::unique_lock lock(mutex); return arrived.wait_for(lock, std::chrono::seconds(20), [&] { return !posted.empty(); }); }
    void RunPosted()
    {
        std::deque<std::function<void()>> jobs;
        { const std::lock_guard lock(mutex); jobs.swap(posted); }
        for (auto& job : jobs) job();
    }
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::function<void()>> posted;
};

// Logs into the library's calls, so the order against Connect shows.
struct FakeHook : WindowHook {
    explicit FakeHook(std::function<void(std::string)> log) : log(std::move(log)) {}
    void Install(WindowHandle w, Route r) override { log("Install"), window = w, route = std::move(r); }
    void Remove() override { log("Remove"), window = nullptr, route = nullptr; }
    void Deliver(int code, DeviceHandle handle = 0) { if (route) route(code, handle); }
    std::function<void(std::string)> log;
    WindowHandle window = nullptr;
    Route route;
};

template <typename Library = RecordingLibrary>
struct FakeForm {
    template <typename... Args>
    explicit FakeForm(Args&&... args) : library(std::forward<Args>(args)...)
    {
        for (const OperatorEntry& entry : OperatorTable) Combo1.data.push_back(entry.smsc);
        for (const ZoneEntry& entry : ZoneTable) ALARMA.data.push_back(entry.zone);
        pin.text = u"pin", t_e_m_1.text = u"Tlf envio", Text1.text = u"Texto a enviar\r\n";
        form.emplace(library, hook, MainFormControls{window, pin, Combo1, t_a_1, t_e_m_1, Text1, b_e_1, ALARMA, notice});
        Combo1.onClick = [this] { form->Combo1_Click(); };
        ALARMA.onClick = [this] { form->ALARMA_Click(); };
        pin.onChange = [this] { form->pin_Change(); };
        t_e_m_1.onChange = [this] { form->t_e_m_1_Change(); };
        Text1.onChange = [this] { form->Text1_Change(); };
    }
    MainForm* operator->() { return &*form; }

    Library library;
    FakeHook hook{[this](std::string call) { library.Log(std::move(call)); }};
    FakeWindow window;
    FakeTextBox pin, t_e_m_1, Text1;
    FakeEntryList Combo1, ALARMA;
    FakeCaption t_a_1, b_e_1;
    FakeNotice notice;
    std::optional<MainForm> form;  // last: it goes first
};
