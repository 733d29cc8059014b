// mkmedia FOLDER GAME [PROGRAM...]: lays out a sample media folder that can be
// burned as it stands. GAME becomes the game program of the install; each
// PROGRAM (launcher, relay, menu, follow-up) is copied beside the game's files.
#include <cstdio>

#include "sample/media.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: mkmedia FOLDER GAME [PROGRAM...]\n");
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
