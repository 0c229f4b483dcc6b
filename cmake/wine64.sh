# The Wine loader that runs the x86_64 build, for the scripts that start Wine to source: the one
# place that names it. The "wine" wrapper on PATH would try the 32-bit loader first.
WINE64=/usr/lib/wine/wine64
[ -x "$WINE64" ] || WINE64=$(command -v wine64)
