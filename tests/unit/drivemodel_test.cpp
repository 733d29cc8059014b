// The simulated drive's timing: read patterns against their cost in seconds
// and seeks; rates as written on its command line; its faults, placed on an
// image and charged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/driveargs.h"
#include "media/drivemodel.h"

namespace {
struct Read {
    uint64_t at, len;
    double idle = 0;  // seconds since the last read ended
};
}  // namespace

TEST(DriveModel, ReadPatterns)
{
    const DriveModel cd = {100000, 0.1, 1000, 0, 1};  // round figures: 10 us a byte
    const DriveModel buffered = {100000, 0.1, 1000, 4000, 1};
    const DriveModel sectors = {100000, 0.1, 4096, 0, 2048};
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
        {"full speed costs nothing but counts", {0, 0.1, 1000, 0, 1}, {{0, 10}, {9000, 10}}, 0, 2},
        {"no seek time: the bytes alone", {100000, 0, 0, 0, 1}, {{0, 1000}, {50000, 1000}}, 0.02, 2},
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
        {"a byte costs its whole sector", sectors, {{5000, 1}}, 0.1 + 0.02048, 1},
        {"a read across a sector edge costs both", sectors, {{2047, 2}}, 0.1 + 0.04096, 1},
        {"the rest of the sector last read is held", sectors,
         {{0, 1000}, {1000, 1000}, {2000, 100}}, 0.1 + 0.02048 + 0.02048, 1},
        {"a file's tail and the next file stream", sectors, {{0, 3000}, {4096, 2048}},
         0.1 + 0.04096 + 0.02048, 1},
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

// Each command line against what the drive makes of it: the faults placed on a
// small image, or the message that refuses it.
TEST(DriveModel, FaultsAndArguments)
{
    const std::vector<MediaFile> files = {
        {"BKGFX.DLL", 5000, false, 40960},
        {"DEMODATA", 2048, true, 20480},
        {"DEMODATA\\BK05.BK2", 100000, false, 102400},
        {"EMPTY.TXT", 0, false, 0},
    };
    const uint64_t imageSize = 300000;
    struct Placed {
        bool fails;
        uint64_t from, to;
        double seconds;
    };
    const struct {
        std::vector<const char*> args;
        const char* error;  // a part of the message; null: accepted
        std::vector<Placed> faults;
        uint64_t ejectAfter;
    } rows[] = {
        {{"-f", "-r", "24x", "-s", "100", "i", "m"}, nullptr, {}, 0},
        {{"--scratch", "DEMODATA/BK05.BK2", "i", "m"}, nullptr, {{true, 102400, 202400, 2}}, 0},
        {{"--scratch=demodata\\bk05.bk2,500ms", "i", "m"}, nullptr, {{true, 102400, 202400, 0.5}}, 0},
        {{"--slow", "/DEMODATA/BK05.BK2@65536+2048,8s", "i", "m"}, nullptr,
         {{false, 167936, 169984, 8}}, 0},
        {{"--slow", "4096+10,250", "--scratch", "0+1", "i", "m"}, nullptr,
         {{false, 4096, 4106, 0.25}, {true, 0, 1, 2}}, 0},
        {{"-fv", "--eject-after", "6000000", "i", "m"}, nullptr, {}, 6000000},
        {{"--cache", "--record=r.txt", "i", "m"}, nullptr, {}, 0},
        {{"--record", "i", "m"}, "an image and a mount point", {}, 0},
        {{"-s", "100", "i", "m"}, "-s without -r", {}, 0},
        {{"--slow", "BKGFX.DLL", "i", "m"}, "not RANGE,DELAY", {}, 0},
        {{"--scratch", "BKGFX.DLL,2x", "i", "m"}, "not RANGE[,DELAY]", {}, 0},
        {{"--scratch", "@0+1", "i", "m"}, "not RANGE", {}, 0},
        {{"--scratch", "BKGFX.DLL@10", "i", "m"}, "not RANGE", {}, 0},
        {{"--scratch", "10+0", "i", "m"}, "no file 10+0", {}, 0},
        {{"--scratch", "NOPE.DLL", "i", "m"}, "no file NOPE.DLL", {}, 0},
        {{"--scratch", "DEMODATA", "i", "m"}, "is a folder", {}, 0},
        {{"--scratch", "EMPTY.TXT", "i", "m"}, "is empty", {}, 0},
        {{"--scratch", "BKGFX.DLL@4999+2", "i", "m"}, "past the end of BKGFX.DLL", {}, 0},
        {{"--scratch", "299999+2", "i", "m"}, "past the end of the image", {}, 0},
        {{"--eject-after", "0", "i", "m"}, "not a byte count", {}, 0},
        {{"--eject-after", "-5", "i", "m"}, "not a byte count", {}, 0},
        {{"--slow"}, "needs a value", {}, 0},
        {{"-x", "i", "m"}, "unknown option -x", {}, 0},
        {{"--eject", "i", "m"}, "unknown option --eject", {}, 0},
        {{"i"}, "an image and a mount point", {}, 0},
    };
    for (const auto& row : rows) {
        std::string line;
        for (const char* a : row.args)
            line += std::string(a) + " ";
        SCOPED_TRACE(line);
        std::vector<const char*> argv = {"brakdrive"};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        DriveOptions options;
        std::string error;
        bool ok = parseDriveArgs(static_cast<int>(argv.size()), argv.data(), &options, &error) &&
                  placeFaults(&options.faults, files, imageSize, &error);
        ASSERT_EQ(ok, row.error == nullptr) << error;
        if (!ok) {
            EXPECT_NE(error.find(row.error), std::string::npos) << error;
            continue;
        }
        ASSERT_EQ(options.faults.size(), row.faults.size());
        for (size_t i = 0; i < row.faults.size(); ++i) {
            EXPECT_EQ(options.faults[i].fails, row.faults[i].fails) << i;
            EXPECT_EQ(options.faults[i].from, row.faults[i].from) << i;
            EXPECT_EQ(options.faults[i].to, row.faults[i].to) << i;
            EXPECT_DOUBLE_EQ(options.faults[i].seconds, row.faults[i].seconds) << i;
        }
        EXPECT_EQ(options.ejectAfter, row.ejectAfter);
    }

    // A read is charged for every fault in the sectors it covers.
    std::vector<const char*> argv = {"brakdrive", "--slow", "4096+10,1s", "--scratch", "8192+1",
                                     "i", "m"};
    DriveOptions options;
    std::string error;
    ASSERT_TRUE(parseDriveArgs(static_cast<int>(argv.size()), argv.data(), &options, &error) &&
                placeFaults(&options.faults, files, imageSize, &error));
    const struct {
        uint64_t at, len;
        double seconds;
        bool fails;
    } reads[] = {
        {0, 4096, 0, false},    {0, 4097, 1, false},   {6143, 1, 1, false},
        {6144, 2048, 0, false}, {8000, 200, 2, true},  {0, 65536, 3, true},
    };
    for (const auto& r : reads) {
        const FaultCharge c = faultCharge(options.faults, r.at, r.len);
        EXPECT_DOUBLE_EQ(c.seconds, r.seconds) << r.at << "+" << r.len;
        EXPECT_EQ(c.fails, r.fails) << r.at << "+" << r.len;
    }
    EXPECT_EQ(describeModel(options.model).rfind("0 bytes/s, 0.100 s a seek", 0), 0u);
}
