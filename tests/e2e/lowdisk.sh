#!/bin/sh
# Runs e2e scenarios in a second Wine prefix whose C: is an 8 MB tmpfs; the
# rest of that C: links into the main prefix, so programs still start.
# Usage: lowdisk.sh WORKDIR PROGRAM [ARGS...]   (needs root for mount; 77 = skipped)
# Started by ctest under scripts/test, with the loader harness/winebuild chose.
set -eu
main="${WINEPREFIX:?WINEPREFIX names the main prefix}"
work="$1"; shift
[ "$(id -u)" = 0 ] || { echo "lowdisk: mount needs root: skipped"; exit 77; }

prefix="$work/prefix"; c="$work/c"
if mountpoint -q "$c"; then umount "$c"; fi
rm -rf "$work"
mkdir -p "$prefix/dosdevices" "$c"
mount -t tmpfs -o size=8m brak-lowdisk "$c" || { echo "lowdisk: mount failed: skipped"; exit 77; }
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; umount "$c"' EXIT
for d in windows users ProgramData "Program Files" "Program Files (x86)"; do
    ln -s "$main/drive_c/$d" "$c/$d"
done
cp "$main"/*.reg "$main/.update-timestamp" "$prefix/"
ln -s "$c" "$prefix/dosdevices/c:"
ln -s / "$prefix/dosdevices/z:"
WINEPREFIX="$prefix" "${BRAK_WINE:-wine}" "$@"
