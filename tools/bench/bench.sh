#!/bin/sh
# Benchmarks under Wine, with the build harness/winebuild chooses: the install
# phase against a byte loop and CopyFileA.
#   scripts/bench [rounds]          from the page cache, under Wine 8 and Wine 10 in
#                                   turn (BRAK_WINEGEN=8 or 10 for one alone), then
#                                   their figures side by side; 0 rounds is only the
#                                   check that the bar saw the byte-at-a-time values
#   scripts/bench --disc [rounds]   from the simulated drive at 8x, 24x and 52x CD
#                                   (100 ms seeks) and a 20 MB/s stick, for the
#                                   image laid out by name and the one in read order,
#                                   under the host's Wine; BRAK_DRIVE_ARGS adds to
#                                   every drive's model ("-a 262144": a 256 KiB buffer)
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
. harness/winebuild

# Inside the virtual display: every copy from a drive of its own, mounted for it
# alone, so nothing of an earlier run is cached in the kernel or the drive.
if [ "${1:-}" = --disc-run ]; then
    # libfuse's own leak at a stop is suppressed: an exit of 1 is a fault of ours.
    export LSAN_OPTIONS="suppressions=$root/media/brakdrive.lsan${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    rounds=$2; d="$root/build/bench/disc"; mnt="$d/mnt"
    drive="$root/build/host/media/brakdrive"; mkmedia="$root/build/host/media/mkmedia"
    bench="$root/build/$BRAK_WINBUILD/bin/install_bench.exe"
    winmnt="$("$BRAK_WINE" winepath -w "$mnt" 2>/dev/null | tr -d '\r')"
    : > "$d/times.txt"
    for image in byname ordered; do
        check="$("$mkmedia" --check "$d/$image.iso")"
        jumps=$(printf '%s\n' "$check" | sed -n 's/^layout: \([0-9]*\) jumps.*/\1/p')
        bytes=$(printf '%s\n' "$check" | sed -n 's/.*install entries of \([0-9]*\) bytes.*/\1/p')
        # full: no model, what the copy costs the host (Wine, FUSE) alone.
        for speed in 8x:100 24x:100 52x:100 20M:0 full:0; do
            for way in install bytes copy; do
                r=0
                while [ "$r" -lt "$rounds" ]; do
                    # The image itself stays in the host's cache: the drive's model, not
                    # the host's disk, is what a read waits for. Earlier writes are flushed.
                    cat "$d/$image.iso" >/dev/null; sync
                    model="-r ${speed%:*} -s ${speed#*:}"
                    [ "${speed%:*}" != full ] || model=""
                    model="$model ${BRAK_DRIVE_ARGS:-}"
                    "$drive" -f $model "$d/$image.iso" "$mnt" 2>"$d/drive.txt" &
                    driver=$!
                    wait_mount "$driver" "$mnt" || { echo "bench: no drive:"; cat "$d/drive.txt"; exit 1; }
                    rc=0
                    (cd "$d" && "$BRAK_WINE" "$bench" --disc "$winmnt" "$way" </dev/null >"$d/run.txt") || rc=$?
                    kill -TERM "$driver"
                    wait "$driver" || { echo "bench: the drive ended with $?:"; cat "$d/drive.txt"; exit 1; }
                    [ "$rc" -eq 0 ] || { echo "bench: $way from $image at $speed failed ($rc)"; exit 1; }
                    t="$(tr -d '\r' < "$d/run.txt")"
                    seeks=$(sed -n 's/^brakdrive: .* \([0-9]*\) seeks.*/\1/p' "$d/drive.txt")
                    busy=$(sed -n 's/^brakdrive: .* seeks, \([0-9.]*\) s of drive time/\1/p' "$d/drive.txt")
                    echo "$image $speed $way $t $seeks $jumps $bytes $busy" >> "$d/times.txt"
                    r=$((r + 1))
                done
            done
        done
    done
    # One row an image and drive: medians, and each against the drive's limit,
    # the bytes at the rate plus a seek for every jump and the first placing.
    # busy: the drive's own time in the install's median round, the rest of
    # that round is time the drive stood idle while Wine did the rest.
    # Each rate as the drive reads it, in bytes per second.
    rates=""
    for r in 8x 24x 52x 20M; do rates="$rates $r=$("$drive" --model "$r" | cut -d' ' -f1)"; done
    sort -k1,1 -k2,2 -k3,3 -k4,4n "$d/times.txt" | awk -v rounds="$rounds" -v extra="${BRAK_DRIVE_ARGS:-none}" -v rates="$rates" '
        { key = $1 " " $2; i = ++n[key, $3]; t[key, $3, i] = $4; s[key, $3, i] = $5
          busy[key, $3, i] = $8; j[key] = $6; b[key] = $7
          if (!(key in seen)) { seen[key] = 1; order[++keys] = key } }
        function rate(r,   i, n, kv, pair) { n = split(rates, kv, " ")
            for (i = 1; i <= n; ++i) { split(kv[i], pair, "="); if (pair[1] == r) return pair[2] }
            return 0 }
        function ratio(x) { return limit > 0 ? sprintf("%5.3fx", x / limit) : "     -" }
        END {
            printf "%-8s %-10s %5s %8s | %8s %6s %5s %6s | %8s %6s | %8s %6s\n", "image", "drive",
                   "jumps", "limit s", "install", "ratio", "seeks", "busy", "getc", "ratio",
                   "CopyFile", "ratio"
            for (k = 1; k <= keys; ++k) {
                key = order[k]; split(key, f, " "); split(f[2], sp, ":")
                limit = sp[1] == "full" ? 0 : b[key] / rate(sp[1]) + sp[2] / 1000 * (j[key] + 1)
                m = int((rounds + 1) / 2)
                mi = t[key, "install", m]; mb = t[key, "bytes", m]; mc = t[key, "copy", m]
                name = sp[1] == "20M" ? "20 MB/s" : sp[1] == "full" ? "full" : sp[1] " " sp[2] "ms"
                printf "%-8s %-10s %5d %8.3f | %8.3f %6s %5d %6.3f | %8.3f %6s | %8.3f %6s\n",
                       f[1], name, j[key], limit, mi, ratio(mi), s[key, "install", m],
                       busy[key, "install", m], mb, ratio(mb), mc, ratio(mc)
            }
            printf "medians of %d rounds; drive options added: %s\n", rounds, extra
        }'
    exit 0
