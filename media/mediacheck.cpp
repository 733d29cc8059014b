// The media check's rules: install entries, root programs, the progress
// total and the names a Joliet disc can carry.
#include "media/mediacheck.h"

#include <cstring>
#include <map>
#include <set>

#include "launcher/manifest.h"
#include "media/drivemodel.h"
#include "launcher/progress.h"

namespace {
// Joliet's limits: 64 UCS-2 characters a name, 240 a path; ISO 9660 allows
// eight directory levels, the root being the first.
const size_t kJolietName = 64;
const size_t kJolietPath = 240;
const int kDirectoryLevels = 7;

// Started from the root by name: autorun, the launcher and the sample menu.
const struct {
    const char* name;
    const char* role;
} kRootPrograms[] = {
    {"brakstart.exe", "the launcher, which autorun.inf opens"},
    {"BK2DEMO.EXE", "the menu the launcher keeps running"},
    {"brakpass.exe", "the relay the menu runs to play and to quit"},
    {"register.exe", "the follow-up program the launcher runs after the game"},
};
const char kAutorun[] = "autorun.inf";

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool endsWithExe(const std::string& s)
{
    return s.size() > 4 && lower(s.substr(s.size() - 4)) == ".exe";
}

// The game is the manifest's program in the demo root.
bool isGame(const char* entry)
{
    return !strchr(entry, '\\') && endsWithExe(entry);
}

std::string withCommas(uint64_t n)
{
    std::string digits = std::to_string(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

// Code points of a UTF-8 name; -1 when it is not UTF-8 or leaves UCS-2.
long ucs2Length(const std::string& s)
{
    long count = 0;
    for (size_t i = 0; i < s.size(); ++count) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : 9;
        if (more == 9 || i + more >= s.size())
            return -1;
        uint32_t cp = more == 0 ? c : more == 1 ? (c & 0x1Fu) : (c & 0x0Fu);
        for (size_t k = 1; k <= more; ++k) {
            const unsigned char t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return -1;
            cp = (cp << 6) | (t & 0x3Fu);
        }
        if ((more == 1 && cp < 0x80) || (more == 2 && cp < 0x800) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return -1;
        i += more + 1;
    }
    return count;
}
}  // namespace

const char* badDiscName(const std::string& name)
{
    if (name.empty())
        return "an empty name";
    const long length = ucs2Length(name);
    if (length < 0)
        return "not UTF-8 within UCS-2, as Joliet names must be";
    if (static_cast<size_t>(length) > kJolietName)
        return "longer than Joliet's 64 characters";
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20)
            return "a control character, which Joliet forbids";
        if (strchr("*/:;?\\", c))
            return "one of * / : ; ? \\, which Joliet forbids";
        if (strchr("<>\"|", c))
            return "one of < > \" |, which Windows forbids";
    }
    if (name.back() == '.' || name.back() == ' ')
        return "a trailing dot or blank, which Windows drops";
    return nullptr;
}

MediaCheck checkMedia(const std::vector<MediaFile>& files)
{
    MediaCheck out;
    out.installBytes = 0;
    out.jumps = out.startJumps = -1;
    out.backwards = out.startBackwards = 0;

    std::map<std::string, const MediaFile*> byName;
    for (const MediaFile& f : files) {
        const auto seen = byName.emplace(lower(f.path), &f);
        if (!seen.second)
            out.errors.push_back("name: " + f.path + ": differs from " + seen.first->second->path +
                                 " only in letter case, one name on Windows");
        size_t start = 0;
        int levels = 0;
        for (size_t end; start <= f.path.size(); start = end + 1) {
            end = f.path.find('\\', start);
            if (end == std::string::npos)
                end = f.path.size();
            ++levels;
            const char* why = badDiscName(f.path.substr(start, end - start));
            if (why) {
                out.errors.push_back("name: " + f.path + ": " + why);
                break;
            }
        }
        if (f.directory && levels > kDirectoryLevels)
            out.errors.push_back("name: " + f.path + ": deeper than ISO 9660's eight levels");
        if (f.path.size() > kJolietPath)
            out.errors.push_back("name: " + f.path + ": a path longer than Joliet's 240 characters");
    }

    auto fileNamed = [&byName](const std::string& name) -> const MediaFile* {
        const auto it = byName.find(lower(name));
        return it == byName.end() || it->second->directory ? nullptr : it->second;
    };

    // Only an image has a layout: its files have places.
    bool image = false;
    for (const MediaFile& f : files)
        image = image || f.offset != 0;
    if (image)
        out.jumps = out.startJumps = 0;
    DriveHead head = {false, 0, 0};
    int* jumps = &out.startJumps;
    int* backwards = &out.startBackwards;
    auto readAt = [&jumps, &backwards, &head](uint64_t offset, uint64_t size) {
        if (head.placed && isJump(head.next, offset, READ_THROUGH)) {
            ++*jumps;
            *backwards += offset < head.next ? 1 : 0;
        }
        head = {true, offset + size, 0};
    };
    // A drive reads a directory's records the first time a name is looked up
    // in it; the root's before anything else (a listing does not place it).
    std::set<std::string> directoriesRead;
    auto readFile = [&](const std::string& path, const MediaFile* f) {
        for (size_t slash = path.find('\\'); image && f && slash != std::string::npos;
             slash = path.find('\\', slash + 1)) {
            const auto dir = byName.find(lower(path.substr(0, slash)));
            if (dir != byName.end() && dir->second->directory && dir->second->size > 0 &&
                directoriesRead.insert(dir->first).second)
                readAt(dir->second->offset, dir->second->size);
        }
        if (image && f && f->size > 0)
            readAt(f->offset, f->size);
    };
    for (const char* name : {kAutorun, "brakstart.exe", "BK2DEMO.EXE", "brakpass.exe"})
        readFile(name, fileNamed(name));
    bool first = true;
    for (const char* entry : installManifest) {
        const MediaFile* f = fileNamed(entry);
        readFile(entry, f);
        // The start's count ends at the install's first read; the install's own begins there.
        if (first && f && f->size > 0) {
            jumps = &out.jumps;
            backwards = &out.backwards;
            first = false;
        }
        const char* what = isGame(entry) ? "the game the launcher starts" : "install entry";
        if (!f) {
            out.errors.push_back(std::string("missing: ") + entry + " (" + what + ")");
            continue;
        }
        if (f->size == 0)
            out.errors.push_back(std::string("empty: ") + entry + " (" + what +
                                 " of 0 bytes)");
        out.installBytes += f->size;
    }
    for (const auto& program : kRootPrograms)
        if (!fileNamed(program.name))
            out.errors.push_back(std::string("missing: ") + program.name + " (" + program.role +
                                 ")");

    const uint64_t expected = static_cast<uint64_t>(INSTALL_EXPECTED_BYTES);
    if (out.installBytes != expected)
        out.warnings.push_back("total: the install entries add up to " +
                               withCommas(out.installBytes) + " bytes; the progress bar assumes " +
                               withCommas(expected));
    if (out.jumps > 0)
        out.warnings.push_back("layout: an install makes " + std::to_string(out.jumps) +
                               " jumps on this image (" + std::to_string(out.backwards) +
                               " backwards), each a seek on a disc; mkimage.sh lays the "
                               "files out in a start's order");
    if (!fileNamed(kAutorun))
        out.warnings.push_back(std::string("missing: ") + kAutorun +
                               " (the disc will not start by itself)");
    return out;
}
