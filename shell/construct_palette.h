// The construct palette: eight squares (items 2 to 9 of dialog 486) that
// start the construction commands; a double click first opens the item's
// option dialog. A square whose command is not built is drawn grey and a
// single click on it does nothing; its options can still be set.
#pragma once

#include <cstdint>

#include "platform/ui/dialogs.h"

namespace drav {

constexpr int construct_palette_id = 486;
constexpr int first_construct = 2, last_construct = 9;
constexpr int construct_break = 3, construct_tangent = 8, construct_iso = 9;
// The palette's place in lastpnt.
constexpr int construct_palette_pos = 5;

extern plat::Dialog* constDPtr;    // null while closed
extern std::int16_t constnum;      // the item whose command or options run, else 0
extern std::uint16_t inconbreak;   // 1 while the break command started here runs

// The construction command of each item, run as construct(item - 1); null
// while that command is not built.
using PaletteCommand = void (*)(int n);
extern PaletteCommand construct_commands[last_construct + 1];
bool construct_built(int item);

// What the construct and dimension palettes share: how each opens and closes.
struct CommandPalette {
    plat::Dialog** dialog;
    int resource;
    int place;          // in lastpnt
    std::uint32_t menu;  // its Palette menu command
    int first, last;    // its squares
    int default_left;   // from the screen's left edge when no place was kept
    bool (*built)(int item);
    void (*draw)(plat::Dialog* dialog, int item);
};
// Opens the palette when closed, closes it (keeping its place) when open.
void toggle_command_palette(const CommandPalette& p);
// Redraws every item of a palette now.
void redraw_palette(plat::Dialog* dialog);

// Opens the palette when closed, closes it (keeping its place) when open.
void sett_construct();
// A click on an item of the palette.
void doconstruct(int item);
void construct_singleclick(int item);
void construct_doubleclick(int item);

// The option dialogs: 1 after OK (the values stored), 0 after Cancel.
int extsetup();
int breaksetup();
int fillsetup();
int chamsetup();
int normalsetup();
int parallelsetup();
int isosetup();

}  // namespace drav
