#!/bin/sh
# tools/package/make_deb.sh -- `make package`: the Debian package of the game,
# from the native build. The game goes to /usr/games, its data (datafiles,
# patch set, levels, author's replays) to /usr/share/games/hillhopper, where
# the game looks when its own folder holds no data; a desktop entry, the
# icon the asset builder painted, a manual page and the copyright file.
# Depends are the packages that hold the libraries the program links.
# Usage: sh tools/package/make_deb.sh SRC BUILD   (writes BUILD/hillhopper_<version>_amd64.deb)
set -eu
SRC=$(cd "$1" && pwd)
BUILD=$(cd "$2" && pwd)
fail() { echo "make package: $*" >&2; exit 1; }

version=$(sed -n 's/^project(hillhopper VERSION \([0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt")
[ -n "$version" ] || fail "no version in CMakeLists.txt's project()"
arch=$(dpkg --print-architecture)
game=$BUILD/game
for f in hillhopper ttex01.dat doodads01.dat buildings.dat sound.dat music.dat map0.trn; do
    [ -f "$game/$f" ] || fail "$game/$f is missing: build the game first"
done
[ -f "$BUILD/icon/hillhopper.png" ] || fail "$BUILD/icon/hillhopper.png is missing: build the icon first"

root=$BUILD/deb/root
rm -rf "$BUILD/deb" && mkdir -p "$root/DEBIAN" "$root/usr/games" "$root/usr/share/games/hillhopper" \
    "$root/usr/share/applications" "$root/usr/share/icons/hicolor/64x64/apps" \
    "$root/usr/share/doc/hillhopper" "$root/usr/share/man/man6"
install -m 0755 -s "$game/hillhopper" "$root/usr/games/hillhopper"
for f in "$game"/*.dat "$game"/map*.trn; do install -m 0644 "$f" "$root/usr/share/games/hillhopper/"; done
if [ -d "$game/replays" ]; then
    mkdir -p "$root/usr/share/games/hillhopper/replays"
    for f in "$game"/replays/*; do [ -f "$f" ] && install -m 0644 "$f" "$root/usr/share/games/hillhopper/replays/"; done
fi
install -m 0644 "$BUILD/icon/hillhopper.png" "$root/usr/share/icons/hicolor/64x64/apps/hillhopper.png"
install -m 0644 "$SRC/tools/package/hillhopper.desktop" "$root/usr/share/applications/hillhopper.desktop"
install -m 0644 "$SRC/tools/package/copyright" "$root/usr/share/doc/hillhopper/copyright"
gzip -9n -c "$SRC/tools/package/hillhopper.6" > "$root/usr/share/man/man6/hillhopper.6.gz"
chmod 0644 "$root/usr/share/man/man6/hillhopper.6.gz"
date=$(date -R -u -d @"${SOURCE_DATE_EPOCH:-$(git -C "$SRC" log -1 --format=%ct 2> /dev/null || date +%s)}")
printf 'hillhopper (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- Hillhopper developers <hillhopper@example.org>  %s\n' \
    "$version" "$version" "$date" | gzip -9n > "$root/usr/share/doc/hillhopper/changelog.gz"

# The packages that hold the libraries the program links directly.
needed=$(objdump -p "$game/hillhopper" | awk '/NEEDED/ { print $2 }')
depends=$(for n in $needed; do ldd "$game/hillhopper" | awk -v n="$n" '$1 == n { print $3 }'; done | while read -r lib; do
    real=$(readlink -f "$lib")
    dpkg -S "$lib" 2> /dev/null || dpkg -S "$real" 2> /dev/null
done | cut -d: -f1 | sort -u | grep -v -x -e "libc6" -e "libgcc-s1" -e "libstdc++6" -e "libc6:$arch" | tr '\n' ' ')
deplist="libc6, libgcc-s1, libstdc++6"
for p in $depends; do
    v=$(dpkg-query -W -f='${Version}' "$p" | sed 's/-[^-]*$//')
    deplist="$deplist, $p (>= $v)"
done
size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
cat > "$root/DEBIAN/control" <<CONTROL
Package: hillhopper
Version: $version
Architecture: $arch
Maintainer: Hillhopper developers <hillhopper@example.org>
Installed-Size: $size
Depends: $deplist
Section: games
Priority: optional
Homepage: https://example.org/hillhopper
Description: 2-D physics platform game with a level editor
 Roll, spin and jump a little hopper over hilly stages before the clock
 runs out. Every picture, sound and tune is made by the game's own
 builders. Settings, best times and replays are kept in the user's
 data folder.
CONTROL
out=$BUILD/hillhopper_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$out" > /dev/null || fail "dpkg-deb failed"
echo "make package: $out ($(stat -c %s "$out") bytes)"
