// platform/windows_allegro.h -- included ahead of every file of the Windows
// build (and nowhere else): windows.h, which the GL headers pull in there,
// declares its own BITMAP; winalleg.h right after allegro.h keeps Allegro's.
#pragma once
#include <allegro.h>
#include <winalleg.h>
