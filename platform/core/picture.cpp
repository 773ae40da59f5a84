#include "platform/core/picture.h"

#include <algorithm>

#include "platform/core/region.h"

namespace plat {

namespace {

// A polygon's size is a 16-bit word: 10 bytes and 4 a point.
constexpr std::size_t max_poly_points = (0x7FFF - 10) / 4;

std::int16_t clamp16(long long v) {
    return static_cast<std::int16_t>(std::clamp<long long>(v, -32768, 32767));
}

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
    static long long floor_div(long long a, long long b) {
        long long q = a / b;
        if (a % b != 0 && a < 0) --q;
        return q;
    }
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

}  // namespace plat
