// The install and removal manifests: groups, counts, kinds of file, and the
// removal naming each installed file once more, in install order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "launcher/manifest.h"

namespace {
std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string extOf(const std::string& name)
{
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? "" : lower(name.substr(dot));
}

// The group an entry belongs to is its directory prefix.
std::string prefixOf(const std::string& entry)
{
    const size_t slash = entry.rfind('\\');
    return slash == std::string::npos ? "" : entry.substr(0, slash + 1);
}

struct Group {
    std::string prefix;
    size_t count;
    std::map<std::string, int> extensions;
    const char* const* removal;
    size_t removalCount;
};

const Group groups[] = {
    {"", 5, {{".dll", 3}, {".exe", 1}, {".txt", 1}}, removeRoot, REMOVE_ROOT},
    {"DEMODATA\\", 41, {{".bk2", 39}, {".flc", 1}, {".smk", 1}}, removeDemodata, REMOVE_DEMODATA},
    {"SIM\\",
     20,
     {{".map", 8}, {".cfg", 6}, {".exe", 1}, {".ini", 1}, {".prj", 1}, {".txt", 1}, {".bwd", 1},
      {".dll", 1}},
     removeSim,
     REMOVE_SIM},
    {"SIM\\LAUNCH\\", 6, {{".shp", 6}}, removeLaunch, REMOVE_LAUNCH},
};
}  // namespace

TEST(Manifest, InstallGroupsInOrderWithTheirCountsAndKinds)
{
    size_t at = 0;
    for (const Group& g : groups) {
        std::map<std::string, int> seen;
        for (size_t i = 0; i < g.count; ++i, ++at) {
            ASSERT_LT(at, static_cast<size_t>(INSTALL_COUNT));
            const std::string entry = installManifest[at];
            EXPECT_EQ(prefixOf(entry), g.prefix) << entry;
            ++seen[extOf(entry)];
        }
        EXPECT_EQ(seen, g.extensions) << "group '" << g.prefix << "'";
    }
    EXPECT_EQ(at, static_cast<size_t>(INSTALL_COUNT));

    // The game program under its own spelling; no name twice, letter case aside.
    EXPECT_EQ(std::count(installManifest, installManifest + INSTALL_COUNT,
                         std::string("Brakdemo.exe")),
              1);
    std::set<std::string> unique;
    for (const char* e : installManifest)
        EXPECT_TRUE(unique.insert(lower(e)).second) << e;
}

TEST(Manifest, EachRemovalGroupIsItsInstallGroupWithoutThePrefix)
{
    size_t at = 0;
    for (const Group& g : groups) {
        std::vector<std::string> installed;
        for (size_t i = 0; i < g.count; ++i)
            installed.push_back(std::string(installManifest[at + i]).substr(g.prefix.size()));
        at += g.count;
        std::vector<std::string> removed(g.removal, g.removal + g.removalCount);
        if (g.prefix.empty()) {
            // The game's own three files: .prm and .run right after the program, .bwd last.
            ASSERT_EQ(removed.size(), installed.size() + 3);
            const auto game = std::find(removed.begin(), removed.end(), "Brakdemo.exe");
            ASSERT_NE(game, removed.end());
            ASSERT_LT(game + 2, removed.end());
            EXPECT_EQ(extOf(*(game + 1)), ".prm");
            EXPECT_EQ(extOf(*(game + 2)), ".run");
            EXPECT_EQ(extOf(removed.back()), ".bwd");
            removed.erase(removed.end() - 1);
            removed.erase(game + 1, game + 3);
        }
        EXPECT_EQ(removed, installed) << "group '" << g.prefix << "'";
    }
    EXPECT_EQ(REMOVE_ROOT + REMOVE_DEMODATA + REMOVE_SIM + REMOVE_LAUNCH, 75);
}
