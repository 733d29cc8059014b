// The sample media generator's work: file sizes, contents and the layout.
#include "media/media.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "media/filelist.h"
#include "media/isoread.h"

namespace fs = std::filesystem;

// The fields AutoPlay reads; the icon is the launcher's first icon resource.
const char AUTORUN_INF[] =
    "[autorun]\r\n"
    "open=brakstart.exe\r\n"
    "icon=brakstart.exe,0\r\n"
    "label=BK2 Demo\r\n"
    "action=Play the BK2 Demo\r\n";

namespace {
const char kGameEntry[] = "Brakdemo.exe";
const char kListEntry[] = "FILES.TXT";

uint32_t mix(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

// lo .. hi, chosen by the entry's index alone so that media are reproducible.
uint32_t varied(int index, uint32_t lo, uint32_t hi)
{
    return lo + mix(static_cast<uint32_t>(index) + 1) % (hi - lo + 1);
}

bool endsWith(const char* s, const char* tail)
{
    const size_t n = strlen(s), m = strlen(tail);
    return n >= m && strcmp(s + n - m, tail) == 0;
}

// Sizes of everything but the .bk2 data files, by kind.
uint32_t fixedSize(int index)
{
    const char* e = installManifest[index];
    if (endsWith(e, ".DLL"))
        return varied(index, 60000, 120000);
    if (endsWith(e, ".FLC") || endsWith(e, ".SMK"))
        return varied(index, 100000, 140000);
    if (endsWith(e, ".MAP"))
        return varied(index, 30000, 60000);
    if (endsWith(e, ".EXE"))
        return varied(index, 80000, 100000);
    if (endsWith(e, ".BWD"))
        return varied(index, 15000, 25000);
    if (endsWith(e, ".SHP"))
        return varied(index, 8000, 16000);
    return varied(index, 500, 4000);  // .cfg, .ini, .prj, .txt
}

// FILES.TXT's length: a line "<8 hex> <size> <path>\r\n" for every other entry.
uint32_t listBytes(const std::vector<uint32_t>& sizes, int list)
{
    uint32_t bytes = 0;
    for (int i = 0; i < INSTALL_COUNT; ++i)
        if (i != list)
            bytes += static_cast<uint32_t>(8 + 1 + std::to_string(sizes[i]).size() + 1 +
                                           strlen(installManifest[i]) + 2);
    return bytes;
}

fs::path hostPath(const fs::path& folder, const char* entry)
{
    std::string rel(entry);
    for (char& c : rel)
        if (c == '\\')
            c = '/';
    return folder / rel;
}

bool readFile(const fs::path& path, std::vector<unsigned char>* data)
{
    FILE* f = fopen(path.string().c_str(), "rb");
    if (!f)
        return false;
    unsigned char buf[65536];
    size_t n;
    data->clear();
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        data->insert(data->end(), buf, buf + n);
    const bool ok = !ferror(f);
    fclose(f);
    return ok;
}

bool writeFile(const fs::path& path, const void* data, size_t size)
{
    FILE* f = fopen(path.string().c_str(), "wb");
    if (!f)
        return false;
    const bool written = fwrite(data, 1, size, f) == size;
    return fclose(f) == 0 && written;
}

int64_t fail(std::string* error, const std::string& what, const fs::path& path)
{
    *error = what + ": " + path.string();
    return -1;
}
}  // namespace

std::vector<uint32_t> planSizes(uint32_t gameSize)
{
    std::vector<uint32_t> sizes(INSTALL_COUNT, 0);
    std::vector<int> data;
    int list = -1;
    uint64_t used = 0;
    for (int i = 0; i < INSTALL_COUNT; ++i) {
        const char* e = installManifest[i];
        if (strcmp(e, kGameEntry) == 0)
            sizes[i] = gameSize;
        else if (strcmp(e, kListEntry) == 0) {
            list = i;
            continue;
        } else if (endsWith(e, ".BK2")) {
            data.push_back(i);
            continue;
        } else
            sizes[i] = fixedSize(i);
        used += sizes[i];
    }

    // The data files share what is left, each by a weight of 500 to 1500. The
    // list's length depends on their sizes' digits: a second round settles it.
    uint64_t weights = 0;
    for (int i : data)
        weights += varied(i, 500, 1500);
    for (int round = 0; round < 4; ++round) {
        const uint64_t taken = used + (list < 0 ? 0 : sizes[list]);
        const uint64_t left = taken < MEDIA_TARGET_BYTES ? MEDIA_TARGET_BYTES - taken : 0;
        uint64_t given = 0;
        for (size_t k = 0; k < data.size(); ++k) {
            const int i = data[k];
            const uint64_t share = k + 1 < data.size() ? left * varied(i, 500, 1500) / weights
                                                       : left - given;
            sizes[i] = static_cast<uint32_t>(share);
            given += share;
        }
        if (list < 0)
            break;
        const uint32_t listed = listBytes(sizes, list);
        if (listed == sizes[list])
            break;
        sizes[list] = listed;
    }
    return sizes;
}

std::vector<unsigned char> sampleContents(int index, uint32_t size)
{
    std::vector<unsigned char> out(size);
    uint32_t state = mix(0xB2D0u + static_cast<uint32_t>(index));
    for (uint32_t i = 0; i < size; i += 4) {
        state = mix(state + 0x9E3779B9u);
        for (uint32_t k = 0; k < 4 && i + k < size; ++k)
            out[i + k] = static_cast<unsigned char>(state >> (8 * k));
    }
    return out;
}

int64_t makeMedia(const std::string& folder, const std::string& gamePath,
                  const std::vector<std::string>& programs, std::string* error)
{
    const fs::path root(folder);
    std::error_code ec;
    for (const char* dir : {"DEMODATA", "SIM", "SIM/LAUNCH"}) {
        fs::create_directories(root / dir, ec);
        if (ec)
            return fail(error, "cannot create " + ec.message(), root / dir);
    }

    std::vector<unsigned char> game;
    if (!readFile(gamePath, &game))
        return fail(error, "cannot read the game program", gamePath);
    if (game.size() > 0xFFFFFFFFu)
        return fail(error, "game program too big", gamePath);
    const std::vector<uint32_t> sizes = planSizes(static_cast<uint32_t>(game.size()));

    std::string list;
    int64_t total = 0;
    int listIndex = -1;
    for (int i = 0; i < INSTALL_COUNT; ++i) {
        const char* e = installManifest[i];
        if (strcmp(e, kListEntry) == 0) {
            listIndex = i;  // it cannot list itself
            continue;
        }
        const std::vector<unsigned char> contents =
            strcmp(e, kGameEntry) == 0 ? game : sampleContents(i, sizes[i]);
        const fs::path path = hostPath(root, e);
        if (!writeFile(path, contents.data(), contents.size()))
            return fail(error, "cannot write", path);

        ListEntry entry = {};
        entry.crc = crc32Update(0, contents.data(), contents.size());
        entry.size = static_cast<uint32_t>(contents.size());
        snprintf(entry.path, sizeof entry.path, "%s", e);
        char line[128];
        const size_t n = formatListLine(line, sizeof line, entry);
        if (n == 0)
            return fail(error, "entry does not fit the list", path);
        list.append(line, n);
        total += static_cast<int64_t>(contents.size());
    }
    if (listIndex < 0)
        return fail(error, "the install manifest has no checksum list entry", root);
    const fs::path listPath = hostPath(root, installManifest[listIndex]);
    if (list.size() != sizes[listIndex])
        return fail(error, "the checksum list's length differs from its plan", listPath);
    if (!writeFile(listPath, list.data(), list.size()))
        return fail(error, "cannot write", listPath);
    total += static_cast<int64_t>(list.size());
    if (!writeFile(root / "autorun.inf", AUTORUN_INF, strlen(AUTORUN_INF)))
        return fail(error, "cannot write", root / "autorun.inf");

    for (const std::string& program : programs) {
        const fs::path from(program);
        fs::copy_file(from, root / from.filename(), fs::copy_options::overwrite_existing, ec);
        if (ec)
            return fail(error, "cannot copy " + ec.message(), from);
    }
    return total;
}

bool listMedia(const std::string& path, std::vector<MediaFile>* files, std::string* error)
{
    files->clear();
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
        std::vector<unsigned char> image;
        if (!readFile(path, &image)) {
            *error = "cannot read " + path;
            return false;
        }
        return readIsoTree(image.data(), image.size(), files, error);
    }
    for (fs::recursive_directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        std::string rel = it->path().lexically_relative(path).string();
        for (char& c : rel)
            if (c == '/')
                c = '\\';
        const bool dir = it->is_directory(ec);
        const uint64_t size = dir ? 0 : it->file_size(ec);
        if (ec)
            break;
        files->push_back({rel, size, dir});
    }
    if (ec) {
        *error = "cannot list " + path + ": " + ec.message();
        return false;
    }
    return true;
}
