#!/bin/sh
# The real program as a player uses it: under Xvfb, with a sound device that
# records to a file, key presses go start screen -> English -> Start ->
# controls screen -> any key -> a few seconds holding Right -> Escape ->
# time-out screen -> "back to start" -> start screen -> Quit. Start goes
# through the level select. At each stop a
# screenshot is taken and pixels that only that screen has are checked. At
# the end the program must have exited with status 0 and the recording must
# hold sound. Screenshots stay in SCRATCH_DIR/shots (kept when a run fails).
# Usage: play_through.sh GAME_DIR SCRATCH_DIR
set -u
game_dir=$(cd "$1" && pwd) || exit 1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch/home" "$scratch/shots" || exit 1
scratch=$(cd "$scratch" && pwd)
. "$(dirname "$0")/lib/display.sh"
shots=$scratch/shots
wav=$scratch/sound.wav

[ -x "$game_dir/hillhopper" ] || { echo "FAIL: no $game_dir/hillhopper"; exit 1; }

# ALSA's default device becomes a file recorder (the plug layer converts the
# unsigned samples the game sends).
cat > "$scratch/home/.asoundrc" <<EOF
pcm.!default { type plug; slave { pcm "capture"; format S16_LE; } }
pcm.capture { type file; slave.pcm "null"; file "$wav"; format "wav" }
EOF

trap cleanup_display EXIT

fail() {
    echo "FAIL: $*"
    echo "screenshots of this run: $shots"
    ls "$shots"
    exit 1
}
require_tools Xvfb xdotool import convert compare sox

# ---- the X server and the game ---------------------------------------------------

start_xvfb

# PATH without xmessage: a message box would wait for a click forever.
( cd "$game_dir" && exec env HOME="$scratch/home" PATH=/nonexistent ./hillhopper ) \
    > "$scratch/game.log" 2>&1 &
game_pid=$!

wait_for_window "$scratch/game.log"

# ---- input -----------------------------------------------------------------------

# The game polls its keys once per 25 ms frame: a key is held for 150 ms.
key() {
    xdotool keydown --window "$win" "$1" 2> /dev/null
    sleep 0.15
    xdotool keyup --window "$win" "$1" 2> /dev/null
    sleep 0.3
}

# ---- pixels ----------------------------------------------------------------------

# "r g b" of window pixel (x, y) of a screenshot; the window sits at (0, 0).
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# Pixels of the region w x h at (x, y) whose red and green are both bright:
# the yellow and white text of the controls screen.
bright_text_pixels() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -fx "(r>0.78&&g>0.78)?1:0" \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}

# The checks: each reads one screenshot and succeeds only on its own screen.
# Overlay pixels are 640 x 480; the window is 800 x 600 (x 1.25).

# Pixels (more than 10 % apart) that differ between two screenshots in the
# region w x h at (x, y).
region_diff() {
    convert "$1" -crop "$5x$6+$3+$4" +repage "$scratch/now.png"
    convert "$2" -crop "$5x$6+$3+$4" +repage "$scratch/ref.png"
    d=$(compare -metric AE -fuzz 10% "$scratch/now.png" "$scratch/ref.png" null: 2>&1 | cut -d' ' -f1)
    echo "${d%.*}"
}

# The pointer (an orange arrow) rests on the upper item of a start-screen
# menu, at overlay (300, 231); no clock is drawn at the clock's place.
is_start_menu_upper() {
    set -- $(pixel "$1" 375 289) $(pixel "$1" 50 56)
    [ "$1" -gt 220 ] && [ "$2" -gt 150 ] && [ "$2" -lt 235 ] && [ "$3" -lt 160 ] && [ "$6" -gt "$4" ]
}

# The menu items' region, overlay (350, 210) to (550, 300).
menu_diff_from_language_menu() {
    region_diff "$1" "$shots/1_language_menu.png" 437 262 250 113
}

# The language menu again: its items look as they did at start-up.
is_language_menu_again() {
    is_start_menu_upper "$1" && [ "$(menu_diff_from_language_menu "$1")" -lt 5000 ] 2> /dev/null
}

# The start/quit menu: other words than the language menu.
is_start_quit_menu() {
    is_start_menu_upper "$1" && [ "$(menu_diff_from_language_menu "$1")" -gt 5000 ] 2> /dev/null
}

# The pointer on the lowest item of the start menu (Quit) in English, overlay (320, 331).
is_start_menu_quit() {
    shot=$1
    set -- $(pixel "$shot" 400 413) $(pixel "$shot" 375 289)
    [ "$1" -gt 220 ] && [ "$2" -gt 150 ] && [ "$2" -lt 235 ] && [ "$3" -lt 160 ] && [ "$6" -gt 160 ] || return 1
    [ "$(menu_diff_from_language_menu "$shot")" -gt 5000 ] 2> /dev/null
}

