#!/bin/sh
# tools/windows/fetch_allegro.sh -- Allegro 4.4.3.1 with AllegroGL for
# Windows, built as static libraries with mingw-w64 from Debian's own source
# package. The apt configuration of the machine is left alone: a private
# source list and private package lists under the cache folder.
# The tarball is checked against its sha256; the result is cached, so a
# second run fetches and builds nothing.
# Usage: sh tools/windows/fetch_allegro.sh CACHE_DIR   (prints the install prefix)
set -eu
SRC=$(cd "$(dirname "$0")/../.." && pwd)
CACHE=$1
mkdir -p "$CACHE"
CACHE=$(cd "$CACHE" && pwd)
TARBALL=allegro4.4_4.4.3.1.orig.tar.gz
SHA256=ec19dbc9a021244582b4819b3583ee594b50141f9fcf6944a4ed8069cbf8d4d4
PREFIX=$CACHE/allegro-mingw
JOBS=${JOBS:-2}

fail() { echo "fetch_allegro: $*" >&2; exit 1; }

if [ -f "$PREFIX/lib/liballeg.a" ] && [ -f "$PREFIX/lib/liballeggl.a" ]; then
    echo "$PREFIX"
    exit 0
fi

# ---- the source tarball ----------------------------------------------------
if [ ! -f "$CACHE/$TARBALL" ]; then
    apt_dir=$CACHE/apt
    mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial" "$apt_dir/download"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$apt_dir/sources/debian-src.sources"
    elif [ -f /etc/apt/sources.list ]; then
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > "$apt_dir/sources/debian-src.list"
    else
        fail "no Debian source list found to derive a deb-src entry from"
    fi
    opts="-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$apt_dir/sources -o Dir::State::Lists=$apt_dir/lists"
    echo "fetch_allegro: fetching Debian's source package allegro4.4 ($TARBALL)" >&2
    apt-get $opts update -qq >&2 || fail "apt-get update of the private deb-src list failed (no network to Debian's archive?)"
    # Exits 100 when the mirror lacks the .debian.tar.xz; the tarball is all we need.
    (cd "$apt_dir/download" && apt-get $opts source --download-only allegro4.4 >&2) || true
    [ -f "$apt_dir/download/$TARBALL" ] || fail "could not download $TARBALL from Debian's archive"
    mv "$apt_dir/download/$TARBALL" "$CACHE/$TARBALL.part"
    got=$(sha256sum "$CACHE/$TARBALL.part" | cut -d' ' -f1)
    if [ "$got" != "$SHA256" ]; then
        fail "$TARBALL has sha256 $got, expected $SHA256: refusing it (left as $CACHE/$TARBALL.part)"
    fi
    mv "$CACHE/$TARBALL.part" "$CACHE/$TARBALL"
fi
got=$(sha256sum "$CACHE/$TARBALL" | cut -d' ' -f1)
[ "$got" = "$SHA256" ] || fail "$CACHE/$TARBALL has sha256 $got, expected $SHA256"

# ---- the static libraries ---------------------------------------------------
rm -rf "$CACHE/allegro-src" "$CACHE/allegro-build"
mkdir -p "$CACHE/allegro-src"
tar -xzf "$CACHE/$TARBALL" -C "$CACHE/allegro-src" --strip-components=1 || fail "cannot unpack $TARBALL"
echo "fetch_allegro: building Allegro for Windows (static)" >&2
cmake -S "$CACHE/allegro-src" -B "$CACHE/allegro-build" \
    -DCMAKE_TOOLCHAIN_FILE="$SRC/tools/windows/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DSHARED=OFF -DWANT_EXAMPLES=OFF -DWANT_TESTS=OFF -DWANT_TOOLS=OFF -DWANT_DOCS=OFF \
    -DWANT_ALLEGROGL=ON -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF \
    > "$CACHE/allegro-configure.log" 2>&1 || fail "configuring Allegro failed (see $CACHE/allegro-configure.log)"
cmake --build "$CACHE/allegro-build" -j "$JOBS" > "$CACHE/allegro-build.log" 2>&1 \
    || fail "building Allegro failed (see $CACHE/allegro-build.log)"
cmake --install "$CACHE/allegro-build" > "$CACHE/allegro-install.log" 2>&1 \
    || fail "installing Allegro failed (see $CACHE/allegro-install.log)"
mkdir -p "$PREFIX/licence"
cp "$CACHE/allegro-src/readme.txt" "$PREFIX/licence/allegro-readme.txt" 2>/dev/null || true
for f in "$CACHE/allegro-src/docs/src/license._tx" "$CACHE/allegro-src/docs/txt/license.txt" \
         "$CACHE/allegro-src/addons/allegrogl/license.txt" "$CACHE/allegro-src/addons/allegrogl/LICENSE.txt"; do
    [ -f "$f" ] && cp "$f" "$PREFIX/licence/$(basename "$(dirname "$f")")-$(basename "$f")"
done
[ -f "$PREFIX/lib/liballeg.a" ] && [ -f "$PREFIX/lib/liballeggl.a" ] || fail "Allegro built, but liballeg.a or liballeggl.a is missing under $PREFIX/lib"
echo "$PREFIX"
