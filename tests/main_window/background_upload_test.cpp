// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Uploads over writes that wait for the unit run off the window's thread and
// end as a waited-for upload would, their outcome posted back to the window.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <limits>

#include "tests/main_window/fake_controls.h"
#include "tests/support/reports.h"

namespace {

// Each write waits at a gate the test opens, as a USB write waits for the unit.
class WaitingLibrary : public RecordingLibrary {
public:
    bool WritesWait() const override { return true; }
    bool Connect(WindowHandle window) override { const std::lock_guard lock(mutex_); return RecordingLibrary::Connect(window); }
    bool Disconnect() override { const std::lock_guard lock(mutex_); return RecordingLibrary::Disconnect(); }
    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override
    {
        std::unique_lock lock(mutex_);
        ++held_, wrote_.notify_all();
        through_.wait(lock, [&] { return passed_ < allowed_; });
        --held_, ++passed_;
        const bool taken = RecordingLibrary::WriteEx(vendorId, productId, report);
        wrote_.notify_all();
        return taken;
    }
    // Lets `writes` more through, then holds the next one.
    void HoldAfter(std::size_t writes) { const std::lock_guard lock(mutex_); allowed_ = passed_ + writes, through_.notify_all(); }
    void Release() { HoldAfter(Unlimited); }
    bool AwaitWritten(std::size_t count) { return Await([&] { return written.size() >= count; }); }
    bool AwaitHeld() { return Await([&] { return held_ > 0; }); }
    std::vector<Report> Written() { const std::lock_guard lock(mutex_); return written; }

private:
    static constexpr std::size_t Unlimited = std::numeric_limits<std::size_t>::max() / 2;
    bool Await(const std::function<bool()>& done)
    { std::unique_lock lock(mutex_); return wrote_.wait_for(lock, std::chrono::seconds(20), done); }
    std::mutex mutex_;
    std::condition_variable through_, wrote_;
    std::size_t passed_ = 0, held_ = 0, allowed_ = Unlimited;
};

struct Uploading : FakeForm<WaitingLibrary>, ::testing::Test {
    void SetUp() override
    {
        form->Load();
        pin.Type(u"1234"), t_e_m_1.Type(u"699"), Text1.Type(u"ab");
        ASSERT_TRUE(library.AwaitWritten(1)) << "no start-up request";
    }
    void TearDown() override { library.Release(); }
    std::vector<Report> Sent() { auto w = library.Written(); return {w.begin() + 1, w.end()}; }
};

TEST_F(Uploading, LocksSendAndZoneSaysSoAndHandsTheOutcomeBackThroughTheWindow)
{
    Combo1.SelectEntry(1);  // AMENA
    const std::vector<Report> expected = UploadOf(1, 656000311, u"1234", u"699", u"ab");
    library.HoldAfter(3);
    form->b_e_1_Click();
    ASSERT_TRUE(library.AwaitWritten(1 + 3));
    EXPECT_TRUE(form->Uploading());
    EXPECT_EQ(notice.shortText, u"Enviando configuración");
    EXPECT_NE(notice.longText.find(u"zona 1 "), std::u16string::npos);
    EXPECT_FALSE(b_e_1.enabled);
    EXPECT_FALSE(ALARMA.enabled);
    form->b_e_1_Click();   // refused: no second upload
    Combo1.SelectEntry(2);  // the pick stays the window's; the upload has its own copy

    library.Release();
    ASSERT_TRUE(window.AwaitPosted());  // the outcome waits in the window's queue
    EXPECT_EQ(Sent(), expected) << "a second upload, or a different sequence";
    // Until the window runs it, nothing of the outcome shows.
    EXPECT_FALSE(b_e_1.enabled);
    EXPECT_EQ(notice.shortText, u"Enviando configuración");
    window.RunPosted();
    EXPECT_FALSE(form->Uploading());
    EXPECT_TRUE(b_e_1.enabled);
    EXPECT_TRUE(ALARMA.enabled);
    EXPECT_EQ(notice.shortText, u"Configuración enviada");
    EXPECT_EQ(form->State().SelectedSmsc, u"607003110");

    // The upload's last write is what the next request carries.
    ALARMA.SelectEntry(1);
    Report request = expected.back();
    request[CommandByte] = 2;
    ASSERT_TRUE(library.AwaitWritten(1 + expected.size() + 1));
    EXPECT_EQ(Sent().back(), request);
}

TEST_F(Uploading, ZoneRequestsThatWaitGoOutInOrderBeforeTheUpload)
{
    library.HoldAfter(0);
    ALARMA.SelectEntry(1);
    ALARMA.SelectEntry(3);
    form->b_e_1_Click();
    EXPECT_EQ(t_a_1.caption, u"Zona Alarma 4");
    EXPECT_EQ(notice.shortText, u"Enviando configuración");
    EXPECT_TRUE(Sent().empty());

    library.Release();
    ASSERT_TRUE(window.AwaitPosted());
    window.RunPosted();
    const std::vector<Report> sent = Sent();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(std::vector<int>({sent[0][CommandByte], sent[1][CommandByte], sent[2][CommandByte]}),
              std::vector<int>({2, 4, CmdWriteByte}));
}

// Off the window's thread too, a refusal ends the upload and is no success.
TEST_F(Uploading, ARefusedWriteEndsItAsInterruptedWithWhatLanded)
{
    for (const std::size_t landed : {0, 5}) {
        library.written.resize(1), library.acceptedWrites = 1 + landed;
        form->b_e_1_Click();
        ASSERT_TRUE(window.AwaitPosted());
        window.RunPosted();
        EXPECT_EQ(notice.shortText, u"Envío interrumpido") << landed;
        EXPECT_NE(notice.longText.find(u"llegaron " + std::u16string(1, u'0' + landed) + u" informes"),
                  std::u16string::npos) << landed;
        EXPECT_EQ(Sent().size(), landed);
    }
}

TEST_F(Uploading, ClosingMidUploadSendsNothingAfterTheWriteUnderWay)
{
    library.HoldAfter(2);
    form->b_e_1_Click();
    ASSERT_TRUE(library.AwaitWritten(1 + 2));
    ASSERT_TRUE(library.AwaitHeld());
    form->Unload();
    library.Release();
    form.reset();  // waits for the upload's thread
    EXPECT_EQ(Sent().size(), 3u);
}

}  // namespace
