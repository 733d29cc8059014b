// The layout from a record of a start's reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/readorder.h"

namespace {
const std::vector<MediaFile> kListing = {
    {"autorun.inf", 40, false},  {"a.exe", 9000, false}, {"D", 2048, true},
    {"D\\x", 10, false},         {"D\\y", 10, false},    {"E", 2048, true},
    {"E\\F", 2048, true},        {"E\\F\\z", 10, false}, {"rest.txt", 10, false},
};

TEST(ReadOrder, LayoutFromARecord)
{
    const struct {
        const char* name;
        const char* record;
        std::vector<std::string> layout;  // or, where the record is refused, the error's start
    } rows[] = {
        {"files by their first read, each directory before its first file",
         "read 4096 4096 /a.exe\nread 0 10 /D/y\nread 0 4096 /a.exe\nread 0 10 /D/x\n",
         {"/", "a.exe", "D/", "D/y", "D/x"}},
        {"a directory no file is read from where its records were read, its parents first",
         "dir 0 2048 /\ndir 8 2048 /E/F\nlook /E/F/w.dll missing\ndir 0 2048 /D\n"
         "read 0 9000 /a.exe\nread 0 10 /D/x\n",
         {"/", "E/", "E/F/", "a.exe", "D/", "D/x"}},
        {"names without regard to case, in the listing's spelling",
         "read 0 10 /e/f/Z\nread 0 40 /AUTORUN.INF\n",
         {"/", "E/", "E/F/", "E/F/z", "autorun.inf"}},
        {"lookups, and names not on the media, place nothing",
         "look /a.exe\nread 0 1 /gone.dll\ndir 0 2048 /gone\n", {}},
        {"an offset that is not a number", "read x 1 /a.exe\n", {"line 1: "}},
        {"a path not from the root", "read 0 1 a.exe\n", {"line 1: "}},
        {"no such step", "\nseek 0 1 /a.exe\n", {"line 2: "}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<RecordedStep> steps;
        std::string error;
        if (parseReadRecord(row.record, &steps, &error))
            EXPECT_EQ(startLayout(steps, kListing), row.layout);
        else
            EXPECT_EQ(error.rfind(row.layout.at(0), 0), 0u) << error;
    }
}

}  // namespace
