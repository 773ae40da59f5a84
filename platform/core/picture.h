// Pictures: drawing operations recorded from a port and played back into a
// port, optionally scaled. Each operation is a version 2 picture opcode with
// its data laid out as a picture file holds it (big-endian), so that writing
// and reading picture files only adds the header and the framing.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/core/raster.h"

namespace plat {

namespace pict {
inline constexpr std::uint16_t op_nop = 0x0000;
inline constexpr std::uint16_t op_clip = 0x0001;         // region
inline constexpr std::uint16_t op_pen_size = 0x0007;     // point (v, h)
inline constexpr std::uint16_t op_pen_mode = 0x0008;     // word
inline constexpr std::uint16_t op_pen_pattern = 0x0009;  // 8 bytes
inline constexpr std::uint16_t op_version = 0x0011;      // 0x02FF
inline constexpr std::uint16_t op_fore_color = 0x001A;   // red, green, blue
inline constexpr std::uint16_t op_back_color = 0x001B;
inline constexpr std::uint16_t op_default_hilite = 0x001E;
inline constexpr std::uint16_t op_line = 0x0020;             // from point, to point
inline constexpr std::uint16_t op_line_from = 0x0021;        // to point
inline constexpr std::uint16_t op_short_line = 0x0022;       // from point, dh, dv (bytes)
inline constexpr std::uint16_t op_short_line_from = 0x0023;  // dh, dv
// Shape operations: frame, paint, erase, invert at +0..+3 of the base; the
// "same" forms at +8..+11 reuse the shape's last rectangle.
inline constexpr std::uint16_t op_rect = 0x0030;           // rect
inline constexpr std::uint16_t op_oval = 0x0050;           // rect
inline constexpr std::uint16_t op_poly = 0x0070;           // size, box, points
inline constexpr std::uint16_t op_region = 0x0080;         // region
inline constexpr std::uint16_t op_short_comment = 0x00A0;  // kind
inline constexpr std::uint16_t op_long_comment = 0x00A1;   // kind, size, data
inline constexpr std::uint16_t op_end = 0x00FF;
inline constexpr std::uint16_t op_header = 0x0C00;  // 24 bytes
inline constexpr std::uint16_t frame = 0, paint = 1, erase = 2, invert = 3;
}  // namespace pict

struct PictOp {
    std::uint16_t opcode = 0;
    std::vector<std::uint8_t> data;
    friend bool operator==(const PictOp&, const PictOp&) = default;
};

// Playback starts from a pen of 1 x 1 in patCopy with the black pattern,
// black on white, and sets state only through its operations.
class Picture {
public:
    Rect frame;
    std::vector<PictOp> ops;
};

// Plays the picture into the port, its frame mapped onto dst. The port's pen,
// colours and clip are as before afterwards. 1 when every operation was
// played; 0 when some were unknown or malformed (those are skipped) or the
// frame is empty (nothing is drawn).
int draw_picture(Port& port, const Picture& picture, const Rect& dst);

// What a recorded operation depends on (used by Port).
struct DrawState {
    Point pen_size{1, 1};
    std::int16_t mode = patCopy;
    Pattern pattern = black_pattern;
    RGBColor fore{0, 0, 0};
    RGBColor back{0xFFFF, 0xFFFF, 0xFFFF};
    Rect clip = wide_open_rect;
};

// Turns a port's drawing into operations, writing state changes only when an
// operation needs them (used by Port).
class PictureRecorder {
public:
    explicit PictureRecorder(const Rect& frame) { picture_.frame = frame; }
    void line(const DrawState& s, Point from, Point to);
    // op is pict::op_rect or op_oval plus pict::frame .. invert.
    void shape(const DrawState& s, std::uint16_t opcode, const Rect& r);
    void poly(const DrawState& s, std::uint16_t opcode, std::span<const Point> points);
    void region(const DrawState& s, std::uint16_t opcode, const Region& rgn);
    // 0 when the data is too long for a comment.
    int comment(std::int16_t kind, std::span<const std::uint8_t> data);
    Picture finish();

private:
    void sync(const DrawState& s);
    Picture picture_;
    DrawState recorded_;
};

}  // namespace plat
