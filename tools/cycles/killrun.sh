#!/bin/sh
# The kill campaign: ROUNDS rounds (default 100, fixed SEED) of a play cycle
# on the sample media with the launcher ended hard at a random moment from
# Play to the menu's return, then a whole cycle by a new launcher; a line per
# round and a summary by phase. Not part of scripts/test.
# Usage: scripts/killrun [ROUNDS [SEED [OUT]]]
# OUT (default build/killrun) holds the media, the programs and a Wine prefix
# of their own, so that campaigns in different folders run side by side.
# BRAK_WINEGEN=10 runs it under Wine 10, in the root harness/wine10 makes.
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
. harness/sampleplay.sh

out="${3:-$root/build/killrun}"
case "$out" in /*) ;; *) out="$root/$out" ;; esac
if [ -z "${BRAK_IN_WINE10:-}" ]; then
    sample_media "$out/media"
    mkdir -p "$out/bin"
    for exe in killrun brakstart brakpass; do
        cp "build/$BRAK_WINBUILD/bin/$exe.exe" "$out/bin/"
    done
    if [ "${BRAK_WINEGEN:-8}" = 10 ]; then
        exec harness/wine10/enter scripts/killrun "${1:-100}" "${2:-19}" "$out"
    fi
fi
harness/wineprefix
own_prefix "$out/prefix"
on_screen "$out/bin/killrun.exe" "$(winpath "$out/media")" "${1:-100}" "${2:-19}"
