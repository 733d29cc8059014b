#!/bin/sh
# A play cycle from a CD-ROM drive: the sample media as an image, served
# read-only by the simulated drive (media/brakdrive, FUSE) as drive D: of a
# Wine prefix of its own, typed "cdrom". The drive runs at full speed unless
# BRAK_DRIVE_ARGS gives it a model ("-r 24x -s 100"); BRAK_DRIVE names it.
# Nothing may be written to the disc: its listing (sizes, times, modes) must
# not change, and the prefix's wineserver, which makes every file open and
# change, is traced for any that would write on it. Then the table of bad
# discs (cdrom_test.cpp's rows): each row's cycle on a drive with its fault.
# The drive's exit code must be 0: it suppresses LeakSanitizer's report of
# libfuse's own leak itself, so that 1 is a fault of ours.
# Between them, the rows of Windows versions: the first cycle again with the
# prefix set to report each older Windows (BRAK_CDROM_VERSIONS picks some),
# and once with brakstart_old.exe, the launcher whose run-time lookups all
# find nothing (it lies on the disc beside brakstart.exe).
# Usage: cdrom.sh WORKDIR SOURCEDIR BINDIR SAMPLEDIR TESTPROGRAM   (77 = skipped)
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
: "${WINEPREFIX:?WINEPREFIX names the main prefix}"
work="$1"; src="$2"; bin="$3"; sample="$4"; test="$5"
wine="${BRAK_WINE:-wine}"
mkmedia="${MKMEDIA:-$src/build/host/media/mkmedia}"
drive="${BRAK_DRIVE:-$(dirname "$mkmedia")/brakdrive}"
skip() { echo "cdrom: $*: skipped"; exit 77; }
[ -x "$mkmedia" ] || skip "no host mkmedia at $mkmedia (build the host preset first)"
[ -x "$drive" ] || skip "no drive at $drive (the host preset builds it where libfuse3-dev is installed)"
for tool in xorriso strace; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -c /dev/fuse ] || skip "no /dev/fuse in this system"

disc="$work/disc"; prefix="$work/prefix"
if mountpoint -q "$disc" 2>/dev/null; then umount "$disc" 2>/dev/null || fusermount -u "$disc"; fi
rm -rf "$work"
mkdir -p "$disc" "$work/out"

t0=$(date +%s%N)
"$mkmedia" "$work/media" "$sample/Brakdemo.exe" "$bin/brakstart.exe" "$bin/brakpass.exe" \
    "$sample/BK2DEMO.EXE" "$sample/register.exe" "$bin/brakstart_old.exe" >/dev/null
MKMEDIA="$mkmedia" sh "$src/media/mkimage.sh" "$work/media" "$work/disc.iso"
t1=$(date +%s%N)
echo "cdrom: image $(stat -c %s "$work/disc.iso") bytes, media and image made in $(( (t1 - t0) / 1000000 )) ms"
"$mkmedia" --check "$work/disc.iso"

# The drive in the foreground of a job of ours: stopped by TERM, it unmounts
# and prints its counts to its file (fuse.txt); its exit code must be 0.
driver="" server="" mounted=""
status=0
stopdrive() {
    [ -n "$driver" ] || return 0
    kill -TERM "$driver" 2>/dev/null || true
    code=0; wait "$driver" 2>/dev/null || code=$?
    driver=""
    # A file still open there (the server's) keeps the mount: let it go.
    ! grep -q " $disc fuse" /proc/mounts || fusermount -uz "$disc" 2>/dev/null || umount -l "$disc" 2>/dev/null || true
    [ "$code" -eq 0 ] || { echo "cdrom: FAIL: the drive ended with $code:"; cat "$driveout"; status=1; }
}
mountdrive() {  # OUTFILE OPTIONS...: the drive with these options; FUSE that cannot mount here is a skip
    driveout="$1"; shift
    "$drive" -f ${BRAK_DRIVE_ARGS:-} "$@" "$work/disc.iso" "$disc" 2>"$driveout" &
    driver=$!
    mrc=0; wait_mount "$driver" "$disc" || mrc=$?
    [ "$mrc" != 1 ] || [ -n "$mounted" ] || { driver=""; skip "FUSE cannot mount here: $(cat "$driveout")"; }
    [ "$mrc" != 1 ] || { driver=""; echo "cdrom: FAIL: the drive did not start: $(cat "$driveout")"; exit 1; }
    [ "$mrc" = 0 ] || { echo "cdrom: FAIL: the drive did not mount in 10 s"; exit 1; }
    mounted=1
}
cleanup() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    [ -z "$server" ] || wait "$server" 2>/dev/null || true
    stopdrive
}
trap cleanup EXIT
mountdrive "$work/fuse.txt"

