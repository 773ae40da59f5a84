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
inline constexpr std::uint16_t op_text_font = 0x0003;   // word
inline constexpr std::uint16_t op_text_face = 0x0004;   // byte
inline constexpr std::uint16_t op_oval_size = 0x000B;   // point (v, h)
inline constexpr std::uint16_t op_origin = 0x000C;      // dh, dv
inline constexpr std::uint16_t op_text_size = 0x000D;   // word
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
inline constexpr std::uint16_t op_long_text = 0x0028;        // point, count, text
inline constexpr std::uint16_t op_dh_text = 0x0029;          // dh, count, text
inline constexpr std::uint16_t op_dv_text = 0x002A;          // dv, count, text
inline constexpr std::uint16_t op_dhdv_text = 0x002B;        // dh, dv, count, text
// Shape operations: frame, paint, erase, invert at +0..+3 of the base; the
// "same" forms at +8..+11 reuse the shape's last rectangle.
inline constexpr std::uint16_t op_rect = 0x0030;           // rect
inline constexpr std::uint16_t op_rrect = 0x0040;          // rect (corners: op_oval_size)
inline constexpr std::uint16_t op_oval = 0x0050;           // rect
inline constexpr std::uint16_t op_arc = 0x0060;            // rect, start angle, arc angle
inline constexpr std::uint16_t op_poly = 0x0070;           // size, box, points
inline constexpr std::uint16_t op_region = 0x0080;         // region
inline constexpr std::uint16_t op_pack_bits_rect = 0x0098;  // bitmap, src, dst, mode, rows
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

// ---- PICT data ----
// A picture file holds a header of this many bytes (of no meaning) before
// the picture.
inline constexpr std::size_t pict_file_header_bytes = 512;

// The bytes of a version 2 picture: size word, frame, version and header
// operations, every operation (its data padded to an even length) and the
// end. The size word holds the low 16 bits of the length, as usual for
// pictures beyond 32 K.
std::vector<std::uint8_t> picture_bytes(const Picture& picture);

// Reads a picture (version 1 or 2, no file header) from untrusted bytes:
// every operation's length is worked out from its opcode and checked against
// the data before anything is taken. The version, header and end
// operations are framing and are not kept in `out->ops`. 1 when the
// picture was read to its end operation; 0 when it is truncated, holds an
// opcode whose length cannot be known (pixel patterns; in version 1 anything
// past the comments) or is no picture: `out` is then empty. Bitmap and
// pixel map operations are sized from their headers and rows, packed or not,
// and kept.
int read_picture(std::span<const std::uint8_t> bytes, Picture* out);

// Appends a one-bit bitmap of the port's area `src` to the picture, reduced
// or enlarged to `dst` (picture coordinates): a bit is black when any pixel
// of the source it covers is not white, so that thin lines survive a
// reduction. Nothing when either rectangle is empty.
void add_bitmap(Picture& picture, const Port& port, const Rect& src, const Rect& dst);

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
