#!/bin/sh
# tools/frametime/pairs.sh BEFORE_GAME AFTER_GAME ROUNDS SECONDS CASE... --
# interleaved before/after runs of frametime in two game folders, each line
# with the load average at its start. A CASE is frametime's arguments joined
# by commas ("0" level 0, "start", "pause,0", "select"); a case prefixed
# "1200x900:" or "1600x1200:" runs with that window size from a settings.cfg
# (in a scratch data folder, as the window-size setting gives it).
# Prints: case build load ms-a-frame share-of-a-core frames
set -e
before=$(cd "$1" && pwd); after=$(cd "$2" && pwd); rounds=$3; seconds=$4
shift 4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
run() {     # build-dir case
    size=800x600; args=$2
    case "$2" in *:*) size=${2%%:*}; args=${2#*:};; esac
    data="$scratch/$size"
    mkdir -p "$data"
    [ "$size" = 800x600 ] || printf '[display]\nwindow = %s\n' "$size" > "$data/settings.cfg"
    load=$(cut -d' ' -f1 /proc/loadavg)
    out=$(cd "$1" && HILLHOPPER_DATA_HOME="$data" xvfb-run -a -s "-screen 0 2048x1536x24 -nolisten tcp" \
          ./frametime "$seconds" $(echo "$args" | tr ',' ' ') 2>/dev/null)
    ms=$(echo "$out" | sed -n 's/.*, \([0-9.]*\) ms a frame/\1/p')
    share=$(echo "$out" | sed -n 's/processor: \([0-9.]*\) %.*/\1/p')
    frames=$(echo "$out" | sed -n 's/.*frames \([0-9]*\) over.*/\1/p')
    echo "$2 $3 load=$load ms=$ms share=$share% frames=$frames"
}
for r in $(seq "$rounds"); do
    for c in "$@"; do
        run "$before" "$c" before
        run "$after" "$c" after
    done
done
