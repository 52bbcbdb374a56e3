// shell/main.cpp -- the shipped game's entry point. The editor is never reachable here.
#include <allegro.h>
#include "game.h"
#include "cli.h"
#include "platform.h"

int main(int argc, char **argv)
{
    attach_parent_console();     // --help, --version and the replay line reach a console
    int status = parse_command_line(argc, argv, &launch);
    if (status >= 0) return status;
    apply_launch_options(launch);
    if (main_init() != 0) return 0;
    return game_main();
}
END_OF_MAIN()
