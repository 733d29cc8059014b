// The choice of the temporary directory over any TMP and TEMP values and any
// attribute values, read the way the launcher reads them. The chosen T must be
// a plain directory (or the untested "C:\") and every path the play cycle
// builds from it must fit its buffer; and it must be the first candidate for
// which both hold, found here by building those paths.
#include <string>

#include "launcher/manifest.h"
#include "launcher/pathbuf.h"
#include "launcher/prepcore.h"
#include "tests/fuzz/fuzzinput.h"

namespace {
// GetEnvironmentVariableA into a PATH_BUF buffer: the length of the value, and
// the value only when it fits with its terminator.
TempCandidate readCandidate(const std::string& env, uint32_t attributes, char* buf)
{
    TempCandidate c = {!env.empty(), env.size() < PATH_BUF, buf, ATTR_NONE};
    buf[0] = '\0';
    if (c.present && c.fits) {
        std::memcpy(buf, env.c_str(), env.size() + 1);
        c.attributes = attributes;
    }
    return c;
}

// One path into a buffer of PATH_BUF bytes, a stack buffer that
// AddressSanitizer fences like a heap block.
bool builds(const char* a, const char* b, const char* c = "")
{
    char out[PATH_BUF];
    return pathJoin(out, sizeof out, a, b, c);
}

// Every directory, install entry and removal entry under T.
bool everyPathFits(const char* value)
{
    char t[PATH_BUF];
    if (!pathJoin(t, sizeof t, value, ""))
        return false;
    dropTrailingBackslash(t, NO_LEAD_BYTES);
    char dir[DEMO_DIRS][PATH_BUF];
    for (int i = 0; i < DEMO_DIRS; ++i)
        if (!builds(t, demoDirSuffix[i]) || !pathJoin(dir[i], PATH_BUF, t, demoDirSuffix[i]))
            return false;
    for (const char* entry : installManifest)
        if (!builds(dir[0], "\\", entry))
            return false;
    const struct {
        const char* const* names;
        int count;
    } groups[DEMO_DIRS] = {{removeRoot, REMOVE_ROOT},
                           {removeDemodata, REMOVE_DEMODATA},
                           {removeSim, REMOVE_SIM},
                           {removeLaunch, REMOVE_LAUNCH}};
    for (int g = 0; g < DEMO_DIRS; ++g)
        for (int i = 0; i < groups[g].count; ++i)
            if (!builds(dir[g], "\\", groups[g].names[i]))
                return false;
    return true;
}

// A directory, and none of read-only, hidden, system, reparse point, offline,
// recall on open, recall on data access.
bool serves(const std::string& env, uint32_t attributes)
{
    return !env.empty() && env.size() < PATH_BUF && (attributes & 0x10) != 0 &&
           (attributes & 0x441407) == 0 &&
           everyPathFits(env.c_str());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    // Attribute values: mostly the bits a directory may carry, sometimes anything.
    uint32_t attr[2];
    for (uint32_t& a : attr) {
        const uint32_t raw = in.u32();
        a = (raw & 0x80000000u) ? raw : (raw & 0x47FFFFu);
    }
    const std::string env[2] = {in.str().get(), in.str().get()};

    char buf[2][PATH_BUF];
    const TempCandidate c[2] = {readCandidate(env[0], attr[0], buf[0]),
                                readCandidate(env[1], attr[1], buf[1])};
    const char* chosen = chooseTemp(c, 2, NO_LEAD_BYTES);

    const int expected = serves(env[0], attr[0]) ? 0 : serves(env[1], attr[1]) ? 1 : -1;
    if (expected < 0)
        FUZZ_CHECK(std::strcmp(chosen, "C:\\") == 0);
    else
        FUZZ_CHECK(chosen == buf[expected]);
    FUZZ_CHECK(everyPathFits(chosen));
    return 0;
}
