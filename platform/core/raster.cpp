#include "platform/core/raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/core/picture.h"
#include "platform/core/region.h"
#include "platform/core/region_scan.h"

namespace plat {

namespace {

// A screen-sized buffer and then some; beyond this a port is refused rather
// than risking the process.
constexpr std::int64_t max_pixels = std::int64_t{1} << 26;
constexpr std::uint32_t colour_bits = 0x00FFFFFFu;

Port* g_current = nullptr;
bool g_fast_lines = true;
PortSaver* g_savers = nullptr;

std::int64_t ceil_div(std::int64_t a, std::int64_t b) {
    return -floor_div(-a, b);
}

// Buffer coordinates, right and bottom exclusive.
struct Box {
    int l = 0, t = 0, r = 0, b = 0;
    bool empty() const { return r <= l || b <= t; }
};

// What may be drawn: the clip (moved into buffer coordinates) within the buffer.
Box visible_box(const Port& p) {
    const Rect c = p.clip();
    const Point o = p.origin();
    return {std::max(0, c.left - o.h), std::max(0, c.top - o.v), std::min(p.width(), c.right - o.h),
            std::min(p.height(), c.bottom - o.v)};
}

// The pixels of a line whose major coordinate a runs from a0 up to a1
// (a1 - a0 >= |b1 - b0|), one call f(a, b) each, keeping those with
// alo <= a <= ahi and blo <= b <= bhi. Step i has minor offset
// k(i) = floor((2 i db + da) / (2 da)): the exact line rounded half away from
// b0. The clip bounds are solved for i first, so a line far outside costs
// nothing and one partly inside starts where it enters.
// Where such a walk starts and ends inside the bounds: steps ilo to ihi,
// the minor offset k and the error term rem at step ilo.
struct Walk {
    std::int64_t ilo, ihi, k, rem, den, db2;
    int sb;
};

bool walk_setup(int a0, int b0, int a1, int b1, int alo, int ahi, int blo, int bhi, Walk& w) {
    const std::int64_t da = std::int64_t{a1} - a0;
    const std::int64_t db = std::abs(std::int64_t{b1} - b0);
    const int sb = b1 >= b0 ? 1 : -1;
    std::int64_t ilo = 0;
    std::int64_t ihi = da;
    // Most lines lie wholly inside: they need none of the divisions below.
    const bool inside = a0 >= alo && a1 <= ahi && std::min(b0, b1) >= blo && std::max(b0, b1) <= bhi;
    if (!inside) {
        ilo = std::max<std::int64_t>(0, std::int64_t{alo} - a0);
        ihi = std::min<std::int64_t>(da, std::int64_t{ahi} - a0);
        const std::int64_t kmin = sb > 0 ? std::int64_t{blo} - b0 : std::int64_t{b0} - bhi;
        const std::int64_t kmax = sb > 0 ? std::int64_t{bhi} - b0 : std::int64_t{b0} - blo;
        if (db == 0) {
            if (kmin > 0 || kmax < 0) return false;
        } else {
            ilo = std::max(ilo, ceil_div(2 * da * kmin - da, 2 * db));
            ihi = std::min(ihi, floor_div(2 * da * (kmax + 1) - da - 1, 2 * db));
        }
    }
    if (ilo > ihi) return false;
    w.ilo = ilo;
    w.ihi = ihi;
    w.sb = sb;
    w.db2 = 2 * db;
    if (da == 0) {
        w.k = 0;
        w.rem = 0;
        w.den = 1;
        return true;
    }
    w.den = 2 * da;
    if (ilo == 0) {  // from the first pixel: no division needed
        w.k = 0;
        w.rem = da;
        return true;
    }
    const std::int64_t num = 2 * ilo * db + da;
    w.k = num / w.den;
    w.rem = num % w.den;
    return true;
}

template <class F>
void walk_major(int a0, int b0, int a1, int b1, int alo, int ahi, int blo, int bhi, F&& f) {
    Walk w;
    if (!walk_setup(a0, b0, a1, b1, alo, ahi, blo, bhi, w)) return;
    if (a1 == a0) {
        f(a0, b0);
        return;
    }
    std::int64_t k = w.k, rem = w.rem;
    for (std::int64_t i = w.ilo; i <= w.ihi; ++i) {
        f(static_cast<int>(a0 + i), static_cast<int>(b0 + w.sb * k));
        rem += w.db2;
        if (rem >= w.den) {
            rem -= w.den;
            ++k;
        }
    }
}

// The same walk storing one colour: major steps move the index by `astep`,
// minor ones by `bstep`. Returns the last minor offset reached.
std::int64_t store_walk(std::uint32_t* base, std::int64_t idx, std::int64_t astep, std::int64_t bstep,
                        const Walk& w, std::uint32_t c) {
    std::int64_t k = w.k, rem = w.rem;
    const std::int64_t den = w.den, db2 = w.db2;
    // The minor step is taken by mask, not by branch: along a slanted line
    // it comes at no predictable rhythm.
    for (std::int64_t n = w.ihi - w.ilo; n >= 0; --n) {
        base[idx] = c;
        idx += astep;
        rem += db2;
        if (rem >= den) {
            rem -= den;
            idx += bstep;
            ++k;
        }
    }
    // The walk steps once more after the last pixel; undo what that step added.
    if (rem - db2 < 0) --k;
    return k;
}

// The pixels of the line from (x0, y0) to (x1, y1) inside the box, one call
// f(y, xa, xb) per row (xa <= xb, inclusive), rows in order along the line.
// The ends are put in a fixed order first, so the pixels are the same
// whichever end the caller names first.
template <class F>
void line_rows(int x0, int y0, int x1, int y1, const Box& box, F&& f) {
    if (box.empty()) return;
    if (std::abs(x1 - x0) >= std::abs(y1 - y0)) {
        if (x0 > x1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        bool have = false;
        int ry = 0, ra = 0, rb = 0;
        walk_major(x0, y0, x1, y1, box.l, box.r - 1, box.t, box.b - 1, [&](int x, int y) {
            if (have && y == ry) {
                rb = x;
                return;
            }
            if (have) f(ry, ra, rb);
            have = true;
            ry = y;
            ra = rb = x;
        });
        if (have) f(ry, ra, rb);
    } else {
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        walk_major(y0, x0, y1, x1, box.t, box.b - 1, box.l, box.r - 1,
                   [&](int y, int x) { f(y, x, x); });
    }
}

struct Run {
    int y, a, b;
};

// The runs, clipped to v, covered by a pw x ph pen whose top-left corner
// follows the line; sink(y, x0, x1) once per row, x1 exclusive. Along a
// monotone path the pen positions touching a row are consecutive, so the
// row's run reaches from the leftmost to the rightmost of them and is found
// from the path's first and last rows within the pen's height.
template <class Sink>
void pen_line_spans(int x0, int y0, int x1, int y1, int pw, int ph, const Box& v, Sink&& sink) {
    if (pw == 1 && ph == 1) {
        line_rows(x0, y0, x1, y1, v, [&](int y, int a, int b) { sink(y, a, b + 1); });
        return;
    }
    const Box reach{v.l - pw + 1, v.t - ph + 1, v.r, v.b};
    std::vector<Run> rows;
    line_rows(x0, y0, x1, y1, reach, [&](int y, int a, int b) { rows.push_back({y, a, b}); });
    if (rows.empty()) return;
    if (rows.front().y > rows.back().y) std::reverse(rows.begin(), rows.end());
    const int ymin = rows.front().y;
    const int ymax = rows.back().y;
    const int last = std::min(ymax + ph - 1, v.b - 1);
    for (int y = std::max(ymin, v.t); y <= last; ++y) {
        const Run& p = rows[std::max(y - ph + 1, ymin) - ymin];
        const Run& q = rows[std::min(y, ymax) - ymin];
        const int a = std::max(std::min(p.a, q.a), v.l);
        const int b = std::min(std::max(p.b, q.b) + pw, v.r);
        if (a < b) sink(y, a, b);
    }
}

// Sorts runs by row and joins those that overlap or touch, so that each
// pixel is drawn once.
void merge_spans(std::vector<Span>& s) {
    std::sort(s.begin(), s.end(),
              [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
    std::size_t n = 0;
    for (const Span& sp : s) {
        if (n > 0 && s[n - 1].y == sp.y && sp.x0 <= s[n - 1].x1)
            s[n - 1].x1 = std::max(s[n - 1].x1, sp.x1);
        else
            s[n++] = sp;
    }
    s.resize(n);
}

// Doubled half-widths of the rows of the oval inscribed in a w x h box, from
// the top row to the middle one. With X and Y the doubled offsets of a pixel
// centre from the box centre, the pixel is inside when
// X^2 h^2 + Y^2 w^2 <= w^2 h^2; row j (|Y| = h - 1 - 2j) holds |X| <= half[j],
// -1 when empty. X has the parity of w + 1. Midpoint stepping: the half-width
// only grows towards the middle, so each row continues from the last.
// Written into `half`; T holds w^2 h^2, which 64 bits do up to 32767 pixels.
template <class T>
void oval_halves_in(int w, int h, std::vector<int>& half) {
    const int rows = (h + 1) / 2;
    half.resize(rows);
    const T ah = T(h) * h;
    const T bw = T(w) * w;
    const T c = ah * bw;
    int x = (w % 2) ? 0 : 1;
    T fx = T(x) * x * ah;
    // The step from x to x + 2, (4x + 4) ah, grows by 8 ah with each step.
    T step = T(4 * x + 4) * ah;
    const T grow = 8 * ah;
    for (int j = 0; j < rows; ++j) {
        const int y = h - 1 - 2 * j;
        const T limit = c - T(y) * y * bw;
        while (fx + step <= limit) {
            fx += step;
            step += grow;
            x += 2;
        }
        half[j] = fx <= limit ? x : -1;
    }
}

void oval_halves(int w, int h, std::vector<int>& half) {
    if (w <= 32767 && h <= 32767)
        oval_halves_in<std::int64_t>(w, h, half);
    else
        oval_halves_in<__int128>(w, h, half);
}

// The runs of the oval inscribed in r, less the oval of `inner` where
// `hollow`, in rows y_from <= y < y_to, top row first: f(y, x0, x1), local
// coordinates, possibly empty where the hole touches the edge.
template <class F>
void oval_rows(const Rect& r, bool hollow, const Rect& inner, int y_from, int y_to, F&& f) {
    if (r.empty()) return;
    const int l = r.left, t = r.top, rr = r.right, b = r.bottom;
    const int first = std::max(t, y_from);
    const int last = std::min(b, y_to);
    if (first >= last) return;
    // Kept from call to call: an oval is drawn without an allocation.
    static std::vector<int> half, hole;
    oval_halves(rr - l, b - t, half);
    hollow = hollow && !inner.empty();
    if (hollow) oval_halves(inner.right - inner.left, inner.bottom - inner.top, hole);
    for (int y = first; y < last; ++y) {
        const int x = half[std::min(y - t, b - 1 - y)];
        if (x < 0) continue;
        const int x0 = (l + rr - 1 - x) / 2, x1 = (l + rr - 1 + x) / 2 + 1;
        if (hollow && y >= inner.top && y < inner.bottom) {
            const int hx = hole[std::min(y - inner.top, inner.bottom - 1 - y)];
            if (hx >= 0) {
                f(y, x0, (inner.left + inner.right - 1 - hx) / 2);
                f(y, (inner.left + inner.right - 1 + hx) / 2 + 1, x1);
                continue;
            }
        }
        f(y, x0, x1);
    }
}

template <int Op>
inline void apply(std::uint32_t& d, bool bit, std::uint32_t fore, std::uint32_t back) {
    const bool on = bit != ((Op & 4) != 0);
    if constexpr ((Op & 3) == 0) {
        d = on ? fore : back;
    } else if constexpr ((Op & 3) == 1) {
        if (on) d = fore;
    } else if constexpr ((Op & 3) == 2) {
        if (on) d ^= colour_bits;
    } else {
        if (on) d = back;
    }
}

// One run of a row in one mode; solid pattern rows take the short way.
template <int Op>
void run_op(std::uint32_t* p, int x0, int x1, std::uint8_t prow, int xo, std::uint32_t fore,
            std::uint32_t back) {
    if (prow == 0xFF || prow == 0) {
        const bool on = (prow != 0) != ((Op & 4) != 0);
        if constexpr ((Op & 3) == 0) {
            std::fill(p + x0, p + x1, on ? fore : back);
        } else if constexpr ((Op & 3) == 1) {
            if (on) std::fill(p + x0, p + x1, fore);
        } else if constexpr ((Op & 3) == 2) {
            if (on)
                for (int x = x0; x < x1; ++x) p[x] ^= colour_bits;
        } else {
            if (on) std::fill(p + x0, p + x1, back);
        }
        return;
    }
    for (int x = x0; x < x1; ++x)
        apply<Op>(p[x], ((prow >> (7 - ((x + xo) & 7))) & 1) != 0, fore, back);
}

void run_any(int op, std::uint32_t* p, int x0, int x1, std::uint8_t prow, int xo, std::uint32_t fore,
             std::uint32_t back) {
    switch (op) {
        case 0: run_op<0>(p, x0, x1, prow, xo, fore, back); break;
        case 1: run_op<1>(p, x0, x1, prow, xo, fore, back); break;
        case 2: run_op<2>(p, x0, x1, prow, xo, fore, back); break;
        case 3: run_op<3>(p, x0, x1, prow, xo, fore, back); break;
        case 4: run_op<4>(p, x0, x1, prow, xo, fore, back); break;
        case 5: run_op<5>(p, x0, x1, prow, xo, fore, back); break;
        case 6: run_op<6>(p, x0, x1, prow, xo, fore, back); break;
        default: run_op<7>(p, x0, x1, prow, xo, fore, back); break;
    }
}

template <int Op>
void copy_rows(const std::uint32_t* sbase, int sstride, std::uint32_t* dbase, int dstride,
               const Box& box, const std::vector<int>& sx, const std::vector<int>& sy,
               std::uint32_t sback, std::uint32_t fore, std::uint32_t back) {
    for (int y = box.t; y < box.b; ++y) {
        const int srow = sy[y - box.t];
        if (srow < 0) continue;
        const std::uint32_t* s = sbase + static_cast<std::size_t>(srow) * sstride;
        std::uint32_t* d = dbase + static_cast<std::size_t>(y) * dstride;
        for (int x = box.l; x < box.r; ++x) {
            const int scol = sx[x - box.l];
            if (scol < 0) continue;
            const std::uint32_t sp = s[scol];
            const bool on = ((sp ^ sback) & colour_bits) != 0;
            if constexpr (Op == 0) {
                d[x] = sp;
            } else if constexpr (Op == 4) {
                d[x] = sp ^ colour_bits;
            } else {
                const bool hit = on != ((Op & 4) != 0);
                if (!hit) continue;
                if constexpr (Op == 1)
                    d[x] = sp;
                else if constexpr (Op == 5)
                    d[x] = fore;
                else if constexpr ((Op & 3) == 2)
                    d[x] ^= colour_bits;
                else
                    d[x] = back;
            }
        }
    }
}

void copy_any(int mode, const std::uint32_t* sbase, int sstride, std::uint32_t* dbase, int dstride,
              const Box& box, const std::vector<int>& sx, const std::vector<int>& sy, std::uint32_t sback,
              std::uint32_t fore, std::uint32_t back) {
    switch (mode & 7) {
        case 0: copy_rows<0>(sbase, sstride, dbase, dstride, box, sx, sy, sback, fore, back); break;
        case 1: copy_rows<1>(sbase, sstride, dbase, dstride, box, sx, sy, sback, fore, back); break;
        case 2: copy_rows<2>(sbase, sstride, dbase, dstride, box, sx, sy, sback, fore, back); break;
        case 3: copy_rows<3>(sbase, sstride, dbase, dstride, box, sx, sy, sback, fore, back); break;
        case 4: copy_rows<4>(sbase, sstride, dbase, dstride, box, sx, sy, sback, fore, back); break;
        case 5: copy_rows<5>(sbase, sstride, dbase, dstride, box, sx, sy, sback, fore, back); break;
        case 6: copy_rows<6>(sbase, sstride, dbase, dstride, box, sx, sy, sback, fore, back); break;
        default: copy_rows<7>(sbase, sstride, dbase, dstride, box, sx, sy, sback, fore, back); break;
    }
}

// For each destination coordinate from d0 (n of them) the source one, or -1
// outside the source's 0..limit; sizes differing scale by the nearest pixel.
std::vector<int> source_map(int d0, int n, int dstart, int dsize, int sstart, int ssize,
                            int limit) {
    std::vector<int> m(n);
    for (int i = 0; i < n; ++i) {
        const std::int64_t off = std::int64_t{d0} + i - dstart;
        const std::int64_t s =
            sstart + (dsize == ssize ? off : (2 * off + 1) * ssize / (2 * std::int64_t{dsize}));
        m[i] = (s >= 0 && s < limit) ? static_cast<int>(s) : -1;
    }
    return m;
}

}  // namespace

std::uint32_t pixel_of(const RGBColor& c) {
    return 0xFF000000u | (std::uint32_t{c.red} >> 8) << 16 | (std::uint32_t{c.green} >> 8) << 8 |
           (std::uint32_t{c.blue} >> 8);
}

RGBColor color_of(std::uint32_t pixel) {
    return {static_cast<std::uint16_t>(((pixel >> 16) & 0xFF) * 0x0101),
            static_cast<std::uint16_t>(((pixel >> 8) & 0xFF) * 0x0101),
            static_cast<std::uint16_t>((pixel & 0xFF) * 0x0101)};
}

std::vector<Span> oval_spans(const Rect& r, int y_from, int y_to) {
    std::vector<Span> out;
    oval_rows(r, false, r, y_from, y_to, [&](int y, int x0, int x1) { out.push_back({y, x0, x1}); });
    return out;
}

// ---- Port ----

Port::Port() = default;

Port::Port(int width, int height) {
    resize(width, height);
}

Port::~Port() {
    if (g_current == this) g_current = nullptr;
    for (PortSaver* s = g_savers; s; s = s->next_)
        if (s->saved_ == this) s->saved_ = nullptr;
}

bool Port::resize(int width, int height) {
    ++serial_;
    buf_ = {};
    details_.clear();
    blank_ = false;
    width_ = height_ = 0;
    if (width < 0 || height < 0 || width > 32767 || height > 32767 ||
        std::int64_t{width} * height > max_pixels)
        return false;
    // Reserved, not filled: the pages become resident only when first drawn,
    // and the fill can no longer fail then.
    try {
        buf_.reserve(static_cast<std::size_t>(width) * height);
    } catch (const std::bad_alloc&) {
        buf_ = {};
        return false;
    }
    blank_pixel_ = pixel_of(back_);
    blank_ = true;
    width_ = width;
    height_ = height;
    mark_changed(0, 0, width, height);
    return true;
}

bool Port::set_detail(const Rect& area, int scale, std::vector<std::uint32_t> pixels) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (scale < 1 || scale > 4 || w <= 0 || h <= 0 || area.left < 0 || area.top < 0 || area.right > width_ ||
        area.bottom > height_ || pixels.size() != static_cast<std::size_t>(w) * h * scale * scale)
        return false;
    Detail d{area, scale, std::move(pixels), {}};
    d.base.reserve(static_cast<std::size_t>(w) * h);
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint32_t* r = row(y);
        d.base.insert(d.base.end(), r + area.left, r + area.right);
    }
    for (Detail& old : details_)
        if (old.area == area) {
            old = std::move(d);
            return true;
        }
    details_.push_back(std::move(d));
    return true;
}

int Port::detail_state(const Detail& d) const {
    if (d.area.right > width_ || d.area.bottom > height_) return 0;
    bool same = true, inverse = true;
    std::size_t i = 0;
    for (int y = d.area.top; y < d.area.bottom && (same || inverse); ++y) {
        const std::uint32_t* r = row(y);
        for (int x = d.area.left; x < d.area.right; ++x, ++i) {
            same = same && r[x] == d.base[i];
            inverse = inverse && r[x] == (d.base[i] ^ 0x00FFFFFFu);
        }
    }
    return same ? 1 : inverse ? -1 : 0;
}

void Port::fill_blank_now() const {
    buf_.assign(static_cast<std::size_t>(width_) * height_, blank_pixel_);
    blank_ = false;
}

bool Port::take_changed(Rect* changed) {
    const int l = std::max(changed_l_, 0), t = std::max(changed_t_, 0);
    const int r = std::min(changed_r_, width_), b = std::min(changed_b_, height_);
    changed_l_ = changed_t_ = 1 << 30;
    changed_r_ = changed_b_ = -1;
    if (r <= l || b <= t) return false;
    *changed = Rect{static_cast<std::int16_t>(t), static_cast<std::int16_t>(l),
                    static_cast<std::int16_t>(b), static_cast<std::int16_t>(r)};
    return true;
}

std::uint32_t Port::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    if (blank_) return blank_pixel_;
    return buf_[static_cast<std::size_t>(y) * width_ + x];
}

void Port::set_origin(std::int16_t h, std::int16_t v) {
    origin_ = {v, h};
    ++serial_;
}

Rect Port::port_rect() const {
    return {origin_.v, origin_.h, clamp16(origin_.v + height_), clamp16(origin_.h + width_)};
}

void Port::pen_normal() {
    pen_.size = {1, 1};
    pen_.mode = patCopy;
    pen_.pattern = black_pattern;
    ++serial_;
}

DrawState Port::state() const {
    return {pen_.size, pen_.mode, pen_.pattern, fore_, back_, clip_};
}

Port::Ink Port::ink(Fill f) const {
    Ink k;
    k.fore = pixel_of(fore_);
    k.back = pixel_of(back_);
    switch (f) {
        case Fill::pen:
            k.op = pen_.mode & 7;
            k.pattern = pen_.pattern;
            break;
        case Fill::erase:
            k.op = 0;
            k.fore = k.back;
            break;
        case Fill::invert: k.op = 2; break;
    }
    return k;
}

void Port::fill_run(const Ink& k, int y, int x0, int x1) {
    mark_changed(x0, y, x1, y + 1);
    const std::uint8_t prow = k.pattern[(y + origin_.v) & 7];
    const int xo = origin_.h;
    if (blank_) {
        // A run that leaves the blank colour as it is (an erase to it, say)
        // keeps the port blank: try it on one pixel of every pattern phase.
        std::uint32_t probe[8];
        std::fill_n(probe, 8, blank_pixel_);
        run_any(k.op, probe, 0, 8, prow, xo, k.fore, k.back);
        if (std::all_of(probe, probe + 8, [this](std::uint32_t px) { return px == blank_pixel_; })) return;
    }
    run_any(k.op, row(y), x0, x1, prow, xo, k.fore, k.back);
}

// Long runs of a colour whose four bytes are equal (white, the usual
// background) go to memset; the rest are stored four pixels at a time, the
// last four overlapping the ones before rather than a loop of single pixels.
static inline void fill_pixels(std::uint32_t* p, std::size_t n, std::uint32_t c) {
    if (n >= 64 && (c >> 8 & 0xFFFFFFu) == (c & 0xFFFFFFu)) {
        std::memset(p, static_cast<int>(c & 0xFF), n * sizeof *p);
        return;
    }
    if (n < 4) {
        for (std::size_t i = 0; i < n; ++i) p[i] = c;
        return;
    }
    const std::uint32_t four[4] = {c, c, c, c};
    for (std::size_t i = 0; i + 4 < n; i += 4) std::memcpy(p + i, four, sizeof four);
    std::memcpy(p + n - 4, four, sizeof four);
}

// One run of n >= 1 pixels of colour c from p. The short ones (the sides of
// frames) are stored from both ends, overlapping, without a loop.
static inline void store_run(std::uint32_t* p, int n, std::uint32_t c) {
    if (n <= 2) {
        p[0] = c;
        p[n - 1] = c;
    } else if (n <= 4) {
        p[0] = c;
        p[1] = c;
        p[n - 2] = c;
        p[n - 1] = c;
    } else {
        fill_pixels(p, static_cast<std::size_t>(n), c);
    }
}

bool Port::solid_pen_inside(const Rect& r, std::uint32_t* c) {
    // The one-pixel line's pen holds the box and colour, kept while the
    // pen, colours, clip and origin stay.
    if (line_pen_.serial != serial_ || line_pen_.fast_flag != g_fast_lines) refresh_line_pen();
    const LinePen& lp = line_pen_;
    if (!lp.on || r.left - origin_.h < lp.l || r.top - origin_.v < lp.t || r.right - origin_.h > lp.r ||
        r.bottom - origin_.v > lp.b)
        return false;
    *c = lp.colour;
    return true;
}

// One colour written straight into the rows, each run clipped to the
// visible box, the changed area marked once at the end.
class Port::SolidWriter {
public:
    SolidWriter(Port& port, const Box& v, std::uint32_t c)
        : port_(port), v_(v), c_(c), keep_blank_(port.blank_ && c == port.blank_pixel_) {}
    SolidWriter(const SolidWriter&) = delete;
    SolidWriter& operator=(const SolidWriter&) = delete;
    ~SolidWriter() {
        if (r_ >= 0) port_.mark_changed(l_, t_, r_, b_);
    }
    // Local coordinates; x1 exclusive.
    void run(int y, int x0, int x1) {
        y -= port_.origin_.v;
        if (y < v_.t || y >= v_.b) return;
        x0 = std::max(x0 - port_.origin_.h, v_.l);
        x1 = std::min(x1 - port_.origin_.h, v_.r);
        if (x0 >= x1) return;
        l_ = std::min(l_, x0);
        r_ = std::max(r_, x1);
        t_ = std::min(t_, y);
        b_ = std::max(b_, y + 1);
        if (keep_blank_) return;
        if (!base_) base_ = port_.writable_pixels();
        store_run(base_ + static_cast<std::size_t>(y) * port_.width_ + x0, x1 - x0, c_);
    }
    // Whole rows t..b-1 of the buffer, already clipped: one fill for all of them.
    void rows(int t, int b) {
        l_ = std::min(l_, 0);
        r_ = std::max(r_, port_.width_);
        t_ = std::min(t_, t);
        b_ = std::max(b_, b);
        if (keep_blank_) return;
        if (!base_) base_ = port_.writable_pixels();
        fill_pixels(base_ + static_cast<std::size_t>(t) * port_.width_,
                    static_cast<std::size_t>(b - t) * port_.width_, c_);
    }

private:
    Port& port_;
    const Box v_;
    const std::uint32_t c_;
    const bool keep_blank_;
    std::uint32_t* base_ = nullptr;
    int l_ = 1 << 30, t_ = 1 << 30, r_ = -1, b_ = -1;
};

void Port::fill_local_spans(std::span<const Span> spans, const Ink& k) {
    const Box v = visible_box(*this);
    if (v.empty()) return;
    std::uint32_t c = 0;
    if (solid_ink(k, &c)) {
        SolidWriter out(*this, v, c);
        for (const Span& s : spans) out.run(s.y, s.x0, s.x1);
        return;
    }
    for (const Span& s : spans) {
        const int y = s.y - origin_.v;
        if (y < v.t || y >= v.b) continue;
        const int x0 = std::max(s.x0 - origin_.h, v.l);
        const int x1 = std::min(s.x1 - origin_.h, v.r);
        if (x0 < x1) fill_run(k, y, x0, x1);
    }
}

void Port::move_to(std::int16_t h, std::int16_t v) {
    pen_.location = {v, h};
}

void Port::move(std::int16_t dh, std::int16_t dv) {
    pen_.location = {clamp16(pen_.location.v + dv), clamp16(pen_.location.h + dh)};
}

void Port::line_to(std::int16_t h, std::int16_t v) {
    const Point from = pen_.location;
    const Point to{v, h};
    pen_.location = to;
    if (region_rec_) region_rec_->line(from, to);
    if (picture_rec_) picture_rec_->line(state(), from, to);
    if (!hidden()) draw_line(from, to, pen_.size);
}

void Port::line(std::int16_t dh, std::int16_t dv) {
    line_to(clamp16(pen_.location.h + dh), clamp16(pen_.location.v + dv));
}

void Port::dot(std::int16_t h, std::int16_t v) {
    const Point p{v, h};
    if (picture_rec_) {
        DrawState s = state();
        s.pen_size = {1, 1};
        picture_rec_->line(s, p, p);
    }
    if (!hidden()) draw_line(p, p, {1, 1});
}

void Port::draw_line(Point a, Point b, Point size) {
    const int pw = size.h, ph = size.v;
    if (pw <= 0 || ph <= 0) return;
    if (pw == 1 && ph == 1) {
        if (line_pen_.serial != serial_ || line_pen_.fast_flag != g_fast_lines) refresh_line_pen();
        if (line_pen_.on) {
            const LinePen& lp = line_pen_;
            store_line(a.h - origin_.h, a.v - origin_.v, b.h - origin_.h, b.v - origin_.v, lp.l, lp.t, lp.r,
                       lp.b, lp.colour);
            return;
        }
    }
    const Box v = visible_box(*this);
    if (v.empty()) return;
    const Ink k = ink(Fill::pen);
    pen_line_spans(a.h - origin_.h, a.v - origin_.v, b.h - origin_.h, b.v - origin_.v, pw, ph, v,
                   [&](int y, int x0, int x1) { fill_run(k, y, x0, x1); });
}

bool Port::solid_ink(const Ink& k, std::uint32_t* c) {
    if (!g_fast_lines || (k.op != 0 && k.op != 4)) return false;
    std::uint64_t bits;
    std::memcpy(&bits, k.pattern.data(), sizeof bits);
    const bool ones = bits == ~std::uint64_t{0};
    if (!ones && bits != 0) return false;
    *c = ones != (k.op == 4) ? k.fore : k.back;
    return true;
}

bool Port::solid_colour(std::uint32_t* c) const {
    if (!g_fast_lines) return false;
    const int op = pen_.mode & 7;
    if (op != 0 && op != 4) return false;
    std::uint64_t bits;
    static_assert(sizeof bits == sizeof(Pattern));
    std::memcpy(&bits, pen_.pattern.data(), sizeof bits);
    const bool ones = bits == ~std::uint64_t{0};
    if (!ones && bits != 0) return false;
    // Copy with all bits on, or its inverse with all off, draws the fore colour.
    *c = pixel_of(ones != (op == 4) ? fore_ : back_);
    return true;
}

void Port::refresh_line_pen() {
    LinePen& lp = line_pen_;
    lp.serial = serial_;
    lp.fast_flag = g_fast_lines;
    const Box v = visible_box(*this);
    lp.l = v.l;
    lp.t = v.t;
    lp.r = v.r;
    lp.b = v.b;
    lp.on = !v.empty() && solid_colour(&lp.colour);
}

namespace {

// n + 1 pixels from p, a major step each and a minor step where the walk's
// error term says. The minor step is chosen without a branch: along a slant
// it comes at no rhythm a branch could learn. rem is the error term less its
// denominator, so a step is due when it reaches zero.
inline void walk_inside(std::uint32_t* p, int n, std::ptrdiff_t astep, std::ptrdiff_t bstep, int db2,
                        std::uint32_t c) {
    const int over = db2 - 2 * n;  // the error term's change on a minor step
    const std::ptrdiff_t both = astep + bstep;
    int rem = -n;
    for (int i = n; i >= 0; --i) {
        *p = c;
#if defined(__x86_64__) && defined(__GNUC__)
        // The add's sign chooses both by conditional moves: the chain from
        // one pixel to the next is two cycles, and the loop nine
        // instructions; the compiler makes the same selection a branch or
        // a longer chain of masks.
        const int stepped = rem + over;
        std::uint32_t* const across = p + both;
        p += astep;
        asm("add %[db2], %[rem]\n\t"
            "cmovns %[stepped], %[rem]\n\t"
            "cmovns %[across], %[p]"
            : [rem] "+r"(rem), [p] "+r"(p)
            : [db2] "r"(db2), [stepped] "r"(stepped), [across] "r"(across)
            : "cc");
#else
        p += astep;
        rem += db2;
        const int due = ~(rem >> 31);
        rem -= 2 * n & due;
        p += bstep & due;
#endif
    }
}

// A line wholly inside the buffer: the walk from the first pixel, set up
// without the clip arithmetic. Returns nothing; the caller marks the area.
// Kept inline: half the lines of a replay are one or two pixels, and a call
// would cost more than they do.
[[gnu::always_inline]] inline void store_inside(std::uint32_t* base, std::ptrdiff_t stride, int x0, int y0,
                                                int x1, int y1, std::uint32_t c) {
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    if (dx <= 1 && dy <= 1) {  // the walk's pixels are the two ends
        base[y0 * stride + x0] = c;
        base[y1 * stride + x1] = c;
        return;
    }
    if (dy == 0) {  // a row's run: nearly a third of a drawing's pixels
        store_run(base + y0 * stride + std::min(x0, x1), dx + 1, c);
        return;
    }
    if (dx == 0) {
        std::uint32_t* p = base + std::min(y0, y1) * stride + x0;
        for (int n = dy; n >= 0; --n, p += stride) *p = c;
        return;
    }
    if (dx >= dy) {
        if (x0 > x1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        walk_inside(base + y0 * stride + x0, dx, 1, y1 >= y0 ? stride : -stride, 2 * dy, c);
    } else {
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        walk_inside(base + y0 * stride + x0, dy, stride, x1 >= x0 ? 1 : -1, 2 * dx, c);
    }
}

// Whether a line's local ends lie wholly inside the box, and the area the
// inside ones cover. Four coordinates at once where SSE2 is there: a
// coordinate pushed past 16 bits by the origin saturates, and the box lies
// within 0..32767, so it still tests outside.
class InsideBox {
public:
#if defined(__SSE2__)
    InsideBox(const LineRun::Lanes& k)
        : origin_(load(k.origin)), above_(load(k.above)), below_(load(k.below)), rows_(load(k.rows)),
          least_(_mm_set1_epi16(32767)), most_(_mm_set1_epi16(-32768)), oh_(k.at.h), ov_(k.at.v) {}
#else
    InsideBox(int oh, int ov, int l, int t, int r, int b, std::ptrdiff_t stride)
        : oh_(oh), ov_(ov), l_(l), t_(t), r_(r), b_(b), stride_(stride) {}
#endif

    // The lanes for the origin (oh, ov), the box l t r b and the row length.
    static void make(LineRun::Lanes& k, int oh, int ov, int l, int t, int r, int b, std::ptrdiff_t stride) {
        const std::int16_t lanes[4][8] = {
            {cut(oh), cut(ov), cut(oh), cut(ov), 0, 0, 0, 0},
            {cut(l - 1), cut(t - 1), cut(l - 1), cut(t - 1), -1, -1, -1, -1},
            {cut(r), cut(b), cut(r), cut(b), 1, 1, 1, 1},
            {1, cut(stride), 1, cut(stride), 0, 0, 0, 0},
        };
        std::copy(lanes[0], lanes[0] + 8, k.origin);
        std::copy(lanes[1], lanes[1] + 8, k.above);
        std::copy(lanes[2], lanes[2] + 8, k.below);
        std::copy(lanes[3], lanes[3] + 8, k.rows);
        k.at = {static_cast<std::int16_t>(ov), static_cast<std::int16_t>(oh)};
    }

    // A row's length the places below can be worked out with: a row and a
    // column each fit 16 bits, and a place 32.
    static bool fits(std::ptrdiff_t stride) { return stride <= 32767; }

    // Whether the line lies inside; its area is then added.
    bool test(const LineRun::Ends& e) {
#if defined(__SSE2__)
        v_ = _mm_subs_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(&e)), origin_);
        if (_mm_movemask_epi8(_mm_and_si128(_mm_cmpgt_epi16(v_, above_), _mm_cmplt_epi16(v_, below_))) == 0xFFFF) {
            least_ = _mm_min_epi16(least_, v_);
            most_ = _mm_max_epi16(most_, v_);
            return true;
        }
        return false;
#else
        local(e, q_);
        const int xa = std::min(q_[0], q_[2]), xb = std::max(q_[0], q_[2]);
        const int ya = std::min(q_[1], q_[3]), yb = std::max(q_[1], q_[3]);
        if (xa < l_ || xb >= r_ || ya < t_ || yb >= b_) return false;
        cl_ = std::min(cl_, xa);
        cr_ = std::max(cr_, xb + 1);
        ct_ = std::min(ct_, ya);
        cb_ = std::max(cb_, yb + 1);
        return true;
#endif
    }

