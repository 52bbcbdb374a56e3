// tests/hardening/datafile_check.h -- whether a datafile holds every object
// its header promises, checked before Allegro's load_datafile sees it.
// Allegro's loader calls through a null pointer when a read at a cut-off end
// returns EOF (-1, which is also DAT_END); a datafile that passes this walk
// cannot take it there. Meant for the game's five datafile loaders.
#pragma once

// 1 when FILE opens as a datafile and every object's properties and body are
// present in full; 0 otherwise (missing, not a datafile, cut short).
int datafile_complete(const char *file);
