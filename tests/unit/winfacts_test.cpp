// What each Windows can do, from the version it reports.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "launcher/winfacts.h"

namespace {
struct VersionRow {
    const char* name;
    unsigned long platform, major, minor;
    WinFacts facts;  // wide, jobs, toolhelp, openThread, processTimes, localNamespace, acls
};

const VersionRow kVersions[] = {
    {"95", PLATFORM_9X, 4, 0, {false, false, true, false, false, false, false}},
    {"98", PLATFORM_9X, 4, 10, {false, false, true, false, false, false, false}},
    {"ME", PLATFORM_9X, 4, 90, {false, false, true, true, false, false, false}},
    {"NT 4.0", PLATFORM_NT, 4, 0, {true, false, false, false, true, false, true}},
    {"2000", PLATFORM_NT, 5, 0, {true, true, true, true, true, true, true}},
    {"XP", PLATFORM_NT, 5, 1, {true, true, true, true, true, true, true}},
    {"Vista", PLATFORM_NT, 6, 0, {true, true, true, true, true, true, true}},
    {"10", PLATFORM_NT, 10, 0, {true, true, true, true, true, true, true}},
    {"Win32s", 0, 3, 10, {false, false, true, false, false, false, false}},
};

class Versions : public testing::TestWithParam<VersionRow> {};

TEST_P(Versions, Facts)
{
    const VersionRow& row = GetParam();
    const WinFacts f = winFacts(row.platform, row.major, row.minor);
    const WinFacts& e = row.facts;
    EXPECT_EQ(f.wideCalls, e.wideCalls);
    EXPECT_EQ(f.jobs, e.jobs);
    EXPECT_EQ(f.toolhelp, e.toolhelp);
    EXPECT_EQ(f.openThread, e.openThread);
    EXPECT_EQ(f.processTimes, e.processTimes);
    EXPECT_EQ(f.localNamespace, e.localNamespace);
    EXPECT_EQ(f.acls, e.acls);
}

INSTANTIATE_TEST_SUITE_P(Windows, Versions, testing::ValuesIn(kVersions),
                         [](const testing::TestParamInfo<VersionRow>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 name += isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });
}  // namespace