    // For a line inside whose ends touch (its walk is the two ends, half
    // the lines of a drawing), their places in the buffer.
    bool touching(std::ptrdiff_t* a, std::ptrdiff_t* b) const {
#if defined(__SSE2__)
        const __m128i d = _mm_sub_epi16(_mm_srli_epi64(v_, 32), v_);
        const __m128i near = _mm_and_si128(_mm_cmpgt_epi16(d, _mm_set1_epi16(-2)), _mm_cmplt_epi16(d, _mm_set1_epi16(2)));
        if ((_mm_movemask_epi8(near) & 0xF) != 0xF) return false;
        const __m128i places = _mm_madd_epi16(v_, rows_);
        *a = _mm_cvtsi128_si32(places);
        *b = _mm_cvtsi128_si32(_mm_srli_epi64(places, 32));
        return true;
#else
        if (std::abs(q_[2] - q_[0]) > 1 || std::abs(q_[3] - q_[1]) > 1) return false;
        *a = q_[1] * stride_ + q_[0];
        *b = q_[3] * stride_ + q_[2];
        return true;
#endif
    }

    // The local ends of a line inside, into q (x0, y0, x1, y1).
    void ends(int* q) const {
#if defined(__SSE2__)
        q[0] = static_cast<std::int16_t>(_mm_extract_epi16(v_, 0));
        q[1] = static_cast<std::int16_t>(_mm_extract_epi16(v_, 1));
        q[2] = static_cast<std::int16_t>(_mm_extract_epi16(v_, 2));
        q[3] = static_cast<std::int16_t>(_mm_extract_epi16(v_, 3));
#else
        std::copy(q_, q_ + 4, q);
#endif
    }

