#!/bin/sh
# The soak: CYCLES play cycles (default 200) of the sample media in one
# launcher's life, with a short game; after each, the launcher's handles,
# windows, resident memory and the files left in T, written to
# build/soak/soak.csv and plotted in build/soak/soak.png. The default run
# also refreshes docs/soak.csv and docs/soak.png. Not part of scripts/test.
# Usage: scripts/soak [CYCLES]
set -eu
. "$(dirname "$0")/../../harness/lib.sh"
cd "$root"
. harness/winebuild
. harness/sampleplay.sh

cycles="${1:-200}"
out="$root/build/soak"
sample_media "$out/media" gnuplot-nox
status=0
on_screen "build/$BRAK_WINBUILD/bin/soak.exe" "$(winpath "$out/media")" \
    "$(winpath "$out/soak.csv")" "$cycles" || status=$?

gnuplot <<PLOT
set terminal pngcairo size 900,900 font ",10" noenhanced
set output "$out/soak.png"
set datafile separator ","
set key bottom right
set multiplot layout 4,1 title "$cycles play cycles in one launcher's life ($BRAK_WINBUILD build, $("$BRAK_WINE" --version))"
set xlabel "cycle"
set yrange [0:*]
plot "$out/soak.csv" using 1:3 with linespoints pt 7 ps 0.4 title "kernel handles"
set yrange [0:3]
plot "$out/soak.csv" using 1:4 with linespoints pt 7 ps 0.4 title "windows"
set key top right
plot "$out/soak.csv" using 1:(\$1 > 0 ? \$2 : NaN) with linespoints pt 7 ps 0.4 title "cycle time (s)", \
     "" using 1:6 with linespoints pt 7 ps 0.4 title "files left in T"
set key bottom right
set autoscale y
plot "$out/soak.csv" using 1:5 with linespoints pt 7 ps 0.4 title "resident memory (KiB)"
unset multiplot
PLOT
echo "soak: $out/soak.csv, $out/soak.png"
if [ "$cycles" = 200 ]; then
    cp "$out/soak.csv" "$out/soak.png" docs/
    echo "soak: copied to docs/"
fi
exit $status
