// The install's byte-driven progress and the in-place test for tree entries.
#include "launcher/progress.h"

#include <cstring>

const double INSTALL_EXPECTED_BYTES = 11500000;

int installPercent(double total_copied)
{
    // Multiplied in this order, in doubles: the share first, then by 100.
    int p = static_cast<int>(total_copied * (1.0 / INSTALL_EXPECTED_BYTES) * 100);
    return p > INSTALL_PERCENT_MAX ? INSTALL_PERCENT_MAX : p;
}

size_t countCopied(double& total_copied, int& numbytes, int& percent, size_t n, bool& due)
{
    due = false;
    if (n == 0)
        return 0;
    // The update falls on the byte that takes numbytes past the threshold.
    const size_t toDue = numbytes > INSTALL_UPDATE_AFTER
                             ? 1
                             : static_cast<size_t>(INSTALL_UPDATE_AFTER + 1 - numbytes);
    const size_t k = n < toDue ? n : toDue;
    // Whole numbers far below 2^53: one addition equals k additions of 1.
    total_copied += static_cast<double>(k);
    numbytes += static_cast<int>(k);
    if (numbytes > INSTALL_UPDATE_AFTER) {
        percent = installPercent(total_copied);
        numbytes = 0;
        due = true;
    }
    return k;
}

bool resolvesInPlace(const char* resolvedFile, const char* resolvedDir, const char* name,
                     const LeadBytes& lb)
{
    size_t ld = std::strlen(resolvedDir);
    while (endsInBackslash(resolvedDir, ld, lb))
        --ld;
    const size_t ln = std::strlen(name);
    if (ln == 0 || std::strlen(resolvedFile) != ld + 1 + ln)
        return false;
    return sameTextNoCase(resolvedFile, resolvedDir, ld, lb) && resolvedFile[ld] == '\\' &&
           sameTextNoCase(resolvedFile + ld + 1, name, ln, lb);
}
