#include "platform/core/picture.h"

#include <algorithm>

#include "platform/core/region.h"

namespace plat {

namespace {

// A polygon's size is a 16-bit word: 10 bytes and 4 a point.
constexpr std::size_t max_poly_points = (0x7FFF - 10) / 4;

void put16(std::vector<std::uint8_t>& d, int v) {
    d.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    d.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

void put_point(std::vector<std::uint8_t>& d, Point p) {
    put16(d, p.v);
    put16(d, p.h);
}

void put_rect(std::vector<std::uint8_t>& d, const Rect& r) {
    put16(d, r.top);
    put16(d, r.left);
    put16(d, r.bottom);
    put16(d, r.right);
}

std::int16_t get16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(d[at] << 8 | d[at + 1]));
}

Point get_point(const std::vector<std::uint8_t>& d, std::size_t at) {
    return {get16(d, at), get16(d, at + 2)};
}

Rect get_rect(const std::vector<std::uint8_t>& d, std::size_t at) {
    return {get16(d, at), get16(d, at + 2), get16(d, at + 4), get16(d, at + 6)};
}

// The picture's frame onto the destination rectangle.
struct Mapping {
    Rect from, to;
    long long fw, fh, tw, th;
    Mapping(const Rect& f, const Rect& t)
        : from(f),
          to(t),
          fw(f.right - f.left),
          fh(f.bottom - f.top),
          tw(t.right - t.left),
          th(t.bottom - t.top) {}
    std::int16_t h(long long x) const {
        return clamp16(to.left + floor_div((x - from.left) * tw, fw));
    }
    std::int16_t v(long long y) const {
        return clamp16(to.top + floor_div((y - from.top) * th, fh));
    }
    Point point(Point p) const { return {v(p.v), h(p.h)}; }
    Rect rect(const Rect& r) const { return {v(r.top), h(r.left), v(r.bottom), h(r.right)}; }
    // Pen sizes scale but never below one pixel; an empty side stays empty.
    Point size(Point s) const {
        const auto one = [](long long n, long long num, long long den) {
            return n <= 0 ? clamp16(n) : clamp16(std::max<long long>(1, n * num / den));
        };
        return {one(s.v, th, fh), one(s.h, tw, fw)};
    }
    Region region(const Region& r) const {
        Region out;
        for (const Region::Edge& e : r.edges()) out.add_edge(point(e.a), point(e.b));
        return out;
    }
};

Rect intersection(const Rect& a, const Rect& b) {
    return {std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
            std::min(a.right, b.right)};
}

void shape_op(Port& port, std::uint16_t kind, bool oval, const Rect& r) {
    switch (kind) {
        case pict::frame: oval ? port.frame_oval(r) : port.frame_rect(r); break;
        case pict::paint: oval ? port.paint_oval(r) : port.paint_rect(r); break;
        case pict::erase: oval ? port.erase_oval(r) : port.erase_rect(r); break;
        default: oval ? port.invert_oval(r) : port.invert_rect(r); break;
    }
}

}  // namespace

// ---- Recording ----

void PictureRecorder::sync(const DrawState& s) {
    DrawState& r = recorded_;
    std::vector<std::uint8_t> d;
    const auto emit = [&](std::uint16_t op) {
        picture_.ops.push_back({op, std::move(d)});
        d = {};
    };
    if (s.clip != r.clip) {
        put16(d, 10);
        put_rect(d, s.clip);
        emit(pict::op_clip);
    }
    if (s.pen_size != r.pen_size) {
        put_point(d, s.pen_size);
        emit(pict::op_pen_size);
    }
    if (s.mode != r.mode) {
        put16(d, s.mode);
        emit(pict::op_pen_mode);
    }
    if (s.pattern != r.pattern) {
        d.assign(s.pattern.begin(), s.pattern.end());
        emit(pict::op_pen_pattern);
    }
    if (s.fore != r.fore) {
        put16(d, s.fore.red);
        put16(d, s.fore.green);
        put16(d, s.fore.blue);
        emit(pict::op_fore_color);
    }
    if (s.back != r.back) {
        put16(d, s.back.red);
        put16(d, s.back.green);
        put16(d, s.back.blue);
        emit(pict::op_back_color);
    }
    r = s;
}

