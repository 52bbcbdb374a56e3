// tools/levels/names.cpp -- the names that level sources give to terrain
// textures and doodad pictures. The numbers behind them are only the slot
// names of slots.h, so a reordered datafile needs no change here.
#include "level_kit.h"
#include "slots.h"
#include "terrain_file.h"

struct named_slot {
    const char *name;
    int slot;
};

// Fills for polygons, bands for borders, and the sprite pictures a quad may
// stretch. Names are unique over the whole texture table.
static const named_slot texture_names[] = {
    {"grass", TEX_FILL_GRASS},
    {"earth", TEX_FILL_EARTH},
    {"rock", TEX_FILL_ROCK},
    {"sand", TEX_FILL_SAND},
    {"wood", TEX_FILL_WOOD},
    {"bricks", TEX_FILL_BRICKS},
    {"cave", TEX_FILL_CAVE},
    {"ice", TEX_FILL_ICE},
    {"cobble", TEX_FILL_COBBLE},
    {"snow", TEX_FILL_SNOW},
    {"grass_edge", TEX_BAND_GRASS},
    {"flowers_edge", TEX_BAND_FLOWERS},
    {"rock_edge", TEX_BAND_ROCK},
    {"sand_edge", TEX_BAND_SAND},
    {"blend_edge", TEX_BAND_BLEND},
    {"arrow", TEX_BAND_ARROW},
    {"snow_edge", TEX_BAND_SNOW},
    {"planks", TEX_BAND_PLANKS},
    {"leaf_litter", TEX_FILL_LEAF_LITTER},
    {"sandstone", TEX_FILL_SANDSTONE},
    {"ashlar", TEX_FILL_ASHLAR},
    {"night_soil", TEX_FILL_NIGHT_SOIL},
    {"autumn_edge", TEX_BAND_AUTUMN},
    {"carpet", TEX_BAND_CARPET},
    {"night_grass_edge", TEX_BAND_NIGHT_GRASS},
    {"background", TEX_BACKGROUND},
    {"glow", TEX_GLOW},
};

static const named_slot picture_names[] = {
    {"oak", DAD_OAK},
    {"pine", DAD_PINE},
    {"bush", DAD_BUSH},
    {"berry_bush", DAD_BERRY_BUSH},
    {"red_flowers", DAD_RED_FLOWERS},
    {"yellow_flowers", DAD_YELLOW_FLOWERS},
    {"boulder", DAD_BOULDER},
    {"hive", DAD_HIVE},
    {"hive_disturbed", DAD_HIVE_DISTURBED},
    {"pebbles", DAD_PEBBLES},
    {"toadstool", DAD_TOADSTOOL},
    {"mushrooms", DAD_MUSHROOMS},
    {"grass_tuft", DAD_GRASS_TUFT},
    {"reeds", DAD_REEDS},
    {"fence", DAD_FENCE},
    {"signpost", DAD_SIGNPOST},
    {"blue_crystals", DAD_BLUE_CRYSTALS},
    {"pink_crystal", DAD_PINK_CRYSTAL},
    {"sign", DAD_SIGN},
    {"plant_a", DAD_PLANT_A},
    {"plant_b", DAD_PLANT_B},
    {"birch", DAD_BIRCH},
    {"cactus", DAD_CACTUS},
    {"sunflower", DAD_SUNFLOWER},
    {"stump", DAD_STUMP},
    {"log", DAD_LOG},
    {"lantern", DAD_LANTERN},
    {"cloud", DAD_CLOUD},
    {"maple", DAD_MAPLE},
    {"bare_tree", DAD_BARE_TREE},
    {"pumpkin", DAD_PUMPKIN},
    {"lamp_post", DAD_LAMP_POST},
    {"torch", DAD_TORCH},
    {"banner", DAD_BANNER},
    {"castle_window", DAD_CASTLE_WINDOW},
    {"palm", DAD_PALM},
    {"tumbleweed", DAD_TUMBLEWEED},
};

template <size_t N>
static int slot_by_name(const named_slot (&table)[N], const std::string &name)
{
    for (const named_slot &e : table)
        if (name == e.name) return e.slot;
    return -1;
}

template <size_t N>
static const char *name_of_slot(const named_slot (&table)[N], int slot)
{
    for (const named_slot &e : table)
        if (e.slot == slot) return e.name;
    return nullptr;
}

int texture_by_name(const std::string &name) { return slot_by_name(texture_names, name); }
const char *texture_name(int slot) { return name_of_slot(texture_names, slot); }
int picture_by_name(const std::string &name) { return slot_by_name(picture_names, name); }
const char *picture_name(int slot) { return name_of_slot(picture_names, slot); }

// Skies and music tracks of a level's description.
static const named_slot sky_names[] = {
    {"day", SKY_DAY},
    {"dusk", SKY_DUSK},
    {"night", SKY_NIGHT},
    {"hall", SKY_HALL},
    {"desert", SKY_DESERT},
};
static const named_slot music_names[] = {
    {"rotation", music_rotation},
    {"sunny_hills", MUS_SUNNY_HILLS},
    {"cave_echoes", MUS_CAVE_ECHOES},
    {"hive_rush", MUS_HIVE_RUSH},
    {"evening_waltz", MUS_EVENING_WALTZ},
};

int sky_by_name(const std::string &name) { return slot_by_name(sky_names, name); }
const char *sky_name(int sky) { return name_of_slot(sky_names, sky); }
int music_by_name(const std::string &name)
{
    for (const named_slot &e : music_names)
        if (name == e.name) return e.slot;
    return -2;
}
const char *music_name(int track) { return name_of_slot(music_names, track); }
