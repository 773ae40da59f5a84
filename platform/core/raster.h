// Ports: 32-bit pixel buffers with the classic pen state, drawn by our own
// rasteriser (Bresenham lines, midpoint ovals, even-odd polygons), and the
// current-port stack.
//
// Pixels are 0xAARRGGBB with alpha always 0xFF (the layout of a Format_RGB32
// image); each 8-bit channel is the high byte of the 16-bit colour component.
// Coordinates are 16-bit, y downward; a point names the pixel whose top-left
// corner it is, and rectangles hold right and bottom exclusive. Everything is
// clipped to the clip rectangle and to the buffer, whatever the coordinates.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/core/qd_types.h"

namespace plat {

// A clip that clips nothing but the buffer.
inline constexpr Rect wide_open_rect{-32767, -32767, 32767, 32767};

struct RGBColor {
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
    friend bool operator==(const RGBColor&, const RGBColor&) = default;
};

inline constexpr std::uint32_t black_pixel = 0xFF000000u;
inline constexpr std::uint32_t white_pixel = 0xFFFFFFFFu;

std::uint32_t pixel_of(const RGBColor& c);
// Each channel byte repeated: 0xCC becomes 0xCCCC.
RGBColor color_of(std::uint32_t pixel);

// 8 rows, top first; bit 7 is the leftmost pixel; a set bit is foreground.
// A pattern is aligned to the port's local coordinates: local point (h, v)
// takes bit 7 - (h & 7) of row v & 7.
using Pattern = std::array<std::uint8_t, 8>;
inline constexpr Pattern black_pattern{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
inline constexpr Pattern white_pattern{0, 0, 0, 0, 0, 0, 0, 0};
inline constexpr Pattern gray_pattern{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};

// Transfer modes on colour pixels. D is the destination pixel, F and B the
// destination port's fore and back colours.
//
// Pen drawing (lines, frames, paints, dots) uses the pattern modes; a set
// pattern bit is "on":
//   patCopy     D = on ? F : B          notPatCopy  D = on ? B : F
//   patOr       on: D = F               notPatOr    off: D = F
//   patXor      on: D = D ^ 0xFFFFFF    notPatXor   off: D = D ^ 0xFFFFFF
//   patBic      on: D = B               notPatBic   off: D = B
// XOR flips the colour bits and keeps alpha, so drawing twice restores every
// byte. A source mode given as the pen mode acts as its pattern mode.
//
// Pixel copies use the source modes; a source pixel S is "on" when it differs
// from the source port's back colour:
//   srcCopy     D = S                   notSrcCopy  D = S ^ 0xFFFFFF
//   srcOr       on: D = S               notSrcOr    off: D = F
//   srcXor      on: D = D ^ 0xFFFFFF    notSrcXor   off: D = D ^ 0xFFFFFF
//   srcBic      on: D = B               notSrcBic   off: D = B
// A pattern mode given to a copy acts as its source mode.
enum TransferMode : std::int16_t {
    srcCopy = 0,
    srcOr = 1,
    srcXor = 2,
    srcBic = 3,
    notSrcCopy = 4,
    notSrcOr = 5,
    notSrcXor = 6,
    notSrcBic = 7,
    patCopy = 8,
    patOr = 9,
    patXor = 10,
    patBic = 11,
    notPatCopy = 12,
    notPatOr = 13,
    notPatXor = 14,
    notPatBic = 15,
};

// The pen: its top-left corner is at the location; size is (v = height,
// h = width). A pen with a side of 0 or less draws no lines or frames.
struct PenState {
    Point location;
    Point size{1, 1};
    std::int16_t mode = patCopy;
    Pattern pattern = black_pattern;
    friend bool operator==(const PenState&, const PenState&) = default;
};

// One row's run of pixels x0 <= x < x1, in local coordinates.
struct Span {
    int y = 0;
    int x0 = 0;
    int x1 = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

class Region;
class RegionRecorder;
class Picture;
class PictureRecorder;
struct DrawState;

// While a region or a picture records on a port, the pen is hidden: drawing
// goes into the recording and no pixel changes (pixel copies excepted).
class Port {
public:
    // A port of 0 x 0 pixels; resize() gives it a buffer.
    Port();
    Port(int width, int height);
    ~Port();
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    // A new buffer of width x height pixels (each 0..32767) erased to the
    // back colour. False, and 0 x 0, when it is too large or cannot be had.
    // The buffer's memory is only reserved: the port stays blank, costing
    // neither time nor resident memory, until something changes a pixel.
    bool resize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    // Nothing has changed a pixel since resize(): every pixel is the back
    // colour resize() found, pixel(0, 0).
    bool blank() const { return blank_; }
    // Buffer coordinates; 0 outside the buffer.
    std::uint32_t pixel(int x, int y) const;
    // Rows of width() pixels, top row first. These give a blank port its
    // pixels first.
    const std::vector<std::uint32_t>& pixels() const {
        fill_blank();
        return buf_;
    }
    std::uint32_t* row(int y) {
        fill_blank();
        return buf_.data() + static_cast<std::size_t>(y) * width_;
    }
    // The buffer area changed since the last call, in buffer coordinates
    // (right and bottom exclusive); false when nothing changed. Windows use
    // it to present only what was drawn.
    bool take_changed(Rect* changed);
    // Counts every change of pixels: a reader that kept the count knows
    // whether anything was drawn since.
    std::uint64_t changes() const { return changes_; }
    void mark_changed(int l, int t, int r, int b) {
        ++changes_;
        if (l < changed_l_) changed_l_ = l;
        if (t < changed_t_) changed_t_ = t;
        if (r > changed_r_) changed_r_ = r;
        if (b > changed_b_) changed_b_ = b;
    }
    const std::uint32_t* row(int y) const {
        fill_blank();
        return buf_.data() + static_cast<std::size_t>(y) * width_;
    }

    // The local point (h, v) becomes the buffer's top-left pixel. The clip
    // stays where it is in local coordinates.
    void set_origin(std::int16_t h, std::int16_t v);
    Point origin() const { return origin_; }
    // The buffer in local coordinates (limited to 16 bits).
    Rect port_rect() const;
    void set_clip(const Rect& r) {
        clip_ = r;
        ++serial_;
    }
    Rect clip() const { return clip_; }

    const PenState& pen_state() const { return pen_; }
    void set_pen_state(const PenState& s) {
        pen_ = s;
        ++serial_;
    }
    Point pen_location() const { return pen_.location; }
    void set_pen_size(std::int16_t width, std::int16_t height) {
        pen_.size = {height, width};
        ++serial_;
    }
    Point pen_size() const { return pen_.size; }
    void set_pen_mode(std::int16_t mode) {
        pen_.mode = static_cast<std::int16_t>(mode & 15);
        ++serial_;
    }
    std::int16_t pen_mode() const { return pen_.mode; }
    void set_pen_pattern(const Pattern& p) {
        pen_.pattern = p;
        ++serial_;
    }
    const Pattern& pen_pattern() const { return pen_.pattern; }
    // Size 1 x 1, patCopy, black pattern; the location stays.
    void pen_normal();

    void set_fore_color(const RGBColor& c) {
        fore_ = c;
        ++serial_;
    }
    RGBColor fore_color() const { return fore_; }
    void set_back_color(const RGBColor& c) {
        back_ = c;
        ++serial_;
    }
    RGBColor back_color() const { return back_; }

    // Moves and lines. Relative moves saturate at the 16-bit range.
    void move_to(std::int16_t h, std::int16_t v);
    void move(std::int16_t dh, std::int16_t dv);
    // Draws the pen along the line: with a 1 x 1 pen both end pixels; with a
    // larger pen the union of its rectangles, each pixel once. The same
    // pixels whichever way the line is drawn.
    void line_to(std::int16_t h, std::int16_t v);
    void line(std::int16_t dh, std::int16_t dv);
    // One pixel in the pen's mode and pattern, whatever the pen size.
    void dot(std::int16_t h, std::int16_t v);

    // Frames lie inside the shape, the pen's width at the sides and its
    // height at top and bottom. Paint uses the pen's mode and pattern, erase
    // the back colour, invert flips the colour bits.
    void frame_rect(const Rect& r);
    void paint_rect(const Rect& r);
    void erase_rect(const Rect& r);
    void invert_rect(const Rect& r);

    // The oval inscribed in r: the pixels whose centres lie inside the
    // ellipse, exact and symmetric for even and odd sizes. Its frame is the
    // oval less the oval of r inset by the pen size.
    void frame_oval(const Rect& r);
    void paint_oval(const Rect& r);
    void erase_oval(const Rect& r);
    void invert_oval(const Rect& r);

    // Framing draws the pen along the points in order (closed only when the
    // last point repeats the first), each pixel once. Painting fills, even-odd,
    // the pixels whose centres lie inside the closed outline.
    void frame_poly(std::span<const Point> points);
    void paint_poly(std::span<const Point> points);
    void erase_poly(std::span<const Point> points);
    void invert_poly(std::span<const Point> points);

    // Regions are in local coordinates. The frame is the region less the
    // region shrunk by the pen size.
    void frame_region(const Region& rgn);
    void paint_region(const Region& rgn);
    void erase_region(const Region& rgn);
    void invert_region(const Region& rgn);

    // Moves every pixel of the buffer by (dh, dv); what moves out is lost,
    // what is left uncovered takes the back colour. Not recorded.
    void scroll_pixels(int dh, int dv);

    // A picture comment; recorded when a picture is open, else ignored.
    // 0 when the data is longer than a comment can hold.
    int comment(std::int16_t kind, std::span<const std::uint8_t> data = {});

    // Region recording: lines (and polygon frames) drawn while it is open
    // join into outlines, each closed when the region is; framed rectangles,
    // ovals and regions add their outlines. 0 when one is already open.
    int open_region();
    // The recorded region; empty when none was open.
    Region close_region();
    bool recording_region() const { return region_rec_ != nullptr; }

    // Picture recording in local coordinates; frame is the picture's frame.
    // Pixel copies are not recorded. 0 when one is already open.
    int open_picture(const Rect& frame);
    Picture close_picture();
    bool recording_picture() const { return picture_rec_ != nullptr; }

    // A sharper picture of an area, for screens with more pixels per point:
    // `scale` times the area's size (buffer coordinates), rows top first.
    // The area's pixels as they are now are kept with it, so a presenter
    // shows the detail only while the area still holds them (or exactly
    // their inverse, shown as the inverted detail). A detail for the same
    // area replaces the earlier one; a wrong size is refused.
    struct Detail {
        Rect area;
        int scale = 1;
        std::vector<std::uint32_t> pixels;
        std::vector<std::uint32_t> base;
    };
    bool set_detail(const Rect& area, int scale, std::vector<std::uint32_t> pixels);
    const std::vector<Detail>& details() const { return details_; }
    // 1 the area holds the pixels it held when its detail was set, -1 their
    // inverse, 0 anything else.
    int detail_state(const Detail& d) const;

private:
    struct Ink {
        int op = 0;  // 0..7: copy, or, xor, bic; +4 for the inverted modes
        Pattern pattern = black_pattern;
        std::uint32_t fore = black_pixel;
        std::uint32_t back = white_pixel;
    };
    enum class Fill { pen, erase, invert };

    Ink ink(Fill f) const;
    // Gives a blank port its pixels, into the memory resize() reserved.
    void fill_blank() const {
        if (blank_) fill_blank_now();
    }
    void fill_blank_now() const;
    bool hidden() const { return region_rec_ || picture_rec_; }
    void fill_run(const Ink& ink, int y, int x0, int x1);
    void fill_local_spans(std::span<const Span> spans, const Ink& ink);
    class SolidWriter;
    friend class SolidWriter;
    void draw_line(Point a, Point b, Point pen_size);
    // The colour such a line draws; false when the pen draws something else.
    bool solid_colour(std::uint32_t* c) const;
    // The same for an ink: one colour whatever the pixel (fast paths on).
    static bool solid_ink(const Ink& k, std::uint32_t* c);
    // What a one-pixel line needs, worked out once per change of the pen,
    // colour, clip or buffer rather than once per line.
    struct LinePen {
        std::uint32_t serial = 0;
        bool fast_flag = false;
        bool on = false;
        std::uint32_t colour = 0;
        int l = 0, t = 0, r = 0, b = 0;
    };
    void refresh_line_pen();
    // One line of colour c inside the box (l, t, r, b), buffer coordinates.
    void store_line(int x0, int y0, int x1, int y1, int l, int t, int r, int b, std::uint32_t c);
    friend class LineRun;
    // The first pixel of the buffer, for loops that write rows themselves; a
    // blank port gets its pixels first.
    std::uint32_t* writable_pixels() {
        fill_blank();
        return buf_.data();
    }
    void rect_op(const Rect& r, Fill f, bool frame, std::uint16_t opcode);
    void oval_op(const Rect& r, Fill f, bool frame, std::uint16_t opcode);
    // The pen's one colour when it draws one and r (local) lies wholly inside
    // the visible box: such shapes need no clipping.
    bool solid_pen_inside(const Rect& r, std::uint32_t* c);
    // The oval inscribed in r, less the one in inner where given, in colour c,
    // r wholly inside the visible box.
    void store_oval(const Rect& r, const Rect* inner, std::uint32_t c);
    void poly_op(std::span<const Point> points, Fill f, std::uint16_t opcode);
    void region_op(const Region& rgn, Fill f, std::uint16_t opcode);
    // The region's pixels in colour c, straight from its crossings.
    void paint_region_solid(const Region& rgn, std::uint32_t c);
    DrawState state() const;

    friend void copy_bits(const Port&, Port&, const Rect&, const Rect&, std::int16_t);

    int width_ = 0;
    int height_ = 0;
    // Blank: buf_ is empty with width_ * height_ reserved, every pixel
    // blank_pixel_. Filling it changes no pixel, so readers may do it. Code
    // that writes pixels reaches buf_ through row() or calls fill_blank()
    // first.
    mutable std::vector<std::uint32_t> buf_;
    mutable bool blank_ = false;
    std::uint32_t blank_pixel_ = white_pixel;
    int changed_l_ = 1 << 30, changed_t_ = 1 << 30, changed_r_ = -1, changed_b_ = -1;
    std::uint64_t changes_ = 0;
    Point origin_;
    Rect clip_ = wide_open_rect;
    PenState pen_;
    // Bumped by every change a line's pixels depend on (pen, colours, clip,
    // origin, buffer); line_pen_ is valid while it holds the same value.
    std::uint32_t serial_ = 1;
    LinePen line_pen_;
    RGBColor fore_{0, 0, 0};
    RGBColor back_{0xFFFF, 0xFFFF, 0xFFFF};
    std::vector<Detail> details_;
    std::unique_ptr<RegionRecorder> region_rec_;
    std::unique_ptr<PictureRecorder> picture_rec_;
};

// The runs of the oval inscribed in r in rows y_from <= y < y_to, at most one
// a row, top row first.
std::vector<Span> oval_spans(const Rect& r, int y_from, int y_to);

// Copies src_rect of src (its local coordinates) to dst_rect of dst (dst's),
// through dst's clip. Rectangles of different sizes scale by the nearest
// pixel. The same port may be both source and destination.
void copy_bits(const Port& src, Port& dst, const Rect& src_rect, const Rect& dst_rect,
               std::int16_t mode);

// Many one-pixel lines into one port, with the clip box, the transfer mode
// and the pattern looked at once and the colour once per change: the same
// pixels, pen position and changed area as move_to and line_to. Where the
// port's pen is not a one-pixel solid copy (or a region or picture records)
// each line goes through line_to instead.
class LineRun {
public:
    explicit LineRun(Port& port);
    // After the port's fore colour changed.
    void colour_changed();
    void line(std::int16_t h0, std::int16_t v0, std::int16_t h1, std::int16_t v1);
    // The same for many lines in order, with the buffer and its box looked
    // at once for all: what a replay hands over between colour changes.
    struct Ends {
        std::int16_t h0, v0, h1, v1;
    };
    void lines(std::span<const Ends> ends);
    // Whether lines go straight into the buffer, and in which pixel: lines
    // batched across colour changes are handed over with the pixel they
    // were batched under.
    bool direct() const { return direct_; }
    std::uint32_t colour() const { return colour_; }
    void lines(std::span<const Ends> ends, std::uint32_t colour) {
        const std::uint32_t now = colour_;
        colour_ = colour;
        lines(ends);
        colour_ = now;
    }

    // The four-lane constants of the inside test: origin, box and row
    // length, which the run keeps as it keeps the box.
    struct Lanes {
        alignas(16) std::int16_t origin[8], above[8], below[8], rows[8];
        Point at{};
    };

private:
    Port& port_;
    bool direct_ = false;
    int l_ = 0, t_ = 0, r_ = 0, b_ = 0;
    std::uint32_t colour_ = 0;
    Lanes lanes_;
};

// Whether one-pixel lines in one colour take their own loop (on at start);
// tests turn it off to compare with the general path.
void set_fast_lines(bool on);
bool fast_lines();

// The current port: nullptr until one is set, and again when it is
// destroyed.
Port* current_port();
void set_port(Port* port);

// Saves the current port and restores it when it goes out of scope; a saved
// port destroyed meanwhile is restored as nullptr.
class PortSaver {
public:
    PortSaver();
    // Saves and then makes `port` current.
    explicit PortSaver(Port* port);
    ~PortSaver();
    PortSaver(const PortSaver&) = delete;
    PortSaver& operator=(const PortSaver&) = delete;

private:
    friend class Port;
    Port* saved_;
    PortSaver* next_;
};

}  // namespace plat
