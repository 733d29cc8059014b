#!/bin/sh
# Runs one share of a test program's tests in a Wine prefix and on a virtual
# screen of their own, so that shares run side by side: each prefix has its
# own launcher mutex and windows. The prefix shares the main one's C:.
# BRAKTEST_WINVER=VERSION:SAYS sets the prefix to report an older Windows
# (win95, nt40, ...), checked by what cmd's ver then says (95: "4.0.67109814",
# its build 950 under the version in the high word).
# Usage: shard.sh WORKDIR INDEX COUNT PROGRAM [ARGS...]
# Started by ctest under scripts/test, with the loader harness/winebuild chose.
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
: "${WINEPREFIX:?WINEPREFIX names the main prefix}"
work="$1"; index="$2"; count="$3"; shift 3

rm -rf "$work"
own_prefix "$work/prefix"
if [ -n "${BRAKTEST_WINVER:-}" ]; then
    printf '\n[Software\\\\Wine]\n"Version"="%s"\n' "${BRAKTEST_WINVER%%:*}" >> "$WINEPREFIX/user.reg"
    says="$("${BRAK_WINE:-wine}" cmd /c ver </dev/null 2>/dev/null | tr -d '\r')"
    wineserver -k 2>/dev/null || true
    case "$says" in
        *"Windows ${BRAKTEST_WINVER#*:}"*) ;;
        *) echo "shard: the prefix does not report ${BRAKTEST_WINVER%%:*}: $says"; exit 1 ;;
    esac
fi
export GTEST_SHARD_INDEX="$index" GTEST_TOTAL_SHARDS="$count"
wine_screen "${BRAK_WINE:-wine}" "$@"