# The dark panel of the controls screen, overlay (20, 20) to (380, 220), is
# dark at its corners and holds many pixels of bright text.
is_controls_screen() {
    shot=$1
    for xy in "450 260" "450 40" "40 260" "300 240" "300 200"; do
        set -- $(pixel "$shot" $xy)
        [ $(($1 + $2 + $3)) -lt 200 ] || return 1
    done
    [ "$(bright_text_pixels "$shot" 70 70 330 130)" -gt 300 ]
}

# Play: the clock at its place, overlay centre (40, 45): the time sector to the
# right of the centre is red to yellow (no blue, no grey), the face to the
# left of it plain grey (under 75 time units left).
is_playing() {
    set -- $(pixel "$1" 65 56) $(pixel "$1" 35 56)
    [ "$1" -gt 120 ] && [ "$1" -gt $(($3 + 60)) ] || return 1
    [ "$4" -gt 100 ] && [ $(($4 - $5)) -lt 12 ] && [ $(($5 - $4)) -lt 12 ] && [ $(($5 - $6)) -lt 12 ] && [ $(($6 - $5)) -lt 12 ]
}

# The time-out screen: the world under 80 % black (two corners of the screen
# are dark) and the choice picture's bright rim at overlay (232, 256).
is_timeout_screen() {
    set -- $(pixel "$1" 700 500) $(pixel "$1" 100 560) $(pixel "$1" 290 320)
    [ $(($1 + $2 + $3)) -lt 120 ] && [ $(($4 + $5 + $6)) -lt 120 ] && [ $(($7 + $8 + $9)) -gt 200 ]
}

# The other choice shows another picture: its region of overlay (220, 190,
# 200 x 100) differs from the first time-out screenshot in many pixels.
is_other_timeout_choice() {
    is_timeout_screen "$1" || return 1
    [ "$(region_diff "$1" "$shots/5_timeout.png" 275 237 250 125)" -gt 500 ] 2> /dev/null
}

# Takes screenshots until the check holds (or about 20 s have passed).
# Keeps the last one as shots/NAME.png.
expect_screen() {
    name=$1
    check=$2
    n=0
    while [ $n -lt 40 ]; do
        kill -0 "$game_pid" 2> /dev/null || fail "the game ended before the $name screen"
        import -window root "$shots/$name.png" 2> /dev/null
        if $check "$shots/$name.png"; then
            echo "ok: $name"
            return 0
        fi
        sleep 0.5
        n=$((n + 1))
    done
    fail "$name: the screen does not look as expected ($check)"
}

# ---- the player's session ----------------------------------------------------------

expect_screen 1_language_menu is_start_menu_upper
key space                                   # English
expect_screen 2_start_menu is_start_quit_menu
key space                                   # Start
sleep 0.5
key Return                                  # the level select's first level
expect_screen 3_controls is_controls_screen
key Return                                  # any key
xdotool keydown --window "$win" Right 2> /dev/null
sleep 3
expect_screen 4_playing is_playing
xdotool keyup --window "$win" Right 2> /dev/null
sleep 0.3
key Escape
sleep 1                                     # the panel slides in for 25 frames
expect_screen 5_timeout is_timeout_screen
key Down                                    # "back to the start screen"
expect_screen 6_timeout_back_to_start is_other_timeout_choice
key space
expect_screen 7_language_menu_again is_language_menu_again
key space                                   # English
key Up                                      # up from Start wraps to Quit
expect_screen 8_quit_chosen is_start_menu_quit
key space                                   # Quit

n=0
while kill -0 "$game_pid" 2> /dev/null && [ $n -lt 100 ]; do sleep 0.2; n=$((n + 1)); done
kill -0 "$game_pid" 2> /dev/null && fail "the game did not end after Quit"
wait "$game_pid"
status=$?
game_pid=""
[ $status -eq 0 ] || fail "exit status $status"
echo "ok: exit status 0"

# ---- the recording -------------------------------------------------------------------

[ -s "$wav" ] || fail "nothing was recorded"
rms=$(sox "$wav" -n stat 2>&1 | awk '/RMS +amplitude/ { print $3 }')
[ -n "$rms" ] || fail "the recording cannot be read"
awk -v r="$rms" 'BEGIN { exit !(r > 0.001) }' || fail "the recording is silent (RMS $rms)"
echo "ok: sound recorded (RMS $rms)"
echo "screenshots: $shots"
echo "1 passed, 0 failed"
