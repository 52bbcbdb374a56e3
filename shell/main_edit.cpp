// shell/main_edit.cpp -- the editor build's entry point: the same game with the
// editor switch on (F5 cycles play, Edit Mode and Path Edit Mode; F6 starts
// the next level so that every level can be reached and edited).
#include <allegro.h>
#include "game.h"
#include "platform.h"

int main(void)
{
    attach_parent_console();
    if (main_init() != 0) return 0;
    editor_enabled = 1;
    return game_main();
}
END_OF_MAIN()
