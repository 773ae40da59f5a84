// Program windows. Each owns a port the size of its content: the system draws
// into the port and the window presents what changed. The layer keeps its own
// front-to-back list with palettes above documents, because the system relies
// on the exact order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/qd_types.h"
#include "platform/core/raster.h"

namespace plat {

enum class WindowKind : int { other = 0, document = 1, palette = 2, extension_palette = 3 };

struct WindowSpec {
    WindowKind kind = WindowKind::document;
    Rect bounds;           // the content area in global pixels
    std::string title;     // UTF-8
    bool visible = false;
    bool grow_box = false; // the user may resize it
    bool main = false;     // the main window: it carries the menu bar
    long refcon = 0;
};

class Window;
class Control;

Window* new_window(const WindowSpec& desc);
void dispose_window(Window* w);

Port* window_port(Window* w);
// The window whose content port this is; nullptr for any other port.
Window* window_of_port(const Port* p);
WindowKind window_kind(const Window* w);
long window_refcon(const Window* w);
void set_window_refcon(Window* w, long refcon);

void set_window_title(Window* w, const std::string& utf8);
std::string window_title(const Window* w);

// The content area in global pixels.
Rect window_bounds(const Window* w);
// Moves the content's top-left corner to (left, top); `front` also selects it.
void move_window(Window* w, int left, int top, bool front);
// Resizes the content; the port follows, keeping what it showed.
void size_window(Window* w, int width, int height);
// The smallest content the window may be sized to, by the user or by the
// program.
void set_minimum_size(Window* w, int width, int height);
// True once after the user changed the window's size.
bool take_resized(Window* w);

void show_window(Window* w);
void hide_window(Window* w);
bool window_visible(const Window* w);
// Front of its layer: palettes stay above documents.
void select_window(Window* w);
// Moves w in the list to just behind `behind` (to the back when null),
// whatever its kind: the program keeps its own layering.
void send_behind(Window* w, Window* behind);
// Moves w to the very front of the list, whatever its kind, without
// taking the keyboard focus.
void bring_to_front(Window* w);
// The layer's own active look: a hilited document shows its scroll bars, a
// hilited palette is drawn active. The window manager draws the title bars.
void set_window_hilite(Window* w, bool hilited);
bool window_hilited(const Window* w);
// The main window carries the menu bar; closing it asks to quit.
bool window_is_main(const Window* w);
// Every window, front to back.
std::vector<Window*> window_list();
Window* front_window();
// The front-most visible window whose content holds the global point.
Window* find_window(Point global);

// Areas that need redrawing by the system (update events).
void invalidate_rect(Window* w, const Rect& local);
void validate_rect(Window* w, const Rect& local);
// The invalid area's bounding box; false when nothing is invalid. Taking it
// validates it.
bool take_invalid(Window* w, Rect* local);
bool window_has_invalid(const Window* w);

// Presents what was drawn into every window's port since the last call.
void present_windows();

// The main screen's available area, or $DRAVELIN_SCREEN ("1280x800").
Rect screen_bounds();

// Scroll bars inside a window's content, in local pixels.
Control* new_scroll_bar(Window* w, const Rect& local, long refcon, int value, int min, int max);
void dispose_control(Control* c);
Window* control_window(const Control* c);
long control_refcon(const Control* c);
int control_value(const Control* c);
int control_minimum(const Control* c);
int control_maximum(const Control* c);
void set_control_value(Control* c, int v);
void set_control_minimum(Control* c, int v);
void set_control_maximum(Control* c, int v);
Rect control_rect(const Control* c);
void move_control(Control* c, int left, int top);
void size_control(Control* c, int width, int height);
void show_control(Control* c);
void hide_control(Control* c);
bool control_visible(const Control* c);
std::vector<Control*> window_controls(const Window* w);
// Parts of a scroll bar a press can hit.
constexpr std::int16_t inUpButton = 20, inDownButton = 21, inPageUp = 22, inPageDown = 23, inThumb = 129;
// The visible scroll bar of w under the local point, and the part hit; 0
// (and *which null) when none.
std::int16_t find_control(Window* w, Point local, Control** which);
// The value the thumb takes when it is dragged from one local point to
// another (the bar's value itself is not changed).
int thumb_value(const Control* c, Point from, Point to);
// The middle of the thumb, in the window's local pixels.
Point thumb_center(const Control* c);
// With tracked set, presses on the bar reach the program as content clicks
// of its window, which tracks them itself; otherwise the bar acts alone.
void set_control_tracked(Control* c, bool tracked);
// Calls action(c, part) once, then again every few ticks while the button
// stays down; returns when it is let go (its mouse-up taken from the queue).
void track_control(Control* c, std::int16_t part, const std::function<void(Control*, std::int16_t)>& action);
// A press at the local point on c's thumb: the thumb follows the pointer
// until the button is let go (its mouse-up taken from the queue), then the
// bar takes the value where it was dropped. True when the value changed.
bool track_thumb(Control* c, Point press);

// One-line text fields inside a window's content (a palette's own fields),
// in local pixels; they live as long as the window. Text is UTF-8, the
// selection in characters.
class TextField;
TextField* new_text_field(Window* w, const Rect& local);
void set_text_field_text(TextField* f, const std::string& utf8);
std::string text_field_text(const TextField* f);
void select_text_field(TextField* f, int start, int end);

}  // namespace plat
