// tests/physics/physics_world.h -- small levels built in the test, set up the
// way a level start sets them up, for the physics tests.
#pragma once
#include "hillhopper.h"

// Empties the terrain, resets the level-state slots and the latches as a level
// start does (grace countdown 100, clock 75, start angle pi - 0.1), and makes
// the frame loop run without the controls screen. No body exists afterwards.
void empty_level(void);

// A joint between two new vertices; returns the joint's slot.
int add_jnt(double x1, double y1, double x2, double y2, int type);
// A joint between two existing vertices; returns the joint's slot.
int link_jnt(int tv1, int tv2, int type);
// A chain of joints through n points, each joint starting where the last
// ended; the first joint's slot goes to *first. Returns the last joint's slot.
int add_chain(const double *xy, int n, int type, int *first = nullptr);
// Files the joints in the region grid (call after adding joints).
void file_jnts(void);

// The level start's body sequence: start slots, clear_bodies, new_body,
// update_pnt_regions. Returns the body's slot.
int start_player(double x, double y, double ang);
// Puts body b on joint k at fraction t with speed v along it, placed on its
// ride path as the riding step places it.
void put_on_jnt(int b, int k, double t, double v);

// A one-point body for contact tests: point 0 at the centre with radius r,
// the other points out of use. Returns its probe.
int single_point_body(int b, double r);

bool finite_body(int b);