# The prefix: C: is the main prefix's, D: the disc, of type CD-ROM for
# GetDriveTypeA through the prefix's drive settings.
own_prefix "$prefix"
ln -s "$disc" "$prefix/dosdevices/d:"
printf '\n[Software\\\\Wine\\\\Drives]\n"d:"="cdrom"\n' >> "$prefix/system.reg"

trace="$work/server.trace"
strace -f -qq -o "$trace" -e trace=open,openat,creat,mkdir,mkdirat,unlink,unlinkat,rmdir,rename,renameat,renameat2,truncate,chmod,fchmodat,utimensat,link,linkat,symlink,symlinkat \
    wineserver -f -p &
server=$!
# Its socket must be up before any wine starts, or that one starts a server of its own.
waited=0
until grep -q '^[0-9]* *chmod("socket"' "$trace" 2>/dev/null; do
    sleep 0.05; waited=$((waited + 1))
    [ "$waited" -lt 200 ] || { echo "cdrom: FAIL: the traced wineserver did not start"; exit 1; }
done
"$wine" cmd /c exit </dev/null >/dev/null 2>&1

# A write on the disc, on purpose: the trace must show it, refused.
writes() {
    tail -n +"$1" "$trace" | grep -E "(/dosdevices/d:|$disc)" |
        grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|^[0-9]+ +(creat|mkdir|unlink|rmdir|rename|truncate|chmod|fchmodat|utimensat|link|symlink)' || true
}
"$wine" cmd /c 'echo probe> D:\probe.txt' </dev/null >/dev/null 2>&1 || true
probe="$(writes 1)"
case "$probe" in
    *probe.txt*EROFS*) ;;
    *) echo "cdrom: FAIL: a write on the disc is not seen in the server's trace: $probe"; exit 1 ;;
esac
from=$(( $(wc -l < "$trace") + 1 ))

list() { (cd "$disc" && find . -printf '%p %s %T@ %m\n' | LC_ALL=C sort); }
list > "$work/before.txt"
rc=0
winwork="$("$wine" winepath -w "$work/out" 2>/dev/null | tr -d '\r')"
t0=$(date +%s%N)
BRAK_CDROM=D: BRAK_CDROM_WORK="$winwork" "$wine" "$test" --gtest_filter='CdRom.*' || rc=$?
t1=$(date +%s%N)
echo "cdrom: the cycle from the drive (${BRAK_DRIVE_ARGS:-full speed}) took $(( (t1 - t0) / 1000000 )) ms"

[ "$rc" -eq 0 ] || status=$rc

