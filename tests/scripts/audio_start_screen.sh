#!/bin/sh
# The real program's music on the start screen, recorded: the default ALSA
# device of a private HOME writes what the game plays into a WAV file, and
# the recording must hold sound. Usage: audio_start_screen.sh GAME_DIR SCRATCH_DIR
set -u
game_dir=$1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch/game"
cp -r "$game_dir"/. "$scratch/game"/
if [ ! -f "$scratch/game/patches.dat" ]; then
    echo "SKIP: no patch set, the music is silent by design"; exit 0
fi
cat > "$scratch/.asoundrc" <<ASOUND
pcm.!default { type plug; slave { pcm "capture"; format S16_LE; } }
pcm.capture { type file; slave.pcm "null"; file "$scratch/out.wav"; format "wav" }
ASOUND

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3> "$scratch/display" 2> /dev/null &
xvfb=$!
for i in 1 2 3 4 5 6 7 8 9 10; do [ -s "$scratch/display" ] && break; sleep 0.5; done
display=":$(cat "$scratch/display")"

(cd "$scratch/game" && exec env DISPLAY=$display HOME="$scratch" PATH=/nonexistent ./hillhopper \
    > "$scratch/game.log" 2>&1) &
game=$!
sleep 8
# SIGTERM lets the sound driver close the recording; it can also deadlock
# inside the GL driver, so the game gets a few seconds and is then killed.
kill $game 2> /dev/null
n=0
while kill -0 $game 2> /dev/null && [ $n -lt 25 ]; do sleep 0.2; n=$((n + 1)); done
kill -9 $game 2> /dev/null
wait $game 2> /dev/null
kill $xvfb 2> /dev/null

if [ ! -s "$scratch/out.wav" ]; then
    echo "FAIL: nothing was recorded"; cat "$scratch/game.log"; exit 1
fi
# The game is stopped by a signal, so the WAV header never learns the data's
# length: read the 16-bit values after the header as raw data instead.
tail -c +45 "$scratch/out.wav" > "$scratch/out.raw"
peak=$(sox -t raw -r 44100 -e signed -b 16 -c 1 "$scratch/out.raw" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
echo "recorded peak amplitude: $peak"
if awk "BEGIN { exit !($peak > 0.05) }"; then
    echo "1 passed, 0 failed"
else
    echo "FAIL: the start screen is silent"; exit 1
fi
