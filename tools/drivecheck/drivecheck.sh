#!/bin/sh
# The simulated drive against its own model: known read patterns on a file of
# the sample image, each timed from outside and set against the time the model
# gives (rate R, seek S, forward gaps up to 32 KiB read through), and the
# drive's count of seeks against the pattern's. A measuring tool, not a test:
# run it alone (flock /tmp/brak-heavy.lock scripts/drivecheck [RATE] [SEEK_MS]).
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
rate="${1:-24x}"; seek="${2:-100}"
build_preset host mkmedia brakdrive >/dev/null
mkmedia="$root/build/host/media/mkmedia"; drive="$root/build/host/media/brakdrive"
work="$root/build/drivecheck"; disc="$work/disc"
if mountpoint -q "$disc" 2>/dev/null; then umount "$disc" 2>/dev/null || fusermount -u "$disc"; fi
rm -rf "$work"; mkdir -p "$disc"; cd "$work"

stand_in_media "$mkmedia" media
MKMEDIA="$mkmedia" sh "$root/media/mkimage.sh" media disc.iso
file="$(cd media && ls -S DEMODATA/*.BK2 | head -n 1)"
size=$(stat -c %s "media/$file")

bps=$("$drive" --model "$rate" | cut -d' ' -f1)   # bytes a second, as the drive reads RATE

now() { date +%s%N; }
# read BS SKIP COUNT: one read of COUNT blocks of BS bytes, SKIP blocks in.
rd() { dd if="$disc/$file" of=/dev/null bs="$1" skip="$2" count="$3" 2>/dev/null; }
printf '%-44s %6s %9s %9s %7s\n' "pattern (on $file, $size bytes)" seeks "model s" "drive s" ratio
total=0; seeks=0; status=0
row() {  # NAME SEEKS BYTES_AT_R PAUSE_S COMMANDS... timed as one
    name=$1 n=$2 bytes=$3 idle=$4; shift 4
    t0=$(now); "$@"; t1=$(now)
    awk -v name="$name" -v n="$n" -v b="$bytes" -v p="$idle" -v r="$bps" -v s="$seek" -v t="$((t1 - t0))" 'BEGIN {
        want = n * s / 1000 + b / r + p; got = t / 1e9
        # Each read command starts a process the drive waits for: 10 ms apiece at most.
        ok = got >= want * 0.99 && got <= want * 1.05 + 0.05
        printf "%-44s %6d %9.3f %9.3f %6.3fx %s\n", name, n, want, got, got / want, ok ? "" : "OUT OF TOLERANCE"
        exit ok ? 0 : 1 }' || status=1
    seeks=$((seeks + n))
}
stream() { rd 65536 0 $(((size + 65535) / 65536)); }
backwards() { for b in 4 3 2 1 0; do rd 65536 "$b" 1; done; }
gaps() { for b in 0 5 10 15; do rd 16384 "$b" 4; done; }   # 64 KiB, then 16 KiB skipped
overgap() { rd 2048 0 32; rd 2048 49 32; }                 # a 34,816-byte gap
# A 256 KiB buffer fills in a pause long enough at the rate: the 192 KiB
# asked after it cost nothing.
pause=$(awk -v r="$bps" 'BEGIN { printf "%.3f", 262144 / r + 0.02 }')
buffered() { rd 65536 0 1; sleep "$pause"; rd 65536 1 3; }

mount() {  # the drive with the model and any further options
    "$drive" -f -v -r "$rate" -s "$seek" "$@" disc.iso "$disc" 2>drive.txt &
    driver=$!
    wait_mount "$driver" "$disc" || exit 1
    # The directories are read at the first lookup: before the patterns, untimed.
    stat "$disc/$file" >/dev/null
}
unmount() {  # and its count of seeks against the patterns' and the directories'
    kill -TERM "$driver"; wait "$driver" || status=1
    grep -v '^read ' drive.txt
    seeks=$((seeks + $(grep -cE "^read .* seek .* (/|/${file%/*})\$" drive.txt)))
    reported=$(sed -n 's/^brakdrive: .* \([0-9]*\) seeks.*/\1/p' drive.txt)
    [ "$reported" = "$seeks" ] || { echo "drivecheck: the drive counted $reported seeks, the patterns make $seeks"; status=1; }
    seeks=0
}
trap 'kill -TERM "$driver" 2>/dev/null || true' EXIT
mount
# The drive reads whole sectors: the file's last one too.
row "the whole file, 64 KiB reads" 1 $(((size + 2047) / 2048 * 2048)) 0 stream
row "5 blocks of 64 KiB, backwards" 5 $((5 * 65536)) 0 backwards
row "4 x 64 KiB, 16 KiB gaps read through" 1 $((4 * 65536 + 3 * 16384)) 0 gaps
row "2 x 64 KiB, a 34 KiB gap: a seek" 2 $((2 * 65536)) 0 overgap
unmount
mount -a 262144
row "64 KiB, a ${pause} s pause, 192 KiB (-a 262144)" 1 65536 "$pause" buffered
unmount
trap - EXIT
echo "drivecheck: $rate, $seek ms a seek: $([ $status -eq 0 ] && echo "within tolerance" || echo FAILED)"
exit $status
