// The media check: one table of media listings, from the sample media through
// each way a publisher's media can break a play cycle; the names a Joliet
// disc takes; the jumps an install makes on an image's layout; the image
// reader against hand-made and damaged images.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "media/drivemodel.h"
#include "media/isoread.h"
#include "media/media.h"
#include "media/mediacheck.h"

namespace {
const size_t kSector = 2048;  // an ISO 9660 logical sector
using Listing = std::vector<MediaFile>;

// The sample media as mkmedia lays it out.
Listing sampleListing()
{
    Listing files = {{"DEMODATA", 0, true}, {"SIM", 0, true}, {"SIM\\LAUNCH", 0, true}};
    const std::vector<uint32_t> sizes = planSizes(54784);
    for (int i = 0; i < INSTALL_COUNT; ++i)
        files.push_back({installManifest[i], sizes[i], false});
    for (const char* p : {"brakstart.exe", "brakpass.exe", "BK2DEMO.EXE", "register.exe"})
        files.push_back({p, 40000, false});
    files.push_back({"autorun.inf", strlen(AUTORUN_INF), false});
    return files;
}

MediaFile* find(Listing& files, const std::string& path)
{
    for (MediaFile& f : files)
        if (f.path == path)
            return &f;
    return nullptr;
}

void drop(Listing& files, const std::string& path)
{
    ASSERT_NE(find(files, path), nullptr) << path;
    files.erase(files.begin() + (find(files, path) - files.data()));
}

// Every expected piece names a line of its own; no other line may appear.
void expectLines(const std::vector<std::string>& lines, const std::vector<std::string>& pieces,
                 const char* kind)
{
    std::string all;
    for (const std::string& l : lines)
        all += "\n  " + l;
    EXPECT_EQ(lines.size(), pieces.size()) << kind << ":" << all;
    for (const std::string& piece : pieces) {
        bool found = false;
        for (const std::string& l : lines)
            found = found || l.find(piece) != std::string::npos;
        EXPECT_TRUE(found) << kind << " lacks \"" << piece << "\":" << all;
    }
}
}  // namespace

