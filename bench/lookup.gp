# Hit and miss lookup time against catalog size, colang and glibc gettext.
# Called by bench/run with datafile and outfile set.
set terminal pngcairo size 800,500 font "sans,10"
set output outfile
set title "Lookup time per text against catalog size (median of repetitions)"
set xlabel "entries in the catalog"
set ylabel "nanoseconds per lookup"
set logscale x
set xrange [700:140000]
set yrange [0:*]
set key outside bottom center horizontal
set grid
set xtics ("1k" 1000, "10k" 10000, "100k" 100000)
plot datafile using 1:3 with linespoints lw 2 pt 7 title "gettext hit", \
     datafile using 1:5 with linespoints lw 2 pt 5 title "gettext miss", \
     datafile using 1:2 with linespoints lw 2 pt 7 title "colang hit", \
     datafile using 1:4 with linespoints lw 2 pt 5 title "colang miss"
