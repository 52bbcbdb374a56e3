// shell/init.cpp -- start-up: Allegro, the OpenGL mode, input, sound, the GL
// state of the game and the 1 ms timer.
// alleggl.h drags X11 macros in; keep it to the few files that need it.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "game.h"
#include "sound.h"
#include "settings.h"
#include "screens.h"

int headless = 0;
int pacing_enabled = 1;
volatile int close_requested = 0;

const int screen_w = 800;
const int screen_h = 600;
const int colour_depth = 32;
const int sample_voices = 7;

static void on_close_button(void)
{
    close_requested = 1;
}
END_OF_FUNCTION(on_close_button)

// Depth buffer and hardware rendering are only suggested: the game uses no
// depth test, and software renderers can't promise either. Keep suggesting the
// depth buffer all the same: Mesa's software renderer, given a window without
// one, switches to a path of its own that rounds some pixels differently.
int open_gl_mode_sized(int fullscreen, int w, int h)
{
    allegro_gl_clear_settings();
    allegro_gl_set(AGL_COLOR_DEPTH, colour_depth);
    allegro_gl_set(AGL_DOUBLEBUFFER, 1);
    allegro_gl_set(AGL_Z_DEPTH, 8);
    allegro_gl_set(AGL_RENDERMETHOD, 1);
    allegro_gl_set(fullscreen ? AGL_FULLSCREEN : AGL_WINDOWED, TRUE);
    allegro_gl_set(AGL_REQUIRE, AGL_COLOR_DEPTH | AGL_DOUBLEBUFFER |
                                    (fullscreen ? AGL_FULLSCREEN : AGL_WINDOWED));
    allegro_gl_set(AGL_SUGGEST, AGL_Z_DEPTH | AGL_RENDERMETHOD);
    set_color_depth(colour_depth);
    return set_gfx_mode(fullscreen ? GFX_OPENGL_FULLSCREEN : GFX_OPENGL_WINDOWED, w, h, 0, 0);
}

int open_gl_mode(int fullscreen)
{
    return open_gl_mode_sized(fullscreen, screen_w, screen_h);
}

// Every size keeps the 4:3 view: the largest window is the largest 4:3
// rectangle that leaves room for a title bar and a panel on the desktop.
void window_size_pixels(int choice, int *w, int *h)
{
    static const int widths[] = {800, 1200, 1600};
    *w = screen_w;
    if (choice >= 0 && choice < WINDOW_LARGEST) *w = widths[choice];
    int dw = 0, dh = 0;
    if (choice == WINDOW_LARGEST && get_desktop_resolution(&dw, &dh) == 0 && dw > 0 && dh > 0) {
        const int margin_w = 16, margin_h = 80;
        int fit = dw - margin_w;
        if ((dh - margin_h) * 4 / 3 < fit) fit = (dh - margin_h) * 4 / 3;
        *w = fit / 4 * 4 < screen_w ? screen_w : fit / 4 * 4;
    }
    *h = *w * 3 / 4;
}

// Full screen when the settings ask for it and it is granted, else a window of
// the chosen size, else today's 800 x 600 window.
int open_display(void)
{
    int w, h;
    window_size_pixels(settings.window_size, &w, &h);
    int fullscreen = start_fullscreen >= 0 ? start_fullscreen : settings.fullscreen;
    if (fullscreen && open_gl_mode(1) == 0) return 0;
    if (open_gl_mode_sized(0, w, h) == 0) return 0;
    return open_gl_mode(0);
}

// What a new window needs again after every mode set.
void window_opened(void)
{
    set_window_title("Hillhopper");
    set_close_button_callback(on_close_button);
    install_focus_watch();
}

static void report_graphics_failure(const char *error, const char *gl_error)
{
    allegro_message("Error setting OpenGL graphics mode:\n%s\nAllegro GL error : %s\n",
                    error, gl_error);
}

// Without a sound device the game plays silently instead of refusing to start.
static void start_sound(void)
{
    configure_midi_patches();
    reserve_voices(sample_voices, -1);
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, NULL) != 0)
        fprintf(stderr, "hillhopper: no sound device (%s); playing without sound\n", allegro_error);
}

void setup_gl_state(void)
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_DONT_CARE);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT, GL_FILL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // With this blend a fragment of alpha 0 leaves the pixel as it was; the
    // alpha test drops it before the blend reads that pixel back (the masked
    // margins of every sprite, picture and letter). Opaque drawing has alpha 1.
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0);
    glViewport(0, 0, SCREEN_W, SCREEN_H);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.2, 0.2, -0.15, 0.15, 1, 60);
    allegro_gl_use_mipmapping(TRUE);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int start_fullscreen = -1;

int main_init(void)
{
    if (allegro_init() != 0) {
        // No display at all: Allegro can still print the message. Its X
        // system leaves no error text when it finds no display.
        char error[ALLEGRO_ERROR_SIZE];
        snprintf(error, sizeof(error), "%s",
                 allegro_error[0] ? allegro_error : "no X display could be opened");
        install_allegro(SYSTEM_NONE, &errno, atexit);
        report_graphics_failure(error, "");
        return -1;
    }
    install_allegro_gl();
    install_keyboard();
    install_mouse();
    load_settings();

    if (open_display() != 0) {
        // Going back to text mode clears Allegro's error text: keep both first.
        char error[ALLEGRO_ERROR_SIZE], gl_error[ALLEGRO_ERROR_SIZE];
        snprintf(error, sizeof(error), "%s", allegro_error);
        snprintf(gl_error, sizeof(gl_error), "%s", allegro_gl_error);
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        report_graphics_failure(error, gl_error);
        return -1;
    }
    window_opened();
    // A gamepad is optional: without one, or without a driver, nothing changes.
    install_joystick(JOY_TYPE_AUTODETECT);

    install_timer();
    start_sound();
    apply_settings();
    setup_gl_state();
    ztimer = 0;
    srand((unsigned)time(NULL));
    return 0;
}
