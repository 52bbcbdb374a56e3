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
    TEX_PUFF = 36,

    // The terrain set in the free slots. Fills are seamless squares that
    // world-textured triangles repeat every 0.012 world units per texel.
    TEX_FILL_GRASS = 0,             // grassy soil
    TEX_FILL_EARTH = 1,
    TEX_FILL_ROCK = 7,
    TEX_FILL_SAND = 8,
    TEX_FILL_WOOD = 9,
    TEX_FILL_BRICKS = 14,           // stone bricks
    TEX_FILL_CAVE = 37,             // dark cave rock
    TEX_FILL_ICE = 38,
    TEX_FILL_COBBLE = 39,           // cobblestones
    TEX_FILL_SNOW = 40,
    // Border bands: s runs along the edge (repeating every width / 256 world
    // units), the terrain surface lies across the middle row, the upper half
    // stands out of the ground. Height in texels x 0.002 = half the band width.
    TEX_BAND_GRASS = 41,
    TEX_BAND_FLOWERS = 42,
    TEX_BAND_ROCK = 43,
    TEX_BAND_SAND = 44,
    TEX_BAND_BLEND = 45,            // "Blended base": lower half fades into the fill
    TEX_BAND_ARROW = 46,            // the pulsing guide arrows
    TEX_BAND_SNOW = 47,
    TEX_BAND_PLANKS = 48,           // a wooden walkway edge
    // The skies of the other settings, shaped and repeating like the day
    // sky at TEX_BACKGROUND (which the start screen also shows).
    TEX_SKY_DUSK = 49,              // autumn evening
    TEX_SKY_NIGHT = 50,             // moon and stars
    TEX_SKY_HALL = 51,              // the far wall of a castle hall
    TEX_SKY_DESERT = 52,            // hot pale sky over mesas
    TEX_FILL_LEAF_LITTER = 53,      // autumn forest soil
    TEX_FILL_SANDSTONE = 54,        // layered desert rock
    TEX_FILL_ASHLAR = 55,           // large dressed castle stones
    TEX_FILL_NIGHT_SOIL = 56,       // moonlit dark earth
    TEX_BAND_AUTUMN = 57,           // grass strewn with fallen leaves
    TEX_BAND_CARPET = 58,           // a red runner on a stone floor edge
    TEX_BAND_NIGHT_GRASS = 59,      // moonlit grass
    NUM_TERRAIN_PICTURES = 60       // pictures the builder packs into ttex01.dat
};

// "doodads01.dat" -> doodad_tex: pictures that the game gives a meaning.
enum doodad_slot {
    DAD_HIVE = 7,
    DAD_HIVE_DISTURBED = 8,
    DAD_SIGN = 18,                  // 128 x 64 blank, re-rendered with "Stage N"
    DAD_PLANT_A = 19,               // stinging plants
    DAD_PLANT_B = 20,

    // Decorations without a meaning to the game.
    DAD_OAK = 0,
    DAD_PINE = 1,
    DAD_BUSH = 2,
    DAD_BERRY_BUSH = 3,
    DAD_RED_FLOWERS = 4,
    DAD_YELLOW_FLOWERS = 5,
    DAD_BOULDER = 6,
    DAD_PEBBLES = 9,
    DAD_TOADSTOOL = 10,
    DAD_MUSHROOMS = 11,
    DAD_GRASS_TUFT = 12,
    DAD_REEDS = 13,
    DAD_FENCE = 14,
    DAD_SIGNPOST = 15,
    DAD_BLUE_CRYSTALS = 16,
    DAD_PINK_CRYSTAL = 17,
    DAD_BIRCH = 21,
    DAD_CACTUS = 22,
    DAD_SUNFLOWER = 23,
    DAD_STUMP = 24,
    DAD_LOG = 25,
    DAD_LANTERN = 26,
    DAD_CLOUD = 27,
    DAD_MAPLE = 28,                 // autumn tree
    DAD_BARE_TREE = 29,             // leafless, late autumn and night
    DAD_PUMPKIN = 30,
    DAD_LAMP_POST = 31,             // a lit street lamp
    DAD_TORCH = 32,                 // wall torch (hangs on a wall)
    DAD_BANNER = 33,                // hanging castle banner
    DAD_CASTLE_WINDOW = 34,         // arched window, night outside (hangs on a wall)
    DAD_PALM = 35,
    DAD_TUMBLEWEED = 36,
    NUM_DOODAD_PICTURES = 37        // pictures the builder packs into doodads01.dat
};

// "buildings.dat" -> building_tex: the start screen.
enum building_slot {
    BTEX_LANG_0 = 0,
    BTEX_LANG_1 = 1,
    BTEX_START = 2,                 // + lang
    BTEX_QUIT = 4,                  // + lang
    BTEX_POINTER = 6,
    BTEX_TITLE = 7,
    BTEX_SCROLL_TEXT = 8,
    BTEX_OPTIONS = 9,               // + lang
    NUM_BUILDING_PICTURES = 11
};

// "fonts.dat" -> the text of the menus and screens (ASCII and Latin-1).
enum font_slot {
    FONT_TEXT = 0,                  // DejaVu Sans, 14 pixels
    FONT_TITLE = 1,                 // DejaVu Sans Bold, 26 pixels
    NUM_FONTS = 2
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
    SND_ELECTRIC = 9,
    NUM_SOUND_SAMPLES = 10
};

// "music.dat" -> background tracks, drawn at random.
enum music_slot {
    MUS_SUNNY_HILLS = 0,            // cheerful, major, brisk
    MUS_CAVE_ECHOES = 1,            // mysterious, minor, slow
    MUS_HIVE_RUSH = 2,              // driving, minor, fast
    MUS_EVENING_WALTZ = 3,          // calm, three-four time
    NUM_MUSIC_TRACKS = 4
};
