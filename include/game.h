// include/game.h -- start-up, the frame loop and its pacing.
// One pass of run_frame is one game tick; pacing is separate so that tests and
// tools can run frames back to back through the real loop.
#pragma once

// What the frame asks the loop to do next.
enum frame_result {
    FRAME_NEXT = 0,                 // carry on with the next frame
    FRAME_LEVEL_START = 1,          // set up current_level and carry on
    FRAME_QUIT = 2                  // the program ends
};

extern int quit_flag;               // last answer of the start screen
extern int editor_enabled;          // the editor build turns this on; never the shipped game
// Headless: no window and no GL context. Drawing calls do nothing, textures
// are fake ids with recorded sizes, wfk returns at once.
extern int headless;
// Called with the finished frame still in the back buffer, just before it is
// shown: tests read its pixels there.
extern void (*frame_ready_hook)(void);
extern int pacing_enabled;           // 0: frames run back to back (tests, tools)
extern volatile int close_requested; // the window's close button was pressed

// Services and GL set-up; returns 0 on success. On failure it has shown the
// start-up message and the caller ends the program with status 0.
int main_init(void);
// The command line's choice (1 full screen, 0 a window) over the settings'
// for this run; -1 (the default) follows the settings. A window is the fall-back.
extern int start_fullscreen;
void setup_gl_state(void);          // the fixed OpenGL state of the game
// Opens the 800 x 600 OpenGL mode, full screen or windowed; 0 on success.
int open_gl_mode(int fullscreen);
int open_gl_mode_sized(int fullscreen, int w, int h);
// The window's pixels for a window_size_choice (the largest from the desktop).
void window_size_pixels(int choice, int *w, int *h);
// Opens the mode the settings ask for, falling back to a window; 0 on success.
int open_display(void);
void window_opened(void);           // title, close button and focus watch of a new window
int game_main(void);                // the whole program after main_init
void level_start(void);             // load_level(current_level), edit_mode = 0
frame_result run_frame(void);       // the 16 steps of one frame, without the pacing wait
void pace_frame(void);              // wait for 25 timer ticks, reset, count the frame
// Sleeps until the 1 ms timer reaches target (or the window is closed), waking
// up seldom: one long rest, then 1 ms steps for the last ticks.
void rest_until_tick(int target);
int long_rest_ticks(int ticks_now, int target);   // the long rest's length, >= 0
void shut_down(void);               // free textures and tables

// The player-control block, split so that tests can read the rules.
float ground_acceleration(double power);
void player_controls(void);
void electric_boost(void);
