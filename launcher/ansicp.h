// The process's ANSI code page as the path walks need it.
#pragma once
#include "launcher/ansipath.h"

// Its lead bytes, asked of the system once. UTF-8 has none: where the manifest's
// request is honoured (Windows 10 version 1903 and later) every byte walk is
// the plain one.
const LeadBytes& ansiLeadBytes();
