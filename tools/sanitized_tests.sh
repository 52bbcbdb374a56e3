#!/bin/sh
# tools/sanitized_tests.sh -- the sanitized part of `make test`: builds the
# game library, the logic test executables, the soak tool and the fuzz
# targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# (tools/sanitize/sanitize.cmake), then runs the tests, a 50,000-frame soak
# and a short fuzz run of each target. Any sanitizer report, failed test,
# broken invariant or fuzz crash fails the script.
#
# Usage: sh tools/sanitized_tests.sh GAME_BUILD [SAN_BUILD] [FUZZ_SECONDS] [SOAK_FRAMES]
#   GAME_BUILD    the ordinary build folder (its game/ holds the datafiles and
#                 levels, which are copied rather than made a second time)
#   SAN_BUILD     the sanitized build folder, GAME_BUILD-sanitize by default
#   FUZZ_SECONDS  seconds per fuzz target, 30 by default (six targets: make test stays under half an hour)
#   SOAK_FRAMES   frames of the sanitized soak, 50000 by default
# Jobs: JOBS (2 by default).
set -u
SRC=$(cd "$(dirname "$0")/.." && pwd)
GAME_BUILD=$(cd "$1" && pwd)
SAN=${2:-$GAME_BUILD-sanitize}
FUZZ_SECONDS=${3:-30}
SOAK_FRAMES=${4:-50000}
JOBS=${JOBS:-2}
LOG=$SAN/sanitized_tests.log

# Logic tests only: the display tests would need Xvfb and a sanitized Mesa.
LOGIC_TESTS="test_shell test_platform test_player test_terrain test_polys_borders test_physics test_objects test_editor test_assets test_levels test_fuzz test_hardening"
FUZZ_TARGETS="level_read level_file level_text replay_file settings_read records_read"

mkdir -p "$SAN"
: > "$LOG"
say() { echo "sanitized: $*" | tee -a "$LOG"; }
passed=0
failed=0
result() {   # name status
    if [ "$2" -eq 0 ]; then passed=$((passed + 1)); say "PASS $1"
    else failed=$((failed + 1)); say "FAIL $1 (status $2; see $LOG)"; fi
}

start=$(date +%s)
say "configuring $SAN"
if ! cmake -C "$SRC/tools/sanitize/sanitize.cmake" -S "$SRC" -B "$SAN" >> "$LOG" 2>&1; then
    tail -20 "$LOG"; say "configure failed"; exit 1
fi

# The data makers first, then the data of the ordinary build copied in with
# fresh times, so that the sanitized build takes them as up to date.
cmake --build "$SAN" -j "$JOBS" --target asset_builder level_build find_run >> "$LOG" 2>&1
# In the order they are made: the patch set is made from the datafiles'
# tracks and the levels after the datafiles.
mkdir -p "$SAN/game"
for f in ttex01.dat doodads01.dat buildings.dat sound.dat music.dat patches.dat \
         map0.trn map1.trn map2.trn map3.trn; do
    [ -f "$GAME_BUILD/game/$f" ] && cp "$GAME_BUILD/game/$f" "$SAN/game/$f"
done

existing=""
for t in $LOGIC_TESTS; do
    [ -d "$SRC/tests/${t#test_}" ] && existing="$existing $t"
done
say "building$existing soak and the fuzz targets"
if ! cmake --build "$SAN" -j "$JOBS" --target $existing soak fuzz_level_read fuzz_level_file fuzz_level_text fuzz_replay_file fuzz_settings_read fuzz_records_read >> "$LOG" 2>&1; then
    grep -E "error|Error" "$LOG" | tail -20; say "build failed"; exit 1
fi
built=$(date +%s)
say "build took $((built - start)) s"

# halt_on_error makes any report a failure; leaks of the Allegro and X
# libraries' own start-up are not ours, so leak checking is off.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
SEEDS=$SAN/fuzz/seeds
rm -rf "$SAN/fuzz"
mkdir -p "$SEEDS/level_file" "$SEEDS/level_text" "$SAN/fuzz/crashes"
export HILLHOPPER_FUZZ_SEEDS="$SEEDS/level_file"

# The asset builder's byte-for-byte rerun compares this build's builder with
# the datafiles of the ordinary build, made by another compiler: that test
# belongs to the ordinary build.
filter() {
    case $1 in
        test_assets) echo "--gtest_filter=-AssetBuilder.ASecondRunMakesTheSameBytes" ;;
        *) echo "--gtest_filter=*" ;;
    esac
}
for t in $existing; do
    (cd "$SAN/tests" && "./$t" --gtest_brief=1 "$(filter $t)" >> "$LOG" 2>&1)
    result "$t" $?
done
unset HILLHOPPER_FUZZ_SEEDS
tested=$(date +%s)
say "logic tests took $((tested - built)) s"

"$SAN/tools/soak/soak" "$SAN/game" "$SOAK_FRAMES" 1 "$SRC/levels" > "$SAN/soak.log" 2>&1
status=$?
tail -5 "$SAN/soak.log" | tee -a "$LOG"
result "soak of $SOAK_FRAMES frames" $status
soaked=$(date +%s)
say "soak took $((soaked - tested)) s"

# A fixed seed: the same mutations in every run, so that CI does not turn red
# by chance; a long run (docs/reliability.md) explores further.
# Seeds: the built levels, the hostile level files the replay test wrote,
# the level sources, and every regression file.
cp "$SAN"/game/map*.trn "$SEEDS/level_file/"
mkdir -p "$SEEDS/level_read"
cp "$SEEDS"/level_file/* "$SEEDS/level_read/"
cp "$SRC"/levels/level*.txt "$SRC"/levels/plan*.txt "$SEEDS/level_text/"
mkdir -p "$SEEDS/replay_file"
cp "$GAME_BUILD"/game/replays/*.hhr "$SEEDS/replay_file/" 2>/dev/null
mkdir -p "$SEEDS/settings_read" "$SEEDS/records_read"
printf '[keys]\nleft = 82\nleft_alt = 1\n[gamepad]\njump = 0\n[display]\nfullscreen = 0\nwindow = largest\n[sound]\neffects = 7\nmusic = 3\nmute = 0\n[game]\nlanguage = 1\n' > "$SEEDS/settings_read/settings.cfg"
printf 'hillhopper records 1\n0123456789abcdef 1234 3750\nffffffffffffffff 1 0\n' > "$SEEDS/records_read/records.txt"
for t in $FUZZ_TARGETS; do
    regressions="$SRC/tests/fuzz/regressions/$t"
    [ "$t" = level_read ] && regressions="$SRC/tests/fuzz/regressions/level_file"
    [ -d "$regressions" ] && cp "$regressions"/* "$SEEDS/$t/" 2>/dev/null
    mkdir -p "$SAN/fuzz/corpus/$t"
    "$SAN/tools/sanitize/fuzz_$t" -seed=1 -max_total_time="$FUZZ_SECONDS" -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$SAN/fuzz/crashes/$t-" \
        "$SAN/fuzz/corpus/$t" "$SEEDS/$t" > "$SAN/fuzz/$t.log" 2>&1
    status=$?
    grep -E "stat::number_of_executed_units|stat::new_units_added|cov:" "$SAN/fuzz/$t.log" | tail -3 | tee -a "$LOG"
    [ $status -ne 0 ] && tail -40 "$SAN/fuzz/$t.log" | tee -a "$LOG"
    result "fuzz_$t for $FUZZ_SECONDS s" $status
done
say "fuzzing took $(($(date +%s) - soaked)) s; all of it $(($(date +%s) - start)) s"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
