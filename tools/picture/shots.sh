#!/bin/sh
# tools/picture/shots.sh -- screenshots along the four recorded runs (frames 5,
# 300, 600 and each run's last), for checking that a drawing change keeps the
# picture. Usage: shots.sh BUILD_DIR OUT_DIR
#   then compare two OUT_DIRs with tools/picture/compare.sh BEFORE AFTER.
# Needs the level_shots target built in BUILD_DIR and xvfb-run.
set -e
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
src=$(cd "$(dirname "$0")/../.." && pwd)
for n in 0 1 2 3; do
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
        "$build/tools/levels/level_shots" "$build/game" "$src/levels/run$n.txt" "$out/run${n}_" \
        5 300 600 last 2>/dev/null
done
ls "$out" | wc -l
