#!/bin/sh
# The soak: CYCLES play cycles (default 200) of the sample media in one
# launcher's life, with a short game; after each, the launcher's handles,
# windows, resident memory and the files left in T, written to
# build/soak/soak.csv and plotted in build/soak/soak.png. The default run
# also refreshes docs/soak.csv and docs/soak.png. Not part of scripts/test.
# Usage: scripts/soak [CYCLES]
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
. harness/sampleplay.sh

cycles="${1:-200}"
out="$root/build/soak"
sample_media "$out/media" gnuplot-nox
status=0
on_screen "build/$BRAK_WINBUILD/bin/soak.exe" "$(winpath "$out/media")" \
    "$(winpath "$out/soak.csv")" "$cycles" || status=$?

gnuplot -e "csv='$out/soak.csv'; png='$out/soak.png'" \
    -e "heading=\"$cycles play cycles in one launcher's life ($BRAK_WINBUILD build, $("$BRAK_WINE" --version))\"" \
    tools/cycles/soak.gp
echo "soak: $out/soak.csv, $out/soak.png"
if [ "$cycles" = 200 ]; then
    cp "$out/soak.csv" "$out/soak.png" docs/
    echo "soak: copied to docs/"
fi
exit $status
