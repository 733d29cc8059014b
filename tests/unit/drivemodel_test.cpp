// The simulated drive's timing: read patterns against their cost in seconds
// and seeks; rates as written on its command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/drivemodel.h"

namespace {
struct Read {
    uint64_t at, len;
    double idle = 0;  // seconds since the last read ended
};
}  // namespace

TEST(DriveModel, ReadPatterns)
{
    const DriveModel cd = {100000, 0.1, 1000, 0};  // round figures: 10 us a byte
    const DriveModel buffered = {100000, 0.1, 1000, 4000};
    const struct {
        const char* name;
        DriveModel model;
        std::vector<Read> reads;
        double seconds;
        uint64_t seeks;
    } rows[] = {
        {"the first read seeks", cd, {{5000, 1000}}, 0.1 + 0.01, 1},
        {"reads that continue stream", cd, {{0, 1000}, {1000, 1000}, {2000, 50000}}, 0.1 + 0.52, 1},
        {"a gap up to the limit is read", cd, {{0, 1000}, {2000, 1000}}, 0.1 + 0.03, 1},
        {"a gap a byte longer seeks", cd, {{0, 1000}, {2001, 1000}}, 0.2 + 0.02, 2},
        {"backwards seeks", cd, {{4000, 1000}, {0, 1000}}, 0.2 + 0.02, 2},
        {"the same place again seeks", cd, {{0, 1000}, {0, 1000}}, 0.2 + 0.02, 2},
        {"full speed costs nothing but counts", {0, 0.1, 1000, 0}, {{0, 10}, {9000, 10}}, 0, 2},
        {"no seek time: the bytes alone", {100000, 0, 0, 0}, {{0, 1000}, {50000, 1000}}, 0.02, 2},
        {"idle time is no gain without a buffer", cd, {{0, 1000}, {1000, 1000, 1.0}}, 0.1 + 0.02, 1},
        // 0.02 s idle fills 2000 bytes: the next two reads are in the buffer already.
        {"the buffer fills while the host is busy", buffered,
         {{0, 1000}, {1000, 1000, 0.02}, {2000, 1000}, {3000, 1000}}, 0.1 + 0.01 + 0.01, 1},
        {"the buffer holds no more than its size", buffered,
         {{0, 1000}, {1000, 6000, 1.0}}, 0.1 + 0.01 + 0.02, 1},
        {"a gap comes out of the buffer too", buffered,
         {{0, 1000}, {1500, 1000, 1.0}, {2500, 3000}}, 0.1 + 0.01 + 0.005, 1},
        {"a jump empties the buffer", buffered,
         {{0, 1000}, {1000, 1000, 1.0}, {0, 1000}, {1000, 1000}}, 0.2 + 0.03, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DriveHead head = {false, 0, 0};
        uint64_t seeks = 0;
        double seconds = 0;
        for (const Read& r : row.reads)
            seconds += readCost(row.model, &head, r.at, r.len, r.idle, &seeks);
        EXPECT_NEAR(seconds, row.seconds, 1e-9);
        EXPECT_EQ(seeks, row.seeks);
    }
}

TEST(DriveModel, Rates)
{
    const struct {
        const char* text;
        bool ok;
        double rate;
    } rows[] = {
        {"1x", true, 153600},   {"24x", true, 3686400}, {"52X", true, 7987200},
        {"20M", true, 2e7},     {"1.5M", true, 1.5e6},  {"4096", true, 4096},
        {"0x", false, 0},       {"x", false, 0},        {"-8x", false, 0},
        {"24y", false, 0},      {"", false, 0},         {"24xx", false, 0},
    };
    for (const auto& row : rows) {
        double rate = 0;
        EXPECT_EQ(parseRate(row.text, &rate), row.ok) << row.text;
        if (row.ok) {
            EXPECT_DOUBLE_EQ(rate, row.rate) << row.text;
        }
    }
}
