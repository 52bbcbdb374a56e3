#!/bin/sh
# Replays and the command line through the real program. Without a display:
# every bad argument, missing, damaged or foreign file ends with one line
# naming it and status 2; --help and --version end with 0. Under Xvfb: the first
# five stages' author's replays played by `hillhopper --replay` print the lines their
# recording printed (replay_figures.txt beside the game folder), one of them
# at normal speed and one dropped on the program as its only argument; a
# replay plays against a level file given with --level; and a live attempt
# (--level 0, the controls screen, Right held, Esc) is kept in the user's replays folder and plays
# back to the frame where it was given up.
# Usage: replays.sh GAME_DIR SCRATCH_DIR
set -u
game_dir=$(cd "$1" && pwd) || exit 1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch/home" || exit 1
scratch=$(cd "$scratch" && pwd)
. "$(dirname "$0")/lib/display.sh"
figures=$game_dir/../replay_figures.txt

trap cleanup_display EXIT
fail() { echo "FAIL: $*"; exit 1; }

[ -x "$game_dir/hillhopper" ] || fail "no $game_dir/hillhopper"
[ -s "$figures" ] || fail "no $figures"

# Runs the game in its folder with a private home and no display; sets
# status, out (stdout) and err (stderr).
game() {
    ( cd "$game_dir" && exec env -u DISPLAY HOME="$scratch/home" PATH=/nonexistent ./hillhopper "$@" ) \
        > "$scratch/out" 2> "$scratch/err"
    status=$?
    out=$(cat "$scratch/out")
    err=$(cat "$scratch/err")
}

# expect_refusal TEXT ARGS...: status 2, nothing on stdout, one line on stderr holding TEXT.
expect_refusal() {
    want=$1
    shift
    game "$@"
    [ "$status" -eq 2 ] || fail "'$*' ended with status $status, not 2 ($err)"
    [ -z "$out" ] || fail "'$*' printed on stdout: $out"
    [ "$(wc -l < "$scratch/err")" -eq 1 ] || fail "'$*' printed more than one line: $err"
    case $err in *"$want"*) ;; *) fail "'$*' said '$err', not '$want'" ;; esac
}

# ---- the command line, no display needed ------------------------------------------

head -c 200 "$game_dir/replays/run0.hhr" > "$scratch/cut.hhr"
echo "not a replay" > "$scratch/notes.txt"
expect_refusal "nosuch.hhr: cannot be opened" --replay nosuch.hhr
expect_refusal "cut.hhr: checksum mismatch" --replay "$scratch/cut.hhr"
expect_refusal "notes.txt: not a replay file" "$scratch/notes.txt"
expect_refusal "run0.hhr: belongs to a different level" --level 1 --replay replays/run0.hhr
expect_refusal "there is no level 77" --level 77
expect_refusal "nowhere.trn: cannot be opened" --level nowhere.trn
expect_refusal "bogus" --bogus
expect_refusal "excludes" --windowed --fullscreen
expect_refusal "cannot go with" replays/run0.hhr --level 0
game --help
[ "$status" -eq 0 ] || fail "--help ended with $status"
case $out in *--replay*--windowed*) ;; *) fail "--help does not list the options: $out" ;; esac
game --version
[ "$status" -eq 0 ] && [ -n "$out" ] || fail "--version: status $status, '$out'"
echo "command line refusals: fine"

# ---- replays in the window -------------------------------------------------------------

start_xvfb

# watch PACED ARGS...: plays a replay in the window; sets status and out.
watch() {
    unpaced=1
    [ "$1" = paced ] && unpaced=0
    shift
    ( cd "$game_dir" && exec env HOME="$scratch/home" PATH=/nonexistent HILLHOPPER_REPLAY_UNPACED=$unpaced \
        ./hillhopper --windowed "$@" ) > "$scratch/out" 2> "$scratch/err"
    status=$?
    out=$(cat "$scratch/out")
}

# Every author's replay is proven to the bit by the level tests without a
# window; through the window, the first five stages' replays show that the
# drawn program plays the same. Each one takes 20 s or more of drawing here,
# so the later stages' replays are left to the level tests.
while read -r file line; do
    case $file in run[0-4].hhr|run[0-4]_*.hhr) ;; *) continue ;; esac
    start=$(date +%s)
    case $file in
        run3_secret.hhr) watch paced --replay "replays/$file" ;;
        run3.hhr) watch unpaced "replays/$file" ;;     # dropped on the program
        *) watch unpaced --replay "replays/$file" ;;
    esac
    took=$(($(date +%s) - start))
    [ "$status" -eq 0 ] || fail "$file: status $status: $(cat "$scratch/err")"
    [ "$out" = "$line" ] || fail "$file: printed '$out', its recording '$line'"
    echo "$file: $out ($took s)"
    if [ "$file" = run3_secret.hhr ]; then
        frames=$(echo "$line" | sed 's/.*after \([0-9]*\) frames.*/\1/')
        [ "$took" -ge $((frames / 40 - 1)) ] || fail "$file played in $took s, faster than normal speed"
    fi
done < "$figures"

# Against a level file from elsewhere, named on the command line.
cp "$game_dir/map1.trn" "$scratch/sent_to_me.trn"
watch unpaced --level "$scratch/sent_to_me.trn" --replay replays/run1.hhr
want=$(grep '^run1.hhr ' "$figures" | cut -d' ' -f2-)
[ "$status" -eq 0 ] && [ "$out" = "$want" ] || fail "run1 against a copied level: status $status, '$out'"
echo "run1 against $scratch/sent_to_me.trn: fine"

# ---- a live attempt is kept and plays back ------------------------------------------

( cd "$game_dir" && exec env HOME="$scratch/home" PATH=/nonexistent ./hillhopper --windowed --level 0 ) \
    > "$scratch/live.log" 2>&1 &
game_pid=$!
wait_for_window "$scratch/live.log"
sleep 1
# The controls screen comes first; its wait is part of the attempt.
xdotool keydown --window "$win" space; sleep 0.15; xdotool keyup --window "$win" space
sleep 0.3
xdotool keydown --window "$win" Right; sleep 3; xdotool keyup --window "$win" Right
xdotool keydown --window "$win" Escape; sleep 0.15; xdotool keyup --window "$win" Escape
sleep 1
kept=$(ls "$scratch"/home/.local/share/hillhopper/replays/*.last.hhr 2> /dev/null | head -n 1)
[ -n "$kept" ] || fail "the attempt was not kept: $(ls -R "$scratch/home")"
ls "$scratch"/home/.local/share/hillhopper/replays/*.best.hhr > /dev/null 2>&1 && fail "a given-up run became the best"
kill -9 "$game_pid" 2> /dev/null   # SIGTERM can deadlock inside the GL driver
wait "$game_pid" 2> /dev/null
game_pid=""
watch unpaced --replay "$kept"
[ "$status" -eq 0 ] || fail "the kept attempt did not play: $(cat "$scratch/err")"
case $out in "replay: level 0 ended after "*" frames without finishing") ;;
    *) fail "the kept attempt printed '$out'" ;; esac
frames=$(echo "$out" | sed 's/.*after \([0-9]*\) frames.*/\1/')
[ "$frames" -ge 20 ] || fail "the kept attempt is only $frames frames long"
echo "live attempt kept as $(basename "$kept"): $out"
echo "PASS"
