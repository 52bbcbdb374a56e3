#!/bin/sh
# The editor build as a designer uses it, under Xvfb with xdotool: start
# screen -> play -> F5 (Edit Mode, its label shows) -> F6 (next level) -> F5
# -> N (a vertex at the mouse) -> S (save, then any key). The level file of
# level 1 must have grown by exactly one vertex entry and the previous file
# must be the backup. Then nothing is lost: N, Ctrl+Z, S saves the same file;
# 28 s of editing run out no clock; leaving with an unsaved vertex keeps it
# in a recovery file that F7 restores; a refused level needs a second S.
# Then the shipped build must ignore F5. The game folder is copied first, so
# the shipped levels are never written.
# Usage: editor_session.sh GAME_DIR SCRATCH_DIR
set -u
game_dir=$(cd "$1" && pwd) || exit 1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch/home" "$scratch/shots" "$scratch/game" || exit 1
scratch=$(cd "$scratch" && pwd)
. "$(dirname "$0")/lib/display.sh"
shots=$scratch/shots
game=$scratch/game

[ -x "$game_dir/hillhopper-edit" ] || { echo "SKIP: no editor build in $game_dir"; exit 0; }
[ -f "$game_dir/map1.trn" ] || { echo "SKIP: no level files in $game_dir"; exit 0; }
cp -r "$game_dir"/. "$game"/

trap cleanup_display EXIT
fail() {
    echo "FAIL: $*"
    echo "game log:"; cat "$scratch/game.log" 2> /dev/null
    echo "screenshots of this run: $shots"
    exit 1
}
require_tools Xvfb xdotool import convert

start_xvfb

launch_game() {
    ( cd "$game" && exec env HOME="$scratch/home" PATH=/nonexistent "./$bin" "$@" ) > "$scratch/game.log" 2>&1 &
    game_pid=$!
    launch_tries=$((launch_tries + 1))
}

# Starts a build of the game in the copied folder and finds its window.
start_game() {
    bin=$1
    shift
    launch_tries=0
    launch_game "$@"
    win=""
    n=0
    while [ -z "$win" ] && [ $n -lt 150 ]; do
        if ! kill -0 "$game_pid" 2> /dev/null; then
            # A display that refused the connection while it was busy is tried once more.
            grep -q "no X display" "$scratch/game.log" && [ $launch_tries -lt 2 ] ||
                fail "$bin ended at start-up"
            sleep 1
            launch_game "$@"
        fi
        win=$(game_window)
        sleep 0.2
        n=$((n + 1))
    done
    [ -n "$win" ] || fail "no window for $bin"
}

stop_game() {
    kill -9 "$game_pid" 2> /dev/null   # SIGTERM can deadlock inside the GL driver
    wait "$game_pid" 2> /dev/null
    game_pid=""
}

# The game polls its keys once per 25 ms frame: a key is held for 300 ms,
# so that a frame sees it even on a loaded machine.
key() {
    xdotool keydown --window "$win" "$1" 2> /dev/null
    sleep 0.3
    xdotool keyup --window "$win" "$1" 2> /dev/null
    sleep 0.4
}

# Dark red pixels of the "Edit Mode" label's place, overlay (560, 460).
label_pixels() {
    convert "$1" -crop 100x16+698+572 +repage -fx "(r>0.2&&g<0.12&&b<0.12)?1:0" \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}

shot() {
    import -window root "$shots/$1.png" 2> /dev/null
    echo "$shots/$1.png"
}

# Start screen: English, Start, the level select's first level; then any
# key leaves the controls screen.
enter_play() {
    sleep 2
    key space
    sleep 0.5
    key space
    sleep 0.5
    key Return
    sleep 1
    key Return
    sleep 1
}

# ---- the editor build ---------------------------------------------------------------

start_game hillhopper-edit
enter_play
before=$(label_pixels "$(shot 1_playing)")
key F5
sleep 0.3
after=$(label_pixels "$(shot 2_edit_mode)")
echo "label pixels: play $before, edit mode $after"
[ "$after" -gt $((before + 30)) ] || fail "F5 did not show the Edit Mode label"
echo "ok: F5 enters Edit Mode"

cp "$game/map1.trn" "$scratch/map1_before.trn"
key F6                                      # level 1 starts, in play
sleep 1
key F5
xdotool mousemove --window "$win" 420 260 2> /dev/null
sleep 0.3
key n
key s
sleep 0.5
key Return                                  # the save waits for a key
sleep 0.5
stop_game

