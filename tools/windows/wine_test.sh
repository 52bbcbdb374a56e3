#!/bin/sh
# tools/windows/wine_test.sh -- the Windows build, run under wine64 with a
# private WINEPREFIX, against the Linux build of the same sources:
#   1. the five recorded finishing runs played by wincheck.exe finish on the
#      same frame with the same time left, waypoints and end position (bit for
#      bit) as wincheck on Linux;
#   2. level saves through the Windows platform layer: replacing keeps .bak,
#      a folder named outside ASCII works, a save into a read-only folder
#      fails and leaves the old level and its .bak as they were;
#   3. hillhopper.exe from the unpacked zip opens its GL window, plays the
#      author's replay of level 0 and exits with status 0, on the frame and
#      time left that Linux gives.
# As root the Wine part runs as user nobody, so that a read-only folder really
# is read-only. The prefix is made once (wineboot -i) and kept.
# Usage: wine_test.sh SRC NATIVE_BUILD WINDOWS_BUILD SCRATCH
set -u
SRC=$(cd "$1" && pwd) || exit 1
NATIVE=$(cd "$2" && pwd) || exit 1
WIN=$(cd "$3" && pwd) || exit 1
SCRATCH=$4
fail() { echo "FAIL: $*"; exit 1; }

WINE=$(command -v wine64 || true)
[ -z "$WINE" ] && [ -x /usr/lib/wine/wine64 ] && WINE=/usr/lib/wine/wine64
[ -n "$WINE" ] || fail "wine64 is not installed: the Windows build cannot be checked (run tools/setup.sh)"
WINCHECK_EXE=$WIN/game/tools/windows/wincheck.exe
[ -f "$WINCHECK_EXE" ] || fail "no $WINCHECK_EXE: the Windows build is missing (make windows failed?)"
[ -x "$NATIVE/tools/windows/wincheck" ] || fail "no $NATIVE/tools/windows/wincheck"

if [ "$(id -u)" -eq 0 ]; then
    AS_USER="setpriv --reuid=65534 --regid=65534 --clear-groups"
    OWNER=65534:65534
else
    AS_USER=""
    OWNER=""
fi
rm -rf "$SCRATCH" && mkdir -p "$SCRATCH/home" || exit 1
SCRATCH=$(cd "$SCRATCH" && pwd)
[ -n "$OWNER" ] && chown -R "$OWNER" "$SCRATCH"
chmod 777 "$SCRATCH"

PREFIX=$WIN/wineprefix
export WINEDEBUG=-all WINEPREFIX="$PREFIX" WINEDLLOVERRIDES="mscoree,mshtml="
wine() { $AS_USER env HOME="$SCRATCH/home" "$WINE" "$@"; }
# Windows programs get Wine's Z: drive for the Unix root.
winpath() { echo "Z:$1"; }

if [ ! -f "$PREFIX/system.reg" ]; then
    rm -rf "$PREFIX" && mkdir -p "$PREFIX" || exit 1
    [ -n "$OWNER" ] && chown "$OWNER" "$PREFIX"
    start=$(date +%s)
    $AS_USER env HOME="$SCRATCH/home" DISPLAY= "$(dirname "$WINE")/wineboot" -i > "$SCRATCH/wineboot.log" 2>&1 ||
        $AS_USER env HOME="$SCRATCH/home" DISPLAY= "$WINE" wineboot -i >> "$SCRATCH/wineboot.log" 2>&1
    $AS_USER env HOME="$SCRATCH/home" "$(dirname "$WINE")/wineserver" -w 2> /dev/null
    [ -f "$PREFIX/system.reg" ] || { cat "$SCRATCH/wineboot.log"; fail "wineboot -i made no prefix in $PREFIX"; }
    echo "wine prefix made in $(( $(date +%s) - start )) s"
fi

# ---- 1. the recorded runs ------------------------------------------------------------
"$NATIVE/tools/windows/wincheck" runs "$NATIVE/game" "$SRC/levels" > "$SCRATCH/runs_linux.txt" 2>&1
linux_status=$?
start=$(date +%s)
DISPLAY= wine "$WINCHECK_EXE" runs "$(winpath "$NATIVE/game")" "$(winpath "$SRC/levels")" \
    > "$SCRATCH/runs_windows.txt" 2> "$SCRATCH/runs_windows.err"
windows_status=$?
tr -d '\r' < "$SCRATCH/runs_windows.txt" > "$SCRATCH/runs_windows.lf"
echo "recorded runs, Linux:";   sed 's/^/  /' "$SCRATCH/runs_linux.txt"
echo "recorded runs, Windows under Wine ($(( $(date +%s) - start )) s):"; sed 's/^/  /' "$SCRATCH/runs_windows.lf"
[ $linux_status -eq 0 ] || fail "the Linux build does not finish every recorded run"
[ $windows_status -eq 0 ] || { cat "$SCRATCH/runs_windows.err"; fail "wincheck.exe runs: exit status $windows_status"; }
cmp -s "$SCRATCH/runs_linux.txt" "$SCRATCH/runs_windows.lf" ||
    fail "the Windows build plays the recorded runs differently from the Linux build"

# ---- 2. saves --------------------------------------------------------------------------
save=$SCRATCH/save
mkdir -p "$save/readonly"
cp "$NATIVE/game/map0.trn" "$save/readonly/map4.trn"
cp "$NATIVE/game/map1.trn" "$save/readonly/map4.trn.bak"
[ -n "$OWNER" ] && chown -R "$OWNER" "$save"
chmod 555 "$save/readonly"
DISPLAY= wine "$WINCHECK_EXE" save "$(winpath "$NATIVE/game")" "$(winpath "$save")" \
    > "$SCRATCH/save.txt" 2>&1
