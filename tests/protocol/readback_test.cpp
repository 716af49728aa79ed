// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/readback.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/report_layout.h"
#include "tests/support/recording_library.h"

namespace {

struct FakeView : ConfiguratorView {
    std::vector<int> selections;
    std::u16string phone, message;

    void SelectOperator(int index) override { selections.push_back(index); }
    std::u16string PhoneText() const override { return phone; }
    void SetPhoneText(const std::u16string& text) override { phone = text; }
    std::u16string MessageText() const override { return message; }
    void SetMessageText(const std::u16string& text) override { message = text; }
};

// The other two character bytes carry decoys that must not be taken.
Report Input(std::uint8_t tag, std::uint8_t character)
{
    Report r{};
    r[SmscCharByte] = tag == TagSmsc ? character : '!';
    r[PhoneCharByte] = tag == TagPhone ? character : '?';
    r[TextCharByte] = tag == TagText ? character : '#';
    r[TagByte] = tag;
    return r;
}

// Service-centre digits, then `after`.
std::vector<Report> Digits(const std::string& digits, const std::vector<Report>& after = {})
{
    std::vector<Report> reports;
    for (const char c : digits)
        reports.push_back(Input(TagSmsc, static_cast<std::uint8_t>(c)));
    return reports.insert(reports.end(), after.begin(), after.end()), reports;
}

struct DecodeCase {
    const char* what;
    std::u16string phoneBefore, messageBefore;
    std::vector<Report> reports;
    std::u16string receivedSmsc, phone, message;
    std::vector<int> selections;
};

const DecodeCase Cases[] = {
    {"eight digits select nothing", u"", u"", Digits("60909090"), u"60909090", u"", u"", {}},
    {"the ninth selects MOVISTAR", u"", u"", Digits("609090909"), u"609090909", u"", u"", {0}},
    {"AMENA", u"", u"", Digits("656000311"), u"656000311", u"", u"", {1}},
    {"VODAFONE", u"", u"", Digits("607003110"), u"607003110", u"", u"", {2}},
    {"YOIGO", u"", u"", Digits("622996111"), u"622996111", u"", u"", {3}},
    {"every report re-selects while the number matches", u"", u"",
     Digits("609090909", {Input(7, 'x'), Input(TagPhone, '6'), Input(TagText, 'a')}),
     u"609090909", u"6", u"a", {0, 0, 0, 0}},
    {"one more digit matches nothing any more", u"", u"",
     Digits("6090909091", {Input(TagText, 'a')}), u"6090909091", u"", u"a", {0}},
    {"a number matching no operator selects nothing", u"", u"", Digits("600000000"), u"600000000", u"", u"", {}},
    {"a phone character goes to the end", u"60", u"", {Input(TagPhone, 0x36)}, u"", u"606", u"", {}},
    {"CR then LF make a line break", u"", u"o",
     {Input(TagText, 0x0D), Input(TagText, 0x0A), Input(TagText, 0xF1), Input(TagText, 0x80)},
     u"", u"", u"o\r\n\u00F1\u20AC", {}},
    {"a character 0 stays in the service centre only", u"12", u"ab",
     Digits("60909090", {Input(TagSmsc, 0), Input(TagPhone, 0), Input(TagText, 0), Input(TagSmsc, '9')}),
     std::u16string(u"60909090\0" u"9", 10), u"12", u"ab", {}},
    {"an unknown tag carries nothing", u"1", u"a", {Input(0, 'x'), Input(4, 'x'), Input(255, 'x')},
     u"", u"1", u"a", {}},
};

TEST(HandleInputReport, DecodesEachReportIntoItsField)
{
    for (const DecodeCase& c : Cases) {
        ConfiguratorState state;
        RecordingLibrary library;
        FakeView view;
        view.phone = c.phoneBefore, view.message = c.messageBefore;
        for (const Report& r : c.reports) {
            library.pendingInput.push_back(r);
            HandleInputReport(state, library, view, library.presentHandle);
        }
        EXPECT_EQ(state.ReceivedSmsc, c.receivedSmsc) << c.what;
        EXPECT_EQ(view.phone, c.phone) << c.what;
        EXPECT_EQ(view.message, c.message) << c.what;
        EXPECT_EQ(view.selections, c.selections) << c.what;
        EXPECT_TRUE(library.pendingInput.empty()) << c.what;
    }
}

TEST(HandleInputReport, NothingChangesWhenNoReportIsRead)
{
    ConfiguratorState state;
    RecordingLibrary library;
    FakeView view;
    state.ReceivedSmsc = u"609090909";  // would re-select on any report read
    state.ReportIn.fill(0xEE);
    const ConfiguratorState before = state;

    HandleInputReport(state, library, view, library.presentHandle);  // nothing queued
    library.pendingInput.push_back(Input(TagPhone, '1'));
    HandleInputReport(state, library, view, library.presentHandle + 1);  // not the unit's handle
    EXPECT_TRUE(view.selections.empty());
    EXPECT_EQ(state.ReportIn, before.ReportIn);
    EXPECT_TRUE(view.phone.empty());
}

}  // namespace
