// The tool palette: one square per tool (items 2 to 19 of dialog 407), the
// current tool inverted. A click starts the tool's command; a click while a
// command runs ends that command first and is replayed by the event pump.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/command_loop.h"
#include "display/app_pictures.h"
#include "platform/ui/dialogs.h"

namespace drav {

constexpr int tool_palette_id = 407;
constexpr int first_tool = 2, last_tool = 19;
constexpr int tool_select = 2, tool_group = 3, tool_move = 14;
// Alert of table 405: a transform tool chosen on an empty drawing.
constexpr int alert_no_objects = 3;

extern plat::Dialog* addDPtr;   // the palette, null while closed

// Opens the palette when closed, closes it (keeping its place) when open.
void sett_palette();
// Draws a square: its icon, inverted when its tool is current.
void fillsq(plat::Dialog* dialog, int item);
// A click on a square (a double click opens the tool's settings).
void dopalette(int item);
void toolsingleclick(int tool);
void tooldoubleclick(int tool);
// Group mode on or off; run as the undoable operation 3.
void changegroup();
// Whether the tool's command exists: the squares of the others are inactive.
bool tool_built(int tool);
// Redraws every square now.
void redraw_tool_palette();
// Installs changegroup as the store's group-mode operation.
void install_tool_palette();

// The 16 x 16 (scale 1) or 32 x 32 (scale 2) icon of a tool from data/ui/icons:
// rows of 0/1, empty when the file is missing or malformed.
constexpr int icon_size = 16;  // a palette icon at 1x, in pixels
struct ToolIcon {
    int size = 0;
    std::vector<std::uint8_t> bits;  // size * size, row by row
};
ToolIcon load_tool_icon(int tool, int scale);
// The same for icon n of another palette's set (data/ui/icons/<stem><n>.pbm).
ToolIcon load_palette_icon(const char* stem, int n, int scale);
// A palette square: white in a black frame, the icon centred, grey (every
// other pixel) while the item is inactive; with `sharp`, high-density screens
// show it drawn from that 2x icon.
void draw_icon_square(plat::Dialog* dialog, int item, const ToolIcon& icon, const ToolIcon* sharp = nullptr,
                      bool inverted = false);
// Draws a square of the palette (`square`, in the palette) at `at` of `port`,
// `scale` times its size: frame, icon (grey when inactive), inverted when current.
void draw_tool_square(plat::Port& port, const plat::Rect& square, const plat::Rect& at, int scale,
                      const ToolIcon& icon, bool active, bool inverted);

}  // namespace drav
