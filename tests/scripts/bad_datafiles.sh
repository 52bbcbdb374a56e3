#!/bin/sh
# The real program with damaged datafiles: truncated (plain or compressed),
# empty or garbage files,
# another datafile's objects at the fixed slots (samples where pictures are
# wanted, pictures where tracks are), and datafiles with fewer objects than
# the fixed slots need. Every case must end with exit status 0 and no crash:
# either the program stops at start-up with a message naming the datafile, or
# it runs on, is played for a moment (start screen, a level, the time-out
# screen) and quits through its own menu.
# Usage: bad_datafiles.sh GAME_DIR SCRATCH_DIR
set -u
game_dir=$(cd "$1" && pwd) || exit 1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch" || exit 1
scratch=$(cd "$scratch" && pwd)
. "$(dirname "$0")/lib/display.sh"

[ -x "$game_dir/hillhopper" ] || { echo "FAIL: no $game_dir/hillhopper"; exit 1; }

trap cleanup_display EXIT
fail() { echo "FAIL: $*"; exit 1; }
require_tools Xvfb xdotool dat sox

start_xvfb

# ---- damaged datafiles --------------------------------------------------------------

# A datafile of one short sample and one tiny picture: far fewer objects than
# any fixed slot table needs (and of the wrong kinds for most of them).
make_small_datafile() {
    sox -n -r 11025 -b 8 -c 1 "$scratch/beep.wav" synth 0.05 sine 440 2> /dev/null
    convert -size 8x8 xc:red "BMP3:$scratch/dot.bmp" 2> /dev/null
    rm -f "$scratch/small.dat"
    dat -a "$scratch/small.dat" -t SAMP "$scratch/beep.wav" > /dev/null 2>&1
    dat -a "$scratch/small.dat" -t BMP -bpp 32 "$scratch/dot.bmp" > /dev/null 2>&1
    [ -s "$scratch/small.dat" ]
}
make_small_datafile || { echo "FAIL: cannot make the small datafile"; exit 1; }

# damage FOLDER FILE HOW: HOW is half, head, empty, garbage, packed_half,
# small, or another datafile's name (its objects take this one's place).
damage() {
    target="$1/$2"
    case "$3" in
        half) size=$(wc -c < "$target"); head -c $((size / 2)) "$target" > "$target.cut"; mv "$target.cut" "$target" ;;
        head) head -c 64 "$target" > "$target.cut"; mv "$target.cut" "$target" ;;
        empty) : > "$target" ;;
        garbage) yes "hillhopper datafile" | head -c 20000 > "$target" ;;
        small) cp "$scratch/small.dat" "$target" ;;
        packed_half)    # compressed by the datafile tool, then cut in half
            dat -c2 "$target" > /dev/null 2>&1
            size=$(wc -c < "$target"); head -c $((size / 2)) "$target" > "$target.cut"; mv "$target.cut" "$target" ;;
        *) cp "$game_dir/$3" "$target" ;;
    esac
}

# ---- driving the game ---------------------------------------------------------------

key() {
    xdotool keydown --window "$win" "$1" 2> /dev/null
    sleep 0.15
    xdotool keyup --window "$win" "$1" 2> /dev/null
    sleep 0.3
}

# Start screen -> English -> Start -> level select -> controls screen -> a
# moment of running -> Escape -> "back to the start screen" -> English -> Quit.
play_and_quit() {
    key space; key space; key Return; key Return
    xdotool keydown --window "$win" Right 2> /dev/null; sleep 0.8
    xdotool keyup --window "$win" Right 2> /dev/null
    key Escape; sleep 0.8
    key Down; key space; sleep 0.5
    key space; key Up; key space
}

# Runs the game in FOLDER; sets outcome to "exit:STATUS", or "hang".
run_game() {
    dir=$1
    ( cd "$dir" && exec env HOME="$dir" PATH=/nonexistent ./hillhopper ) > "$dir/game.log" 2>&1 &
    game_pid=$!
    win=""
    n=0
    while [ -z "$win" ] && [ $n -lt 100 ] && kill -0 "$game_pid" 2> /dev/null; do
        win=$(game_window)
        sleep 0.2
        n=$((n + 1))
    done
    if [ -n "$win" ] && kill -0 "$game_pid" 2> /dev/null; then
        ran=yes
        play_and_quit
    else
        ran=no
    fi
    n=0
    while kill -0 "$game_pid" 2> /dev/null && [ $n -lt 100 ]; do sleep 0.2; n=$((n + 1)); done
    if kill -0 "$game_pid" 2> /dev/null; then
        kill -9 "$game_pid"; wait "$game_pid" 2> /dev/null
        outcome=hang
    else
        wait "$game_pid"
        outcome="exit:$?"
    fi
    game_pid=""
}

# ---- the cases ----------------------------------------------------------------------

passed=0
failed=0
# file how
cases="ttex01.dat half
ttex01.dat empty
ttex01.dat garbage
ttex01.dat sound.dat
ttex01.dat small
doodads01.dat head
doodads01.dat music.dat
buildings.dat half
buildings.dat sound.dat
sound.dat half
sound.dat garbage
sound.dat ttex01.dat
sound.dat small
music.dat head
music.dat packed_half
music.dat sound.dat
music.dat small"

k=0
echo "$cases" | while read -r file how; do
    k=$((k + 1))
    dir="$scratch/case$k"
    mkdir -p "$dir"
    cp -r "$game_dir"/. "$dir"/
    damage "$dir" "$file" "$how"
    run_game "$dir"
    # The X server can refuse a GL window now and then: one more try.
    if [ $ran = no ] && grep -q "Error setting OpenGL graphics mode" "$dir/game.log"; then
        run_game "$dir"
    fi
    name="$file as $how"
    if [ "$outcome" = "exit:0" ] && { [ $ran = yes ] || grep -q "$file" "$dir/game.log"; }; then
        echo "ok: $name: status 0, $( [ $ran = yes ] && echo "played and quit" || echo "message: $(grep "$file" "$dir/game.log" | head -n 1)")"
        echo pass >> "$scratch/results"
    else
        echo "FAIL: $name: $outcome, ran $ran"
        tail -n 5 "$dir/game.log"
        echo fail >> "$scratch/results"
    fi
done
passed=$(grep -c pass "$scratch/results")
failed=$(grep -c fail "$scratch/results")
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
