#!/bin/sh
# tools/package/package_test.sh -- the Debian package as a user gets it:
# unpacked with dpkg-deb -x into a temporary root, the program started from
# another folder with the root's data (HILLHOPPER_GAME_DATA) under Xvfb; it
# must reach the start screen (the menu pointer on the language menu) and
# write nothing into the data folder. lintian, when installed, must report
# no errors.
# Usage: package_test.sh BUILD SCRATCH
set -u
BUILD=$(cd "$1" && pwd) || exit 1
scratch=$2
fail() { echo "FAIL: $*"; exit 1; }
deb=$(ls "$BUILD"/hillhopper_*_*.deb 2> /dev/null | head -n 1)
[ -n "$deb" ] || fail "no package in $BUILD (make package)"
rm -rf "$scratch" && mkdir -p "$scratch/root" "$scratch/elsewhere" "$scratch/home" || exit 1
scratch=$(cd "$scratch" && pwd)
. "$(dirname "$0")/../../tests/scripts/lib/display.sh"

dpkg-deb -x "$deb" "$scratch/root" || fail "dpkg-deb -x $deb"
data=$scratch/root/usr/share/games/hillhopper
for f in usr/games/hillhopper usr/share/games/hillhopper/ttex01.dat usr/share/games/hillhopper/map0.trn \
         usr/share/applications/hillhopper.desktop usr/share/icons/hicolor/64x64/apps/hillhopper.png \
         usr/share/doc/hillhopper/copyright; do
    [ -e "$scratch/root/$f" ] || fail "the package holds no /$f"
done
find "$data" -type f | sort > "$scratch/data_before"

trap cleanup_display EXIT
start_xvfb

( cd "$scratch/elsewhere" && exec env HOME="$scratch/home" PATH=/nonexistent \
      HILLHOPPER_GAME_DATA="$data" HILLHOPPER_DATA_HOME="$scratch/home/data" \
      "$scratch/root/usr/games/hillhopper" ) > "$scratch/game.log" 2>&1 &
game_pid=$!
wait_for_window "$scratch/game.log"

# The start screen's menu pointer (orange) at overlay (300, 231), x 1.25.
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}
seen=no
n=0
while [ $seen = no ] && [ $n -lt 40 ]; do
    sleep 0.5
    import -window root "$scratch/start.png" 2> /dev/null || continue
    set -- $(pixel "$scratch/start.png" 375 289)
    [ "${1:-0}" -gt 220 ] && [ "${2:-0}" -gt 150 ] && [ "${2:-0}" -lt 235 ] && [ "${3:-255}" -lt 160 ] && seen=yes
    n=$((n + 1))
done
[ $seen = yes ] || fail "the installed game did not show its start screen (last picture $scratch/start.png)"
kill "$game_pid" 2> /dev/null
wait "$game_pid" 2> /dev/null
game_pid=""
find "$data" -type f | sort > "$scratch/data_before.after"
cmp -s "$scratch/data_before" "$scratch/data_before.after" || fail "the game wrote into its data folder"

if command -v lintian > /dev/null; then
    lintian --fail-on error "$deb" > "$scratch/lintian.txt" 2>&1
    status=$?
    grep -v "running with root privileges" "$scratch/lintian.txt"
    [ $status -eq 0 ] || fail "lintian reports errors on $deb"
else
    echo "lintian is not installed: not run"
fi
echo "PASS: the package unpacks, its game starts from another folder to the start screen ($(stat -c %s "$deb") bytes)"