void PictureRecorder::line(const DrawState& s, Point from, Point to) {
    sync(s);
    std::vector<std::uint8_t> d;
    put_point(d, from);
    put_point(d, to);
    picture_.ops.push_back({pict::op_line, std::move(d)});
}

void PictureRecorder::shape(const DrawState& s, std::uint16_t opcode, const Rect& r) {
    sync(s);
    std::vector<std::uint8_t> d;
    put_rect(d, r);
    picture_.ops.push_back({opcode, std::move(d)});
}

void PictureRecorder::poly(const DrawState& s, std::uint16_t opcode,
                           std::span<const Point> points) {
    if (points.size() > max_poly_points) {
        if (opcode != pict::op_poly + pict::frame) {
            // Too long for one polygon: the same pixels as a region.
            Region area;
            area.add_polygon(points);
            region(s, static_cast<std::uint16_t>(pict::op_region + (opcode - pict::op_poly)), area);
            return;
        }
        // A frame goes in pieces that share their end points.
        for (std::size_t i = 0; i + 1 < points.size(); i += max_poly_points - 1)
            poly(s, opcode, points.subspan(i, std::min(max_poly_points, points.size() - i)));
        return;
    }
    sync(s);
    std::vector<std::uint8_t> d;
    put16(d, static_cast<int>(10 + 4 * points.size()));
    Rect box{32767, 32767, -32768, -32768};
    for (const Point& p : points) {
        box = {std::min(box.top, p.v), std::min(box.left, p.h), std::max(box.bottom, p.v),
               std::max(box.right, p.h)};
    }
    put_rect(d, box);
    for (const Point& p : points) put_point(d, p);
    picture_.ops.push_back({opcode, std::move(d)});
}

void PictureRecorder::region(const DrawState& s, std::uint16_t opcode, const Region& rgn) {
    std::vector<std::vector<std::uint8_t>> pieces = encode_region(rgn);
    if (pieces.empty()) return;
    sync(s);
    for (auto& piece : pieces) picture_.ops.push_back({opcode, std::move(piece)});
}

int PictureRecorder::comment(std::int16_t kind, std::span<const std::uint8_t> data) {
    if (data.size() > 0x7FFF) return 0;
    std::vector<std::uint8_t> d;
    put16(d, kind);
    if (data.empty()) {
        picture_.ops.push_back({pict::op_short_comment, std::move(d)});
        return 1;
    }
    put16(d, static_cast<int>(data.size()));
    d.insert(d.end(), data.begin(), data.end());
    picture_.ops.push_back({pict::op_long_comment, std::move(d)});
    return 1;
}

Picture PictureRecorder::finish() {
    Picture p = std::move(picture_);
    picture_ = {};
    recorded_ = {};
    return p;
}

// ---- Playback ----

