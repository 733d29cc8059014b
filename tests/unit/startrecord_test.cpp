// The start record: its text read back whole or not at all, and which
// recorded child a later launcher ends.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "launcher/startrecord.h"

namespace {
struct TextRow {
    const char* text;
    bool whole;
    StartRecord r;
};

// A kill while the record is written leaves any prefix of it; only the whole
// line counts.
const TextRow kTexts[] = {
    {"1234 5678 133456789012345678\r\n", true, {1234, 5678, 133456789012345678ull}},
    {"4294967295 4294967295 18446744073709551615\r\n", true,
     {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFFFFFFFFFull}},
    {"0 0 0\r\n", true, {0, 0, 0}},
    {"1234 5678 133456789012345678\r", false, {}},
    {"1234 5678 133456789012345678", false, {}},
    {"1234 5678 ", false, {}},
    {"1234", false, {}},
    {"", false, {}},
    {"4294967296 1 1\r\n", false, {}},             // past 32 bits
    {"1 1 18446744073709551616\r\n", false, {}},   // past 64 bits
    {"1 1 1\r\n1 1 1\r\n", false, {}},             // more than one
    {"1  1 1\r\n", false, {}},
    {"-1 1 1\r\n", false, {}},
    {"1 1 1x\r\n", false, {}},
};

TEST(StartRecord, ReadBackWholeOrNotAtAll)
{
    for (const TextRow& row : kTexts) {
        StartRecord r = {7, 7, 7};
        const bool whole = parseStartRecord(row.text, std::strlen(row.text), &r);
        EXPECT_EQ(whole, row.whole) << row.text;
        if (whole && row.whole) {
            EXPECT_TRUE(r.pid == row.r.pid && r.tid == row.r.tid && r.created == row.r.created)
                << row.text;
        }
        if (!row.whole)
            continue;
        char out[START_RECORD_MAX];
        const size_t n = formatStartRecord(row.r, out, sizeof out);
        EXPECT_EQ(std::string(out, n), row.text);
        EXPECT_EQ(formatStartRecord(row.r, out, n - 1), 0u) << "one byte short: " << row.text;
    }
}

TEST(StartRecord, OnlyTheSameChildNeverLetGoIsEnded)
{
    const StartRecord r = {1234, 5678, 1000};
    const struct {
        bool running;
        uint64_t created;
        bool owned;
        long count;
        bool end;
        const char* why;
    } rows[] = {
        {true, 1000, true, 1, true, "suspended since its creation"},
        {true, 1000, true, 2, true, "suspended twice"},
        {true, 1000, true, 0, false, "it runs: the launcher died after letting it go"},
        {true, 1000, true, -1, false, "its count cannot be read"},
        {true, 1000, false, 1, false, "the thread ID now names another process's thread"},
        {true, 1001, true, 1, false, "the process ID was reused"},
        {true, 999, true, 1, false, "the process ID was reused"},
        {false, 1000, true, 1, false, "it has gone"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(neverRanChild(r, row.running, row.created, row.owned, row.count), row.end)
            << row.why;
}
}  // namespace
