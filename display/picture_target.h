// The renderer's picture target: objects drawn by the screen renderer into a
// port that records a picture instead of pixels, in the drawing window's
// pixel coordinates, with group comments around the objects a picture's
// primitives cannot carry exactly.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/picture.h"
#include "store/records.h"

namespace drav {

// Picture comments of the export.
constexpr std::int16_t pic_drawing_begin = 130, pic_drawing_end = 131;
constexpr std::int16_t pic_group_begin = 140, pic_group_end = 141;

// 1 when the object needs the comment bracket, 0 when one plain picture
// primitive renders it.
std::int16_t emitPICTcomment(const ObjectRec& rec);
// The bracket test with the markers: 1 when the object is bracketed.
std::int16_t pict_bracketed(const ObjectRec& rec);

// Draws into the current port, which records a picture: each live object
// in 36 .. `number_of_objects` - 1 that `take` admits, bracketed where
// needed, a text joined with its continuation first.
void pict_objects(const std::function<bool(std::int16_t)>& take);
// The selection group (group mode) or the current object, into the picture
// the caller has open on the current port.
void cut_pict();

// Records `draw` through the renderer into a picture whose frame is the
// offscreen copy's (the screen's) bounds. The screen, the display list and
// the current record are as they were afterwards.
plat::Picture record_picture(const std::function<void()>& draw);
// Draws `draw` through the renderer into `port` (pixels, or a picture when
// one is open on it), in the offscreen copy's coordinates; the same care for
// the screen as `record_picture`.
void draw_into_port(plat::Port& port, const std::function<void()>& draw);
// The same recorded into a picture with the given frame.
plat::Picture record_picture(const std::function<void()>& draw, const plat::Rect& frame);

// PICT export of the selection: the selection group in group mode, else the
// current object, as a picture and as its PICT bytes (no file header).
plat::Picture selection_picture();
std::vector<std::uint8_t> selection_pict_bytes();

}  // namespace drav
