// level/level_list.cpp -- the levels in play order: the shipped stages, then
// the user's own. Every file is checked when the list is made, so that the
// level select can say which ones the game would refuse, and why.
#include <cstdio>
#include <vector>
#include "level_list.h"
#include "platform.h"
#include "terrain_file.h"

#ifndef HILLHOPPER_SHIPPED_LEVELS
#error "the build says how many levels it made from levels/level<n>.txt"
#endif
const int shipped_levels = HILLHOPPER_SHIPPED_LEVELS;

namespace {

struct level_entry {
    std::string path;
    std::string file_name;
    bool user;
    bool readable;
    std::string reason;
    uint64_t checksum;
    level_description desc;
};

std::vector<level_entry> levels;
bool made = false;

level_entry checked_entry(const std::string &path, const std::string &file_name, bool user)
{
    level_entry e;
    e.path = path;
    e.file_name = file_name;
    e.user = user;
    e.checksum = 0;
    e.readable = peek_level_file(path.c_str(), &e.desc, &e.checksum, &e.reason);
    if (!e.readable) e.checksum = 0;
    return e;
}

void make_list(void)
{
    levels.clear();
    for (int n = 0; n < shipped_levels; n++) {
        std::string name = "map" + std::to_string(n) + ".trn";
        levels.push_back(checked_entry(game_data_path(name.c_str()), name, false));
    }
    std::string mine = user_data_subdir("levels");
    if (!mine.empty())
        for (const std::string &name : list_files(mine, ".trn"))
            levels.push_back(checked_entry(path_join(mine, name), name, true));
    made = true;
}

const level_entry *entry(int n)
{
    if (!made) make_list();
    if (n < 0 || n >= (int)levels.size()) return nullptr;
    return &levels[n];
}

} // namespace

void refresh_level_list(void)
{
    make_list();
}

int level_list_count(void)
{
    if (!made) make_list();
    return (int)levels.size();
}

int level_list_shipped_count(void)
{
    return shipped_levels;
}

std::string level_list_path(int n)
{
    const level_entry *e = entry(n);
    return e ? e->path : std::string();
}

std::string level_list_name(int n, int language)
{
    const level_entry *e = entry(n);
    if (!e) return std::string();
    bool named = e->readable && (e->desc.name[NAME_EN][0] || e->desc.name[NAME_DE][0]);
    if (e->user && !named) {
        std::string base = e->file_name;
        return base.size() > 4 ? base.substr(0, base.size() - 4) : base;
    }
    level_description none = default_level_description(-1);
    return level_shown_name(e->readable ? e->desc : none, language, n);
}

uint64_t level_list_checksum(int n)
{
    const level_entry *e = entry(n);
    return e ? e->checksum : 0;
}

bool level_list_is_user(int n)
{
    const level_entry *e = entry(n);
    return e && e->user;
}

bool level_list_readable(int n, std::string *reason)
{
    const level_entry *e = entry(n);
    if (!e) {
        if (reason) *reason = "not in the list";
        return false;
    }
    if (!e->readable && reason) *reason = e->reason;
    return e->readable;
}

int level_list_next(int n, bool shipped_only)
{
    int end = shipped_only ? shipped_levels : level_list_count();
    if (end > level_list_count()) end = level_list_count();
    for (int k = n < -1 ? 0 : n + 1; k < end; k++)
        if (level_list_readable(k, nullptr)) return k;
    return -1;
}

int level_list_find(const std::string &path)
{
    for (int n = 0; n < level_list_count(); n++)
        if (levels[n].path == path) return n;
    return -1;
}
