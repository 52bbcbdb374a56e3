// shell/main.cpp -- the shipped game's entry point. The editor is never reachable here.
#include <allegro.h>
#include "game.h"
#include "platform.h"

int main(void)
{
    attach_parent_console();
    if (main_init() != 0) return 0;
    return game_main();
}
END_OF_MAIN()
