#!/bin/sh
# Start-up without a display: the graphics-mode message, exit status 0, no crash.
# Usage: startup_failures.sh GAME_DIR SCRATCH_DIR
set -u
game_dir=$1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch"
cp -r "$game_dir"/. "$scratch"/
cd "$scratch" || exit 1

# Without xmessage on the PATH, allegro_message prints to standard output and
# returns instead of waiting for a click.
safe_path=/nonexistent
out=$(env -u DISPLAY PATH=$safe_path ./hillhopper 2>&1)
status=$?
echo "$out"
if [ $status -ne 0 ]; then
    echo "FAIL: exit status $status without a display"; exit 1
fi
case "$out" in
    *"Error setting OpenGL graphics mode:"*) ;;
    *) echo "FAIL: no graphics-mode message"; exit 1 ;;
esac
echo "1 passed, 0 failed"
