// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes over a library whose writes wait for the unit: the window stays
// live, refuses a second upload or a zone pick during an upload, and ends
// with the same reports and state as when it waits for each write itself.

#include <condition_variable>
#include <limits>
#include <mutex>

#include "form_driver.h"

namespace {

// Each write waits until the test lets it through, as a USB write waits for
// the unit; it runs on the upload's thread.
class WaitingLibrary : public RecordingLibrary {
public:
    bool WritesWait() const override { return true; }
    // The window connects after posting its start-up request and disconnects
    // on close, while a write may be under way: all of them record calls.
    bool Connect(WindowHandle window) override
    {
        std::lock_guard lock(mutex_);
        return RecordingLibrary::Connect(window);
    }
    bool Disconnect() override
    {
        std::lock_guard lock(mutex_);
        return RecordingLibrary::Disconnect();
    }
    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override
    {
        std::unique_lock lock(mutex_);
        through_.wait(lock, [&] { return passed_ < allowed_; });
        ++passed_;
        return RecordingLibrary::WriteEx(vendorId, productId, report);
    }
    // Lets `writes` more through, then holds the next one.
    void HoldAfter(std::size_t writes)
    {
        std::lock_guard lock(mutex_);
        allowed_ = passed_ + writes;
        through_.notify_all();
    }
    void Release() { HoldAfter(std::numeric_limits<std::size_t>::max() / 2); }
    std::vector<Report> Written()
    {
        std::lock_guard lock(mutex_);
        return written;
    }

private:
    std::mutex mutex_;
    std::condition_variable through_;
    std::size_t passed_ = 0;
    std::size_t allowed_ = std::numeric_limits<std::size_t>::max() / 2;
};

class WindowWritesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form->Load();
        ShowAndActivate(*form);
        Control<QLineEdit>(*form, "pin")->setText("1234");
        Control<QLineEdit>(*form, "t_e_m_1")->setText("699");
        Control<QPlainTextEdit>(*form, "Text1")->setPlainText("ab");
        library.Release();
        ASSERT_TRUE(Await([&] { return library.Written().size() == 1; })) << "no start-up request";
    }
    void TearDown() override { library.Release(); }

    std::vector<Report> Sent() { return WrittenSince(library.Written(), 1); }  // after the start-up request
    bool Await(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }

    WaitingLibrary library;
    std::unique_ptr<MainForm> form = std::make_unique<MainForm>(library);
    QPushButton* b_e_1 = Control<QPushButton>(*form, "b_e_1");
    QComboBox* ALARMA = Control<QComboBox>(*form, "ALARMA");
    QComboBox* Combo1 = Control<QComboBox>(*form, "Combo1");
    QLabel* notice = Control<QLabel>(*form, "aviso");
};

TEST_F(WindowWritesTest, AStalledWriteLeavesTheWindowLiveAndLocksSendAndZoneUntilItEnds)
{
    PickEntry(Combo1, 1);  // AMENA
    const std::vector<Report> expected = UploadOf(1, 656000311, u"1234", u"699", u"ab");
    library.HoldAfter(3);
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    ASSERT_TRUE(Await([&] { return Sent().size() == 3; }));
    // The event loop runs while a write waits, and says what is going on.
    QTest::qWait(50);
    EXPECT_EQ(notice->text(), QStringLiteral("Enviando configuración"));
    EXPECT_FALSE(b_e_1->isEnabled());
    EXPECT_FALSE(ALARMA->isEnabled());
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    PickEntry(Combo1, 2);  // the pick stays the window's; the upload has its own copy

    library.Release();
    ASSERT_TRUE(Await([&] { return b_e_1->isEnabled(); }));
    EXPECT_EQ(Sent(), expected) << "a second upload, or a different sequence";
    EXPECT_EQ(notice->text(), QStringLiteral("Configuración enviada"));
    EXPECT_TRUE(ALARMA->isEnabled());
    EXPECT_EQ(form->State().SelectedSmsc, u"607003110");

    // The upload's last write is what the next request carries.
    PickEntry(ALARMA, 1);
    Report request = expected.back();
    request[CommandByte] = 2;
    ASSERT_TRUE(Await([&] { return Sent().size() == expected.size() + 1; }));
    EXPECT_EQ(Sent().back(), request);
}

TEST_F(WindowWritesTest, AZoneRequestThatWaitsLeavesTheWindowLiveAndGoesOutInOrder)
{
    library.HoldAfter(0);
    PickEntry(ALARMA, 1);
    PickEntry(ALARMA, 3);
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    QTest::qWait(50);
    EXPECT_EQ(Control<QGroupBox>(*form, "t_a_1")->title(), QStringLiteral("Zona Alarma 4"));
    EXPECT_EQ(notice->text(), QStringLiteral("Enviando configuración"));
    EXPECT_TRUE(Sent().empty());

    library.Release();
    ASSERT_TRUE(Await([&] { return b_e_1->isEnabled(); }));
    const std::vector<Report> sent = Sent();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(std::vector<int>({sent[0][CommandByte], sent[1][CommandByte], sent[2][CommandByte]}),
              std::vector<int>({2, 4, CmdWriteByte}))
        << "the requests, then the upload, as they were asked for";
}

TEST_F(WindowWritesTest, ClosingTheWindowMidUploadSendsNothingAfterTheWriteUnderWay)
{
    library.HoldAfter(2);
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    ASSERT_TRUE(Await([&] { return Sent().size() == 2; }));
    form->close();
    library.Release();
    form.reset();  // waits for the upload's thread
    EXPECT_EQ(Sent().size(), 3u);
}

}  // namespace
