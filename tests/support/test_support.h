// tests/support/test_support.h -- what the test folders share: a headless
// world, a real GL window under Xvfb, pixel readback and scripted frames.
#pragma once
#include <functional>
#include <string>
#include <gtest/gtest.h>
#include <GL/gl.h>

// Installs Allegro without a display (once), switches the game to headless
// and allocates the world tables (once). Safe to call from every test.
void headless_world(void);
// Points HILLHOPPER_DATA_HOME at a fresh folder of this run unless it is set.
void use_scratch_user_folder(void);

// Opens the game's 800 x 600 window with its GL state (once per process).
// Returns false when no GL window can be had.
bool gl_window(void);
// Loads the game's datafiles' textures from the built game folder (once).
void load_game_textures(void);

// RGBA of a window pixel (x right, y down) read from the back buffer, before
// any flip.
struct rgba { int r, g, b, a; };
rgba window_pixel(int x, int y);
// The same for a point of the 640 x 480 overlay space.
rgba overlay_pixel(double x, double y);
// Writes the back buffer to a .bmp file, for looking at a failing test.
void save_back_buffer(const std::string &path);
void clear_back_buffer(void);

// Runs n frames of the real loop back to back (no pacing). `before` runs
// ahead of every frame, to set key[] and the mouse; it gets the frame index.
// Returns the last frame result.
int run_frames(int n, const std::function<void(int)> &before = nullptr);

// Writes Allegro's key[] directly (down = pressed and held).
void set_key(int code, bool down);
void release_all_keys(void);

// A w x h GL texture: texels with s below 1/2 are colour a, the rest colour b
// (RGBA bytes). Needs the GL window.
unsigned int two_tone_texture(int w, int h, const unsigned char a[4], const unsigned char b[4]);

class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
};
