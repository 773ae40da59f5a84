// The tool palette: one square per tool (items 2 to 19 of dialog 407), the
// current tool inverted. A click starts the tool's command; a click while a
// command runs ends that command first and is replayed by the event pump.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/dialogs.h"

namespace drav {

constexpr int tool_palette_id = 407;
constexpr int first_tool = 2, last_tool = 19;
constexpr int tool_select = 2, tool_group = 3, tool_move = 14;
// Alert of table 405: a transform tool chosen on an empty drawing.
constexpr int alert_no_objects = 3;

extern plat::Dialog* addDPtr;   // the palette, null while closed
extern std::int16_t addnum;     // the current tool; 2 (select) between commands

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
struct ToolIcon {
    int size = 0;
    std::vector<std::uint8_t> bits;  // size * size, row by row
};
ToolIcon load_tool_icon(int tool, int scale);
constexpr int icon_size = 16;
// A plain PBM icon of data/ui/icons of `size` x `size` pixels; empty when
// missing or malformed.
ToolIcon load_icon_file(const std::string& name, int size);

}  // namespace drav
