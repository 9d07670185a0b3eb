#!/usr/bin/env bash
# Starts Korvane for the first time (no settings file) on a virtual X display with a
# window manager, takes screenshots of the main window with both tool windows
# docked, as first shown and after moving it, and checks from the X server that the
# docked windows sit where the layout routine puts them, frames included: the
# catalogue against the main window's right edge, top-aligned and as tall; the
# palette under it, left-aligned. Then types a short program and takes the help
# while writing: the status bar over the caret on "For", and the completion list.
# Usage: [BUILD_DIR=build] scripts/xshots.sh [OUTPUT_DIR]   (default docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshots}"

need=()
for tool in Xvfb:xvfb openbox:openbox xdotool:xdotool wmctrl:wmctrl convert:imagemagick xwd:x11-apps xwininfo:x11-utils; do
    command -v "${tool%%:*}" >/dev/null || need+=("${tool##*:}")
done
if ((${#need[@]})); then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    $sudo apt-get install -y "${need[@]}"
fi
build="${BUILD_DIR:-build}"
[ -x "$build/korvane" ] || { cmake -S . -B "$build" -G Ninja >/dev/null && cmake --build "$build" --target korvane; }

work="$(mktemp -d)"
display=":$((90 + RANDOM % 9))"
cleanup() { kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"; }
pids=()
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY="$display"
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 & pids+=($!)
sleep 1

# A first run: the settings file does not exist yet.
KORVANE_INI="$work/Korvane.INI" QT_QPA_PLATFORM=xcb "$build/korvane" >"$work/korvane.log" 2>&1 & pids+=($!)

window() { xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
main="$(window Korvane)"; cat="$(window Catalogue)"; pal="$(window 'Caractères Spéciaux')"
sleep 1

# Frame geometry: the window manager's frame around each client window.
frame() {
    local id="$1" parent
    # Climb to the child of the root: openbox's frame window.
    while parent="$(xwininfo -children -id "$id" | awk '/Parent window id/ {print $4}')" &&
          [ "$parent" != "$(xwininfo -root | awk '/Window id/ {print $4}')" ]; do id="$parent"; done
    xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                              /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

check() {
    local mx my mw mh cx cy cw ch px py pw ph
    read -r mx my mw mh < <(frame "$main")
    read -r cx cy cw ch < <(frame "$cat")
    read -r px py pw ph < <(frame "$pal")
    echo "main $mx,$my ${mw}x$mh; catalogue $cx,$cy ${cw}x$ch; palette $px,$py ${pw}x$ph"
    local ok=1
    [ "$cx" -eq $((mx + mw)) ] && [ "$cy" -eq "$my" ] && [ "$ch" -eq "$mh" ] || { echo "catalogue not docked"; ok=0; }
    [ "$px" -eq "$mx" ] && [ "$py" -eq $((my + mh)) ] || { echo "palette not docked"; ok=0; }
    return $((1 - ok))
}

mkdir -p "$out"
status=0
# Docked from the first show, before the main window was ever moved.
check || status=1
xwd -root -silent | convert xwd:- -strip "$out/docked.png"

# The user drags the main window by its title bar.
read -r mx my _ _ < <(frame "$main")
xdotool mousemove $((mx + 120)) $((my + 8)) sleep 0.3 mousedown 1 sleep 0.3
for i in $(seq 1 10); do xdotool mousemove $((mx + 120 + 10 * i)) $((my + 8 + 6 * i)) sleep 0.05; done
xdotool mouseup 1
sleep 1
check || status=1
read -r nx ny _ _ < <(frame "$main")
[ "$nx" -ne "$mx" ] || { echo "the main window did not move"; status=1; }
xwd -root -silent | convert xwd:- -strip "$out/moved.png"

# Help while writing: a program typed with the keyboard, an error left on its last
# line for the live check to mark, and the caret on "For": the status bar shows the
# syntax, the error and the caret's line and column.
# (import, not xwd: xwd leaves the completion list's popup window black.)
crop() { read -r x y w h < <(frame "$main"); import -window root -crop "${w}x$((h + ${2:-0}))+$x+$y" +repage -strip "$out/$1"; }
xdotool windowactivate --sync "$main"
sleep 0.5
for line in "Local total" "0->total" "For i,1,10" "total+i->total" "EndFor" "Disp total+"; do
    xdotool type --delay 40 "$line"
    xdotool key Return
done
xdotool key BackSpace
sleep 1
xdotool key Up Up Up Home Right
sleep 0.5
crop help-status.png

# Completion: "Di" and Ctrl+Space on a new line; the list shows under the word.
xdotool key Down Down Down End Return
xdotool type --delay 40 "Di"
xdotool key ctrl+space
sleep 2
crop completion.png
xdotool key Escape

echo "screenshots in $out"
exit $status
