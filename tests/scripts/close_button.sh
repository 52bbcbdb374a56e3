#!/bin/sh
# The window's close button ends the game cleanly with status 0, from the
# start screen and during play. The game runs without a sound device (the
# default ALSA device names a card that is not there): it plays silently and
# says so in one line on standard error.
# Usage: close_button.sh GAME_DIR SCRATCH_DIR
set -u
game_dir=$(cd "$1" && pwd)
scratch=$2
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" sh "$0" "$@"
fi
xclose="$game_dir/../tools/xclose/xclose"
rm -rf "$scratch" && mkdir -p "$scratch" && cp -r "$game_dir"/. "$scratch"/
cd "$scratch" || exit 1
printf 'pcm.!default { type hw card 31 }\nctl.!default { type hw card 31 }\n' > .asoundrc

# Waits up to 30 s (a busy machine starts slowly) for the window of game $1;
# fails at once when the game has ended without one.
find_window() {
    for i in $(seq 1 300); do
        w=$(xdotool search --onlyvisible --name Hillhopper 2>/dev/null | head -1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Starts the game with its output in log $1; leaves its pid in $pid and its
# window in $w. The X server can refuse a GL window now and then: one more try.
start_game() {
    for attempt in 1 2; do
        # Without xmessage on its path allegro_message prints instead of
        # waiting for a click; HOME holds the .asoundrc above.
        env HOME="$PWD" PATH=/nonexistent ./hillhopper > "$1" 2>&1 &
        pid=$!
        w=$(find_window $pid) && return 0
        kill -9 $pid 2>/dev/null; wait $pid 2>/dev/null
        grep -q "Error setting OpenGL graphics mode" "$1" || break
    done
    echo "FAIL: no window ($1):"; cat "$1"
    exit 1
}

tap() {
    xdotool keydown --window "$1" "$2" 2>/dev/null; sleep 0.15
    xdotool keyup --window "$1" "$2" 2>/dev/null; sleep 0.4
}

# Closes the window and waits up to 30 s for the game to end; leaves its exit
# status in $status. (Not in a subshell: only this shell can reap the game.)
close_and_wait() {
    "$xclose" "$1"
    ( sleep 30; kill -9 "$2" 2>/dev/null ) &
    watchdog=$!
    wait "$2"
    status=$?
    kill "$watchdog" 2>/dev/null
    [ $status -eq 137 ] && status=hung
}

passed=0; failed=0
check() {
    if [ "$2" = "0" ]; then passed=$((passed + 1)); echo "ok: $1";
    else failed=$((failed + 1)); echo "FAIL: $1 (status $2)"; cat ./*.log; fi
}

start_game start_screen.log
sleep 3
close_and_wait "$w" $pid
check "close on the start screen" "$status"
lines=$(grep -c "no sound device" start_screen.log)
check "one line about the missing sound device" "$([ "$lines" = 1 ] && echo 0 || echo "$lines lines")"

start_game play.log
sleep 3
tap "$w" space; tap "$w" space; sleep 0.5; tap "$w" Return; sleep 0.5; tap "$w" a
sleep 3
close_and_wait "$w" $pid
check "close during play" "$status"

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
