# The soak's plot: gnuplot -e "csv='...'; png='...'; heading='...'" soak.gp
set terminal pngcairo size 900,900 font ",10" noenhanced
set output png
set datafile separator ","
set key bottom right
set multiplot layout 4,1 title heading
set xlabel "cycle"
set yrange [0:*]
plot csv using 1:3 with linespoints pt 7 ps 0.4 title "kernel handles"
set yrange [0:3]
plot csv using 1:4 with linespoints pt 7 ps 0.4 title "windows"
set key top right
plot csv using 1:($1 > 0 ? $2 : NaN) with linespoints pt 7 ps 0.4 title "cycle time (s)", \
     "" using 1:6 with linespoints pt 7 ps 0.4 title "files left in T"
set key bottom right
set autoscale y
plot csv using 1:5 with linespoints pt 7 ps 0.4 title "resident memory (KiB)"
unset multiplot
