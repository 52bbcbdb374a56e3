// platform/platform_posix.cpp -- Linux and other POSIX systems: paths are
// bytes, rename replaces atomically, fsync flushes.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include "platform.h"
#include "platform_os.h"

#ifndef HILLHOPPER_INSTALL_DATA_DIR
#define HILLHOPPER_INSTALL_DATA_DIR "/usr/share/games/hillhopper"
#endif

const char path_separator = '/';

std::string os_getenv(const char *name)
{
    const char *v = getenv(name);
    return v ? v : "";
}

std::string os_default_data_home()
{
    std::string xdg = os_getenv("XDG_DATA_HOME");
    // The base directory rules say a relative value is to be ignored.
    if (!xdg.empty() && xdg[0] == '/') return xdg;
    std::string home = os_getenv("HOME");
    if (home.empty()) return "";
    return home + "/.local/share";
}

bool os_make_dir(const std::string &path)
{
    if (mkdir(path.c_str(), 0755) == 0) return true;
    return errno == EEXIST && os_is_dir(path);
}

bool os_is_dir(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool os_is_absolute(const std::string &path)
{
    return !path.empty() && path[0] == '/';
}

bool os_file_names(const std::string &dir, std::vector<std::string> *names)
{
    DIR *d = opendir(dir.c_str());
    if (!d) return false;
    while (struct dirent *e = readdir(d)) {
        std::string full = dir + "/" + e->d_name;
        struct stat st;
        if (stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names->push_back(e->d_name);
    }
    closedir(d);
    return true;
}

// A file that cannot be synced, such as a device, says EINVAL: nothing to do.
bool os_sync(FILE *f)
{
    return fsync(fileno(f)) == 0 || errno == EINVAL;
}

std::string os_install_data_dir()
{
    return HILLHOPPER_INSTALL_DATA_DIR;
}

// The rename is on disk only once the folder's entry is: sync the folder too.
static void sync_dir_of(const std::string &path)
{
    int fd = open(path_dir(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    if (fsync(fd) != 0) {}
    close(fd);
}

bool replace_file(const std::string &from, const std::string &to, std::string *error)
{
    if (rename(from.c_str(), to.c_str()) != 0) {
        if (error) *error = "cannot rename " + from + " to " + to + ": " + strerror(errno);
        return false;
    }
    sync_dir_of(to);
    return true;
}

std::string exe_dir()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return ".";
    buf[n] = 0;
    return path_dir(buf);
}

FILE *open_file(const std::string &path, const char *mode)
{
    return fopen(path.c_str(), mode);
}

bool file_exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool remove_file(const std::string &path)
{
    return remove(path.c_str()) == 0;
}

bool file_modified_time(const std::string &path, long long *ns)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    *ns = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    return true;
}

std::string loader_path(const std::string &path)
{
    return path;
}

bool system_has_midi_output()
{
    return false;
}

void attach_parent_console()
{
}
