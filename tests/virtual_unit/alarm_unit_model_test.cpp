#include "virtual_unit/alarm_unit_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "protocol/report_layout.h"
#include "protocol/zone_upload.h"

namespace {

// Carries the tool's output reports to the model and keeps its answers.
class ModelWire : public HidLibrary {
public:
    explicit ModelWire(AlarmUnitModel& unit) : unit_(unit) {}

    std::vector<WireReport> answers;

    bool Connect(WindowHandle) override { return true; }
    bool Disconnect() override { return true; }
    DeviceHandle GetHandle(std::int32_t, std::int32_t) override { return 1; }
    void SetReadNotify(DeviceHandle, bool) override {}
    bool Read(DeviceHandle, Report&) override { return false; }
    bool WriteEx(std::int32_t, std::int32_t, const Report& report) override
    {
        WireReport wire{};
        std::copy(report.begin() + 1, report.end(), wire.begin());
        for (const WireReport& answer : unit_.Receive(wire))
            answers.push_back(answer);
        return true;
    }

private:
    AlarmUnitModel& unit_;
};

// A read-back answer split by tag, as raw bytes.
struct Streamed {
    std::string serviceCentre;
    std::string phone;
    std::string text;
};

// Checks the input report layout (tag in wire byte 7, the character in the
// byte that tag names, every other byte 0; tags in the order 1, 2, 3) and
// collects the characters.
Streamed Split(const std::vector<WireReport>& answers)
{
    Streamed out;
    int lastTag = 1;
    for (const WireReport& a : answers) {
        const int tag = a[7];
        EXPECT_TRUE(tag >= 1 && tag <= 3) << "tag " << tag;
        EXPECT_GE(tag, lastTag) << "fields out of order";
        lastTag = tag;
        const std::size_t at = tag == 1 ? 4 : tag == 2 ? 5 : 6;
        for (std::size_t i = 0; i < 7; ++i) {
            if (i != at) {
                EXPECT_EQ(a[i], 0) << "stray byte " << i << " in a tag " << tag << " report";
            }
        }
        EXPECT_NE(a[at], 0) << "a 0 character streamed back";
        std::string& field = tag == 1 ? out.serviceCentre : tag == 2 ? out.phone : out.text;
        field.push_back(static_cast<char>(a[at]));
    }
    return out;
}

// The Latin-1 bytes of an ASCII/Latin-1 text.
std::string Latin1(const std::u16string& text)
{
    std::string out;
    for (const char16_t c : text)
        out.push_back(static_cast<char>(static_cast<unsigned char>(c)));
    return out;
}

// A text of `length` characters that differs from zone to zone and position
// to position, so a character in the wrong place shows.
std::u16string Varied(int zone, std::size_t length)
{
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i)
        text.push_back(static_cast<char16_t>(u'A' + (zone * 7 + i) % 26));
    return text;
}

class UnitUnderProtocol : public ::testing::Test {
protected:
    AlarmUnitModel unit;
    ModelWire wire{unit};
    ConfiguratorState state;

    UploadOutcome Upload(int zone, std::int32_t smsc, const std::u16string& pin,
                         const std::u16string& phone, const std::u16string& text)
    {
        return SendZoneConfiguration(state, wire, zone, smsc, pin, phone, text);
    }

    Streamed ReadBack(int zone)
    {
        wire.answers.clear();
        state.SelectedZone = DecimalText(zone);
        EXPECT_TRUE(RequestZoneReadBack(state, wire));
        return Split(wire.answers);
    }

    std::string PinMemory() const
    {
        return std::string(unit.Memory().begin(), unit.Memory().begin() + 5);
    }
};

}  // namespace