fi

if [ "${1:-}" = --one ]; then
    # One generation, in the system this runs in (the Wine 10 root or not).
    harness/wineprefix
    mkdir -p "build/bench-$2"
    cd "build/bench-$2"
    wine_screen "$BRAK_WINE" "$root/build/$BRAK_WINBUILD/bin/install_bench.exe" "$3"
    exit
fi

if [ "${1:-}" = --disc ]; then
    scripts/setup
    harness/wineprefix
    build_preset "$BRAK_WINBUILD" install_bench
    build_preset host mkmedia brakdrive
    d="$root/build/bench/disc"
    rm -rf "$d"; mkdir -p "$d/mnt"
    # The sample media's game files; the programs only need to be there.
    (cd "$d" && build="$root/build/host/media" && stand_in_media "$build/mkmedia" media &&
        MKMEDIA=/bin/true sh "$root/media/mkimage.sh" media byname.iso &&
        MKMEDIA="$build/mkmedia" sh "$root/media/mkimage.sh" media ordered.iso)
    wine_screen "$0" --disc-run "${2:-3}"
    exit
fi

rounds="${1:-5}"
scripts/setup
build_preset "$BRAK_WINBUILD" install_bench
status=0
gens="${BRAK_WINEGEN:-8 10}"
for gen in $gens; do
    out="build/bench-wine$gen.txt"
    mkdir -p build
    echo "== Wine $gen, $BRAK_WINBUILD build" | tee "$out"
    if [ "$gen" = 10 ]; then
        harness/wine10/enter tools/bench/bench.sh --one "wine$gen" "$rounds"
    else
        tools/bench/bench.sh --one "wine$gen" "$rounds"
    fi 2>&1 | tr -d '\r' | tee -a "$out"
    grep -q "bar values identical to the byte-at-a-time model: yes" "$out" || status=1
done
[ "$rounds" != 0 ] || exit "$status"

# The figures side by side: the value after each label, one column a generation.
echo
printf '%-34s' "median of $rounds"
for gen in $gens; do printf ' %10s' "Wine $gen"; done
echo
for label in "install with bar" "getc/putc loop" "CopyFileA" "the bar alone" \
             "install / CopyFileA" "getc/putc / install"; do
    printf '%-34s' "$label"
    for gen in $gens; do
        printf ' %10s' "$(grep -F "$label" "build/bench-wine$gen.txt" | head -n 1 |
            sed 's|([^)]*)||g; s|.*'"$label"'[^0-9]*\([0-9.]*x\{0,1\}\).*|\1|')"
    done
    echo
done
exit "$status"
