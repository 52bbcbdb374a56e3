// platform/platform_os.h -- the few primitives each operating system's file
// supplies; platform_common.cpp builds the public calls of platform.h on them.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

extern const char path_separator;
// An environment variable as UTF-8; "" when unset.
std::string os_getenv(const char *name);
// The folder under which the game keeps its own folder ("" if unknown).
std::string os_default_data_home();
// Creates one folder; true when it is a folder afterwards.
bool os_make_dir(const std::string &path);
bool os_is_dir(const std::string &path);
bool os_is_absolute(const std::string &path);
// Names of the plain files in dir, in no order; false if dir can't be read.
bool os_file_names(const std::string &dir, std::vector<std::string> *names);
// Flushes the file's data to the disk (after fflush).
bool os_sync(FILE *f);
// Where an installed game keeps its data ("" when there is no such place).
std::string os_install_data_dir();
