// tools/levels/main_dump.cpp -- writes a level file back as level source.
// Usage: level_dump GAME_DIR DIR N > levelN.txt   (reads DIR/map<N>.trn)
#include <cstdio>
#include <cstdlib>
#include <string>
#include "level_kit.h"

int main(int argc, char **argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: %s GAME_DIR DIR N\n", argv[0]);
        return 2;
    }
    std::string err;
    if (!level_tools_init(argv[1], &err)) {
        fprintf(stderr, "level_dump: %s\n", err.c_str());
        return 1;
    }
    if (!load_level_from(argv[2], atoi(argv[3]))) {
        fprintf(stderr, "level_dump: no readable level %s in %s\n", argv[3], argv[2]);
        return 1;
    }
    int patches = 0;
    std::string text = dump_level_text(&patches);
    fputs(text.c_str(), stdout);
    if (patches) fprintf(stderr, "level_dump: %d records written as set lines\n", patches);
    return 0;
}