int draw_picture(Port& port, const Picture& picture, const Rect& dst) {
    if (picture.frame.empty() || dst.empty()) return 0;
    const Mapping map(picture.frame, dst);
    const PenState saved_pen = port.pen_state();
    const RGBColor saved_fore = port.fore_color(), saved_back = port.back_color();
    const Rect saved_clip = port.clip();
    port.pen_normal();
    port.set_fore_color({0, 0, 0});
    port.set_back_color({0xFFFF, 0xFFFF, 0xFFFF});

    int all_played = 1;
    Point at;  // the pen in the picture's own coordinates
    Rect last_rect, last_oval;
    const auto line = [&](Point from, Point to) {
        port.move_to(map.h(from.h), map.v(from.v));
        port.line_to(map.h(to.h), map.v(to.v));
        at = to;
    };
    for (const PictOp& op : picture.ops) {
        const std::vector<std::uint8_t>& d = op.data;
        const std::size_t n = d.size();
        const std::uint16_t code = op.opcode;
        bool ok = true;
        if (code == pict::op_end) break;
        if (code >= pict::op_rect && code <= pict::op_rect + pict::invert + 8 &&
            (code & 7) <= pict::invert) {
            const bool same = (code & 8) != 0;
            if (same ? n != 0 : n != 8) {
                ok = false;
            } else {
                if (!same) last_rect = get_rect(d, 0);
                shape_op(port, code & 3, false, map.rect(last_rect));
            }
        } else if (code >= pict::op_oval && code <= pict::op_oval + pict::invert + 8 &&
                   (code & 7) <= pict::invert) {
            const bool same = (code & 8) != 0;
            if (same ? n != 0 : n != 8) {
                ok = false;
            } else {
                if (!same) last_oval = get_rect(d, 0);
                shape_op(port, code & 3, true, map.rect(last_oval));
            }
        } else if (code >= pict::op_poly && code <= pict::op_poly + pict::invert) {
            if (n < 10 || static_cast<std::uint16_t>(get16(d, 0)) != n || (n - 10) % 4 != 0) {
                ok = false;
            } else {
                std::vector<Point> pts;
                for (std::size_t at_byte = 10; at_byte < n; at_byte += 4)
                    pts.push_back(map.point(get_point(d, at_byte)));
                switch (code - pict::op_poly) {
                    case pict::frame: port.frame_poly(pts); break;
                    case pict::paint: port.paint_poly(pts); break;
                    case pict::erase: port.erase_poly(pts); break;
                    default: port.invert_poly(pts); break;
                }
            }
        } else if (code >= pict::op_region && code <= pict::op_region + pict::invert) {
            Region rgn;
            if (!decode_region(d, rgn)) {
                ok = false;
            } else {
                const Region mapped = map.region(rgn);
                switch (code - pict::op_region) {
                    case pict::frame: port.frame_region(mapped); break;
                    case pict::paint: port.paint_region(mapped); break;
                    case pict::erase: port.erase_region(mapped); break;
                    default: port.invert_region(mapped); break;
                }
            }
        } else {
            switch (code) {
                case pict::op_nop:
                case pict::op_default_hilite: ok = n == 0; break;
                case pict::op_version: ok = n == 2; break;
                case pict::op_header: ok = n == 24; break;
                case pict::op_clip:
                    // Only the clip's bounding box is kept: ports clip to rectangles.
                    ok = n >= 10 && static_cast<std::uint16_t>(get16(d, 0)) == n;
                    if (ok) port.set_clip(intersection(saved_clip, map.rect(get_rect(d, 2))));
                    break;
                case pict::op_pen_size:
                    ok = n == 4;
                    if (ok) {
                        const Point s = map.size(get_point(d, 0));
                        port.set_pen_size(s.h, s.v);
                    }
                    break;
                case pict::op_pen_mode:
                    ok = n == 2 && get16(d, 0) >= 0 && get16(d, 0) <= notPatBic;
                    if (ok) port.set_pen_mode(get16(d, 0));
                    break;
                case pict::op_pen_pattern:
                    ok = n == 8;
                    if (ok) {
                        Pattern p;
                        std::copy(d.begin(), d.end(), p.begin());
                        port.set_pen_pattern(p);
                    }
                    break;
                case pict::op_fore_color:
                case pict::op_back_color:
                    ok = n == 6;
                    if (ok) {
                        const RGBColor c{static_cast<std::uint16_t>(get16(d, 0)),
                                         static_cast<std::uint16_t>(get16(d, 2)),
                                         static_cast<std::uint16_t>(get16(d, 4))};
                        code == pict::op_fore_color ? port.set_fore_color(c)
                                                    : port.set_back_color(c);
                    }
                    break;
                case pict::op_line:
                    ok = n == 8;
                    if (ok) line(get_point(d, 0), get_point(d, 4));
                    break;
                case pict::op_line_from:
                    ok = n == 4;
                    if (ok) line(at, get_point(d, 0));
                    break;
                case pict::op_short_line:
                    ok = n == 6;
                    if (ok) {
                        const Point from = get_point(d, 0);
                        line(from, {clamp16(from.v + static_cast<std::int8_t>(d[5])),
                                    clamp16(from.h + static_cast<std::int8_t>(d[4]))});
                    }
                    break;
                case pict::op_short_line_from:
                    ok = n == 2;
                    if (ok)
                        line(at, {clamp16(at.v + static_cast<std::int8_t>(d[1])),
                                  clamp16(at.h + static_cast<std::int8_t>(d[0]))});
                    break;
                case pict::op_short_comment: ok = n == 2; break;
                case pict::op_long_comment:
                    ok = n >= 4 && static_cast<std::uint16_t>(get16(d, 2)) + 4u == n;
                    break;
                default: ok = false; break;
            }
        }
        if (!ok) all_played = 0;
    }

    port.set_pen_state(saved_pen);
    port.set_fore_color(saved_fore);
    port.set_back_color(saved_back);
    port.set_clip(saved_clip);
    return all_played;
}

