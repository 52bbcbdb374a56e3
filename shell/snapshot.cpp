// shell/snapshot.cpp -- writes one shown frame to a file from inside the
// program, for tests that compare the picture of two builds (the Windows build
// under Wine cannot be screenshotted from outside).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <allegro.h>
#include <alleggl.h>
#include "snapshot.h"
#include "game.h"
#include "platform.h"

static int snapshot_frame = 0;          // 0: no snapshot wanted
static int frames_shown = 0;
static std::string snapshot_file;

bool parse_snapshot_request(const char *text, int *frame, std::string *file)
{
    if (!text) return false;
    const char *colon = strchr(text, ':');
    if (!colon || colon == text || colon[1] == 0) return false;
    char *end = nullptr;
    long n = strtol(text, &end, 10);
    if (end != colon || n < 1 || n > 10000000) return false;
    *frame = (int)n;
    *file = colon + 1;
    return true;
}

bool write_ppm_bottom_up(const std::string &file, const unsigned char *rgb, int width, int height)
{
    FILE *out = open_file(file, "wb");
    if (!out) return false;
    fprintf(out, "P6\n%d %d\n255\n", width, height);
    bool ok = true;
    for (int y = height - 1; y >= 0 && ok; y--)
        ok = fwrite(rgb + (size_t)y * width * 3, 3, width, out) == (size_t)width;
    return fclose(out) == 0 && ok;
}

static void snapshot_hook(void)
{
    if (++frames_shown != snapshot_frame) return;
    std::vector<unsigned char> rgb((size_t)SCREEN_W * SCREEN_H * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SCREEN_W, SCREEN_H, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    if (!write_ppm_bottom_up(snapshot_file, rgb.data(), SCREEN_W, SCREEN_H))
        fprintf(stderr, "snapshot: cannot write %s\n", snapshot_file.c_str());
}

bool install_snapshot_from_env(std::string *error)
{
    const char *text = getenv("HILLHOPPER_SNAPSHOT");
    if (!text || !*text) return true;
    if (!parse_snapshot_request(text, &snapshot_frame, &snapshot_file)) {
        snapshot_frame = 0;
        if (error) *error = std::string("HILLHOPPER_SNAPSHOT '") + text + "': expected <frame>:<file>";
        return false;
    }
    frames_shown = 0;
    frame_ready_hook = snapshot_hook;
    return true;
}
