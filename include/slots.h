// include/slots.h -- which picture, sample or track sits at which index of the
// game's datafiles. The asset builder packs the datafiles in this order and the
// game addresses them only through these names: this is the one place that
// knows a slot number.
#pragma once

// "ttex01.dat" -> terrain_tex: sprites, HUD pictures and the terrain set.
enum terrain_slot {
    TEX_PLAYER = 2,                 // default: riding, not steering
    TEX_PLAYER_LANDING = 3,
    TEX_BACKGROUND = 4,
    TEX_PLAYER_TUMBLING = 5,
    TEX_LEAF = 6,
    TEX_SPIKE = 10,
    TEX_BAR_FRAME = 11,
    TEX_PLAYER_RUNNING = 12,        // running and flying
    TEX_WAYPOINT = 13,
    TEX_WAYPOINT_SPIN = 15,
    TEX_DUST = 16,                  // four dust puffs, 16..19
    TEX_PLAYER_RECOVERY = 20,
    TEX_CLOCK_FRAME = 21,
    TEX_CLOCK_HAND = 22,            // drawn pointing up
    TEX_PLAY_AGAIN = 23,            // + lang
    TEX_BACK_TO_START = 25,         // + lang
    TEX_PLAYER_CHARGING = 27,
    TEX_LEVEL_COMPLETE = 28,
    TEX_BEE = 29,
    TEX_PLAYER_BLINK = 30,
    TEX_ELECTRIC = 31,
    TEX_PLAYER_BOOST_A = 32,
    TEX_PLAYER_BOOST_B = 33,
    TEX_PLAYER_BOOST = 34,          // steady boost frame
    TEX_GLOW = 35,
    TEX_PUFF = 36
};

// "doodads01.dat" -> doodad_tex: pictures that the game gives a meaning.
enum doodad_slot {
    DAD_HIVE = 7,
    DAD_HIVE_DISTURBED = 8,
    DAD_SIGN = 18,                  // 128 x 64 blank, re-rendered with "Stage N"
    DAD_PLANT_A = 19,               // stinging plants
    DAD_PLANT_B = 20
};

// "buildings.dat" -> building_tex: the start screen.
enum building_slot {
    BTEX_LANG_0 = 0,
    BTEX_LANG_1 = 1,
    BTEX_START = 2,                 // + lang
    BTEX_QUIT = 4,                  // + lang
    BTEX_POINTER = 6,
    BTEX_TITLE = 7,
    BTEX_SCROLL_TEXT = 8
};

// "sound.dat" -> samples played by number.
enum sound_slot {
    SND_SPIKE = 0,
    SND_LEAF = 1,
    SND_WAYPOINT = 2,
    SND_CLOCK_TICK = 3,
    SND_HIVE = 4,                   // a hive opens, or a swarm is home
    SND_BOOST = 5,
    SND_STING = 6,
    SND_DEATH = 7,
    SND_JUMP = 8,
    SND_ELECTRIC = 9
};
