#!/usr/bin/env bash
# kaleno in a real X display, with a real clipboard: a puzzle copied from elsewhere is pasted
# with Ctrl+V, solved from the keyboard, and Ctrl+C leaves the answer in the clipboard.
#
#   tests/app/x_clipboard.sh KALENO     (CTest runs it under xvfb-run -a)
#
# Status 77 (skipped) when there is no display or it never answers, or xclip or xdotool is
# missing.
set -euo pipefail
kaleno=$1
puzzle='1....7.9..3..2...8..96..5....53..9...1..8...26....4...3......1..4......7..7...3..'
answer='162857493534129678789643521475312986913586742628794135356478219241935867897261354'

for tool in xclip xdotool; do
    command -v "$tool" >/dev/null || { echo "x_clipboard: $tool is missing" >&2; exit 77; }
done
[ -n "${DISPLAY:-}" ] || { echo "x_clipboard: no display" >&2; exit 77; }
unset QT_QPA_PLATFORM WAYLAND_DISPLAY # the test run's offscreen platform has no X clipboard

# On a loaded machine the virtual display may still be starting: wait until it answers. One
# that never does is the machine's failure, not the program's: the test is skipped.
answered=no
for _ in $(seq 300); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && { answered=yes; break; }
    sleep 0.1
done
[ "$answered" = yes ] || { echo "x_clipboard: the virtual display did not answer" >&2; exit 77; }

"$kaleno" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Kaleno$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "x_clipboard: the window did not open" >&2; exit 1; }

# A title copied with the puzzle, as from a web page. xclip stays to serve the clipboard.
printf 'Puzzle 12\n%s\n' "$puzzle" | xclip -selection clipboard
# No window manager gives the window the focus: the test does.
xdotool windowfocus --sync "$window"
sleep 0.5
# Paste into cell 0; Shift+Tab three times, back to "Résoudre la grille"; Space; then copy.
xdotool key --delay 100 ctrl+v shift+Tab shift+Tab shift+Tab space ctrl+c
sleep 0.5
got=$(xclip -selection clipboard -o)
if [ "$got" != "$answer" ]; then
    echo "x_clipboard: the clipboard holds '$got', not the answer '$answer'" >&2
    exit 1
fi