    // The local ends of any line, beyond 16 bits where the origin takes them.
    void local(const LineRun::Ends& e, int* q) const {
        q[0] = e.h0 - oh_;
        q[1] = e.v0 - ov_;
        q[2] = e.h1 - oh_;
        q[3] = e.v1 - ov_;
    }

    // The area the inside lines cover; false when there were none.
    bool covered(int* l, int* t, int* r, int* b) const {
#if defined(__SSE2__)
        alignas(16) std::int16_t lo[8], hi[8];
        _mm_store_si128(reinterpret_cast<__m128i*>(lo), least_);
        _mm_store_si128(reinterpret_cast<__m128i*>(hi), most_);
        *l = std::min(lo[0], lo[2]);
        *t = std::min(lo[1], lo[3]);
        *r = std::max(hi[0], hi[2]) + 1;
        *b = std::max(hi[1], hi[3]) + 1;
        return *r > *l;
#else
        *l = cl_;
        *t = ct_;
        *r = cr_;
        *b = cb_;
        return cr_ >= 0;
#endif
    }

private:
    static std::int16_t cut(std::ptrdiff_t v) { return clamp16(v); }
#if defined(__SSE2__)
    static __m128i load(const std::int16_t* lanes) { return _mm_load_si128(reinterpret_cast<const __m128i*>(lanes)); }
    const __m128i origin_, above_, below_, rows_;
    __m128i least_, most_, v_{};
    const int oh_, ov_;
#else
    const int oh_, ov_, l_, t_, r_, b_;
    const std::ptrdiff_t stride_;
    int q_[4] = {};
    int cl_ = 1 << 30, ct_ = 1 << 30, cr_ = -1, cb_ = -1;
#endif
};

}  // namespace

