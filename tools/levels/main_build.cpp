// tools/levels/main_build.cpp -- builds level files from level sources.
// Usage: level_build GAME_DIR OUT_DIR N SOURCE [N SOURCE ...]
// GAME_DIR holds the datafiles (for the real picture sizes); map<N>.trn is
// written into OUT_DIR.
#include <cstdio>
#include <cstdlib>
#include <string>
#include "level_kit.h"

int main(int argc, char **argv)
{
    if (argc < 5 || (argc - 3) % 2 != 0) {
        fprintf(stderr, "usage: %s GAME_DIR OUT_DIR N SOURCE [N SOURCE ...]\n", argv[0]);
        return 2;
    }
    std::string err;
    if (!level_tools_init(argv[1], &err)) {
        fprintf(stderr, "level_build: %s\n", err.c_str());
        return 1;
    }
    for (int a = 3; a + 1 < argc; a += 2) {
        int lev = atoi(argv[a]);
        if (!build_level_file(argv[a + 1], &err)) {
            fprintf(stderr, "%s\n", err.c_str());
            return 1;
        }
        if (!save_level_to(argv[2], lev)) {
            fprintf(stderr, "level_build: cannot write level %d into %s\n", lev, argv[2]);
            return 1;
        }
    }
    return 0;
}
