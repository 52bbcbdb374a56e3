#!/bin/sh
# Contact sheets of the shipped stages: a screenshot every STEP frames along
# every recorded run in LEVELS_DIR (run<N>.txt, run<N>_<name>.txt), tiled into
# one picture per stage, OUT_DIR/stage<N>.png. Also one map of each whole
# stage, OUT_DIR/stage<N>_map.png. A tool for people looking at the art, not a
# test. Runs the shot tools under Xvfb when there is no display.
# Usage: contact_sheets.sh SHOTS_TOOL MAP_TOOL GAME_DIR LEVELS_DIR OUT_DIR [STEP]
set -e
[ $# -ge 5 ] || { echo "usage: $0 SHOTS_TOOL MAP_TOOL GAME_DIR LEVELS_DIR OUT_DIR [STEP]" >&2; exit 2; }
shots=$1; map=$2; game=$3; levels=$4; out=$5; step=${6:-50}
# The longest run the clock allows is well under this many frames.
last_frame=3000

command -v montage > /dev/null || { echo "contact_sheets: montage (imagemagick) is missing; run tools/setup.sh" >&2; exit 1; }
with_display() {
    if [ -n "$DISPLAY" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi
}

# The labels' font: fonts-dejavu-core is part of the set-up.
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf

mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/hh_sheets_XXXXXX")
trap 'rm -rf "$work"' EXIT
frames=$(seq 0 "$step" "$last_frame")

# Every stage that has a recorded run, in order.
stages=$(for run in "$levels"/run*.txt; do
    basename "$run" .txt | sed -n 's/^run\([0-9][0-9]*\).*/\1/p'
done | sort -nu)

for level in $stages; do
    shots_of_stage=""
    for run in "$levels"/run"$level".txt "$levels"/run"$level"_*.txt; do
        [ -f "$run" ] || continue
        name=$(basename "$run" .txt)
        # shellcheck disable=SC2086
        with_display "$shots" "$game" "$run" "$work/$name-" $frames
        for f in $frames; do
            bmp="$work/$name-$f.bmp"
            [ -f "$bmp" ] || continue
            png="$work/$name-$(printf %04d "$f").png"
            convert "$bmp" -resize 50% "$png"
            shots_of_stage="$shots_of_stage $png"
        done
    done
    [ -n "$shots_of_stage" ] || { echo "contact_sheets: no run for stage $level" >&2; continue; }
    # shellcheck disable=SC2086
    montage -label '%t' -font "$font" -pointsize 14 -tile 6x -geometry +4+4 -background '#202020' \
        -fill white $shots_of_stage "$out/stage$level.png"
    with_display "$map" "$game" "$level" "$work/map$level.bmp" 4 > /dev/null
    convert "$work/map$level.bmp" "$out/stage${level}_map.png"
    echo "contact_sheets: $out/stage$level.png, $out/stage${level}_map.png"
done
