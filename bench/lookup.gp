# Hit and miss lookup time against catalog size, colang and its peers.
# Called by bench/run with datafile and outfile set; the columns are those
# the reporter writes: entries, then hit and miss of colang, gettext, Qt,
# Boost.Locale and wxWidgets.
set terminal pngcairo size 900,560 font "sans,10"
set output outfile
set title "Lookup time per text against catalog size (median of repetitions)"
set xlabel "entries in the catalog"
set ylabel "nanoseconds per lookup"
set logscale x
set logscale y
set xrange [700:140000]
set key outside bottom center horizontal
set grid
set xtics ("1k" 1000, "10k" 10000, "100k" 100000)
plot datafile using 1:2 with linespoints lw 2 pt 7 lc rgb "#1b7837" title "colang hit", \
     datafile using 1:3 with linespoints lw 2 pt 5 dt 2 lc rgb "#1b7837" title "colang miss", \
     datafile using 1:4 with linespoints lw 1 pt 7 lc rgb "#762a83" title "gettext hit", \
     datafile using 1:5 with linespoints lw 1 pt 5 dt 2 lc rgb "#762a83" title "gettext miss", \
     datafile using 1:6 with linespoints lw 1 pt 7 lc rgb "#2166ac" title "Qt hit", \
     datafile using 1:7 with linespoints lw 1 pt 5 dt 2 lc rgb "#2166ac" title "Qt miss", \
     datafile using 1:8 with linespoints lw 1 pt 7 lc rgb "#b2182b" title "Boost.Locale hit", \
     datafile using 1:9 with linespoints lw 1 pt 5 dt 2 lc rgb "#b2182b" title "Boost.Locale miss", \
     datafile using 1:10 with linespoints lw 1 pt 7 lc rgb "#e08214" title "wxWidgets hit", \
     datafile using 1:11 with linespoints lw 1 pt 5 dt 2 lc rgb "#e08214" title "wxWidgets miss"
