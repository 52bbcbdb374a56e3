// shell/main_edit.cpp -- the editor build's entry point: the same game with the
// editor switch on (F5 cycles play, Edit Mode and Path Edit Mode; F6 starts
// the next level so that every level can be reached and edited).
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
    editor_enabled = 1;
    return game_main();
}
END_OF_MAIN()
