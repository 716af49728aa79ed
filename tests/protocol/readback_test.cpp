#include "protocol/readback.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/report_layout.h"
#include "tests/support/recording_library.h"

namespace {

// A window stand-in: selecting an operator runs the same handler a user pick
// would, setting SelectedSmsc from the entry's number.
class FakeView : public ConfiguratorView {
public:
    explicit FakeView(ConfiguratorState& state) : state_(state) {}

    std::vector<int> selections;
    int selected = -1;
    std::u16string phone;
    std::u16string message;

    void SelectOperator(int index) override
    {
        selections.push_back(index);
        selected = index;
        state_.SelectedSmsc = DecimalText(OperatorTable[static_cast<std::size_t>(index)].smsc);
    }
    std::u16string PhoneText() const override { return phone; }
    void SetPhoneText(const std::u16string& text) override { phone = text; }
    std::u16string MessageText() const override { return message; }
    void SetMessageText(const std::u16string& text) override { message = text; }

private:
    ConfiguratorState& state_;
};

Report Input(std::uint8_t tag, std::uint8_t character)
{
    Report r{};
    r[TagByte] = tag;
    if (tag == TagSmsc)
        r[SmscCharByte] = character;
    else if (tag == TagPhone)
        r[PhoneCharByte] = character;
    else if (tag == TagText)
        r[TextCharByte] = character;
    return r;
}

class ReadBack : public ::testing::Test {
protected:
    ConfiguratorState state;
    RecordingLibrary library;
    FakeView view{state};

    // Queues the reports and handles one notification per report.
    void Deliver(const std::vector<Report>& reports)
    {
        for (const Report& r : reports) {
            library.pendingInput.push_back(r);
            HandleInputReport(state, library, view, library.presentHandle);
        }
    }

    void DeliverSmsc(const std::string& digits)
    {
        for (const char c : digits)
            Deliver({Input(TagSmsc, static_cast<std::uint8_t>(c))});
    }
};

}  // namespace

TEST_F(ReadBack, NinthServiceCentreDigitSelectsTheMatchingOperator)
{
    DeliverSmsc("60909090");
    EXPECT_TRUE(view.selections.empty());
    DeliverSmsc("9");
    EXPECT_EQ(view.selections, std::vector<int>{0});
    EXPECT_EQ(state.ReceivedSmsc, u"609090909");
    EXPECT_EQ(state.SelectedSmsc, u"609090909");
}

TEST_F(ReadBack, PhoneAndTextCharactersAppendToTheirFields)
{
    view.phone = u"60";
    Deliver({Input(TagPhone, 0x36)});
    EXPECT_EQ(view.phone, u"606");

    Deliver({Input(TagText, 'o'), Input(TagText, 0x0D), Input(TagText, 0x0A), Input(TagText, 0xF1),
             Input(TagText, 0x80)});
    EXPECT_EQ(view.message, u"o\r\n\u00F1\u20AC");
    EXPECT_EQ(view.phone, u"606");
    EXPECT_TRUE(state.ReceivedSmsc.empty());
}

TEST_F(ReadBack, EachTagTakesItsCharacterFromItsOwnByte)
{
    // All three character bytes set; only the tag's one counts.
    Report r{};
    r[SmscCharByte] = '1';
    r[PhoneCharByte] = '2';
    r[TextCharByte] = '3';
    for (const std::uint8_t tag : {TagSmsc, TagPhone, TagText}) {
        r[TagByte] = tag;
        Deliver({r});
    }
    EXPECT_EQ(state.ReceivedSmsc, u"1");
    EXPECT_EQ(view.phone, u"2");
    EXPECT_EQ(view.message, u"3");
}

TEST_F(ReadBack, WhileTheNumberMatchesEveryReportReselectsTheOperator)
{
    DeliverSmsc("609090909");
    // The user picks VODAFONE meanwhile.
    view.SelectOperator(2);
    ASSERT_EQ(state.SelectedSmsc, u"607003110");

    Deliver({Input(7, 'x')});  // an unknown tag carries nothing but still re-selects
    EXPECT_EQ(view.selected, 0);
    EXPECT_EQ(state.SelectedSmsc, u"609090909");
    EXPECT_TRUE(view.phone.empty());
    EXPECT_TRUE(view.message.empty());

    Deliver({Input(TagPhone, '6')});
    EXPECT_EQ(view.selections.back(), 0);

    // One more digit and the number matches nothing: the selection stays.
    view.SelectOperator(2);
    DeliverSmsc("1");
    Deliver({Input(TagText, 'a')});
    EXPECT_EQ(view.selected, 2);
    EXPECT_EQ(state.SelectedSmsc, u"607003110");
}

TEST_F(ReadBack, EveryOperatorIsMatchedByItsOwnNumber)
{
    for (std::size_t k = 0; k < OperatorTable.size(); ++k) {
        state.ReceivedSmsc.clear();
        view.selections.clear();
        const std::u16string number = DecimalText(OperatorTable[k].smsc);
        DeliverSmsc(std::string(number.begin(), number.end()));
        EXPECT_EQ(view.selections, std::vector<int>{static_cast<int>(k)});
    }
}

TEST_F(ReadBack, NothingChangesWhenNoReportIsRead)
{
    DeliverSmsc("609090909");
    view.selections.clear();
    const ConfiguratorState before = state;

    // Nothing queued, then a report queued for another handle.
    HandleInputReport(state, library, view, library.presentHandle);
    library.pendingInput.push_back(Input(TagPhone, '1'));
    HandleInputReport(state, library, view, library.presentHandle + 1);

    EXPECT_TRUE(view.selections.empty());
    EXPECT_EQ(state.ReportIn, before.ReportIn);
    EXPECT_EQ(state.ReceivedSmsc, before.ReceivedSmsc);
    EXPECT_TRUE(view.phone.empty());
}

TEST_F(ReadBack, CharacterZeroStaysInTheServiceCentreOnly)
{
    DeliverSmsc("60909090");
    Deliver({Input(TagSmsc, 0)});
    DeliverSmsc("9");
    EXPECT_EQ(state.ReceivedSmsc, std::u16string(u"60909090\0" u"9", 10));
    EXPECT_TRUE(view.selections.empty());

    // A 0 in the phone or text would cut the field short in any C string the
    // text reaches later; it is dropped there.
    view.phone = u"12";
    view.message = u"ab";
    Deliver({Input(TagPhone, 0), Input(TagText, 0)});
    EXPECT_EQ(view.phone, u"12");
    EXPECT_EQ(view.message, u"ab");
}
