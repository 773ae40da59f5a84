// The clipboard window: it shows the picture on the clipboard, scrolled by
// two scroll bars whose values are the scroll distances in pixels.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/core/picture.h"
#include "platform/core/raster.h"
#include "platform/ui/windows.h"

namespace drav {

extern plat::Window* clipCWindow;
extern plat::Control* chorizHdl;  // reference 1
extern plat::Control* cvertHdl;   // reference 2
extern std::unique_ptr<plat::Picture> clipPicHdl;  // the picture shown; none at start
extern std::int16_t dhGraf, dvGraf;                 // the port's origin while the picture is drawn

// Creates the window, hidden, with both scroll bars at 0; called once at
// start-up. clipCWindow stays null when the window cannot be made.
void new_clip_window();
plat::Window* whichclipWindow();
plat::Port* whichclipPort();

// The window's update: the picture at the scroll position, then the bars.
void draw_clip_window();
// Lays out both bars for the window's size and sets their maximums.
void size_clip_scrolls(plat::Window* window);
// Scrolls the content by (dh, dv) pixels.
void scroll_clipwindow(std::int16_t dh, std::int16_t dv);
// One step of an arrow (20, 21) or page part (22, 23) held down; a step that
// would pass an end does nothing.
void cScrollAction(plat::Control* control, std::int16_t part);
// A press in the window (local pixels): the bars are tracked.
void handle_clip_content(plat::Port* port, plat::Point point);
// The window was resized by the user; zoomed in or out.
void growclip(plat::Window* window);
void zoomclip(plat::Window* window, std::int16_t part);
// Origin and both bars back to 0 (before a Copy refreshes the window).
void reset_clip_view();
// Shows this picture: the window narrows to it and the bars follow.
void take_clip_picture(plat::Picture picture);
// The clipboard's picture into the window; nothing changes without one.
void updateClipboard();
// The clipboard's picture; false when there is none.
bool scrap_picture(plat::Picture* picture);

}  // namespace drav
