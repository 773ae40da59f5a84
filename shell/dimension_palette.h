// The dimension palette: four squares (items 2 to 5 of dialog 648) that
// start the linear, angular, radial and datum dimension commands; a double
// click first opens the item's option dialog. A square whose command is not
// built is drawn grey and a single click on it does nothing.
#pragma once

#include <cstdint>

#include "platform/ui/dialogs.h"
#include "shell/construct_palette.h"

namespace drav {

constexpr int dimension_palette_id = 648;
constexpr int first_dimension = 2, last_dimension = 5;
// The palette's place in lastpnt.
constexpr int dimension_palette_pos = 6;

extern plat::Dialog* dimDPtr;   // null while closed
extern std::int16_t dimnum;     // the item whose command or options run, else 0
// While a linear or angular option dialog is open: the picture items of the
// chosen extension-line and marker types.
extern std::int16_t exttype;
extern std::int16_t marktype;

// The dimension command of each item, run as dim_objects(item); null while
// it is not built.
extern PaletteCommand dimension_commands[last_dimension + 1];
bool dimension_built(int item);

void sett_dimension();
void dodimension(int item);
void dimension_singleclick(int item);
void dimension_doubleclick(int item);
// Draws a picture item of the linear and angular dialogs, inverted when it
// is the chosen type.
void filldim(plat::Dialog* dialog, int item);

// The option dialogs: 1 after OK (the values stored), 0 after Cancel.
int lindimsetup();
int angdimsetup();
int radialdimsetup();
int datumdimsetup();

}  // namespace drav
