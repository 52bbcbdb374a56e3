#!/bin/sh
# The editor build as a designer uses it, under Xvfb with xdotool: start
# screen -> play -> F5 (Edit Mode, its label shows) -> F6 (next level) -> F5
# -> N (a vertex at the mouse) -> S (save, then any key). The level file of
# level 1 must have grown by exactly one vertex entry and the previous file
# must be the backup. Then the shipped build must ignore F5. The game folder
# is copied first, so the shipped levels are never written.
# Usage: editor_session.sh GAME_DIR SCRATCH_DIR
set -u
game_dir=$(cd "$1" && pwd) || exit 1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch/home" "$scratch/shots" "$scratch/game" || exit 1
scratch=$(cd "$scratch" && pwd)
shots=$scratch/shots
game=$scratch/game

for tool in Xvfb xdotool import convert; do
    command -v $tool > /dev/null 2>&1 || { echo "FAIL: $tool is not installed"; exit 1; }
done
[ -x "$game_dir/hillhopper-edit" ] || { echo "SKIP: no editor build in $game_dir"; exit 0; }
[ -f "$game_dir/map1.trn" ] || { echo "SKIP: no level files in $game_dir"; exit 0; }
cp -r "$game_dir"/. "$game"/

xvfb_pid=""
game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2> /dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "game log:"; cat "$scratch/game.log" 2> /dev/null
    echo "screenshots of this run: $shots"
    exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$scratch/display" 2> "$scratch/xvfb.log" &
xvfb_pid=$!
n=0
while [ ! -s "$scratch/display" ] && [ $n -lt 100 ]; do sleep 0.1; n=$((n + 1)); done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
DISPLAY=:$(cat "$scratch/display")
export DISPLAY

# Starts a build of the game in the copied folder and finds its window.
start_game() {
    ( cd "$game" && exec env HOME="$scratch/home" PATH=/nonexistent "./$1" ) > "$scratch/game.log" 2>&1 &
    game_pid=$!
    win=""
    n=0
    while [ -z "$win" ] && [ $n -lt 150 ]; do
        kill -0 "$game_pid" 2> /dev/null || fail "$1 ended at start-up"
        win=$(xdotool search --onlyvisible --name Hillhopper 2> /dev/null | head -n 1)
        sleep 0.2
        n=$((n + 1))
    done
    [ -n "$win" ] || fail "no window for $1"
}

stop_game() {
    kill -9 "$game_pid" 2> /dev/null   # SIGTERM can deadlock inside the GL driver
    wait "$game_pid" 2> /dev/null
    game_pid=""
}

# The game polls its keys once per 25 ms frame: a key is held for 150 ms.
key() {
    xdotool keydown --window "$win" "$1" 2> /dev/null
    sleep 0.15
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
echo "3 passed, 0 failed"