[ -f "$game/map1.trn.bak" ] || fail "no backup after saving"
cmp -s "$game/map1.trn.bak" "$scratch/map1_before.trn" || fail "the backup is not the previous file"
old_size=$(wc -c < "$scratch/map1_before.trn")
new_size=$(wc -c < "$game/map1.trn")
vertex_entry=16                             # slot index + 12-byte vertex image
[ $((new_size - old_size)) -eq $vertex_entry ] || fail "map1.trn grew by $((new_size - old_size)) bytes, not one vertex"
if [ -f "$game_dir/map0.trn" ]; then
    cmp -s "$game/map0.trn" "$game_dir/map0.trn" || fail "level 0 was written"
fi
echo "ok: N and S saved level 1 with one more vertex, the old file kept as the backup"

# ---- nothing lost: undo, a standing clock, the recovery file, a refused level ---------

# Mean brightness (0..1000) of the 800 x 600 window at the root's top left.
brightness() {
    convert "$1" -crop 800x600+0+0 +repage -colorspace Gray -format "%[fx:int(mean*1000)]" info:
}

cp "$game/map1.trn" "$scratch/map1_saved.trn"
cp "$game/map2.trn" "$scratch/map2_before.trn"
start_game hillhopper-edit
enter_play
key F6                                      # level 1
sleep 1
key F5
xdotool mousemove --window "$win" 300 200 2> /dev/null
sleep 0.3
key n
key ctrl+z
key s
sleep 0.5
cmp -s "$game/map1.trn" "$scratch/map1_saved.trn" || fail "N, Ctrl+Z, S changed map1.trn"
echo "ok: an edit, Ctrl+Z and S give the same file byte for byte"

key F6                                      # level 2: 30 units of time, 25 s of play
sleep 1
key F5
sleep 0.5
key n
sleep 28                                    # longer than the whole clock
key F5
key F5                                      # back in play
sleep 0.5
playing=$(brightness "$(shot 5_after_long_edit)")
key Escape                                  # giving up shows the time-out screen
sleep 1.5
given_up=$(brightness "$(shot 6_given_up)")
echo "brightness: after 28 s of editing $playing, time-out screen $given_up"
[ "$given_up" -lt $((playing * 2 / 3)) ] || fail "the clock ran out while editing"
echo "ok: 28 s in Edit Mode did not run out a 25 s clock"

key space                                   # "play again": the level is left
sleep 1
[ -f "$game/map2.trn.autosave" ] || fail "no recovery file after leaving the level"
cmp -s "$game/map2.trn" "$scratch/map2_before.trn" || fail "leaving the level wrote map2.trn"
grep -q "map2.trn.autosave" "$scratch/game.log" || fail "the recovery file was not announced"
key F7                                      # restore, then F6 keeps it again
rm -f "$game/map2.trn.autosave"
key F6
sleep 1
[ -f "$game/map2.trn.autosave" ] || fail "no recovery file after F6"
stop_game
start_game hillhopper-edit --windowed --level 2
sleep 2
key space                                   # the controls screen
sleep 0.5
key F5
key F7
key s
sleep 0.5
old_size=$(wc -c < "$scratch/map2_before.trn")
new_size=$(wc -c < "$game/map2.trn")
[ $((new_size - old_size)) -eq $vertex_entry ] || fail "restored map2.trn grew by $((new_size - old_size)) bytes, not one vertex"
echo "ok: F6 kept the unsaved vertex in map2.trn.autosave and F7 brought it back"

stop_game

printf 'not a level file' > "$game/junk.trn"  # refused by the reader: starts empty
start_game hillhopper-edit --windowed --level "$game/junk.trn"
sleep 2
key space                                   # the controls screen
sleep 0.5
key F5
key s
sleep 0.5
[ "$(cat "$game/junk.trn")" = "not a level file" ] || fail "one S overwrote the refused junk.trn"
key s
sleep 0.5
[ "$(cat "$game/junk.trn")" != "not a level file" ] || fail "a second S did not save junk.trn"
stop_game
echo "ok: a refused level is overwritten only by a second S"

# ---- the shipped build never enters the editor ----------------------------------------

start_game hillhopper
enter_play
before=$(label_pixels "$(shot 3_shipped_playing)")
key F5
sleep 0.3
after=$(label_pixels "$(shot 4_shipped_after_f5)")
stop_game
echo "label pixels: play $before, after F5 $after"
[ "$after" -le $((before + 10)) ] || fail "the shipped build showed the Edit Mode label"
echo "ok: the shipped build ignores F5"
echo "7 passed, 0 failed"
