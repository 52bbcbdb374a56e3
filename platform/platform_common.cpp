// platform/platform_common.cpp -- the platform calls that are the same on every
// operating system, built on the primitives of platform_os.h.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include "platform.h"
#include "platform_os.h"

static const char *const game_folder_name = "hillhopper";
// A file every complete data folder holds: the terrain pictures.
static const char *const data_marker = "ttex01.dat";

static bool is_separator(char c)
{
    return c == '/' || c == path_separator;
}

std::string path_join(const std::string &a, const std::string &b)
{
    if (a.empty() || os_is_absolute(b)) return b;
    if (b.empty()) return a;
    if (is_separator(a.back())) return a + b;
    return a + path_separator + b;
}

std::string path_dir(const std::string &path)
{
    size_t i = path.size();
    while (i > 0 && !is_separator(path[i - 1])) i--;
    if (i == 0) return ".";
    // Keep a root's own separator ("/" or "C:\").
    size_t end = i - 1;
    while (end > 0 && is_separator(path[end - 1])) end--;
    if (end == 0 || (end == 2 && path[1] == ':')) return path.substr(0, end + 1);
    return path.substr(0, end);
}

bool make_dirs(const std::string &path)
{
    if (path.empty()) return false;
    if (os_is_dir(path)) return true;
    std::string parent = path_dir(path);
    if (parent != path && parent != "." && !os_is_dir(parent) && !make_dirs(parent)) return false;
    return os_make_dir(path);
}

std::string user_data_dir()
{
    std::string dir = os_getenv("HILLHOPPER_DATA_HOME");
    if (dir.empty()) {
        std::string home = os_default_data_home();
        if (home.empty()) return "";
        dir = path_join(home, game_folder_name);
    }
    return make_dirs(dir) ? dir : "";
}

std::string user_data_subdir(const char *name)
{
    std::string base = user_data_dir();
    if (base.empty() || !name || !*name) return "";
    std::string dir = path_join(base, name);
    return make_dirs(dir) ? dir : "";
}

bool sync_and_close(FILE *f)
{
    if (!f) return false;
    bool ok = fflush(f) == 0;
    ok = ok && os_sync(f);
    ok = ok && !ferror(f);
    int err = errno;
    if (fclose(f) != 0) return false;
    errno = err;
    return ok;
}

static void say(std::string *error, const std::string &what)
{
    if (error) *error = what;
}

bool write_file_atomically(const std::string &path, const void *data, size_t size, std::string *error)
{
    std::string tmp = path + ".tmp";
    FILE *f = open_file(tmp, "wb");
    if (!f) {
        say(error, "cannot create " + tmp + ": " + strerror(errno));
        return false;
    }
    bool ok = fwrite(data, 1, size, f) == size;
    ok = sync_and_close(f) && ok;
    if (!ok) {
        say(error, "writing " + tmp + " failed: " + strerror(errno));
        remove_file(tmp);
        return false;
    }
    if (!replace_file(tmp, path, error)) {
        remove_file(tmp);
        return false;
    }
    return true;
}

bool dir_is_writable(const std::string &dir)
{
    if (!os_is_dir(dir)) return false;
    std::string probe = path_join(dir, ".hillhopper-write-test");
    FILE *f = open_file(probe, "wb");
    if (!f) return false;
    fclose(f);
    remove_file(probe);
    return true;
}

static bool holds_game_data(const std::string &dir)
{
    return !dir.empty() && file_exists(path_join(dir, data_marker));
}

std::string game_data_dir()
{
    std::string dir = os_getenv("HILLHOPPER_GAME_DATA");
    if (!dir.empty()) return dir;
    dir = exe_dir();
    if (holds_game_data(dir)) return dir;
    dir = os_install_data_dir();
    if (holds_game_data(dir)) return dir;
    return ".";
}

std::string game_data_path(const char *name)
{
    return path_join(game_data_dir(), name ? name : "");
}

static bool ends_with(const std::string &s, const char *tail)
{
    size_t n = strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

std::vector<std::string> list_files(const std::string &dir, const char *extension)
{
    std::vector<std::string> names, kept;
    if (!os_file_names(dir, &names)) return kept;
    for (const std::string &n : names)
        if (!extension || !*extension || ends_with(n, extension)) kept.push_back(n);
    std::sort(kept.begin(), kept.end());
    return kept;
}