TEST_F(UnitUnderProtocol, EveryZoneReadsBackItsLongestValuesWithoutDisturbingTheOthers)
{
    const std::int32_t smsc[] = {609090909, 656000311, 607003110, 622996111};
    for (int zone = 1; zone <= 4; ++zone) {
        const UploadOutcome outcome = Upload(zone, smsc[zone - 1], u"1234",
                                             u"6" + Varied(zone, 8), Varied(zone + 10, 49));
        ASSERT_TRUE(outcome.Complete()) << "zone " << zone;
    }
    // Zone 4's 49-character text ends exactly on the last address of its block.
    EXPECT_EQ(unit.Log().back()[7], 254);

    for (int zone = 1; zone <= 4; ++zone) {
        SCOPED_TRACE(zone);
        const Streamed back = ReadBack(zone);
        EXPECT_EQ(back.serviceCentre, "622996111");  // global: the last upload's
        EXPECT_EQ(back.phone, Latin1(u"6" + Varied(zone, 8)));
        EXPECT_EQ(back.text, Latin1(Varied(zone + 10, 49)));
    }
    EXPECT_EQ(PinMemory(), std::string("1234\0", 5));
}

TEST_F(UnitUnderProtocol, ShorterValuesReplaceLongerOnesWhole)
{
    Upload(3, 656000311, u"1234", u"612345678", u"Puerta principal abierta");
    Upload(3, 607003110, u"98", u"12", u"Hi");

    const Streamed back = ReadBack(3);
    EXPECT_EQ(back.serviceCentre, "607003110");
    EXPECT_EQ(back.phone, "12");
    EXPECT_EQ(back.text, "Hi");
    EXPECT_EQ(PinMemory(), std::string("98\0\0\0", 5));
}

TEST_F(UnitUnderProtocol, LatinOneCharactersSurvive)
{
    Upload(1, 656000311, u"1234", u"600111222", u"Señal débil: ¡revisa!");

    const Streamed back = ReadBack(1);
    EXPECT_EQ(back.text, "Se\xF1" "al d\xE9" "bil: \xA1revisa!");
}

TEST_F(UnitUnderProtocol, AnEmptyFieldKeepsWhatTheUnitHeld)
{
    Upload(2, 656000311, u"1234", u"600111222", u"Hola");
    Upload(2, 656000311, u"1234", u"", u"Adios");

    const Streamed back = ReadBack(2);
    EXPECT_EQ(back.phone, "600111222");
    EXPECT_EQ(back.text, "Adios");
}

TEST_F(UnitUnderProtocol, RequestsAndUnknownCommandsChangeNoMemory)
{
    EXPECT_TRUE(ReadBack(1).serviceCentre.empty()) << "a fresh unit holds nothing";
    EXPECT_TRUE(wire.answers.empty());

    // The euro sign's high byte 0x20 is the last data sent, so the request
    // that follows carries it at the last address: it must not be stored.
    Upload(4, 656000311, u"1234", u"600111222", u"Total 5€");
    ASSERT_EQ(unit.Log().back()[6], 0x20);
    const auto before = unit.Memory();

    ReadBack(4);
    WireReport unknown{};
    unknown[5] = 7;
    unknown[6] = 'X';
    unknown[7] = 20;
    EXPECT_TRUE(unit.Receive(unknown).empty());

    EXPECT_EQ(unit.Memory(), before);
    EXPECT_EQ(unit.Log().back(), unknown);
}

TEST(AlarmUnitModel, PreloadedValuesStreamBackCutToTheirAreas)
{
    AlarmUnitModel unit;
    unit.StoreServiceCentre("607003110");
    unit.StorePin("123456");
    unit.StoreZone(2, "612345678901", std::string(60, 'x'));
    unit.StoreZone(5, "999", "ignored");

    EXPECT_EQ(unit.Phone(2), "6123456789");
    EXPECT_EQ(unit.Text(2), std::string(50, 'x'));
    EXPECT_EQ(unit.Phone(3), "") << "zone 2's text spilled into zone 3";
    EXPECT_EQ(unit.ServiceCentre(), "607003110") << "the PIN spilled into the service centre";
    EXPECT_EQ(unit.Phone(5), "");

    WireReport request{};
    request[5] = 2;
    const Streamed back = Split(unit.Receive(request));
    EXPECT_EQ(back.serviceCentre, "607003110");
    EXPECT_EQ(back.phone, "6123456789");
    EXPECT_EQ(back.text, std::string(50, 'x'));
}
