#!/bin/sh
# Runs one share of a test program's tests in a Wine prefix and on a virtual
# screen of their own, so that shares run side by side: each prefix has its
# own launcher mutex and windows. The prefix shares the main one's C:.
# Usage: shard.sh WORKDIR INDEX COUNT PROGRAM [ARGS...]
# Started by ctest under scripts/test, with the loader harness/winebuild chose.
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
: "${WINEPREFIX:?WINEPREFIX names the main prefix}"
work="$1"; index="$2"; count="$3"; shift 3

rm -rf "$work"
own_prefix "$work/prefix"
export GTEST_SHARD_INDEX="$index" GTEST_TOTAL_SHARDS="$count"
wine_screen "${BRAK_WINE:-wine}" "$@"
