#!/bin/sh
# make_patches.sh WORK_DIR OUT.dat -- the MIDI patch set for Allegro's DIGMID
# driver, built from Debian's freepats with only the instruments that the
# tracks in WORK_DIR (*.mid) use. freepats' TiMidity config is first rewritten
# into the older form that pat2dat and DIGMID read: programs count from 1, the
# drum kit is program 129 as a multipatch, no options after the file name, and
# paths relative to the config's folder. Without freepats or pat2dat no patch
# set is made and the game's music is silent.
set -e
work="$1/patches"
out="$2"
cfg=/etc/timidity/freepats.cfg
pats=/usr/share/midi/freepats

if [ ! -f "$cfg" ] || [ ! -d "$pats" ] || ! command -v pat2dat > /dev/null 2>&1; then
    echo "make_patches: freepats or pat2dat missing; the music will be silent" >&2
    rm -f "$out"
    exit 0
fi

mkdir -p "$work"
ln -sfn "$pats/Tone_000" "$work/Tone_000"
ln -sfn "$pats/Drum_000" "$work/Drum_000"

awk '
    $1 == "drumset" { part = "drums"; next }
    $1 == "bank"    { part = "tones"; next }
    $1 ~ /^[0-9]+$/ && NF >= 2 {
        if (part == "tones") tones = tones ($1 + 1) " " $2 "\n"
        else if (part == "drums") drums = drums $1 " " $2 "\n"
    }
    END {
        printf "%s", tones
        printf "129 begin_multipatch\n%send_multipatch\n", drums
    }
' "$cfg" > "$work/default.cfg"

cp "$1"/*.mid "$work/"
cd "$work"
rm -f patches.dat
pat2dat -o patches.dat default.cfg *.mid > pat2dat.log 2>&1 < /dev/null
cp patches.dat "$out"
