#!/bin/sh
# Settings that last, through the real program under Xvfb: on the options
# screen the pause key is rebound to K and the window made 1200 x 900; the
# game quits, settings.cfg holds both; the game starts again in a 1200 x 900
# window, and in play K pauses ("Paused" over the dimmed world) and K goes on.
# Usage: player_settings.sh GAME_DIR SCRATCH_DIR
set -u
game_dir=$(cd "$1" && pwd) || exit 1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch/home" "$scratch/shots" || exit 1
scratch=$(cd "$scratch" && pwd)
. "$(dirname "$0")/lib/display.sh"
shots=$scratch/shots
cfg=$scratch/home/.local/share/hillhopper/settings.cfg


trap cleanup_display EXIT
fail() {
    echo "FAIL: $*"
    echo "screenshots: $shots"
    [ -f "$scratch/game.log" ] && tail -5 "$scratch/game.log"
    exit 1
}
require_tools Xvfb xdotool import convert

# A screen large enough for the 1200 x 900 window.
start_xvfb 1600x1280x24
# Without a window manager the window under the pointer takes the focus; the
# pointer stays outside the game's window so that no focus change pauses it.
xdotool mousemove 1590 1270 2> /dev/null

start_game() {
    ( cd "$game_dir" && exec env HOME="$scratch/home" PATH=/nonexistent ./hillhopper ) \
        > "$scratch/game.log" 2>&1 &
    game_pid=$!
    wait_for_window
    sleep 2
}

# The game polls its keys once per frame, and a 1200 x 900 frame of the
# software renderer takes longer than 25 ms: a key is held for 400 ms.
key() {
    xdotool keydown --window "$win" "$1" 2> /dev/null
    sleep 0.4
    xdotool keyup --window "$win" "$1" 2> /dev/null
    sleep 0.3
}
keys() { for k in "$@"; do key "$k"; done; }

window_size() {
    w=$(game_window)
    xdotool getwindowgeometry "$w" 2> /dev/null | awk '/Geometry/ { print $2 }'
}

wait_for_exit() {
    n=0
    while kill -0 "$game_pid" 2> /dev/null && [ $n -lt 100 ]; do sleep 0.2; n=$((n + 1)); done
    kill -0 "$game_pid" 2> /dev/null && fail "the game did not end after Quit"
    wait "$game_pid"
    status=$?
    game_pid=""
    [ $status -eq 0 ] || fail "exit status $status"
}

# Bright (text) pixels of the window region w x h at (x, y).
bright_pixels() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -fx "(r>0.78&&g>0.78)?1:0" \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}
# Mean brightness (0..255) of the window region w x h at (x, y).
mean_level() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace Gray -format "%[fx:int(255*mean)]" info:
}

# ---- first run: the options screen ---------------------------------------------------

start_game
[ "$(window_size)" = "800x600" ] || fail "the first window is $(window_size), not 800x600"
echo "ok: an 800x600 window by default"
key space                                   # English
keys Down space                             # Options
sleep 0.5
keys Down Down Down Down Down Down Down Down Down     # the pause row
key Return
key k                                       # the new pause key
keys Down Down Down Down Down               # the window size row
key Right                                   # 1200 x 900, at once
sleep 2
import -window root "$shots/1_options.png" 2> /dev/null
[ "$(window_size)" = "1200x900" ] || fail "the window is $(window_size) after the change, not 1200x900"
echo "ok: the window became 1200x900 at once"
win=$(game_window)
key Escape                                  # back to the start menu, on Options
sleep 0.5
keys Down space                             # Quit
wait_for_exit
echo "ok: quit with status 0"
grep -q "^pause = $(printf '%d' 11)\$" "$cfg" || fail "settings.cfg does not bind pause to K: $(grep '^pause' "$cfg")"
grep -q "^window = 1200x900\$" "$cfg" || fail "settings.cfg does not keep the window size"
echo "ok: settings.cfg keeps the key and the size"

# ---- second run: the settings hold ---------------------------------------------------

start_game
[ "$(window_size)" = "1200x900" ] || fail "the second start opened $(window_size), not 1200x900"
echo "ok: the second start opens 1200x900"
keys space space                            # English (preselected), Start
sleep 0.5
key Return                                  # level 0
sleep 1
key Return                                  # leaves the controls screen
sleep 1.5
import -window root "$shots/2_playing.png" 2> /dev/null
key k
sleep 0.5
import -window root "$shots/3_paused.png" 2> /dev/null
sleep 1
import -window root "$shots/4_still_paused.png" 2> /dev/null
# "Paused" in the title font, overlay (320, 200..240) -> window x 1.875.
text=$(bright_pixels "$shots/3_paused.png" 450 370 300 85)
[ "$text" -gt 300 ] || fail "no \"Paused\" over the world ($text text pixels)"
before=$(mean_level "$shots/2_playing.png" 0 600 1200 300)
after=$(mean_level "$shots/3_paused.png" 0 600 1200 300)
[ "$after" -lt $((before * 3 / 4)) ] || fail "the world is not dimmed ($before -> $after)"
cmp -s "$shots/3_paused.png" "$shots/4_still_paused.png" || fail "the paused picture changed while paused"
echo "ok: K pauses: \"Paused\" over the dimmed world, nothing moves"
key k
sleep 0.8
import -window root "$shots/5_going_on.png" 2> /dev/null
cmp -s "$shots/3_paused.png" "$shots/5_going_on.png" && fail "K again did not go on"
echo "ok: K again goes on"
echo "screenshots: $shots"
echo "1 passed, 0 failed"
