#!/bin/sh
# Installs the Debian packages that building, running and testing need.
# Idempotent and quick when everything is present; as root, or through sudo.
set -e
PACKAGES="cmake g++ make pkg-config liballegro4-dev liballeggl4-dev libgl-dev
libglu1-mesa-dev libgtest-dev libbenchmark-dev libfreetype-dev fonts-dejavu-core
freepats xvfb xauth xdotool imagemagick sox libgl1-mesa-dri clang libclang-rt-dev
libcli11-dev libpng-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev wine64 zip lintian"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "setup: installing$missing"
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