void Port::store_line(int x0, int y0, int x1, int y1, int l, int t, int r, int b, std::uint32_t c) {
    std::uint32_t* const base = writable_pixels();
    const std::int64_t stride = width_;
    // Most lines lie wholly inside.
    if (std::min(x0, x1) >= l && std::max(x0, x1) < r && std::min(y0, y1) >= t && std::max(y0, y1) < b) {
        store_inside(base, stride, x0, y0, x1, y1, c);
        mark_changed(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1);
        return;
    }
    // The same walk as the general path, so the same pixels, one store each
    // and no call per row; the walk starts where it enters the box.
    Walk w;
    if (std::abs(x1 - x0) >= std::abs(y1 - y0)) {
        if (x0 > x1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        if (!walk_setup(x0, y0, x1, y1, l, r - 1, t, b - 1, w)) return;
        const int xa = static_cast<int>(x0 + w.ilo), ya = static_cast<int>(y0 + w.sb * w.k);
        const std::int64_t k = store_walk(base, ya * stride + xa, 1, w.sb * stride, w, c);
        const int xb = static_cast<int>(x0 + w.ihi), yb = static_cast<int>(y0 + w.sb * k);
        mark_changed(xa, std::min(ya, yb), xb + 1, std::max(ya, yb) + 1);
    } else {
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        if (!walk_setup(y0, x0, y1, x1, t, b - 1, l, r - 1, w)) return;
        const int ya = static_cast<int>(y0 + w.ilo), xa = static_cast<int>(x0 + w.sb * w.k);
        const std::int64_t k = store_walk(base, ya * stride + xa, stride, w.sb, w, c);
        const int yb = static_cast<int>(y0 + w.ihi), xb = static_cast<int>(x0 + w.sb * k);
        mark_changed(std::min(xa, xb), ya, std::max(xa, xb) + 1, yb + 1);
    }
}

LineRun::LineRun(Port& port) : port_(port) {
    const Box v = visible_box(port);
    const Point size = port.pen_size();
    direct_ = !port.hidden() && !v.empty() && size.h == 1 && size.v == 1 && port.solid_colour(&colour_);
    l_ = v.l;
    t_ = v.t;
    r_ = v.r;
    b_ = v.b;
    InsideBox::make(lanes_, port.origin_.h, port.origin_.v, l_, t_, r_, b_, port.width_);
}

void LineRun::colour_changed() {
    if (direct_) direct_ = port_.solid_colour(&colour_);
}

void LineRun::line(std::int16_t h0, std::int16_t v0, std::int16_t h1, std::int16_t v1) {
    if (!direct_) {
        port_.move_to(h0, v0);
        port_.line_to(h1, v1);
        return;
    }
    port_.pen_.location = {v1, h1};
    const Point o = port_.origin_;
    port_.store_line(h0 - o.h, v0 - o.v, h1 - o.h, v1 - o.v, l_, t_, r_, b_, colour_);
}

void LineRun::lines(std::span<const Ends> ends) {
    if (ends.empty()) return;
    if (!direct_) {
        for (const Ends& e : ends) line(e.h0, e.v0, e.h1, e.v1);
        return;
    }
    Port& p = port_;
    const Ends& last = ends.back();
    p.pen_.location = {last.v1, last.h1};
    std::uint32_t* const base = p.writable_pixels();
    const std::ptrdiff_t stride = p.width_;
    const int l = l_, t = t_, r = r_, b = b_;
    const std::uint32_t c = colour_;
    // The changed area of the lines inside, marked once.
#if defined(__SSE2__)
    InsideBox box(lanes_);
#else
    InsideBox box(p.origin_.h, p.origin_.v, l, t, r, b, stride);
#endif
    const bool places = InsideBox::fits(stride);
    int q[4];
    for (const Ends& e : ends) {
        if (box.test(e)) {
            std::ptrdiff_t a, z;
            if (places && box.touching(&a, &z)) {
                base[a] = c;
                base[z] = c;
                continue;
            }
            box.ends(q);
            store_inside(base, stride, q[0], q[1], q[2], q[3], c);
            continue;
        }
        box.local(e, q);
        if (std::max(q[0], q[2]) >= l && std::min(q[0], q[2]) < r && std::max(q[1], q[3]) >= t &&
            std::min(q[1], q[3]) < b)  // lines beside the box cost nothing
            p.store_line(q[0], q[1], q[2], q[3], l, t, r, b, c);
    }
    int cl, ct, cr, cb;
    if (box.covered(&cl, &ct, &cr, &cb)) p.mark_changed(cl, ct, cr, cb);
}

void Port::rect_op(const Rect& r, Fill f, bool frame, std::uint16_t opcode) {
    const int pw = pen_.size.h, ph = pen_.size.v;
    if (r.empty() || (frame && (pw <= 0 || ph <= 0))) return;
    if (picture_rec_) picture_rec_->shape(state(), opcode, r);
    if (region_rec_ && frame) {
        Region outline;
        outline.add_rect(r);
        region_rec_->add_closed(outline);
    }
    if (hidden()) return;
    const bool hollow = frame && r.right - r.left > 2 * pw && r.bottom - r.top > 2 * ph;
    std::uint32_t c = 0;
    if (f == Fill::pen && solid_pen_inside(r, &c)) {
        const int l = r.left - origin_.h, t = r.top - origin_.v, rr = r.right - origin_.h,
                  b = r.bottom - origin_.v;
        mark_changed(l, t, rr, b);
        if (blank_ && c == blank_pixel_) return;
        std::uint32_t* p = writable_pixels() + static_cast<std::size_t>(t) * width_ + l;
        const int w = rr - l;
        const auto whole = [&](int n) {
            for (; n > 0; --n, p += width_) store_run(p, w, c);
        };
        if (!hollow) {
            whole(b - t);
            return;
        }
        whole(ph);
        for (int y = t + ph; y < b - ph; ++y, p += width_) {
            store_run(p, pw, c);
            store_run(p + w - pw, pw, c);
        }
        whole(ph);
        return;
    }
    const Box v = visible_box(*this);
    const int top = std::max<int>(r.top, v.t + origin_.v);
    const int bottom = std::min<int>(r.bottom, v.b + origin_.v);
    const auto rows = [&](auto&& f) {
        for (int y = top; y < bottom; ++y) {
            if (hollow && y >= r.top + ph && y < r.bottom - ph) {
                f(y, r.left, r.left + pw);
                f(y, r.right - pw, r.right);
            } else {
                f(y, r.left, r.right);
            }
        }
    };
    const Ink k = ink(f);
    if (!v.empty() && solid_ink(k, &c)) {
        SolidWriter out(*this, v, c);
        // An erase of the whole width (the clear before a redraw) is one block.
        if (!hollow && v.l == 0 && v.r == width_ && r.left - origin_.h <= 0 && r.right - origin_.h >= width_) {
            if (top < bottom) out.rows(top - origin_.v, bottom - origin_.v);
            return;
        }
        rows([&](int y, int x0, int x1) { out.run(y, x0, x1); });
        return;
    }
    // Kept from call to call: a frame is drawn without an allocation.
    static std::vector<Span> spans;
    spans.clear();
    rows([&](int y, int x0, int x1) { spans.push_back({y, x0, x1}); });
    fill_local_spans(spans, k);
}

// The runs of oval_rows, written straight: inner lies ph rows inside r at
// top and bottom, so row j from the top and row j from the bottom share
// their runs, worked out once.
void Port::store_oval(const Rect& r, const Rect* inner, std::uint32_t c) {
    // Kept from call to call: an oval is drawn without an allocation.
    static std::vector<int> half, hole;
    const int h = r.bottom - r.top;
    oval_halves(r.right - r.left, h, half);
    const bool hollow = inner && !inner->empty();
    int ph = 0, il = 0;
    if (hollow) {
        oval_halves(inner->right - inner->left, inner->bottom - inner->top, hole);
        ph = inner->top - r.top;
        il = inner->left + inner->right - 1;
    }
    const int ol = r.left + r.right - 1, oh = origin_.h;
    const bool write = !(blank_ && c == blank_pixel_);
    std::uint32_t* const base = write ? writable_pixels() : nullptr;
    const std::size_t stride = static_cast<std::size_t>(width_);
    // The changed area is what the runs cover: a thin oval's end rows and a
    // frame's rows where the hole meets the edge hold nothing.
    int cl = 1 << 30, cr = -1, first = -1;
    const int rows = static_cast<int>(half.size());
    for (int j = 0; j < rows; ++j) {
        const int x = half[j];
        if (x < 0) continue;
        const int x0 = (ol - x) / 2 - oh, x1 = (ol + x) / 2 + 1 - oh;
        int a0 = x0, a1 = x1, b0 = x1, b1 = x1;  // one or two runs
        if (hollow && j >= ph) {
            const int hx = hole[j - ph];
            if (hx >= 0) {
                a1 = (il - hx) / 2 - oh;
                b0 = (il + hx) / 2 + 1 - oh;
            }
        }
        const bool left = a0 < a1, right = b0 < b1;
        if (!left && !right) continue;
        if (first < 0) first = j;
        cl = std::min(cl, left ? a0 : b0);
        cr = std::max(cr, right ? b1 : a1);
        if (!write) continue;
        const int yt = r.top + j - origin_.v, yb = r.bottom - 1 - j - origin_.v;
        std::uint32_t* const pt = base + yt * stride;
        std::uint32_t* const pb = base + yb * stride;
        if (left) {
            store_run(pt + a0, a1 - a0, c);
            store_run(pb + a0, a1 - a0, c);
        }
        if (right) {
            store_run(pt + b0, b1 - b0, c);
            store_run(pb + b0, b1 - b0, c);
        }
    }
    if (first >= 0) mark_changed(cl, r.top + first - origin_.v, cr, r.bottom - first - origin_.v);
}

void Port::oval_op(const Rect& r, Fill f, bool frame, std::uint16_t opcode) {
    const int pw = pen_.size.h, ph = pen_.size.v;
    if (r.empty() || (frame && (pw <= 0 || ph <= 0))) return;
    if (picture_rec_) picture_rec_->shape(state(), opcode, r);
    if (region_rec_ && frame) {
        Region outline;
        outline.add_oval(r);
        region_rec_->add_closed(outline);
    }
    if (hidden()) return;
    const Rect inner{clamp16(r.top + ph), clamp16(r.left + pw), clamp16(r.bottom - ph),
                     clamp16(r.right - pw)};
    // The inner oval lies within the outer one row by row.
    const bool hollow = frame && r.right - r.left > 2 * pw && r.bottom - r.top > 2 * ph;
    std::uint32_t c = 0;
    if (f == Fill::pen && solid_pen_inside(r, &c)) {
        store_oval(r, hollow ? &inner : nullptr, c);
        return;
    }
    const Box v = visible_box(*this);
    if (v.empty()) return;
    const int y_from = v.t + origin_.v, y_to = v.b + origin_.v;
    const Ink k = ink(f);
    if (solid_ink(k, &c)) {
        SolidWriter out(*this, v, c);
        oval_rows(r, hollow, inner, y_from, y_to, [&](int y, int x0, int x1) { out.run(y, x0, x1); });
        return;
    }
    static std::vector<Span> spans;
    spans.clear();
    oval_rows(r, hollow, inner, y_from, y_to, [&](int y, int x0, int x1) { spans.push_back({y, x0, x1}); });
    fill_local_spans(spans, k);
}

void Port::poly_op(std::span<const Point> points, Fill f, std::uint16_t opcode) {
    if (points.empty()) return;
    const bool frame = opcode == pict::op_poly + pict::frame;
    const int pw = pen_.size.h, ph = pen_.size.v;
    if (frame && (pw <= 0 || ph <= 0)) return;
    if (picture_rec_) picture_rec_->poly(state(), opcode, points);
    if (region_rec_ && frame) {
        if (points.size() == 1) region_rec_->line(points[0], points[0]);
        for (std::size_t i = 1; i < points.size(); ++i) region_rec_->line(points[i - 1], points[i]);
    }
    if (hidden()) return;
    const Box v = visible_box(*this);
    if (v.empty()) return;
    if (!frame) {
        Region area;
        area.add_polygon(points);
        fill_local_spans(area.spans(v.t + origin_.v, v.b + origin_.v), ink(f));
        return;
    }
    std::vector<Span> spans;
    const auto edge = [&](Point a, Point b) {
        pen_line_spans(a.h - origin_.h, a.v - origin_.v, b.h - origin_.h, b.v - origin_.v, pw, ph,
                       v, [&](int y, int x0, int x1) {
                           spans.push_back({y + origin_.v, x0 + origin_.h, x1 + origin_.h});
                       });
    };
    if (points.size() == 1) edge(points[0], points[0]);
    for (std::size_t i = 1; i < points.size(); ++i) edge(points[i - 1], points[i]);
    merge_spans(spans);
    fill_local_spans(spans, ink(f));
}

void Port::region_op(const Region& rgn, Fill f, std::uint16_t opcode) {
    const bool frame = opcode == pict::op_region + pict::frame;
    const int pw = pen_.size.h, ph = pen_.size.v;
    if (frame && (pw <= 0 || ph <= 0)) return;
    if (picture_rec_) {
        if (frame) {
            // Recorded as the pixels it frames, painted with the pen.
            const Rect b = rgn.bounds();
            Region ring;
            ring.add_spans(rgn.frame_spans(pw, ph, b.top, b.bottom));
            picture_rec_->region(state(), pict::op_region + pict::paint, ring);
        } else {
            picture_rec_->region(state(), opcode, rgn);
        }
    }
    if (region_rec_ && frame) region_rec_->add_closed(rgn);
    if (hidden()) return;
    const Box v = visible_box(*this);
    if (v.empty()) return;
    const int y_from = v.t + origin_.v, y_to = v.b + origin_.v;
    if (frame) {
        fill_local_spans(rgn.frame_spans(pw, ph, y_from, y_to), ink(f));
        return;
    }
    const Ink k = ink(f);
    std::uint32_t c = 0;
    if (solid_ink(k, &c)) {
        paint_region_solid(rgn, c);
        return;
    }
    // Reused: a replay paints a region for every filled piece.
    static std::vector<Span> spans;
    rgn.spans(y_from, y_to, spans);
    fill_local_spans(spans, k);
}

// What fill_local_spans does with the region's spans in one colour, without
// making them: each row's runs between pairs of crossings go straight into
// the buffer as the scan finds them, clipped at the sides (the scan covers
// the visible rows only), the changed area marked once.
void Port::paint_region_solid(const Region& rgn, std::uint32_t c) {
    const Box v = visible_box(*this);
    // Reused: a replay paints a region for every filled piece.
    static std::vector<scan::Edge> es;
    int lo, hi;
    scan::collect(rgn.edges(), es, lo, hi);
    const int first = std::max(v.t + origin_.v, lo), last = std::min(v.b + origin_.v, hi);
    if (first >= last) return;
    struct Rows {
        Port& port;
        const Box v;
        const std::uint32_t c;
        const bool keep_blank;
        std::uint32_t* base = nullptr;
        int l = 1 << 30, t = -1, r = -1, b = -1;
        void start(std::uint32_t) {}
        // Rows y .. y + k - 1 of two edges, the bounds kept in registers
        // while the pixels go (a pixel store may alias any int member).
        void two(int y, int k, const int* e0, const int* e1) {
            const int oh = port.origin_.h, vl = v.l + oh, vr = v.r + oh;
            const std::ptrdiff_t w = port.width_;
            y -= port.origin_.v;
            int ll = l + oh, rr = r + oh, tt = t, bb = b;
            std::uint32_t* p = nullptr;
            for (int i = 0; i < k; ++i) {
                const int x0 = std::max(std::min(e0[i], e1[i]), vl), x1 = std::min(std::max(e0[i], e1[i]), vr);
                if (x0 >= x1) continue;
                ll = std::min(ll, x0);
                rr = std::max(rr, x1);
                if (tt < 0) tt = y + i;
                bb = y + i + 1;
                if (keep_blank) continue;
                if (!p) {
                    if (!base) base = port.writable_pixels();
                    p = base + y * w;
                }
                store_run(p + i * w + (x0 - oh), x1 - x0, c);
            }
            l = ll - oh;
            r = rr - oh;
            t = tt;
            b = bb;
        }
        void row(int y, const int* x, int m) {
            y -= port.origin_.v;
            for (int i = 0; i + 1 < m; i += 2) {
                const int x0 = std::max(x[i] - port.origin_.h, v.l), x1 = std::min(x[i + 1] - port.origin_.h, v.r);
                if (x0 >= x1) continue;
                l = std::min(l, x0);
                r = std::max(r, x1);
                if (t < 0) t = y;
                b = y + 1;
                if (keep_blank) continue;
                if (!base) base = port.writable_pixels();
                store_run(base + static_cast<std::size_t>(y) * port.width_ + x0, x1 - x0, c);
            }
        }
    } rows{*this, v, c, blank_ && c == blank_pixel_};
    if (es.size() <= scan::few_edges) {
        scan::drop_twins(es);
        scan::scan_few(es, first, last, rows);
    } else {
        static Region::Crossings cross;
        rgn.crossings(first, last, cross);
        std::uint32_t begin = 0;
        for (int row = 0; row < cross.rows(); ++row) {
            const std::uint32_t end = cross.end[static_cast<std::size_t>(row)];
            rows.row(cross.first + row, cross.xs.data() + begin, static_cast<int>(end - begin));
            begin = end;
        }
    }
    if (rows.r >= 0) mark_changed(rows.l, rows.t, rows.r, rows.b);
}

void Port::frame_rect(const Rect& r) {
    rect_op(r, Fill::pen, true, pict::op_rect + pict::frame);
}
void Port::paint_rect(const Rect& r) {
    rect_op(r, Fill::pen, false, pict::op_rect + pict::paint);
}
void Port::erase_rect(const Rect& r) {
    rect_op(r, Fill::erase, false, pict::op_rect + pict::erase);
}
void Port::invert_rect(const Rect& r) {
    rect_op(r, Fill::invert, false, pict::op_rect + pict::invert);
}

void Port::frame_oval(const Rect& r) {
    oval_op(r, Fill::pen, true, pict::op_oval + pict::frame);
}
void Port::paint_oval(const Rect& r) {
    oval_op(r, Fill::pen, false, pict::op_oval + pict::paint);
}
void Port::erase_oval(const Rect& r) {
    oval_op(r, Fill::erase, false, pict::op_oval + pict::erase);
}
void Port::invert_oval(const Rect& r) {
    oval_op(r, Fill::invert, false, pict::op_oval + pict::invert);
}

void Port::frame_poly(std::span<const Point> p) {
    poly_op(p, Fill::pen, pict::op_poly + pict::frame);
}
void Port::paint_poly(std::span<const Point> p) {
    poly_op(p, Fill::pen, pict::op_poly + pict::paint);
}
void Port::erase_poly(std::span<const Point> p) {
    poly_op(p, Fill::erase, pict::op_poly + pict::erase);
}
void Port::invert_poly(std::span<const Point> p) {
    poly_op(p, Fill::invert, pict::op_poly + pict::invert);
}

void Port::frame_region(const Region& r) {
    region_op(r, Fill::pen, pict::op_region + pict::frame);
}
void Port::paint_region(const Region& r) {
    region_op(r, Fill::pen, pict::op_region + pict::paint);
}
void Port::erase_region(const Region& r) {
    region_op(r, Fill::erase, pict::op_region + pict::erase);
}
void Port::invert_region(const Region& r) {
    region_op(r, Fill::invert, pict::op_region + pict::invert);
}

int Port::comment(std::int16_t kind, std::span<const std::uint8_t> data) {
    if (data.size() > 0x7FFF) return 0;
    if (picture_rec_) return picture_rec_->comment(kind, data);
    return 1;
}

int Port::open_region() {
    if (region_rec_) return 0;
    region_rec_ = std::make_unique<RegionRecorder>();
    return 1;
}

Region Port::close_region() {
    if (!region_rec_) return {};
    Region r = region_rec_->finish();
    region_rec_.reset();
    return r;
}

int Port::open_picture(const Rect& frame) {
    if (picture_rec_) return 0;
    picture_rec_ = std::make_unique<PictureRecorder>(frame);
    return 1;
}

Picture Port::close_picture() {
    if (!picture_rec_) return {};
    Picture p = picture_rec_->finish();
    picture_rec_.reset();
    return p;
}

// ---- Copies ----

void Port::scroll_pixels(int dh, int dv) {
    if ((dh == 0 && dv == 0) || width_ == 0 || height_ == 0) return;
    fill_blank();
    const std::uint32_t back = pixel_of(back_);
    const int w = width_;
    const int keep = std::max(0, w - std::abs(dh));
    const int to = std::max(dh, 0), from = std::max(-dh, 0);
    // Rows are visited against the move, so that each is read before it is written over.
    const auto move_row = [&](int y) {
        std::uint32_t* d = buf_.data() + static_cast<std::size_t>(y) * w;
        const int sy = y - dv;
        if (sy < 0 || sy >= height_ || keep == 0) {
            std::fill_n(d, w, back);
            return;
        }
        std::memmove(d + to, buf_.data() + static_cast<std::size_t>(sy) * w + from, keep * sizeof *d);
        std::fill(d, d + to, back);
        std::fill(d + to + keep, d + w, back);
    };
    if (dv > 0)
        for (int y = height_ - 1; y >= 0; --y) move_row(y);
    else
        for (int y = 0; y < height_; ++y) move_row(y);
    mark_changed(0, 0, width_, height_);
}

void copy_bits(const Port& src, Port& dst, const Rect& src_rect, const Rect& dst_rect,
               std::int16_t mode) {
    if (src_rect.empty() || dst_rect.empty() || src.width_ == 0 || src.height_ == 0) return;
    const Box v = visible_box(dst);
    const int dl = dst_rect.left - dst.origin_.h, dt = dst_rect.top - dst.origin_.v;
    const int dw = dst_rect.right - dst_rect.left, dh = dst_rect.bottom - dst_rect.top;
    const int sl = src_rect.left - src.origin_.h, st = src_rect.top - src.origin_.v;
    const int sw = src_rect.right - src_rect.left, sh = src_rect.bottom - src_rect.top;
    const Box box{std::max(dl, v.l), std::max(dt, v.t), std::min(dl + dw, v.r),
                  std::min(dt + dh, v.b)};
    if (box.empty()) return;
    const std::vector<int> sx = source_map(box.l, box.r - box.l, dl, dw, sl, sw, src.width_);
    const std::vector<int> sy = source_map(box.t, box.b - box.t, dt, dh, st, sh, src.height_);
    const std::uint32_t sback = pixel_of(src.back_);
    const std::uint32_t fore = pixel_of(dst.fore_), back = pixel_of(dst.back_);
    dst.mark_changed(box.l, box.t, box.r, box.b);
    if (src.blank_ && dst.blank_) {
        // One colour onto another: when the copy keeps the destination's
        // colour for one pixel it keeps it for all, and dst stays blank.
        std::uint32_t d = dst.blank_pixel_;
        const std::vector<int> zero{0};
        copy_any(mode, &src.blank_pixel_, 0, &d, 0, Box{0, 0, 1, 1}, zero, zero, sback, fore, back);
        if (d == dst.blank_pixel_) return;
    }
    dst.fill_blank();
    // A blank source is one row of its colour, read again for every row.
    std::vector<std::uint32_t> source;
    const std::uint32_t* sbase = src.buf_.data();
    int ss = src.width_;
    if (src.blank_) {
        source.assign(static_cast<std::size_t>(src.width_), src.blank_pixel_);
        sbase = source.data();
        ss = 0;
    } else if (&src == &dst) {
        // Copying within one port reads from a snapshot, so overlapping
        // rectangles move as a whole.
        source = src.buf_;
        sbase = source.data();
    }
    copy_any(mode, sbase, ss, dst.buf_.data(), dst.width_, box, sx, sy, sback, fore, back);
}

void set_fast_lines(bool on) { g_fast_lines = on; }
bool fast_lines() { return g_fast_lines; }

// ---- The current port ----

Port* current_port() {
    return g_current;
}

void set_port(Port* port) {
    g_current = port;
}

PortSaver::PortSaver() : saved_(g_current), next_(g_savers) {
    g_savers = this;
}

PortSaver::PortSaver(Port* port) : PortSaver() {
    g_current = port;
}

PortSaver::~PortSaver() {
    g_current = saved_;
    for (PortSaver** p = &g_savers; *p; p = &(*p)->next_) {
        if (*p == this) {
            *p = next_;
            break;
        }
    }
}

}  // namespace plat
