#!/usr/bin/env bash
# rlgtool on the sample catalogs: check them, count them, translate through
# them (pattern translation included), and round-trip one through PO; then
# a catalog from the Windows demo's own resource script, the German sample
# carried over to it, and a pseudo-locale catalog.
# Usage: bash examples/demo.sh [BUILD_DIR]   (default: build)
set -uo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
TOOL=$PWD/$BUILD/tools/rlgtool/rlgtool
RLG=examples/rlg
if [ ! -x "$TOOL" ]; then
  echo "demo.sh: $TOOL not built" >&2
  exit 2
fi

# Prints the command as typed (arguments with blanks quoted), then runs it.
show() {
  local shown="rlgtool"
  for arg in "$@"; do
    case $arg in
      *[[:space:]\&]*) shown+=" \"$arg\"" ;;
      *) shown+=" $arg" ;;
    esac
  done
  printf '\n$ %s\n' "$shown"
  "$TOOL" "$@" 2>&1
}

show check "$RLG/App0407.rlg" "$RLG/App040c.rlg"
show stats "$RLG/App0407.rlg" "$RLG/App040c.rlg"
show translate "$RLG/App0407.rlg" "&File" "Cancel" "Page 3 of 10"
show translate "$RLG/App040c.rlg" "&File" "Cancel" "Page 3 of 10"
show translate "$RLG/App0407.rlg" --retranslate "Abbrechen"
show name "$RLG" App 040c

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf '\n$ rlgtool export-po %s -o App0407.po && rlgtool import-po App0407.po -o App0407.rlg\n' "$RLG/App0407.rlg"
"$TOOL" export-po "$RLG/App0407.rlg" -o "$tmp/App0407.po" &&
  "$TOOL" import-po "$tmp/App0407.po" -o "$tmp/App0407.rlg" 2>/dev/null &&
  cmp -s "$RLG/App0407.rlg" "$tmp/App0407.rlg" && echo "round trip through PO: identical catalog"

# The rest works beside copies of the demo's resource script and the sample.
cp examples/win32demo.rc examples/win32demo.h "$RLG/App0407.rlg" "$tmp/"
cd "$tmp" || exit 0
show extract --list win32demo.rc
show extract --pair 0409 0407 win32demo.rc -o Demo0407.rlg
show translate Demo0407.rlg "&File" "Find and Replace" "Find what:"
show extract win32demo.rc -o Demo.pot
show merge App0407.rlg Demo.pot -o Demo0407.po
show pseudo App0407.rlg -o App0501.rlg
show translate App0501.rlg "&File" "Page 3 of 10"
exit 0
