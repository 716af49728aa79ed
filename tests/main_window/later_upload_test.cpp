// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Over writes that finish later (a browser's), one report is out at a time
// and an upload ends exactly as one run on a thread would have.

#include <gtest/gtest.h>

#include "tests/main_window/fake_controls.h"
#include "tests/support/reports.h"

namespace {

// Holds each handed-over report until the test finishes it.
class LaterLibrary : public RecordingLibrary, public LaterWrites {
public:
    LaterWrites* WritesLater() override { return this; }
    void Send(std::int32_t, std::int32_t, const Report& report, std::function<void(bool)> done) override
    { ++handed, pending.push_back({report, std::move(done)}), most = std::max(most, pending.size()); }
    // Finishes the oldest report under way: taken (recorded) or refused.
    void Finish(bool taken)
    {
        auto [report, done] = std::move(pending.front());
        pending.pop_front();
        if (taken) written.push_back(report);
        done(taken);
    }
    void TakeAll() { while (!pending.empty()) Finish(true); }
    std::deque<std::pair<Report, std::function<void(bool)>>> pending;
    std::size_t handed = 0, most = 0;
};

struct LaterUpload : FakeForm<LaterLibrary>, ::testing::Test {
    void SetUp() override
    {
        form->Load();
        library.TakeAll();  // the start-up request
        pin.Type(u"1234");
        Combo1.SelectEntry(3);  // YOIGO
        Fill();
    }
    void Fill() { t_e_m_1.Type(u"699"), Text1.Type(u"ab"); }  // a zone's pick empties them
    std::vector<Report> Upload() { return UploadOf(1, 622996111, u"1234", u"699", u"ab"); }
};

TEST_F(LaterUpload, SendsOneAtATimeAndEndsAsTheWholeUploadWould)
{
    ALARMA.SelectEntry(1);  // a request waiting before the press goes first
    Fill();
    form->b_e_1_Click();
    EXPECT_EQ(notice.shortText, u"Enviando configuración");
    EXPECT_FALSE(b_e_1.enabled);
    EXPECT_FALSE(ALARMA.enabled);
    library.TakeAll();
    EXPECT_EQ(library.most, 1u) << "a report went out before the one before it had finished";
    EXPECT_TRUE(form->Uploading()) << "the outcome is the window's only once it runs its queue";
    window.RunPosted();
    EXPECT_FALSE(form->Uploading());
    EXPECT_TRUE(b_e_1.enabled);
    EXPECT_EQ(notice.shortText, u"Configuración enviada");
    std::vector<Report> expected = UploadOf(2, 622996111, u"1234", u"699", u"ab");
    ASSERT_EQ(library.written.size(), 2 + expected.size());
    EXPECT_EQ(library.written[1][CommandByte], 2);
    EXPECT_EQ(std::vector<Report>(library.written.begin() + 2, library.written.end()), expected);
    ALARMA.SelectEntry(0);  // the next request carries the last write
    Report request = expected.back();
    request[CommandByte] = 1;
    library.TakeAll();
    EXPECT_EQ(library.written.back(), request);
}

// A refusal ends the upload where it came, with the state it had there.
TEST_F(LaterUpload, ARefusedReportEndsItAsInterruptedWithWhatLanded)
{
    const std::vector<Report> expected = Upload();
    for (const std::size_t landed : {std::size_t{0}, std::size_t{5}}) {
        library.written.clear(), library.handed = 0;
        Fill();
        form->b_e_1_Click();
        for (std::size_t i = 0; i < landed; ++i) library.Finish(true);
        library.Finish(false);
        EXPECT_TRUE(library.pending.empty()) << landed << ": sent on after a refusal";
        EXPECT_EQ(library.handed, landed + 1) << landed;
        window.RunPosted();
        EXPECT_EQ(notice.shortText, u"Envío interrumpido") << landed;
        EXPECT_NE(notice.longText.find(u"llegaron " + std::u16string(1, u'0' + landed) + u" informes"),
                  std::u16string::npos) << landed;
        EXPECT_TRUE(b_e_1.enabled) << landed;
        ALARMA.SelectEntry(0);
        library.TakeAll();
        Report request = expected[landed];  // the refused one, as over a thread
        request[CommandByte] = 1;
        EXPECT_EQ(library.written.back(), request) << landed << ": the state is not the upload's at its refusal";
    }
}

TEST_F(LaterUpload, ClosingMidUploadEndsItOnceTheReportUnderWayHasFinished)
{
    form->b_e_1_Click();
    library.Finish(true), library.Finish(true);
    form->Unload();
    library.TakeAll();
    EXPECT_EQ(library.handed, 1u + 3u) << "sent on after the close";
    window.RunPosted();
    EXPECT_FALSE(form->Uploading());
    EXPECT_EQ(library.written.size(), 1u + 3u);
    form->b_e_1_Click();  // handed over nothing more
    EXPECT_TRUE(library.pending.empty());
    form.reset();
}

TEST_F(LaterUpload, AReportFinishingAfterTheWindowIsGoneFindsNothingToTell)
{
    form->b_e_1_Click();
    form.reset();
    library.TakeAll();  // would touch the freed queue
    EXPECT_TRUE(window.posted.empty()) << "a gone window was handed an outcome";
}

}  // namespace
