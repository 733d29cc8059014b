#!/bin/sh
# Benchmarks under Wine, with the build harness/winebuild chooses: the install
# phase against a byte loop and CopyFileA, under Wine 8 and Wine 10 in turn
# (BRAK_WINEGEN=8 or 10 for one alone).
#   scripts/bench [rounds]          from the page cache, then both generations'
#                                   figures side by side; 0 rounds is only the
#                                   check that the bar saw the byte-at-a-time values
#   scripts/bench --disc [rounds]   from the simulated drive at 8x, 24x and 52x CD
#                                   (100 ms seeks) and a 20 MB/s stick, for the
#                                   image laid out by name and the one in a start's
#                                   order, and at 24x and 52x the waits from the start
#                                   to the menu and from Play to the game, with the
#                                   system keeping what it read (brakdrive --cache)
#                                   and without;
#                                   BRAK_DRIVE_ARGS adds to every drive's model
#                                   ("-a 262144": a 256 KiB buffer)
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
. harness/winebuild
bench="$root/build/$BRAK_WINBUILD/bin/install_bench.exe"
d="$root/build/bench/disc"

# In one generation's system: its prefix, then the rest on a virtual screen.
if [ "${1:-}" = --in ]; then
    shift; harness/wineprefix; wine_screen "$0" "$@"; exit
fi
on_gen() {  # GEN ARGS...: this script with ARGS in Wine GEN's system
    if [ "$1" = 10 ]; then shift; harness/wine10/enter "$0" --in "$@"; else shift; "$0" --in "$@"; fi
}

# Every copy from a drive of its own, mounted for it alone, so nothing of an
# earlier run is cached in the kernel or the drive.
if [ "${1:-}" = --disc-run ]; then
    rounds=$2; times="$d/times-$3.txt"; mnt="$d/mnt"
    drive="$root/build/bench/drive/media/brakdrive"; mkmedia="$root/build/host/media/mkmedia"
    order="$("$mkmedia" --order "$d/media" | tr '\\' /)"  # native: the install's reads by cat
    : > "$times"
    for image in byname start; do
        check="$("$mkmedia" --check "$d/$image.iso")"
        jumps=$(printf '%s\n' "$check" | sed -n "s/^layout: .*, \([0-9]*\) in the install's.*/\1/p")
        bytes=$(printf '%s\n' "$check" | sed -n 's/.*install entries of \([0-9]*\) bytes.*/\1/p')
        # full: no model, what the copy costs the host (Wine, FUSE) alone.
        for speed in 8x:100 24x:100 52x:100 20M:0 full:0; do
            ways="install bytes copy native"
            # The waits a player sees, also with every read from the drive (direct).
            case $speed in 8x*|20M*) ;; *) ways="$ways menu game menu-direct game-direct" ;; esac
            for way in $ways; do
                r=0
                while [ "$r" -lt "$rounds" ]; do
                    # The image itself stays in the host's cache: the drive's model, not
                    # the host's disk, is what a read waits for. Earlier writes are flushed.
                    cat "$d/$image.iso" >/dev/null; sync
                    model="-r ${speed%:*} -s ${speed#*:}"
                    [ "${speed%:*}" != full ] || model=""
                    case $way in menu|game) model="$model --cache" ;; esac
                    "$drive" -f $model ${BRAK_DRIVE_ARGS:-} "$d/$image.iso" "$mnt" 2>"$d/drive.txt" &
                    driver=$!
                    wait_mount "$driver" "$mnt" || { echo "bench: no drive:"; cat "$d/drive.txt"; exit 1; }
                    rc=0 t0=$(date +%s%N)
                    if [ "$way" = native ]; then (cd "$mnt" && cat $order >/dev/null) || rc=$?
                        echo "native $(( ($(date +%s%N) - t0) / 1000 ))e-6" >"$d/run.txt"
                    else (cd "$d" && "$BRAK_WINE" "$bench" --disc "$(winpath "$mnt")" "${way%-direct}" </dev/null >"$d/run.txt") || rc=$?
                        sed -i "s/^${way%-direct} /$way /" "$d/run.txt"; fi
                    kill -TERM "$driver"
                    wait "$driver" || { echo "bench: the drive ended with $?:"; cat "$d/drive.txt"; exit 1; }
                    [ "$rc" -eq 0 ] || { echo "bench: $way from $image at $speed failed ($rc)"; exit 1; }
                    seeks=$(sed -n 's/^brakdrive: .* \([0-9]*\) seeks.*/\1/p' "$d/drive.txt")
                    busy=$(sed -n 's/^brakdrive: .* seeks, \([0-9.]*\) s of drive time/\1/p' "$d/drive.txt")
                    echo "$image $speed $(tr -d '\r' < "$d/run.txt") $seeks $jumps $bytes $busy" >> "$times"
                    r=$((r + 1))
                done
            done
        done
    done
    # The table, with each rate as the drive reads it.
    rates=""
    for r in 8x 24x 52x 20M; do rates="$rates $r=$("$drive" --model "$r" | cut -d' ' -f1)"; done
    "$BRAK_WINE" "$bench" --report "$(winpath "$times")" "$rounds" "${BRAK_DRIVE_ARGS:-none}" $rates | tr -d '\r'
    exit 0
fi
if [ "${1:-}" = --cache-run ]; then
    mkdir -p "build/bench-$3" && cd "build/bench-$3" && exec "$BRAK_WINE" "$bench" "$2"
fi

gens="${BRAK_WINEGEN:-8 10}"
if [ "${1:-}" = --disc ]; then
    . harness/sampleplay.sh
    sample_media "$d/media"
    # The drive without the host preset's sanitizers, which cost it 60 ms of its own an install.
    cmake -S . -B build/bench/drive -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/bench/drive --target brakdrive >/dev/null
    mkdir -p "$d/mnt"
    (cd "$d" && MKMEDIA=/bin/true sh "$root/media/mkimage.sh" media byname.iso &&
        MKMEDIA="$root/build/host/media/mkmedia" sh "$root/media/mkimage.sh" media start.iso)
    for gen in $gens; do
        echo "== Wine $gen, $BRAK_WINBUILD build, from the drive"
        on_gen "$gen" --disc-run "${2:-3}" "wine$gen"
    done
    exit
fi

scripts/setup
build_preset "$BRAK_WINBUILD" install_bench
rounds="${1:-5}"
status=0
for gen in $gens; do
    out="build/bench-wine$gen.txt"
    echo "== Wine $gen, $BRAK_WINBUILD build" | tee "$out"
    on_gen "$gen" --cache-run "$rounds" "wine$gen" 2>&1 | tr -d '\r' | tee -a "$out"
    grep -q "bar values identical to the byte-at-a-time model: yes" "$out" || status=1
done
[ "$rounds" != 0 ] || exit "$status"
set --
for gen in $gens; do set -- "$@" "Wine $gen=$(winpath "$root/build/bench-wine$gen.txt")"; done
"$BRAK_WINE" "$bench" --side-by-side "$rounds" "$@" | tr -d '\r'
exit "$status"