// ---- PICT data ----

namespace {

void put32(std::vector<std::uint8_t>& d, std::uint32_t v) {
    put16(d, static_cast<int>(v >> 16));
    put16(d, static_cast<int>(v & 0xFFFF));
}

// A cursor over untrusted bytes: every read is checked first.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> b) : b_(b) {}
    std::size_t pos() const { return pos_; }
    std::size_t left() const { return b_.size() - pos_; }
    bool has(std::size_t n) const { return n <= left(); }
    // The byte n ahead (caller checked has(n + 1)).
    std::uint8_t peek8(std::size_t n) const { return b_[pos_ + n]; }
    std::uint16_t peek16(std::size_t n) const {
        return static_cast<std::uint16_t>(b_[pos_ + n] << 8 | b_[pos_ + n + 1]);
    }
    std::uint32_t peek32(std::size_t n) const {
        return static_cast<std::uint32_t>(peek16(n)) << 16 | peek16(n + 2);
    }
    void skip(std::size_t n) { pos_ += n; }
    std::span<const std::uint8_t> take(std::size_t n) {
        auto s = b_.subspan(pos_, n);
        pos_ += n;
        return s;
    }

private:
    std::span<const std::uint8_t> b_;
    std::size_t pos_ = 0;
};

constexpr long unknown = -1;

// Bytes of a count-prefixed field at `at` of the data: the prefix of
// `width` bytes holds the count of what follows; -1 when the prefix is not there.
long counted(const Cursor& c, std::size_t at, int width) {
    if (!c.has(at + static_cast<std::size_t>(width))) return unknown;
    const std::uint32_t n = width == 1 ? c.peek8(at) : width == 2 ? c.peek16(at) : c.peek32(at);
    if (n > 0x7FFFFFFF) return unknown;
    return static_cast<long>(at) + width + static_cast<long>(n);
}

// A region or polygon: its first word counts itself.
long self_sized(const Cursor& c) {
    if (!c.has(2)) return unknown;
    const long n = c.peek16(0);
    return n >= 2 ? n : unknown;
}

// A bitmap or pixel map operation (0x90, 0x91, 0x98, 0x99, 0x9A, 0x9B):
// its header, colour table, rectangles, mode, mask region and rows.
long bitmap_length(std::uint16_t op, const Cursor& c) {
    const bool direct = op >= 0x9A, packed = op >= 0x98, masked = (op & 1) != 0;
    std::size_t at = direct ? 4 : 0;
    if (!c.has(at + 10)) return unknown;
    const std::uint16_t row_word = c.peek16(at);
    const bool pixmap = direct || (row_word & 0x8000) != 0;
    const std::size_t row_bytes = row_word & 0x3FFF;
    const long height = static_cast<std::int16_t>(c.peek16(at + 6)) - static_cast<std::int16_t>(c.peek16(at + 2));
    if (height < 0) return unknown;
    at += 10;
    std::uint16_t pack_type = 0;
    if (pixmap) {
        if (!c.has(at + 36)) return unknown;
        pack_type = c.peek16(at + 2);
        at += 36;
        if (!direct) {
            if (!c.has(at + 8)) return unknown;
            const std::size_t entries = static_cast<std::size_t>(c.peek16(at + 6)) + 1;
            at += 8 + entries * 8;
        }
    }
    at += 8 + 8 + 2;  // source, destination, mode
    if (masked) {
        if (!c.has(at + 2)) return unknown;
        const std::size_t rgn = c.peek16(at);
        if (rgn < 10) return unknown;
        at += rgn;
    }
    const bool rows_packed = packed && row_bytes >= 8 && pack_type != 1 && pack_type != 2;
    if (!rows_packed) {
        std::size_t row = row_bytes;
        // Pack type 2 drops the pad byte of each 32-bit pixel.
        if (packed && pack_type == 2) row = row_bytes / 4 * 3;
        return static_cast<long>(at + row * static_cast<std::size_t>(height));
    }
    const int count_bytes = row_bytes > 250 ? 2 : 1;
    for (long r = 0; r < height; ++r) {
        if (!c.has(at + count_bytes)) return unknown;
        at += count_bytes + (count_bytes == 2 ? c.peek16(at) : c.peek8(at));
        if (at > 0x7FFFFFFF) return unknown;
    }
    return static_cast<long>(at);
}

