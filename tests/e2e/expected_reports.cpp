#include "expected_reports.h"

#include <cfenv>
#include <cmath>

namespace {

constexpr std::uint8_t WriteCommand = 10;

void AppendField(std::vector<WireReport>& out, double offset, const std::u16string& text) {
    std::fesetround(FE_TONEAREST);  // nearbyint then ties to even
    std::size_t i = 0;
    for (char16_t unit : text) {
        for (std::uint8_t byte : {static_cast<std::uint8_t>(unit & 0xFF),
                                  static_cast<std::uint8_t>(unit >> 8)}) {
            const double address = std::nearbyint(offset + static_cast<double>(i) / 2.0);
            out.push_back({0, 0, 0, 0, 0, WriteCommand, byte, static_cast<std::uint8_t>(address)});
            ++i;
        }
    }
}

}  // namespace

std::vector<WireReport> ExpectedUpload(int zone, const std::u16string& pin, const std::u16string& serviceCentre,
                                       const std::u16string& phone, const std::u16string& text) {
    const int base = 15 + 60 * (zone - 1);
    std::vector<WireReport> out;
    AppendField(out, 0, pin);
    AppendField(out, 5, serviceCentre);
    AppendField(out, base, phone);
    AppendField(out, base + 10, text);
    return out;
}
