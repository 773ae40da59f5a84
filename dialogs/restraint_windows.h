// The windows behind the restraints palette's double clicks: the snap
// increment, the grid (modeless), the rotation step and how the crossing
// snap picks its objects.
#pragma once

#include "dialogs/dialog_helpers.h"
#include "store/settings.h"

namespace drav {

// Modal; 0 when closed, else the status of the failed creation.
int ShowIncrementWindow();
int ShowRotationWindow();
int ShowIntersectionWindow();
// Opens the grid window and returns at once; a second call while it is
// open brings the open one to the front.
int ShowGridWindow();

// The grid window while it is open, else null.
extern DialogPtr windGrid;

// Makes `grid` the current grid (correcting empty y spacing and divisors
// below 1) and redraws the grid.
void UpdateGridValues(GridRec* grid);

}  // namespace drav
