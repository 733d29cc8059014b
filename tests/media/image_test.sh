#!/bin/sh
# The disc image: the same media give the same bytes, laid out in the order
# of a start's reads; the check passes the sample image, counts the jumps
# of one laid out by name, names the file in each broken one, and refuses
# damaged images without a crash. Usage: image_test.sh MKMEDIA MKIMAGE WORKDIR
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
mkmedia="$1"; mkimage="$2"; work="$3"
export MKMEDIA="$mkmedia"   # mkimage.sh asks it for the layout
command -v xorriso >/dev/null || { echo "image: xorriso is not installed: skipped"; exit 77; }
# A sanitizer's report must not pass for a check's "broken" (1) or "unreadable" (2).
export ASAN_OPTIONS=exitcode=99 UBSAN_OPTIONS=exitcode=99
rm -rf "$work"; mkdir -p "$work"; cd "$work"
status=0
fail() { echo "FAIL: $*"; status=1; }

stand_in_media "$mkmedia" a
programs="brakstart.exe brakpass.exe BK2DEMO.EXE register.exe"
# Another folder with other dates, modes and directory order in it.
sleep 1
"$mkmedia" b game.exe $programs >/dev/null
touch -d 2001-02-03 b/SIM/* b/DEMODATA
chmod 600 b/FILES.TXT
"$mkimage" a a.iso
"$mkimage" b b.iso
cmp -s a.iso b.iso || fail "the same media gave different images"

out="$("$mkmedia" --check a.iso)" || fail "the sample image fails its check: $out"
echo "$out"
printf '%s\n' "$out" | grep -qxF "layout: 0 jumps in the start's reads (0 backwards), 0 in the install's (0 backwards)" ||
    fail "the sample image is not in the start's order"
# The files' order as xorriso's extent map gives it: the layout's.
"$mkmedia" --layout a | grep -v '/$' > layout.txt
xorriso -no_rc -indev a.iso -find / -type f -exec report_lba -- 2>/dev/null |
    awk -F"'" '/^File data lba/ { split($1, f, ","); print f[2] + 0, $2 }' | sort -n |
    awk '{ sub("^/", "", $2); print $2 }' | head -n "$(wc -l < layout.txt)" > lba.txt
cmp -s layout.txt lba.txt || fail "the extents do not follow the layout"

# Laid out by name alone (no order given): jumps, a warning and no error.
MKMEDIA=/bin/true "$mkimage" a byname.iso
rc=0; out="$("$mkmedia" --check byname.iso)" || rc=$?
echo "--- laid out by name (exit $rc)"; echo "$out"
[ "$rc" -eq 0 ] || fail "an image laid out by name: exit $rc, where jumps only warn"
printf '%s\n' "$out" | grep -q "^warning: layout: an install makes [1-9][0-9]* jumps" ||
    fail "an image laid out by name: no warning of its jumps"

# One broken variant a line: what is changed | the line the check must print.
while IFS='|' read -r name change line; do
    rm -rf v v.iso; cp -r a v
    (cd v && eval "$change")
    "$mkimage" v v.iso
    rc=0; out="$("$mkmedia" --check v.iso)" || rc=$?
    echo "--- $name (exit $rc)"; echo "$out"
    [ "$rc" -eq 1 ] || fail "$name: exit $rc, not 1"
    printf '%s\n' "$out" | grep -qxF "$line" || fail "$name: no line \"$line\""
done <<'ROWS'
a data file missing|rm DEMODATA/BK07.BK2|error: missing: DEMODATA\BK07.BK2 (install entry)
an empty file|: > SIM/CAR3.CFG|error: empty: SIM\CAR3.CFG (install entry of 0 bytes)
the game missing|rm Brakdemo.exe|error: missing: Brakdemo.exe (the game the launcher starts)
the follow-up missing|rm register.exe|error: missing: register.exe (the follow-up program the launcher runs after the game)
ROWS

size=$(stat -c %s a.iso)
for cut in 100 34816 40960 $((size / 2)); do
    head -c "$cut" a.iso > cut.iso
    rc=0; out="$("$mkmedia" --check cut.iso 2>&1)" || rc=$?
    [ "$rc" -eq 2 ] || [ "$rc" -eq 1 ] || fail "an image cut at $cut bytes: exit $rc: $out"
done
exit $status