// How many data bytes follow the opcode; -1 when that cannot be known.
long data_length(std::uint16_t op, const Cursor& c, bool v2) {
    static constexpr std::int8_t fixed[0x24] = {
        0,  -1, 8, 2, 1, 2, 4, 4, 2, 8, 8, 4, 4, 2, 4, 4,   // 0x00-0x0F
        8,  -2, -1, -1, -1, 2, 2, 0, 0, 0, 6, 6, 0, 6, 0, 6,  // 0x10-0x1F
        8,  4,  6, 2,                                        // 0x20-0x23
    };
    if (op < 0x24) {
        if (op == pict::op_clip) return self_sized(c);
        if (op == pict::op_version) return v2 ? 2 : 1;
        return fixed[op] >= 0 ? fixed[op] : unknown;  // pixel patterns are not read
    }
    if (op < 0x28) return counted(c, 0, 2);
    switch (op) {
        case pict::op_long_text: return counted(c, 4, 1);
        case pict::op_dh_text:
        case pict::op_dv_text: return counted(c, 1, 1);
        case pict::op_dhdv_text: return counted(c, 2, 1);
        default: break;
    }
    if (op < 0x30) return counted(c, 0, 2);
    if (op < 0x60) return (op & 8) ? 0 : 8;
    if (op < 0x70) return (op & 8) ? 4 : 12;
    if (op < 0x90) return (op & 8) ? 0 : self_sized(c);
    if (op < 0xA0) {
        if ((op >= 0x92 && op <= 0x97) || op >= 0x9C) return counted(c, 0, 2);
        return bitmap_length(op, c);
    }
    if (op == pict::op_short_comment) return 2;
    if (op == pict::op_long_comment) return counted(c, 2, 2);
    if (!v2) return unknown;
    if (op < 0xB0) return counted(c, 0, 2);
    if (op < 0xD0) return 0;
    if (op < 0x100) return counted(c, 0, 4);
    if (op < 0x8000) return static_cast<long>(op >> 8) * 2;
    if (op < 0x8100) return 0;
    return counted(c, 0, 4);
}

}  // namespace

std::vector<std::uint8_t> picture_bytes(const Picture& picture) {
    std::vector<std::uint8_t> d;
    put16(d, 0);  // the size, below
    put_rect(d, picture.frame);
    put16(d, pict::op_version);
    put16(d, 0x02FF);
    put16(d, pict::op_header);
    put16(d, 0xFFFE);  // the extended form: resolution and source rectangle
    put16(d, 0);
    put32(d, 0x00480000);
    put32(d, 0x00480000);
    put_rect(d, picture.frame);
    put32(d, 0);
    for (const PictOp& op : picture.ops) {
        if (op.opcode == pict::op_end) break;
        put16(d, op.opcode);
        d.insert(d.end(), op.data.begin(), op.data.end());
        if (d.size() % 2) d.push_back(0);
    }
    put16(d, pict::op_end);
    d[0] = static_cast<std::uint8_t>((d.size() >> 8) & 0xFF);
    d[1] = static_cast<std::uint8_t>(d.size() & 0xFF);
    return d;
}

