#!/bin/sh
# The kill campaign: ROUNDS rounds (default 100, fixed SEED) of a play cycle
# on the sample media with the launcher ended hard at a random moment from
# Play to the menu's return, then a whole cycle by a new launcher; a line per
# round and a summary by phase. Not part of scripts/test.
# Usage: scripts/killrun [ROUNDS [SEED]]
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
. harness/sampleplay.sh

out="$root/build/killrun"
sample_media "$out/media"
on_screen "build/$BRAK_WINBUILD/bin/killrun.exe" "$(winpath "$out/media")" "${1:-100}" "${2:-19}"
