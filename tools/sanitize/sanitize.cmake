# tools/sanitize/sanitize.cmake -- initial cache for the sanitized build:
#   cmake -C tools/sanitize/sanitize.cmake -S . -B build-sanitize
# Clang with AddressSanitizer and UndefinedBehaviorSanitizer on every object;
# any undefined-behaviour report ends the program, so a test that meets one
# fails. The objects also carry libFuzzer's coverage hooks so that the same
# build makes the fuzz targets (HILLHOPPER_FUZZ) without compiling the game
# a third time. -O1 keeps the build and the runs quick and the reports exact.
set(CMAKE_CXX_COMPILER clang++ CACHE STRING "")
set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "")
set(HILLHOPPER_SANITIZERS "-fsanitize=address,undefined -fno-sanitize-recover=undefined"
    CACHE STRING "Sanitizer flags of every object and executable")
set(CMAKE_CXX_FLAGS "${HILLHOPPER_SANITIZERS} -fsanitize=fuzzer-no-link -fno-omit-frame-pointer"
    CACHE STRING "")
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -g" CACHE STRING "")
set(CMAKE_EXE_LINKER_FLAGS "${HILLHOPPER_SANITIZERS}" CACHE STRING "")
set(HILLHOPPER_FUZZ ON CACHE BOOL "")
set(HILLHOPPER_EDITOR OFF CACHE BOOL "")
