// tests/fuzz/libfuzzer/fuzz_main.cc -- libFuzzer entry for one harness target,
// chosen at build time by FUZZ_TARGET_NAME. A broken world invariant aborts,
// so libFuzzer keeps the input as a crash file like any sanitizer report.
// HILLHOPPER_GAME_DIR overrides the folder the datafiles are read from.
#include <cstdio>
#include <cstdlib>
#include <string>
#include "fuzz_harness.h"

static fuzz_target target = nullptr;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const char *dir = getenv("HILLHOPPER_GAME_DIR");
    std::string error;
    if (!fuzz_setup(dir ? dir : GAME_DATA_DIR, &error)) {
        fprintf(stderr, "fuzz_%s: %s\n", FUZZ_TARGET_NAME, error.c_str());
        exit(1);
    }
    target = fuzz_target_by_name(FUZZ_TARGET_NAME);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string problem = target(data, size);
    if (!problem.empty()) {
        fprintf(stderr, "fuzz_%s: %s\n", FUZZ_TARGET_NAME, problem.c_str());
        abort();
    }
    return 0;
}
