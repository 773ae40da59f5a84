// The frame every drawing command shares: the dispatcher by tool code, the
// preparation of the object in hand, storing a finished piece as its own
// undoable operation, and the keys and restraint every loop knows.
#pragma once

#include <cstdint>

#include "base/tool_options.h"

namespace drav {

extern std::int16_t save_indx;     // first record this command added
extern std::uint16_t update_info;  // a drawing command runs

// Tool codes of the drawing commands.
constexpr int tool_line = 4, tool_wall = 5, tool_rect = 6, tool_polygon = 7, tool_circle = 8, tool_ellipse = 9, tool_arc = 10, tool_curve = 11, tool_point = 12, tool_text = 13;

// Keys every drawing command knows, upper-cased as get_point gives them.
constexpr int key_esc = 27, key_quit = 'Q', key_undo = 'U';
constexpr int tool_select_code = 2;  // the select tool, current once a command ends with Q

// Runs the drawing command of the tool code to its end.
void add_objects(int tool);

// ESC (sets `aborted`) and 'Q' (sets `quit`, the select tool next) end a
// drawing command in any of its steps: true for either.
bool end_key(int key);

// The object in hand becomes a new object of this kind with the current
// properties; `marks` applies the options' arrow, marker and template.
void begin_object(int kind, const ObjOptsRec& opts, bool marks);
// Level, width and colour of the object in hand from the current
// properties, and its line style unless it is a template object.
void take_properties();
// Registers an objects-added operation and stores the object in hand;
// 1 when stored.
int store_piece();
// After a stored piece the object in hand stays the template of the next,
// held in the new free slot.
void keep_as_template();
// The object in hand shown as a blinking line from its start while the next
// point is asked with `prompt`; nothing is accepted yet.
void start_line_band(int prompt);
// Takes the band off and gives `info` back its own kind, with no offset left.
void end_line_band(int kind);
// The restraint in force for every command.
void set_lock_mode(int lock);

// `lock_mode` and the rotation increment as a command's loop last saw
// them; `changed` tells when either moved since, and remembers the new pair.
struct RestraintSeen {
    std::int16_t lock = -1;
    double step = 0;
    bool changed(const ObjOptsRec& opts);
};

// Projects (dx, dy) onto the direction `angle` (radians): the part of it
// along that direction.
void project_on(double angle, double* dx, double* dy);
// The direction under the angle-stepping lock: the multiple of `step` at or
// below the direction of (dx, dy) taken in [0, 2 pi). A step at or below
// `small_tol` means no stepping: the direction itself.
double stepped_direction(double dx, double dy, double step);

}  // namespace drav