# The Windows versions, a row each: what Wine's prefix setting makes
# GetVersionExA report (platform.major.minor), or "none": the launcher whose
# lookups find nothing, under the prefix's own version.
for row in ${BRAK_CDROM_VERSIONS:-win95:1.4.0 win98:1.4.10 winme:1.4.90 nt40:2.4.0 win2k:2.5.0 winxp:2.5.1 none}; do
    name="${row%%:*}"; expect=""; launcher=brakstart.exe
    [ "$name" = "$row" ] || expect="${row#*:}"
    if [ "$name" = none ]; then
        launcher=brakstart_old.exe
        "$wine" reg delete 'HKCU\Software\Wine' /v Version /f </dev/null >/dev/null 2>&1 || true
    else
        "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$name" /f </dev/null >/dev/null 2>&1
    fi
    mkdir -p "$work/out/$name"
    t0=$(date +%s%N)
    rc=0
    BK2DEMO_CLOSEMS=300 BRAK_CDROM=D: BRAK_CDROM_WORK="$winwork\\$name" BRAK_CDROM_VERSION="$expect" \
        BRAK_CDROM_LAUNCHER="$launcher" "$wine" "$test" \
        --gtest_filter=CdRom.PlayCycleFromTheDiscRoot </dev/null >"$work/version-$name.txt" 2>&1 || rc=$?
    t1=$(date +%s%N)
    printf 'cdrom: version %s (%s) took %s ms: %s\n' "$name" "$launcher" $(( (t1 - t0) / 1000000 )) \
        "$(tr -d '\r' < "$work/version-$name.txt" | grep -E '^(cdrom: Windows reports|menu:|game:|register:)' |
           sed 's/^cdrom: //; s/; in .*//' | tr '\n' ' ')"
    [ "$rc" -eq 0 ] || { echo "cdrom: FAIL: version $name"; cat "$work/version-$name.txt"; status=1; }
done
"$wine" reg delete 'HKCU\Software\Wine' /v Version /f </dev/null >/dev/null 2>&1 || true
stopdrive
cat "$work/fuse.txt"
grep -q '^brakdrive: [1-9][0-9]* reads' "$work/fuse.txt" || { echo "cdrom: FAIL: the drive served no reads"; status=1; }

# The bad discs, a row each: the drive with the row's fault; "game": taken out
# by a signal once the game has reported (it runs from the temporary folder).
# BRAK_CDROM_ROWS picks rows by name (a grep -E pattern).
BRAK_CDROM_ROW=list BRAK_CDROM_WORK="$winwork" "$wine" "$test" --gtest_filter=CdRomFault.List >/dev/null
tr -d '\r' < "$work/out/rows.txt" | grep -E "^(${BRAK_CDROM_ROWS:-.*})\|" > "$work/rows.txt" || true
while IFS='|' read -r name faults when; do
    mountdrive "$work/fuse-$name.txt" $faults
    watcher=""
    if [ "$when" = game ]; then
        (until grep -q '^game: ' "$work/out/$name/report.txt" 2>/dev/null; do sleep 0.1; done
         kill -USR1 "$driver") &
        watcher=$!
    fi
    t0=$(date +%s%N)
    rc=0
    BRAK_CDROM=D: BRAK_CDROM_WORK="$winwork" BRAK_CDROM_ROW="$name" "$wine" "$test" \
        --gtest_filter=CdRomFault.Row </dev/null || rc=$?
    t1=$(date +%s%N)
    [ -z "$watcher" ] || { kill "$watcher" 2>/dev/null || true; wait "$watcher" 2>/dev/null || true; }
    stopdrive
    echo "cdrom: row $name took $(( (t1 - t0) / 1000000 )) ms; the drive: $(tr '\n' ' ' < "$work/fuse-$name.txt")"
    [ "$rc" -eq 0 ] || { echo "cdrom: FAIL: row $name"; status=1; }
done < "$work/rows.txt"

# The disc as it was: its listing unchanged by every row.
mountdrive "$work/fuse-end.txt"
list > "$work/after.txt"
if ! cmp -s "$work/before.txt" "$work/after.txt"; then
    echo "cdrom: FAIL: the disc's listing changed:"
    diff "$work/before.txt" "$work/after.txt" || true
    status=1
fi
found="$(writes "$from")"
if [ -n "$found" ]; then
    echo "cdrom: FAIL: writes attempted on the disc during the cycle:"
    echo "$found"
    status=1
fi
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
stopdrive
[ "$status" -ne 0 ] || echo "cdrom: nothing written to the disc ($(sed -n "$from,\$p" "$trace" | grep -cE "(/dosdevices/d:|$disc)") opens and changes there, all reads)"
exit $status
