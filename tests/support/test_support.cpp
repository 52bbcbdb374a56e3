// tests/support/test_support.cpp -- shared test scaffolding.
#include "test_support.h"
#include <cerrno>
#include <vector>
#include <cstdlib>
#include <unistd.h>
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "game.h"
#include "zmem.h"
#include "textures.h"

void headless_world(void)
{
    static bool done = false;
    if (done) return;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    use_scratch_user_folder();
    headless = 1;
    pacing_enabled = 0;
    alloc_world_tables();
    done = true;
}

// Settings and records that the game saves go to a folder of the test run,
// never into the user's own.
void use_scratch_user_folder(void)
{
    if (getenv("HILLHOPPER_DATA_HOME")) return;
    char tmpl[] = "/tmp/hillhopper_test_home_XXXXXX";
    if (mkdtemp(tmpl)) setenv("HILLHOPPER_DATA_HOME", tmpl, 1);
}

bool gl_window(void)
{
    static int state = 0;   // 0 not tried, 1 open, -1 failed
    if (state) return state > 0;
    state = -1;
    use_scratch_user_folder();
    if (allegro_init() != 0) return false;
    install_allegro_gl();
    install_timer();
    if (open_gl_mode(0) != 0) return false;
    setup_gl_state();
    headless = 0;
    pacing_enabled = 0;
    alloc_world_tables();
    state = 1;
    return true;
}

void load_game_textures(void)
{
    static bool done = false;
    if (done) return;
    char cwd[4096];
    if (!getcwd(cwd, sizeof(cwd))) cwd[0] = 0;
    if (chdir(GAME_DATA_DIR) == 0) {
        load_textures();
        if (chdir(cwd) != 0) {}
    }
    done = true;
}

rgba window_pixel(int x, int y)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, SCREEN_H - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return rgba{p[0], p[1], p[2], p[3]};
}

rgba overlay_pixel(double x, double y)
{
    return window_pixel((int)(x * SCREEN_W / 640.0), (int)(y * SCREEN_H / 480.0));
}

void save_back_buffer(const std::string &path)
{
    BITMAP *bmp = create_bitmap_ex(32, SCREEN_W, SCREEN_H);
    if (!bmp) return;
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    unsigned char *row = new unsigned char[SCREEN_W * 4];
    for (int y = 0; y < SCREEN_H; y++) {
        glReadPixels(0, SCREEN_H - 1 - y, SCREEN_W, 1, GL_RGBA, GL_UNSIGNED_BYTE, row);
        for (int x = 0; x < SCREEN_W; x++)
            putpixel(bmp, x, y, makecol32(row[4 * x], row[4 * x + 1], row[4 * x + 2]));
    }
    delete[] row;
    save_bitmap(path.c_str(), bmp, nullptr);
    destroy_bitmap(bmp);
}

void clear_back_buffer(void)
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

int run_frames(int n, const std::function<void(int)> &before)
{
    int r = FRAME_NEXT;
    for (int i = 0; i < n; i++) {
        if (before) before(i);
        r = run_frame();
        if (r != FRAME_NEXT) return r;
        pace_frame();
    }
    return r;
}

void set_key(int code, bool down)
{
    if (code > 0 && code < KEY_MAX) key[code] = down ? 1 : 0;
}

void release_all_keys(void)
{
    for (int i = 0; i < KEY_MAX; i++) key[i] = 0;
}

unsigned int two_tone_texture(int w, int h, const unsigned char a[4], const unsigned char b[4])
{
    std::vector<unsigned char> px(w * h * 4);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            for (int k = 0; k < 4; k++) px[(y * w + x) * 4 + k] = x < w / 2 ? a[k] : b[k];
    unsigned int id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return id;
}

void GlTest::SetUp()
{
    if (!gl_window()) GTEST_SKIP() << "no GL window available";
    setup_gl_state();
    clear_back_buffer();
}
