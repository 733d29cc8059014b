// mkmedia FOLDER GAME [PROGRAM...]: lays out a sample media folder that can be
// burned as it stands. GAME becomes the game program of the install; each
// PROGRAM (launcher, relay, menu, follow-up) is copied beside the game's files.
// mkmedia --check FOLDER_OR_IMAGE: says whether a media gives a whole play
// cycle; exits 1 when it would not, 2 when it cannot be read.
// mkmedia --order FOLDER: the folder's install entries in the order the
// install reads them, as paths under the root, for mkimage.sh.
// mkmedia --layout FOLDER [RECORD]: the folder's files and directories in the
// order a start reads them (readorder.h), from a drive's record or built in.
// mkmedia --dirs IMAGE: each Joliet directory's size and path ("\" the root);
// mkmedia --place-dirs IMAGE: each directory moved into its slot (dirplace.h).
#include <cstdio>
#include <cstring>
#include <strings.h>

#include <filesystem>

#include "media/dirplace.h"
#include "media/isoread.h"
#include "media/media.h"
#include "media/readorder.h"

namespace {
int check(const char* path)
{
    std::vector<MediaFile> files;
    std::string error;
    if (!listMedia(path, &files, &error)) {
        fprintf(stderr, "mkmedia: %s\n", error.c_str());
        return 2;
    }
    const MediaCheck result = checkMedia(files);
    for (const std::string& line : result.errors)
        printf("error: %s\n", line.c_str());
    for (const std::string& line : result.warnings)
        printf("warning: %s\n", line.c_str());
    if (!result.errors.empty()) {
        printf("%s: BROKEN, %zu error(s): a player would not get a whole play cycle\n", path,
               result.errors.size());
        return 1;
    }
    if (result.jumps >= 0)
        printf("layout: %d jumps in the start's reads (%d backwards), %d in the install's (%d "
               "backwards)\n",
               result.startJumps, result.startBackwards, result.jumps, result.backwards);
    printf("%s: ok, %d install entries of %llu bytes, %zu files and folders\n", path,
           static_cast<int>(INSTALL_COUNT), static_cast<unsigned long long>(result.installBytes),
           files.size());
    return 0;
}

bool readImage(const char* path, std::vector<unsigned char>* bytes)
{
    FILE* f = fopen(path, "rb");
    if (!f) {
        fprintf(stderr, "mkmedia: cannot read %s\n", path);
        return false;
    }
    unsigned char buf[65536];
    for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;)
        bytes->insert(bytes->end(), buf, buf + n);
    const bool ok = !ferror(f);
    fclose(f);
    return ok;
}

// A media folder's files, or false after saying why.
bool listFolder(const char* folder, std::vector<MediaFile>* files)
{
    std::string error;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        fprintf(stderr, "mkmedia: no folder %s\n", folder);
        return false;
    }
    if (!listMedia(folder, files, &error)) {
        fprintf(stderr, "mkmedia: %s\n", error.c_str());
        return false;
    }
    return true;
}

// The entries as the folder spells them: a publisher's names may differ in case.
int order(const char* folder)
{
    std::vector<MediaFile> files;
    if (!listFolder(folder, &files))
        return 2;
    for (const char* entry : installManifest)
        for (const MediaFile& f : files)
            if (!f.directory && strcasecmp(f.path.c_str(), entry) == 0) {
                std::string path = f.path;
                for (char& c : path)
                    if (c == '\\')
                        c = '/';
                printf("%s\n", path.c_str());
            }
    return 0;
}
int layout(const char* folder, const char* recordPath)
{
    std::vector<MediaFile> files;
    if (!listFolder(folder, &files))
        return 2;
    std::vector<RecordedStep> start = builtInStart();
    if (recordPath) {
        std::vector<unsigned char> text;
        if (!readImage(recordPath, &text))
            return 2;
        start.clear();
        std::string error;
        if (!parseReadRecord(std::string(text.begin(), text.end()), &start, &error)) {
            fprintf(stderr, "mkmedia: %s: %s\n", recordPath, error.c_str());
            return 2;
        }
    }
    for (const std::string& line : startLayout(start, files))
        printf("%s\n", line.c_str());
    return 0;
}

int directories(const char* path)
{
    std::vector<unsigned char> image;
    std::vector<MediaFile> files;
    MediaFile root;
    std::string error;
    if (!readImage(path, &image))
        return 2;
    if (!readIsoTree(image.data(), image.size(), &files, &error, &root)) {
        fprintf(stderr, "mkmedia: %s: %s\n", path, error.c_str());
        return 2;
    }
    printf("%llu \\\n", static_cast<unsigned long long>(root.size));
    for (const MediaFile& f : files)
        if (f.directory)
            printf("%llu %s\n", static_cast<unsigned long long>(f.size), f.path.c_str());
    return 0;
}

int placeDirs(const char* path)
{
    std::vector<unsigned char> image;
    std::string error;
    if (!readImage(path, &image))
        return 2;
    const int moved = placeDirectories(&image, &error);
    if (moved < 0) {
        fprintf(stderr, "mkmedia: %s: %s\n", path, error.c_str());
        return 1;
    }
    FILE* f = fopen(path, "r+b");
    const bool ok = f && fwrite(image.data(), 1, image.size(), f) == image.size();
    if (!f || fclose(f) != 0 || !ok) {
        fprintf(stderr, "mkmedia: cannot write %s\n", path);
        return 1;
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--check") == 0)
        return check(argv[2]);
    if (argc == 3 && strcmp(argv[1], "--order") == 0)
        return order(argv[2]);
    if ((argc == 3 || argc == 4) && strcmp(argv[1], "--layout") == 0)
        return layout(argv[2], argc == 4 ? argv[3] : nullptr);
    if (argc == 3 && strcmp(argv[1], "--dirs") == 0)
        return directories(argv[2]);
    if (argc == 3 && strcmp(argv[1], "--place-dirs") == 0)
        return placeDirs(argv[2]);
    if (argc < 3 || argv[1][0] == '-') {
        fprintf(stderr, "usage: mkmedia FOLDER GAME [PROGRAM...]\n"
                        "       mkmedia --check FOLDER_OR_IMAGE\n"
                        "       mkmedia --order FOLDER\n"
                        "       mkmedia --layout FOLDER [RECORD]\n"
                        "       mkmedia --dirs IMAGE\n"
                        "       mkmedia --place-dirs IMAGE\n");
        return 2;
    }
    std::vector<std::string> programs(argv + 3, argv + argc);
    std::string error;
    const int64_t total = makeMedia(argv[1], argv[2], programs, &error);
    if (total < 0) {
        fprintf(stderr, "mkmedia: %s\n", error.c_str());
        return 1;
    }
    printf("mkmedia: %s: %d game files, %lld bytes, %zu programs\n", argv[1],
           static_cast<int>(INSTALL_COUNT), static_cast<long long>(total), programs.size());
    return 0;
}
