#!/usr/bin/env bash
# Runs the Win32 demo under Xvfb and Wine, as built, translated with the
# German catalog and with a pseudo-locale catalog that rlgtool pseudo makes
# from it, and saves a screenshot of each into docs/.
#   examples/win32demo.sh [build-dir]   (default: build-mingw-x86_64, made by ./dev windows)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-mingw-x86_64}
EXE=$BUILD/examples/colang_win32demo.exe
[ -f "$EXE" ] || { echo "win32demo: $EXE missing; run ./dev windows first" >&2; exit 2; }
command -v import >/dev/null || { echo "win32demo: needs imagemagick (import)" >&2; exit 2; }
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX=${WINEPREFIX:-$HOME/.wine-colang}
export DISPLAY=:87
Xvfb $DISPLAY -screen 0 660x250x24 >/dev/null 2>&1 &
XVFB=$!
trap 'wineserver -k 2>/dev/null || true; kill $XVFB 2>/dev/null || true' EXIT
sleep 2
shot() {  # name, args...
  local name=$1; shift
  wine "$EXE" "$@" &
  local pid=$!
  sleep 6
  import -window root "docs/$name.png"
  wineserver -k 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "win32demo: docs/$name.png"
}
mkdir -p docs
shot win32demo-before --open-menu
shot win32demo-after --translate --open-menu
wine "$BUILD/tools/rlgtool/rlgtool.exe" pseudo examples/rlg/App0407.rlg -o "$(dirname "$EXE")/rlg/App0501.rlg"
wineserver -k 2>/dev/null || true
shot win32demo-pseudo --pseudo --open-menu
