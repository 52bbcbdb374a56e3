#!/bin/sh
# tools/windows/build.sh -- `make windows`: Allegro for Windows (fetched and
# built once, cached), the game, the editor build and the check program
# cross-compiled with mingw-w64, and the zip a player unpacks anywhere:
# hillhopper.exe, hillhopper-edit.exe, every datafile, the levels, the
# author's replays, README.txt and the licence texts of what is linked in.
# The datafiles and levels come from the native build (NATIVE_BUILD/game):
# the asset and level builders run here, not on Windows.
# Usage: sh tools/windows/build.sh NATIVE_BUILD WINDOWS_BUILD
set -eu
SRC=$(cd "$(dirname "$0")/../.." && pwd)
NATIVE=$(cd "$1" && pwd)
mkdir -p "$2"
WIN=$(cd "$2" && pwd)
JOBS=${JOBS:-2}
fail() { echo "make windows: $*" >&2; exit 1; }

for tool in x86_64-w64-mingw32-g++ x86_64-w64-mingw32-windres zip; do
    command -v $tool > /dev/null || fail "$tool is missing (run tools/setup.sh)"
done
[ -f "$NATIVE/game/ttex01.dat" ] || fail "no datafiles in $NATIVE/game: build the native game first"
[ -f "$NATIVE/icon/hillhopper.ico" ] || fail "no $NATIVE/icon/hillhopper.ico: build the native game first"

start=$(date +%s)
PREFIX=$(sh "$SRC/tools/windows/fetch_allegro.sh" "$WIN/cache") || fail "Allegro for Windows could not be made"
echo "make windows: Allegro ready ($(( $(date +%s) - start )) s)"

start=$(date +%s)
cmake -S "$SRC" -B "$WIN/game" -DCMAKE_TOOLCHAIN_FILE="$SRC/tools/windows/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DALLEGRO_WINDOWS_PREFIX="$PREFIX" -DHILLHOPPER_TESTS=OFF \
    -DHILLHOPPER_ICON="$NATIVE/icon/hillhopper.ico" > "$WIN/configure.log" 2>&1 || { cat "$WIN/configure.log"; fail "configuring the Windows build failed"; }
cmake --build "$WIN/game" -j "$JOBS" --target hillhopper hillhopper-edit wincheck > "$WIN/build.log" 2>&1 ||
    { grep -E "error|Error" "$WIN/build.log" | head -20; fail "the Windows build failed (see $WIN/build.log)"; }
x86_64-w64-mingw32-strip "$WIN/game/game/hillhopper.exe" "$WIN/game/game/hillhopper-edit.exe"
echo "make windows: game and editor built ($(( $(date +%s) - start )) s)"

# ---- the zip -----------------------------------------------------------------------
stage=$WIN/zip/hillhopper
rm -rf "$WIN/zip" && mkdir -p "$stage/licences"
cp "$WIN/game/game/hillhopper.exe" "$WIN/game/game/hillhopper-edit.exe" "$stage/"
for f in "$NATIVE"/game/*.dat "$NATIVE"/game/map*.trn; do
    [ -f "$f" ] && cp "$f" "$stage/"
done
if [ -d "$NATIVE/game/replays" ]; then
    mkdir -p "$stage/replays"
    cp "$NATIVE"/game/replays/* "$stage/replays/" 2> /dev/null || true
fi
# Windows' own text files end their lines with CR LF.
sed 's/$/\r/' "$SRC/tools/windows/README.txt" > "$stage/README.txt"
ALSRC=$WIN/cache/allegro-src
cp "$ALSRC/docs/txt/license.txt" "$stage/licences/allegro-giftware-licence.txt" 2> /dev/null ||
    cp "$ALSRC/docs/src/license._tx" "$stage/licences/allegro-giftware-licence.txt" ||
    fail "Allegro's licence text is missing from $ALSRC"
cp "$ALSRC/addons/allegrogl/zlib.txt" "$stage/licences/allegrogl-zlib-licence.txt" ||
    fail "AllegroGL's licence text is missing from $ALSRC"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/licences/mingw-w64-runtime-copyright.txt" ||
    fail "the mingw-w64 runtime's copyright file is missing"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licences/gcc-runtime-copyright.txt" ||
    fail "the GCC runtime's copyright file is missing"
for f in "$stage"/licences/*.txt; do sed -i 's/\r*$/\r/' "$f"; done
rm -f "$WIN/hillhopper-windows.zip"
(cd "$WIN/zip" && zip -q -r -9 "$WIN/hillhopper-windows.zip" hillhopper) || fail "zip failed"
echo "make windows: $WIN/hillhopper-windows.zip ($(stat -c %s "$WIN/hillhopper-windows.zip") bytes)"
