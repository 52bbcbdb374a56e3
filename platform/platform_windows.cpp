// platform/platform_windows.cpp -- Windows: every path is UTF-8 in the game
// and UTF-16 at the system's wide-character calls; MoveFileExW replaces a
// file (rename does not), _commit flushes it to the disk.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <io.h>
#include <windows.h>
#include <shlobj.h>
#include "platform.h"
#include "platform_os.h"

const char path_separator = '\\';

static std::wstring wide(const std::string &s)
{
    if (s.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), NULL, 0);
    std::wstring w(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), &w[0], n);
    return w;
}

static std::string utf8(const std::wstring &w)
{
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), NULL, 0, NULL, NULL);
    std::string s(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &s[0], n, NULL, NULL);
    return s;
}

static std::string last_error_text(void)
{
    DWORD code = GetLastError();
    wchar_t *msg = NULL;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   NULL, code, 0, (LPWSTR)&msg, 0, NULL);
    std::string text = msg ? utf8(msg) : "error " + std::to_string(code);
    if (msg) LocalFree(msg);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
        text.pop_back();
    return text;
}

std::string os_getenv(const char *name)
{
    const wchar_t *v = _wgetenv(wide(name).c_str());
    return v ? utf8(v) : "";
}

std::string os_default_data_home()
{
    wchar_t buf[MAX_PATH];
    if (SHGetFolderPathW(NULL, CSIDL_APPDATA | CSIDL_FLAG_CREATE, NULL, 0, buf) == S_OK) return utf8(buf);
    return os_getenv("APPDATA");
}

bool os_make_dir(const std::string &path)
{
    if (CreateDirectoryW(wide(path).c_str(), NULL)) return true;
    return os_is_dir(path);
}

bool os_is_dir(const std::string &path)
{
    DWORD a = GetFileAttributesW(wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool os_is_absolute(const std::string &path)
{
    if (path.empty()) return false;
    if (path[0] == '\\' || path[0] == '/') return true;
    return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

bool os_file_names(const std::string &dir, std::vector<std::string> *names)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(wide(path_join(dir, "*")).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names->push_back(utf8(fd.cFileName));
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return true;
}

bool os_sync(FILE *f)
{
    return _commit(_fileno(f)) == 0;
}

// The zip is unpacked anywhere: the data sits beside the executable.
std::string os_install_data_dir()
{
    return "";
}

bool replace_file(const std::string &from, const std::string &to, std::string *error)
{
    if (!MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        if (error) *error = "cannot replace " + to + " with " + from + ": " + last_error_text();
        return false;
    }
    return true;
}

std::string exe_dir()
{
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(NULL, &buf[0], (DWORD)buf.size());
        if (n == 0) return ".";
        if (n < buf.size()) {
            buf.resize(n);
            return path_dir(utf8(buf));
        }
        buf.resize(buf.size() * 2);
    }
}

FILE *open_file(const std::string &path, const char *mode)
{
    return _wfopen(wide(path).c_str(), wide(mode).c_str());
}

bool file_exists(const std::string &path)
{
    DWORD a = GetFileAttributesW(wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool remove_file(const std::string &path)
{
    return DeleteFileW(wide(path).c_str()) != 0;
}

bool file_modified_time(const std::string &path, long long *ns)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) return false;
    ULARGE_INTEGER t;                       // 100 ns steps since 1601
    t.LowPart = data.ftLastWriteTime.dwLowDateTime;
    t.HighPart = data.ftLastWriteTime.dwHighDateTime;
    *ns = (long long)t.QuadPart * 100;
    return true;
}

static bool is_ascii(const std::string &s)
{
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// Allegro opens files with the narrow C calls: a path outside ASCII would
// reach them in the wrong code page. The short form is ASCII (when the
// volume keeps short names); a file that does not exist yet keeps its path.
std::string loader_path(const std::string &path)
{
    if (is_ascii(path)) return path;
    std::wstring w = wide(path);
    DWORD n = GetShortPathNameW(w.c_str(), NULL, 0);
    if (n == 0) return path;
    std::wstring s(n, L'\0');
    DWORD got = GetShortPathNameW(w.c_str(), &s[0], n);
    if (got == 0 || got >= n) return path;
    s.resize(got);
    return utf8(s);
}

// A GUI program has no console; started from one, it writes there, so
// --help, --version and the replay line are seen.
bool system_has_midi_output()
{
    return true;
}

void attach_parent_console()
{
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (_fileno(stdout) < 0 || _get_osfhandle(_fileno(stdout)) < 0) freopen("CONOUT$", "w", stdout);
    if (_fileno(stderr) < 0 || _get_osfhandle(_fileno(stderr)) < 0) freopen("CONOUT$", "w", stderr);
}
