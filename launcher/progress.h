// The install's byte-driven progress: when the bar falls due and what it shows.
#pragma once
#include <cstddef>

#include "launcher/ansipath.h"

enum {
    INSTALL_UPDATE_AFTER = 12000,  // the bar moves when this many bytes are exceeded
    INSTALL_PERCENT_MAX = 100
};
extern const double INSTALL_EXPECTED_BYTES;  // 11,500,000: the whole install

// The percent shown after total_copied bytes: the share of the expected total,
// truncated, never above 100.
int installPercent(double total_copied);

// Counts up to n copied bytes into the counters, stopping right after the byte
// on which the bar falls due. Returns how many bytes it counted; `due` says
// whether to show `percent` now (numbytes is then back at 0). Called over a
// block until the block is used up, it gives the updates a byte-at-a-time
// copy would give, at the same byte counts.
size_t countCopied(double& total_copied, int& numbytes, int& percent, size_t n, bool& due);

// Whether a name met in the tree is the entry itself and not a link: its
// resolved path must be its resolved directory plus its own name (letter
// case aside). Both resolved paths come from the same query, in the ANSI code
// page whose lead bytes lb holds.
bool resolvesInPlace(const char* resolvedFile, const char* resolvedDir, const char* name,
                     const LeadBytes& lb);
