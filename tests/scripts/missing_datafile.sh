#!/bin/sh
# The real program with one of its five datafiles missing: the datafile's
# message, exit status 0, no crash and no hang -- for each of the five.
# Usage: missing_datafile.sh GAME_DIR SCRATCH_DIR
set -u
game_dir=$1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch"

# Without xmessage on the PATH, allegro_message prints to standard output and
# returns instead of waiting for a click. xvfb-run itself still needs the
# ordinary PATH, so the narrow one is set for the game alone.
safe_path=/nonexistent
passed=0
failed=0
for dat in ttex01.dat doodads01.dat buildings.dat sound.dat music.dat; do
    dir="$scratch/without_$dat"
    mkdir -p "$dir"
    cp -r "$game_dir"/. "$dir"/
    rm -f "$dir/$dat"
    out=$(cd "$dir" && timeout 120 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
          env PATH=$safe_path HOME="$dir" ./hillhopper 2>&1)
    status=$?
    case "$out" in
        *"Unable to load $dat!"*) message=yes ;;
        *) message=no ;;
    esac
    if [ $status -eq 0 ] && [ $message = yes ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: without $dat: exit status $status, message $message"
        echo "$out" | tail -5
    fi
done
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