TEST(MediaCheck, SampleAndBrokenVariants)
{
    const std::string deep = "A\\B\\C\\D\\E\\F\\G\\H";
    const struct {
        const char* name;
        std::function<void(Listing&)> change;
        std::vector<std::string> errors, warnings;
    } rows[] = {
        {"the sample media", [](Listing&) {}, {}, {}},
        {"names in other letter case",
         [](Listing& f) {
             for (MediaFile& m : f)
                 for (char& c : m.path)
                     c = static_cast<char>(tolower(c));
         },
         {}, {}},
        {"a data file missing", [](Listing& f) { drop(f, "DEMODATA\\BK07.BK2"); },
         {"missing: DEMODATA\\BK07.BK2 (install entry)"}, {"total: "}},
        {"an empty file", [](Listing& f) { find(f, "SIM\\CAR3.CFG")->size = 0; },
         {"empty: SIM\\CAR3.CFG"}, {"total: "}},
        {"the game missing", [](Listing& f) { drop(f, "Brakdemo.exe"); },
         {"missing: Brakdemo.exe (the game the launcher starts)"}, {"total: "}},
        {"the follow-up missing", [](Listing& f) { drop(f, "register.exe"); },
         {"missing: register.exe"}, {}},
        {"the menu and the relay missing",
         [](Listing& f) {
             drop(f, "BK2DEMO.EXE");
             drop(f, "brakpass.exe");
         },
         {"missing: BK2DEMO.EXE", "missing: brakpass.exe"}, {}},
        {"an entry that is a folder",
         [](Listing& f) {
             find(f, "SIM\\SIM.INI")->directory = true;
             find(f, "SIM\\SIM.INI")->size = 0;
         },
         {"missing: SIM\\SIM.INI"}, {"total: "}},
        {"two names that are one on Windows",
         [](Listing& f) { f.push_back({"demodata\\bk01.bk2", 5, false}); },
         {"name: demodata\\bk01.bk2: differs from DEMODATA\\BK01.BK2 only in letter case"}, {}},
        {"a name too long for Joliet",
         [](Listing& f) { f.push_back({"SIM\\" + std::string(62, 'n') + ".txt", 5, false}); },
         {"longer than Joliet's 64 characters"}, {}},
        {"a name Joliet forbids", [](Listing& f) { f.push_back({"SIM\\A;B.TXT", 5, false}); },
         {"name: SIM\\A;B.TXT: one of * / : ; ? \\"}, {}},
        {"folders too deep",
         [&deep](Listing& f) {
             for (size_t end = 1; end <= deep.size(); end += 2)
                 f.push_back({deep.substr(0, end), 0, true});
         },
         {"name: " + deep + ": deeper than ISO 9660's eight levels"}, {}},
        {"a total off by one byte only warns",
         [](Listing& f) { find(f, "DEMODATA\\BK01.BK2")->size += 1; }, {},
         {"total: the install entries add up to 11,500,001 bytes; the progress bar assumes "
          "11,500,000"}},
        {"no autorun.inf only warns", [](Listing& f) { drop(f, "autorun.inf"); }, {},
         {"missing: autorun.inf"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Listing files = sampleListing();
        row.change(files);
        const MediaCheck result = checkMedia(files);
        expectLines(result.errors, row.errors, "errors");
        expectLines(result.warnings, row.warnings, "warnings");
    }
}

// The sample listing as an image: the install's files one after another, each
// from a sector of its own, as mkimage.sh lays them out; the rest after them.
Listing laidOut()
{
    Listing files = sampleListing();
    uint64_t at = 100 * kSector;
    for (MediaFile& f : files)
        if (!f.directory) {
            f.offset = at;
            at += (f.size + kSector - 1) / kSector * kSector;
        }
    return files;
}

// Moves path and all after it so that gap bytes lie between it and the file before.
void gapBefore(Listing& files, const char* path, uint64_t gap)
{
    const MediaFile* at = find(files, path);
    uint64_t end = 0;
    for (const MediaFile& m : files)
        if (m.offset < at->offset && m.offset + m.size > end)
            end = m.offset + m.size;
    const uint64_t from = at->offset, to = end + gap;
    for (MediaFile& m : files)
        if (m.offset >= from)
            m.offset += to - from;
}

TEST(MediaCheck, JumpsOfTheInstall)
{
    const struct {
        const char* name;
        std::function<void(Listing&)> change;
        int jumps, backwards;
    } rows[] = {
        {"in the install's order", [](Listing&) {}, 0, 0},
        {"two files swapped",  // BK02 before BK01: over BK02, back to it, over BK01
         [](Listing& f) {
             std::swap(find(f, "DEMODATA\\BK01.BK2")->offset,
                       find(f, "DEMODATA\\BK02.BK2")->offset);
         },
         3, 1},
        {"a short gap is read through",
         [](Listing& f) {
             gapBefore(f, "SIM\\CAR1.CFG", READ_THROUGH);
         },
         0, 0},
        {"a gap a byte longer is a jump",
         [](Listing& f) {
             gapBefore(f, "SIM\\CAR1.CFG", READ_THROUGH + 1);
         },
         1, 0},
        {"the last file at the front",
         [](Listing& f) { find(f, "SIM\\LAUNCH\\PAD6.SHP")->offset = kSector; }, 1, 1},
        {"an empty file is never read",
         [](Listing& f) {
             find(f, "SIM\\CAR3.CFG")->size = 0;
             find(f, "SIM\\CAR3.CFG")->offset = kSector;
         },
         0, 0},
        {"a folder has no layout",
         [](Listing& f) {
             for (MediaFile& m : f)
                 m.offset = 0;
         },
         -1, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Listing files = laidOut();
        row.change(files);
        const MediaCheck result = checkMedia(files);
        EXPECT_EQ(result.jumps, row.jumps);
        EXPECT_EQ(result.backwards, row.backwards);
        bool warned = false;
        for (const std::string& w : result.warnings)
            warned = warned || w.rfind("layout: ", 0) == 0;
        EXPECT_EQ(warned, row.jumps > 0);
    }
}

TEST(MediaCheck, DiscNames)
{
    const struct {
        std::string name;
        bool fits;
    } rows[] = {
        {"BK01.BK2", true},
        {"brakstart.exe", true},
        {std::string(64, 'x'), true},
        {std::string(65, 'x'), false},
        {"", false},
        {"a*b", false},
        {"a:b", false},
        {"tab\there", false},
        {"a<b", false},
        {"ends.", false},
        {"ends ", false},
        {"\xC3\x84rger.txt", true},           // U+00C4, two bytes
        {std::string(63, 'x') + "\xE2\x82\xAC", true},  // 64 characters, 66 bytes
        {"\xC3", false},                      // cut short
        {"\xC0\xAF", false},                  // overlong '/'
        {"\xED\xA0\x80", false},              // a surrogate
        {"\xF0\x9F\x8E\xAE.txt", false},      // beyond UCS-2
    };
    for (const auto& row : rows)
        EXPECT_EQ(badDiscName(row.name) == nullptr, row.fits) << row.name;
}

namespace {
// A small image by hand: descriptors at 16 (Joliet) and 17 (end), the root
// directory at 18, then whatever sectors a case adds.
struct Image {
    std::vector<unsigned char> bytes = std::vector<unsigned char>(20 * kSector, 0);

    static void put32(unsigned char* p, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<unsigned char>(v >> (8 * i));
    }
    // A directory record at sector:offset; returns its length.
    size_t record(size_t sector, size_t offset, uint32_t extent, uint32_t length, bool dir,
                  const std::string& name)
    {
        unsigned char* r = &bytes[sector * kSector + offset];
        // The directory itself and its parent are one byte, 0 and 1, even in Joliet.
        const bool dot = name.size() == 1 && (name[0] == '\0' || name[0] == '\1');
        const size_t len = dot ? 1 : name.size() * 2;
        const size_t n = 33 + len + (len % 2 == 0 ? 1 : 0);
        r[0] = static_cast<unsigned char>(n);
        put32(r + 2, extent);
        put32(r + 10, length);
        r[25] = dir ? 2 : 0;
        r[32] = static_cast<unsigned char>(len);
        if (dot)
            r[33] = static_cast<unsigned char>(name[0]);
        else
            for (size_t i = 0; i < name.size(); ++i)
                r[33 + 2 * i + 1] = static_cast<unsigned char>(name[i]);
        return n;
    }
    Image()
    {
        unsigned char* vd = &bytes[16 * kSector];
        vd[0] = 2;
        memcpy(vd + 1, "CD001", 5);
        memcpy(vd + 88, "%/E", 3);
        vd[128] = 0x00;
        vd[129] = 0x08;  // 2048
        record(16, 156, 18, 2048, true, std::string(1, '\0'));
        memcpy(&bytes[17 * kSector], "\xFF" "CD001", 6);
        size_t at = record(18, 0, 18, 2048, true, std::string(1, '\0'));
        at += record(18, at, 18, 2048, true, std::string(1, '\1'));
        root = at;
    }
    size_t root;  // where the root's own entries begin
};
}  // namespace

TEST(IsoRead, HandMadeImages)
{
    const struct {
        const char* name;
        std::function<void(Image&)> change;
        std::vector<std::string> paths;  // on success
        const char* error;               // else a piece of the reason
    } rows[] = {
        {"a file and a folder",
         [](Image& im) {
             size_t at = im.root + im.record(18, im.root, 19, 5, false, "Brakdemo.exe;1");
             at += im.record(18, at, 19, 2048, true, "SIM");
             im.record(19, 0, 18, 3, false, "x");
         },
         {"Brakdemo.exe", "SIM", "SIM\\x"}, nullptr},
        {"a folder that holds itself",
         [](Image& im) { im.record(18, im.root, 18, 2048, true, "LOOP"); }, {}, "nested deeper"},
        {"a file beyond the end",
         [](Image& im) { im.record(18, im.root, 19, 4097, false, "BIG"); }, {}, "outside"},
        {"a folder beyond the end",
         [](Image& im) { im.record(18, im.root, 4000000, 2048, true, "FAR"); }, {}, "outside"},
        {"a record past its folder's end",
         [](Image& im) {
             im.record(18, im.root, 19, 1, false, "LONGNAME");
             Image::put32(&im.bytes[16 * kSector + 156 + 10], static_cast<uint32_t>(im.root + 40));
         },
         {}, "malformed"},
        {"a name longer than its record",
         [](Image& im) {
             im.record(18, im.root, 19, 1, false, "AB");
             im.bytes[18 * kSector + im.root + 32] = 40;
         },
         {}, "malformed"},
        {"a name cut in half",
         [](Image& im) {
             im.record(18, im.root, 19, 1, false, "AB");
             im.bytes[18 * kSector + im.root + 32] = 3;
         },
         {}, "not UCS-2"},
        {"no Joliet descriptor", [](Image& im) { im.bytes[16 * kSector] = 1; }, {}, "no Joliet"},
        {"not an image at all", [](Image& im) { im.bytes[16 * kSector + 1] = 'X'; }, {}, "not an ISO"},
        {"cut before its descriptors", [](Image& im) { im.bytes.resize(16 * kSector + 100); }, {},
         "not an ISO"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Image im;
        row.change(im);
        std::vector<MediaFile> files;
        std::string error;
        const bool ok = readIsoTree(im.bytes.data(), im.bytes.size(), &files, &error);
        ASSERT_EQ(ok, row.error == nullptr) << error;
        if (!ok) {
            EXPECT_NE(error.find(row.error), std::string::npos) << error;
            continue;
        }
        std::vector<std::string> paths;
        for (const MediaFile& f : files)
            paths.push_back(f.path);
        EXPECT_EQ(paths, row.paths);
    }
}
