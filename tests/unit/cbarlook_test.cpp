// The bar's colours, with high contrast off and on, and the position it reports.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "launcher/cbar/cbarlook.h"

namespace {
struct LookCase {
    const char* name;
    bool highContrast;
    CBarSystemColours sys;  // window, windowText, highlight, highlightText
    CBarColours want;       // back, outline, highlight, shadow, face, textOnFill, textOnBack
};

const CBarColour kBlack = 0x000000, kWhite = 0xFFFFFF, kGray = 0x808080, kLight = 0xC0C0C0;
// The standard scheme, a white-on-black high-contrast one and a scheme whose four
// colours all differ, so that a swapped pair shows.
const CBarSystemColours kStandard = {kWhite, kBlack, 0x6A240A, kWhite};
const CBarSystemColours kHighBlack = {kBlack, kWhite, 0xFFFF00, kBlack};
const CBarSystemColours kDistinct = {0x010203, 0x040506, 0x070809, 0x0A0B0C};

const LookCase kLooks[] = {
    // Off: today's fixed bevel, whatever the system's colours.
    {"off_standard", false, kStandard, {kLight, kBlack, kWhite, kGray, kLight, kBlack, kBlack}},
    {"off_high_black", false, kHighBlack, {kLight, kBlack, kWhite, kGray, kLight, kBlack, kBlack}},
    {"on_high_black", true, kHighBlack,
     {kBlack, kWhite, 0xFFFF00, 0xFFFF00, 0xFFFF00, kBlack, kWhite}},
    {"on_distinct", true, kDistinct,
     {0x010203, 0x040506, 0x070809, 0x070809, 0x070809, 0x0A0B0C, 0x040506}},
};

class BarLook : public testing::TestWithParam<LookCase> {};

TEST_P(BarLook, PaintsWithTheseColours)
{
    const LookCase& c = GetParam();
    const CBarColours got = cbarColours(c.highContrast, c.sys);
    const CBarColour want[] = {c.want.back,   c.want.outline,    c.want.highlight, c.want.shadow,
                               c.want.face,   c.want.textOnFill, c.want.textOnBack};
    const CBarColour have[] = {got.back, got.outline,    got.highlight, got.shadow,
                               got.face, got.textOnFill, got.textOnBack};
    const char* part[] = {"back", "outline", "highlight", "shadow", "face", "textOnFill",
                          "textOnBack"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(have[i], want[i]) << part[i];
}

INSTANTIATE_TEST_SUITE_P(Colours, BarLook, testing::ValuesIn(kLooks),
                         [](const testing::TestParamInfo<LookCase>& i) {
                             return std::string(i.param.name);
                         });

TEST(BarPosition, IsThePercentShownClampedTo0To100)
{
    const int rows[][2] = {{INT_MIN, 0}, {-1, 0}, {0, 0}, {57, 57}, {100, 100}, {101, 100},
                           {INT_MAX, 100}};
    for (const auto& r : rows)
        EXPECT_EQ(cbarPosition(r[0]), r[1]) << r[0];
}
}  // namespace
