#!/bin/sh
# Two builds against each other under the host's Wine, on one virtual screen and
# one wineserver, taken in turns so that the machine's other load falls on both
# alike: the install benchmark from the page cache (install_bench.exe ROUNDS,
# PASSES times each), then STARTS starts of the relay each (brakpass.exe with
# a code no launcher acts on: Wine's process start, the program's entry, its
# window and its exit), as the median wall time.
#   tools/bench/ab.sh OLD_BIN NEW_BIN [PASSES [ROUNDS [STARTS]]]   (3 5 40)
# OLD_BIN and NEW_BIN: folders with each build's install_bench.exe and brakpass.exe.
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
. harness/winebuild
out="$root/build/bench-ab"

if [ "${1:-}" = --in ]; then
    old=$2 new=$3 passes=$4 rounds=$5 starts=$6
    set --
    p=1
    while [ "$p" -le "$passes" ]; do
        for b in old new; do
            eval "dir=\$$b"
            (cd "$out" && "$BRAK_WINE" "$dir/install_bench.exe" "$rounds" </dev/null) |
                tr -d '\r' >"$out/$b$p.txt"
            set -- "$@" "$b$p=$(winpath "$out/$b$p.txt")"
        done
        p=$((p + 1))
    done
    "$BRAK_WINE" "$new/install_bench.exe" --side-by-side "$rounds" "$@" | tr -d '\r'
    : >"$out/start-old.txt"; : >"$out/start-new.txt"
    i=0
    while [ "$i" -lt "$starts" ]; do
        for b in old new; do
            eval "dir=\$$b"
            t0=$(date +%s%N)
            "$BRAK_WINE" "$dir/brakpass.exe" 7 </dev/null
            echo $(( ($(date +%s%N) - t0) / 1000 )) >>"$out/start-$b.txt"
        done
        i=$((i + 1))
    done
    for b in old new; do
        sort -n "$out/start-$b.txt" | awk -v b="$b" -v n="$starts" '{ t[NR] = $1 }
            END { printf "brakpass start, %s: median %.1f ms, quartiles %.1f to %.1f ms (%d starts)\n",
                  b, t[int((NR + 1) / 2)] / 1000, t[int((NR + 3) / 4)] / 1000, t[int((3 * NR + 1) / 4)] / 1000, n }'
    done
    exit 0
fi

old=$(cd "${1:?usage: ab.sh OLD_BIN NEW_BIN [PASSES [ROUNDS [STARTS]]]}" && pwd)
new=$(cd "${2:?usage: ab.sh OLD_BIN NEW_BIN [PASSES [ROUNDS [STARTS]]]}" && pwd)
mkdir -p "$out"
harness/wineprefix
echo "== $("$BRAK_WINE" --version), $BRAK_WINBUILD loader: old $old, new $new"
wine_screen "$0" --in "$old" "$new" "${3:-3}" "${4:-5}" "${5:-40}"