int read_picture(std::span<const std::uint8_t> bytes, Picture* out) {
    if (!out) return 0;
    *out = {};
    Cursor c(bytes);
    if (!c.has(12)) return 0;
    Picture p;
    p.frame = {static_cast<std::int16_t>(c.peek16(2)), static_cast<std::int16_t>(c.peek16(4)),
               static_cast<std::int16_t>(c.peek16(6)), static_cast<std::int16_t>(c.peek16(8))};
    c.skip(10);
    bool v2 = false;
    if (c.peek16(0) == 0x1101) {
        c.skip(2);
    } else if (c.has(4) && c.peek16(0) == pict::op_version && c.peek16(2) == 0x02FF) {
        v2 = true;
        c.skip(4);
    } else {
        return 0;
    }
    for (;;) {
        if (v2 && c.pos() % 2) {
            if (!c.has(1)) return 0;
            c.skip(1);
        }
        const std::size_t opsize = v2 ? 2 : 1;
        if (!c.has(opsize)) return 0;
        const std::uint16_t op = v2 ? c.peek16(0) : c.peek8(0);
        c.skip(opsize);
        if (op == pict::op_end) break;
        const long n = data_length(op, c, v2);
        if (n < 0 || !c.has(static_cast<std::size_t>(n))) return 0;
        const auto data = c.take(static_cast<std::size_t>(n));
        if (op == pict::op_version || op == pict::op_header) continue;
        p.ops.push_back({op, std::vector<std::uint8_t>(data.begin(), data.end())});
    }
    *out = std::move(p);
    return 1;
}

namespace {

// PackBits: runs of 2 to 128 equal bytes as (1 - n, byte), the rest literally.
void pack_row(const std::vector<std::uint8_t>& row, std::vector<std::uint8_t>& out) {
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        std::size_t lit = 1;
        while (i + lit < row.size() && lit < 128 &&
               !(i + lit + 1 < row.size() && row[i + lit] == row[i + lit + 1]))
            ++lit;
        out.push_back(static_cast<std::uint8_t>(lit - 1));
        out.insert(out.end(), row.begin() + static_cast<long>(i), row.begin() + static_cast<long>(i + lit));
        i += lit;
    }
}

}  // namespace

void add_bitmap(Picture& picture, const Port& port, const Rect& src, const Rect& dst) {
    if (src.empty() || dst.empty()) return;
    const int w = dst.right - dst.left, h = dst.bottom - dst.top;
    const int sw = src.right - src.left, sh = src.bottom - src.top;
    const std::size_t row_bytes = static_cast<std::size_t>((w + 15) / 16 * 2);
    std::vector<std::uint8_t> d;
    put16(d, static_cast<int>(row_bytes));
    put_rect(d, {0, 0, static_cast<std::int16_t>(h), static_cast<std::int16_t>(w)});
    put_rect(d, {0, 0, static_cast<std::int16_t>(h), static_cast<std::int16_t>(w)});
    put_rect(d, dst);
    put16(d, srcCopy);
    std::vector<std::uint8_t> row(row_bytes);
    for (int y = 0; y < h; ++y) {
        std::fill(row.begin(), row.end(), 0);
        const int y0 = src.top + static_cast<int>(static_cast<long long>(y) * sh / h);
        const int y1 = std::max(y0 + 1, src.top + static_cast<int>(static_cast<long long>(y + 1) * sh / h));
        for (int x = 0; x < w; ++x) {
            const int x0 = src.left + static_cast<int>(static_cast<long long>(x) * sw / w);
            const int x1 = std::max(x0 + 1, src.left + static_cast<int>(static_cast<long long>(x + 1) * sw / w));
            bool black = false;
            for (int yy = y0; yy < y1 && !black; ++yy)
                for (int xx = x0; xx < x1 && !black; ++xx)
                    black = xx >= 0 && yy >= 0 && xx < port.width() && yy < port.height() &&
                            (port.pixel(xx, yy) & 0x00FFFFFFu) != (white_pixel & 0x00FFFFFFu);
            if (black) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        if (row_bytes < 8) {
            d.insert(d.end(), row.begin(), row.end());
            continue;
        }
        std::vector<std::uint8_t> packed;
        pack_row(row, packed);
        if (row_bytes > 250) put16(d, static_cast<int>(packed.size()));
        else d.push_back(static_cast<std::uint8_t>(packed.size()));
        d.insert(d.end(), packed.begin(), packed.end());
    }
    picture.ops.push_back({pict::op_pack_bits_rect, std::move(d)});
}

}  // namespace plat
