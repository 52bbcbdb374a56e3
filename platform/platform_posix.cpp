// platform/platform_posix.cpp -- the user's data folder, atomic replacement
// and folder listing on POSIX systems.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include "platform.h"

std::string path_join(const std::string &a, const std::string &b)
{
    if (a.empty() || (!b.empty() && b[0] == '/')) return b;
    return a.back() == '/' ? a + b : a + "/" + b;
}

bool make_dirs(const std::string &path)
{
    if (path.empty()) return false;
    for (size_t i = 1; i <= path.size(); i++) {
        if (i < path.size() && path[i] != '/') continue;
        std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string user_data_dir()
{
    std::string dir;
    const char *over = getenv("HILLHOPPER_DATA_HOME");
    const char *xdg = getenv("XDG_DATA_HOME");
    const char *home = getenv("HOME");
    if (over && *over) dir = over;
    else if (xdg && *xdg == '/') dir = path_join(xdg, "hillhopper");
    else if (home && *home) dir = path_join(home, ".local/share/hillhopper");
    else return "";
    return make_dirs(dir) ? dir : "";
}

std::string user_data_subdir(const char *name)
{
    std::string base = user_data_dir();
    if (base.empty() || !name) return "";
    std::string dir = path_join(base, name);
    return make_dirs(dir) ? dir : "";
}

bool sync_and_close(FILE *f)
{
    if (!f) return false;
    bool ok = fflush(f) == 0;
    ok = fsync(fileno(f)) == 0 && ok;
    return fclose(f) == 0 && ok;
}

bool replace_file(const std::string &from, const std::string &to, std::string *error)
{
    if (rename(from.c_str(), to.c_str()) == 0) return true;
    if (error) *error = std::string("cannot replace ") + to + ": " + strerror(errno);
    return false;
}

bool write_file_atomically(const std::string &path, const void *data, size_t size, std::string *error)
{
    std::string tmp = path + ".tmp";
    FILE *f = fopen(tmp.c_str(), "wb");
    if (!f) {
        if (error) *error = std::string("cannot write ") + tmp + ": " + strerror(errno);
        return false;
    }
    bool ok = fwrite(data, 1, size, f) == size;
    ok = sync_and_close(f) && ok;
    if (!ok) {
        if (error) *error = std::string("cannot write ") + tmp + ": " + strerror(errno);
        remove(tmp.c_str());
        return false;
    }
    if (!replace_file(tmp, path, error)) {
        remove(tmp.c_str());
        return false;
    }
    return true;
}

std::vector<std::string> list_files(const std::string &dir, const char *extension)
{
    std::vector<std::string> names;
    DIR *d = opendir(dir.c_str());
    if (!d) return names;
    std::string ext = extension ? extension : "";
    while (struct dirent *e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        if (n.size() < ext.size() || n.compare(n.size() - ext.size(), ext.size(), ext) != 0) continue;
        names.push_back(n);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}
