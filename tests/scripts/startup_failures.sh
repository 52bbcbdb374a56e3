#!/bin/sh
# Start-up without a display, and on a display without OpenGL: the
# graphics-mode message with the reason, exit status 0, no crash.
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
passed=0
failed=0

# check NAME STATUS OUTPUT REASON: status 0 and the message with its reason.
check() {
    echo "$3"
    if [ "$2" -ne 0 ]; then
        echo "FAIL: $1: exit status $2"; failed=$((failed + 1)); return
    fi
    case "$3" in
        *"Error setting OpenGL graphics mode:"*"$4"*) echo "ok: $1"; passed=$((passed + 1)) ;;
        *) echo "FAIL: $1: no graphics-mode message naming \"$4\""; failed=$((failed + 1)) ;;
    esac
}

out=$(env -u DISPLAY PATH=$safe_path ./hillhopper 2>&1)
check "no display" $? "$out" "no X display"

# A display whose X server has no GLX: the game must not hang or crash. The
# watchdog kills it after 30 s (status 137).
out=$(timeout -s KILL 30 xvfb-run -a -s "-screen 0 1024x768x24 -extension GLX -nolisten tcp" \
      env PATH=$safe_path ./hillhopper 2>&1)
check "display without OpenGL" $? "$out" "GLX"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
