// Test media and demo trees.
#include "tests/win/testtree.h"

#include <cstdio>

#include "launcher/launcher.h"
#include "launcher/manifest.h"
#include "tests/common/testfs.h"

namespace {
size_t mediaSize(int i)
{
    return i % 9 == 4 ? 70000 + static_cast<size_t>(i) * 13 : (static_cast<size_t>(i) * 7919) % 20000;
}
}  // namespace

std::string mediaContent(int i)
{
    std::string s(mediaSize(i), '\0');
    unsigned x = 2166136261u ^ static_cast<unsigned>(i);
    for (char& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 16);
    }
    return s;
}

std::vector<size_t> buildMedia(const std::string& media)
{
    CreateDirectoryA(media.c_str(), nullptr);
    for (const char* sub : {"\\DEMODATA", "\\SIM", "\\SIM\\LAUNCH"})
        CreateDirectoryA((media + sub).c_str(), nullptr);
    std::vector<size_t> sizes;
    for (int i = 0; i < INSTALL_COUNT; ++i) {
        writeText(media + "\\" + installManifest[i], mediaContent(i));
        sizes.push_back(mediaSize(i));
    }
    return sizes;
}

void useTemp(const std::string& t)
{
    CreateDirectoryA(t.c_str(), nullptr);
    std::snprintf(dir0, PATH_BUF, "%s\\BK2DEMO", t.c_str());
    std::snprintf(dir1, PATH_BUF, "%s\\BK2DEMO\\DEMODATA", t.c_str());
    std::snprintf(dir2, PATH_BUF, "%s\\BK2DEMO\\SIM", t.c_str());
    std::snprintf(dir3, PATH_BUF, "%s\\BK2DEMO\\SIM\\LAUNCH", t.c_str());
    for (const char* d : {dir0, dir1, dir2, dir3})
        CreateDirectoryA(d, nullptr);
}
