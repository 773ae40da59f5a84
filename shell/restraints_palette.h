// The restraints palette: four lock squares (free, horizontal, vertical,
// along the rotation step) and six snap squares (fraction, crossing,
// increment, grid, object points, object outline). A single click applies
// a choice; the object and crossing choices first run a pick in the
// drawing, nested inside whatever command is running.
#pragma once

#include <cstdint>

#include "platform/ui/dialogs.h"

namespace drav {

constexpr int restraints_palette_id = 477;
constexpr int palette_restraints = 5;        // palette number of the Palette menu
constexpr int restraints_palette_pos = 3;    // its place in lastpnt
constexpr int first_restraint = 2, last_restraint = 11;
constexpr int lock_free_item = 2, lock_step_item = 5;
constexpr int snap_fraction_item = 6, snap_crossing_item = 7, snap_increment_item = 8, snap_grid_item = 9,
              snap_points_item = 10, snap_outline_item = 11;

extern plat::Dialog* locDPtr;  // null while closed
extern std::int16_t locknum;   // the highlighted lock item
extern std::uint16_t resnap;   // a restraints click was postponed during a pick

void sett_restraints();
void dorestraints(int item);
void restraint_singleclick(int item);
void restraint_doubleclick(int item);
// Draws a square: its picture, inverted when it is the lock or snap item.
void fill_restraint_square(plat::Dialog* dialog, int item);
void markrestraints();
void ch_snap(int n);
int object_snap_selected();
void snap2_key_options(int key, std::uint16_t* next);
// The snap highlight moves to `item` (0: it stays).
void restraint_snap_item(int item);
// Installs the palette's side of object snap and of a drawing's reading.
void install_restraints_palette();

}  // namespace drav
