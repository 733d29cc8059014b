#!/bin/sh
# The disc image: the same media give the same bytes, the check passes the
# sample image and names the file in each broken one, and damaged images are
# refused without a crash. Usage: image_test.sh MKMEDIA MKIMAGE WORKDIR
set -eu
mkmedia="$1"; mkimage="$2"; work="$3"
command -v xorriso >/dev/null || { echo "image: xorriso is not installed: skipped"; exit 77; }
# A sanitizer's report must not pass for a check's "broken" (1) or "unreadable" (2).
export ASAN_OPTIONS=exitcode=99 UBSAN_OPTIONS=exitcode=99
rm -rf "$work"; mkdir -p "$work"; cd "$work"
status=0
fail() { echo "FAIL: $*"; status=1; }

head -c 54784 /dev/zero | tr '\0' G > game.exe
programs="brakstart.exe brakpass.exe BK2DEMO.EXE register.exe"
for p in $programs; do printf 'MZ %s' "$p" > "$p"; done
"$mkmedia" a game.exe $programs >/dev/null
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
