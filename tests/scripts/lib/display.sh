# tests/scripts/lib/display.sh -- what the whole-program scripts share: a
# private X server, the game's window, and ending both. Sourced; the script
# sets `scratch` (its own folder) and defines fail() before calling these.

xvfb_pid=""
game_pid=""

# Ends the game with SIGKILL (SIGTERM runs Allegro's exit inside the GL
# driver, which can hang) and then the X server. Meant for `trap ... EXIT`.
cleanup_display() {
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2> /dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
}

# require_tools TOOL...: fails naming the first one that is not installed.
require_tools() {
    for tool in "$@"; do
        command -v "$tool" > /dev/null 2>&1 || fail "$tool is not installed"
    done
}

# start_xvfb [SCREEN]: an X server of its own on a free display (SCREEN as
# Xvfb's -screen 0 takes it, 1024x768x24 unless given); exports DISPLAY.
# -noreset: a killed game must not take the server's state down with it.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset \
        3> "$scratch/display" 2> "$scratch/xvfb.log" &
    xvfb_pid=$!
    n=0
    while [ ! -s "$scratch/display" ] && [ $n -lt 100 ]; do sleep 0.1; n=$((n + 1)); done
    [ -s "$scratch/display" ] || fail "Xvfb did not start"
    DISPLAY=:$(cat "$scratch/display")
    export DISPLAY
}

# The game's visible window, or nothing.
game_window() {
    xdotool search --onlyvisible --name Hillhopper 2> /dev/null | head -n 1
}

# wait_for_window [LOG]: up to 30 s for the window of the game game_pid;
# sets win. Fails at once when the game ends first (quoting LOG if given).
wait_for_window() {
    win=""
    n=0
    while [ -z "$win" ] && [ $n -lt 150 ]; do
        kill -0 "$game_pid" 2> /dev/null || fail "the game ended at start-up${1:+: $(cat "$1")}"
        win=$(game_window)
        sleep 0.2
        n=$((n + 1))
    done
    [ -n "$win" ] || fail "no game window"
}
