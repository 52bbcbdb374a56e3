// shell/main.cpp -- the shipped game's entry point. The editor is never reachable here.
#include <allegro.h>
#include "game.h"

int main(void)
{
    if (main_init() != 0) return 0;
    return game_main();
}
END_OF_MAIN()