status=$?
chmod 755 "$save/readonly"
tr -d '\r' < "$SCRATCH/save.txt" | sed 's/^/  /'
[ $status -eq 0 ] || fail "level saves under Wine: exit status $status"
cmp -s "$save/readonly/map4.trn" "$NATIVE/game/map0.trn" && cmp -s "$save/readonly/map4.trn.bak" "$NATIVE/game/map1.trn" ||
    fail "a failed save under Wine changed the old level or its .bak"
# ---- 3. the game itself ----------------------------------------------------------------
# Unpacked from the zip into a folder of its own, hillhopper.exe plays the
# author's replay of level 0 in its window (X events do not reach a Wine
# window here: the replay is the input) and must end with status 0 on the
# frame and time left that Linux gives.
zip=$WIN/hillhopper-windows.zip
[ -f "$zip" ] || fail "no $zip"
# The Wine session of the checks above had no display: end it.
$AS_USER env HOME="$SCRATCH/home" "$(dirname "$WINE")/wineserver" -k 2> /dev/null
$AS_USER env HOME="$SCRATCH/home" "$(dirname "$WINE")/wineserver" -w 2> /dev/null
mkdir -p "$SCRATCH/unzipped"
(cd "$SCRATCH/unzipped" && unzip -q "$zip") || fail "cannot unpack $zip"
[ -f "$SCRATCH/unzipped/hillhopper/replays/run0.hhr" ] || fail "the zip holds no replays/run0.hhr"
[ -n "$OWNER" ] && chown -R "$OWNER" "$SCRATCH/unzipped"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3> "$SCRATCH/display" 2> "$SCRATCH/xvfb.log" &
xvfb_pid=$!
cleanup() {
    $AS_USER env HOME="$SCRATCH/home" WINEPREFIX="$PREFIX" "$(dirname "$WINE")/wineserver" -k 2> /dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
}
trap cleanup EXIT
n=0
while [ ! -s "$SCRATCH/display" ] && [ $n -lt 100 ]; do sleep 0.1; n=$((n + 1)); done
[ -s "$SCRATCH/display" ] || fail "Xvfb did not start"
start=$(date +%s)
(cd "$SCRATCH/unzipped/hillhopper" && DISPLAY=:$(cat "$SCRATCH/display") HILLHOPPER_REPLAY_UNPACED=1 \
     timeout 600 $AS_USER env HOME="$SCRATCH/home" "$WINE" hillhopper.exe --replay 'replays\run0.hhr') \
    > "$SCRATCH/game.txt" 2>&1
status=$?
tr -d '\r' < "$SCRATCH/game.txt" | grep -v "^ALSA lib" | sed 's/^/  hillhopper.exe: /'
[ $status -eq 0 ] || fail "hillhopper.exe --replay replays\\run0.hhr: exit status $status"
set -- $(sed -n 's/^run0 level 0 finished frames \([0-9]*\) .*(\([0-9.]*\)).*/\1 \2/p' "$SCRATCH/runs_linux.txt")
want="replay: level 0 finished after $1 frames, $2 time left"
tr -d '\r' < "$SCRATCH/game.txt" | grep -q -x -F "$want" ||
    fail "hillhopper.exe did not say \"$want\""
echo "hillhopper.exe played run0 under Wine in $(( $(date +%s) - start )) s: $want"

# The picture: an X screenshot of a Wine GL window reads black here, so both
# builds write the same shown frame of the same replay from inside the program
# and the two pictures are compared.
shot_frame=300
[ -s "$SCRATCH/unzipped/hillhopper/win.ppm" ] && rm -f "$SCRATCH/unzipped/hillhopper/win.ppm"
(cd "$SCRATCH/unzipped/hillhopper" && DISPLAY=:$(cat "$SCRATCH/display") HILLHOPPER_REPLAY_UNPACED=1 \
     HILLHOPPER_SNAPSHOT="$shot_frame:win.ppm" \
     timeout 600 $AS_USER env HOME="$SCRATCH/home" "$WINE" hillhopper.exe --replay 'replays\run0.hhr') \
    > "$SCRATCH/game_shot.txt" 2>&1 || fail "hillhopper.exe with a snapshot: $(cat "$SCRATCH/game_shot.txt")"
mkdir -p "$SCRATCH/linux_home"
(cd "$NATIVE/game" && DISPLAY=:$(cat "$SCRATCH/display") HILLHOPPER_REPLAY_UNPACED=1 \
     HILLHOPPER_SNAPSHOT="$shot_frame:$SCRATCH/linux.ppm" HOME="$SCRATCH/linux_home" \
     timeout 600 env PATH=/nonexistent ./hillhopper --replay replays/run0.hhr) > "$SCRATCH/linux_shot.txt" 2>&1 ||
    fail "hillhopper with a snapshot: $(cat "$SCRATCH/linux_shot.txt")"
[ -s "$SCRATCH/unzipped/hillhopper/win.ppm" ] || fail "hillhopper.exe wrote no picture of frame $shot_frame"
[ -s "$SCRATCH/linux.ppm" ] || fail "hillhopper wrote no picture of frame $shot_frame"
differ=$(compare -metric AE "$SCRATCH/unzipped/hillhopper/win.ppm" "$SCRATCH/linux.ppm" null: 2>&1)
echo "frame $shot_frame of run0, Windows under Wine against Linux: $differ pixels differ"
case $differ in ''|*[!0-9]*) fail "the pictures cannot be compared: $differ" ;; esac
# Both draw through the same software renderer; a few pixels of rounding are
# allowed, a wrong picture differs in tens of thousands.
[ "$differ" -le 200 ] || fail "the Windows picture of frame $shot_frame differs from Linux in $differ pixels"
echo "PASS: the Windows build plays the recorded runs as Linux does, saves safely, and its game plays level 0"
