// Replay of recorded segments: drawing, erasing, XOR and testing one
// segment against the visible part of the pan canvas, filled outlines of
// wide pieces, the whole redraw, the pick test, fences and recolouring.
#include "display/list_replay.h"

#include <algorithm>
#include <bitset>
#include <cstdlib>
#include <iterator>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/idle.h"
#include "base/tool_options.h"
#include "display/clip_tests.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/list_view.h"
#include "display/object_renderer.h"
#include "display/pan_canvas.h"
#include "display/drawing_window.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "platform/core/region.h"
#include "store/geometry.h"
#include "store/group_build.h"
#include "store/levels.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"

namespace drav {

namespace {

std::uint16_t thickobject = 0;
std::uint16_t sketchit = 0;
std::uint16_t startclipping = 1;
std::int16_t firstxdraw = 0, firstydraw = 0, lastxdraw = 0, lastydraw = 0;
std::uint16_t isarect = 0, isacircle = 0, surrounds = 0;
std::int16_t cenx = 0, ceny = 0;
std::int16_t sides = 1, inc = 360;

// Where the lines of a replay go: the screen primitives, the outline of a
// region being collected, both at once, or nowhere (a test).
enum class Sink { screen, region, both, none };
Sink sink = Sink::screen;
plat::RegionRecorder* outline = nullptr;

bool to_screen() { return sink == Sink::screen || sink == Sink::both; }
bool to_region() { return (sink == Sink::region || sink == Sink::both) && outline; }

// While set, screen lines go straight to the offscreen port through it:
// only where the screen primitives would draw them there and nowhere else.
plat::LineRun* direct_lines = nullptr;
// Its lines wait here until the colour changes, a shape is drawn, the
// segment ends or the batch is full, then go to it together.
plat::LineRun::Ends direct_batch[128];
std::size_t direct_count = 0;
void flush_direct() {
    if (direct_count) direct_lines->lines({direct_batch, direct_count});
    direct_count = 0;
}

std::int16_t clamp16(int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }

std::int16_t cut16(int v) { return static_cast<std::int16_t>(v); }

// Canvas pixels to viewport pixels: a division by 2^zoom, rounding half
// away from zero.
int zrnd(int v) {
    int s = zoom & 63;
    if (s >= 32) s = 31;
    const int r = v >= 0 ? (v + zoomround) >> s : -((zoomround - v) >> s);
    return cut16(r);
}
int vx(int px) { return zrnd(px - panvp.xl); }
int vy(int py) { return zrnd(py - panvp.yb); }

// Port rows count down from the screen's top.
int port_v(int y) { return qdviewport.yt - y; }

void emit_line(int x1, int y1, int x2, int y2) {
    if (to_screen()) {
        if (direct_lines) {
            if (direct_count == std::size(direct_batch)) flush_direct();
            direct_batch[direct_count++] = {cut16(x1), clamp16(qdviewport.yt - cut16(y1)), cut16(x2),
                                            clamp16(qdviewport.yt - cut16(y2))};
        } else
            drawline(cut16(x1), cut16(y1), cut16(x2), cut16(y2));
    }
    // Only filled pieces bound the area.
    if (to_region() && thickobject)
        outline->line({cut16(port_v(y1)), cut16(x1)}, {cut16(port_v(y2)), cut16(x2)});
}

// The same in canvas pixels.
void canvas_line(int x1, int y1, int x2, int y2) { emit_line(vx(x1), vy(y1), vx(x2), vy(y2)); }

int outcode(int x, int y, const ViewportRec& v) {
    int c = 0;
    if (x < v.xl)
        c |= 1;
    else if (x > v.xr)
        c |= 2;
    if (y < v.yb)
        c |= 4;
    else if (y > v.yt)
        c |= 8;
    return c;
}

// Outcodes of the joining, with the view's edges counted as outside.
int join_code(int x, int y) {
    int c = 0;
    if (x <= panvp.xl)
        c |= 1;
    else if (x >= panvp.xr)
        c |= 2;
    if (y <= panvp.yb)
        c |= 4;
    else if (y >= panvp.yt)
        c |= 8;
    return c;
}

// Joins the end of one kept piece to the start of the next along a frame
// just outside the view, so that a clipped outline stays closed.
void jointheseg(int x1, int y1, int x2, int y2) {
    const int c1 = join_code(x1, y1), c2 = join_code(x2, y2);
    const int L = panvp.xl - 4, R = panvp.xr + 4, B = panvp.yb - 4, T = panvp.yt + 4;
    const int m = x1 + (x2 - x1) / 2;
    const auto path = [](std::initializer_list<std::pair<int, int>> pts) {
        const std::pair<int, int>* prev = nullptr;
        for (const auto& p : pts) {
            if (prev) canvas_line(prev->first, prev->second, p.first, p.second);
            prev = &p;
        }
    };
    const bool shape = isarect || isacircle;
    const bool a1 = c1 & 8, a2 = c2 & 8, b1 = c1 & 4, b2 = c2 & 4;
    const bool l1 = c1 & 1, l2 = c2 & 1, r1 = c1 & 2, r2 = c2 & 2;
    // The point above (or below) first, for the long ways round.
    const auto from_first = [&](bool first_is_start, int ax, int ay, int bx, int by,
                                std::initializer_list<std::pair<int, int>> via) {
        std::vector<std::pair<int, int>> pts;
        pts.push_back(first_is_start ? std::pair{ax, ay} : std::pair{bx, by});
        pts.insert(pts.end(), via.begin(), via.end());
        pts.push_back(first_is_start ? std::pair{bx, by} : std::pair{ax, ay});
        for (std::size_t i = 1; i < pts.size(); ++i)
            canvas_line(pts[i - 1].first, pts[i - 1].second, pts[i].first, pts[i].second);
    };
    if (c1 & c2) {
        path({{x1, y1}, {x2, y2}});
    } else if ((a1 && l2) || (l1 && a2)) {
        const bool up_first = a1;
        if (isacircle && cenx >= m)
            from_first(up_first, x1, y1, x2, y2, {{R, T}, {R, B}, {L, B}});
        else
            path({{x1, y1}, {L, T}, {x2, y2}});
    } else if ((b1 && l2) || (l1 && b2)) {
        const bool down_first = b1;
        if (isacircle && cenx >= m)
            from_first(down_first, x1, y1, x2, y2, {{R, B}, {R, T}, {L, T}});
        else
            path({{x1, y1}, {L, B}, {x2, y2}});
    } else if ((a1 && r2) || (r1 && a2)) {
        const bool up_first = a1;
        if (isacircle && cenx <= m)
            from_first(up_first, x1, y1, x2, y2, {{L, T}, {L, B}, {R, B}});
        else
            path({{x1, y1}, {R, T}, {x2, y2}});
    } else if ((b1 && r2) || (r1 && b2)) {
        const bool down_first = b1;
        if (isacircle && cenx <= m)
            from_first(down_first, x1, y1, x2, y2, {{L, B}, {L, T}, {R, T}});
        else
            path({{x1, y1}, {R, B}, {x2, y2}});
    } else if (shape && ((l1 && r2) || (r1 && l2))) {
        const bool left_first = l1;
        const int y = ceny < y1 ? B : T;
        from_first(left_first, x1, y1, x2, y2, {{L, y}, {R, y}});
    } else if (shape && ((a1 && b2) || (b1 && a2))) {
        const bool up_first = a1;
        const int x = cenx < x1 ? L : R;
        from_first(up_first, x1, y1, x2, y2, {{x, T}, {x, B}});
    } else {
        path({{x1, y1}, {x2, y2}});
    }
}

void closetheseg() {
    if (thickobject) {
        if (startclipping == 0) {
            if (lastxdraw != firstxdraw || lastydraw != firstydraw)
                jointheseg(lastxdraw, lastydraw, firstxdraw, firstydraw);
        } else if (surrounds) {
            const int L = panvp.xl - 4, R = panvp.xr + 4, B = panvp.yb - 4, T = panvp.yt + 4;
            canvas_line(L, B, R, B);
            canvas_line(R, B, R, T);
            canvas_line(R, T, L, T);
            canvas_line(L, T, L, B);
        }
    }
    startclipping = 1;
}

// The area of a whole rectangle or oval of a filled piece.
void add_box(int type, int x1, int y1, int x2, int y2) {
    plat::Region box;
    const int a = vx(x1), b = port_v(vy(y1)), c = vx(x2), d = port_v(vy(y2));
    const plat::Rect r{cut16(std::min(b, d)), cut16(std::min(a, c)), cut16(std::max(b, d) + 1),
                       cut16(std::max(a, c) + 1)};
    if (type == seg_rect)
        box.add_rect(r);
    else
        box.add_oval(r);
    outline->add_closed(box);
}

bool zoomclip(int x1, int y1, int x2, int y2, int type, int mode);

bool clip_rect(int x1, int y1, int x2, int y2, int mode) {
    closetheseg();
    isarect = 1;
    // Narrowed to the view grown by 2 pixels, so edges far outside cost nothing.
    int xa = std::min(x1, x2), xb = std::max(x1, x2), ya = std::min(y1, y2), yb = std::max(y1, y2);
    xa = std::max(xa, panvp.xl - 2);
    ya = std::max(ya, panvp.yb - 2);
    xb = std::min(xb, panvp.xr + 2);
    yb = std::min(yb, panvp.yt + 2);
    cenx = cut16(xa + (xb - xa) / 2);
    ceny = cut16(ya + (yb - ya) / 2);
    bool any = false;
    any |= zoomclip(xa, ya, xb, ya, seg_line, mode);
    any |= zoomclip(xb, ya, xb, yb, seg_line, mode);
    any |= zoomclip(xb, yb, xa, yb, seg_line, mode);
    any |= zoomclip(xa, yb, xa, ya, seg_line, mode);
    closetheseg();
    isarect = 0;
    return any;
}

bool clip_circle(int x1, int y1, int x2, int y2, int mode) {
    closetheseg();
    isacircle = 1;
    determine_sides(x1, y1, x2, y2);
    const int rx = (x2 - x1) / 2, ry = (y2 - y1) / 2;
    cenx = cut16(x1 + rx);
    ceny = cut16(y1 + ry);
    bool any = false;
    int px = static_cast<int>(cenx + rx * rcos[0]), py = static_cast<int>(ceny + ry * rsin[0]);
    for (int k = 1; k <= sides; ++k) {
        const int a = std::min(k * inc, 360);
        const int qx = static_cast<int>(cenx + rx * rcos[a]), qy = static_cast<int>(ceny + ry * rsin[a]);
        any |= zoomclip(px, py, qx, qy, seg_line, mode);
        px = qx;
        py = qy;
    }
    closetheseg();
    isacircle = 0;
    return any;
}

// Draws or tests one primitive of canvas pixels; true when something of it
// was kept.
bool zoomclip(int x1, int y1, int x2, int y2, int type, int mode) {
    surrounds = 0;
    bool kept = true;
    bool whole_box = false;
    if (!(mode != mode_trace && !thickobject)) {
        int c1 = outcode(x1, y1, panvp), c2 = outcode(x2, y2, panvp);
        if (type == seg_line) {
            while ((c1 | c2) && kept) {
                if (c1 & c2) {
                    kept = false;
                    break;
                }
                const bool first = c1 != 0;
                const int c = first ? c1 : c2;
                const double dx = x2 - x1, dy = y2 - y1;
                int x, y;
                if (c & 1) {
                    x = panvp.xl;
                    y = iround(y1 + dy * (x - x1) / dx);
                } else if (c & 2) {
                    x = panvp.xr;
                    y = iround(y1 + dy * (x - x1) / dx);
                } else if (c & 4) {
                    y = panvp.yb;
                    x = iround(x1 + dx * (y - y1) / dy);
                } else {
                    y = panvp.yt;
                    x = iround(x1 + dx * (y - y1) / dy);
                }
                if (first) {
                    x1 = x, y1 = y;
                    c1 = outcode(x1, y1, panvp);
                } else {
                    x2 = x, y2 = y;
                    c2 = outcode(x2, y2, panvp);
                }
            }
        } else {
            if (c1 & c2) return false;
            const bool inside = (c1 | c2) == 0;
            if (mode != mode_trace && thickobject && inside) {
                whole_box = true;
            } else {
                // Whether the box holds the whole real view (in a test the
                // view is in `t_vp`, `panvp` holding the test box).
                const ViewportRec& view = mode == mode_trace ? t_vp : panvp;
                const int xa = std::min(x1, x2), xb = std::max(x1, x2);
                const int ya = std::min(y1, y2), yb = std::max(y1, y2);
                const bool surround = outcode(xa, yb, view) == 9 && outcode(xb, ya, view) == 6;
                const bool any = type == seg_rect ? clip_rect(x1, y1, x2, y2, mode)
                                                  : clip_circle(x1, y1, x2, y2, mode);
                surrounds = surround ? 1 : 0;
                if (surround && thickobject && !any) closetheseg();
                surrounds = 0;
                if (any) segclipped = 1;
                return any;
            }
        }
    }
    if (!kept) return false;
    if (thickobject && type == seg_line) {
        if (startclipping == 0) {
            if (x1 != lastxdraw || y1 != lastydraw) jointheseg(lastxdraw, lastydraw, x1, y1);
        } else {
            startclipping = 0;
            firstxdraw = cut16(x1);
            firstydraw = cut16(y1);
        }
        lastxdraw = cut16(x2);
        lastydraw = cut16(y2);
    }
    if (mode == mode_trace && !thickobject) {
        segclipped = 1;
        return true;
    }
    if (type == seg_line) {
        canvas_line(x1, y1, x2, y2);
    } else {
        if (mode != mode_trace && (!thickobject || whole_box) && to_screen()) {
            if (direct_lines) flush_direct();
            const int a = vx(x1), b = vy(y1), c = vx(x2), d = vy(y2);
            if (type == seg_rect)
                drawrectangle(cut16(a), cut16(b), cut16(c), cut16(d));
            else
                drawcircle(cut16(a), cut16(b), cut16(c), cut16(d));
        }
        if (to_region() && whole_box) add_box(type, x1, y1, x2, y2);
    }
    segclipped = 1;
    return true;
}

// The records of one entry in order, a block's run at a time: f(first,
// count), continuing into the next block after record 1637 while f gives
// true. `r` is the entry's first record where the caller has it already.
template <class F>
void walk_runs(const SegCtrlRec& e, SegPrimRec* r, F&& f) {
    int block = seg_word(e.b, 1), rec = seg_word(e.b, 2);
    int count = seg_word(e.b, 3);
    while (count > 0) {
        if (!r) return;
        const int run = std::min(count, seg_recs_per_block - rec);
        if (!f(r, run)) return;
        count -= run;
        rec = 0;
        ++block;
        if (count > 0) r = seg_record(block, rec);
    }
}
template <class F>
void walk_runs(const SegCtrlRec& e, F&& f) {
    if (seg_word(e.b, 3) > 0) walk_runs(e, seg_record(seg_word(e.b, 1), seg_word(e.b, 2)), f);
}

// The same a record at a time.
template <class F>
void walk_records(const SegCtrlRec& e, F&& f) {
    walk_runs(e, [&](SegPrimRec* r, int count) {
        for (int k = 0; k < count; ++k) f(r[k]);
        return true;
    });
}

bool has_segment(const SegCtrlRec* e) { return e && (seg_word(e->b, 0) & 0x8000); }

// The first record of an entry, or nullptr when it has none.
SegPrimRec* first_record(const SegCtrlRec& e) {
    return seg_word(e.b, 3) == 0 ? nullptr : seg_record(seg_word(e.b, 1), seg_word(e.b, 2));
}

// The limits record first (r, the entry's first record), and its box
// meeting the view.
inline bool limits_meet(const SegPrimRec* r, const ViewportRec& v) {
    if (!r || (seg_word(r->b, 0) & 15) != seg_limits) return false;
    const auto w = [&](int k) { return static_cast<std::int16_t>(seg_word(r->b, k)); };
    return w(1) <= v.xr && w(2) >= v.xl && w(3) <= v.yt && w(4) >= v.yb;
}
bool limits_meet(const SegCtrlRec& e, const ViewportRec& v) { return limits_meet(first_record(e), v); }

// Replays the drawing records of an entry; thickobject afterwards tells
// whether any piece is a filled outline.
void replay_records(const SegCtrlRec& e, int mode) {
    bool shown = true;
    int level = -1;
    // The colour the last attributes set while lines go through
    // direct_lines: nothing here changes the pen's colour in between, so
    // the same colour again needs no change (and ends no batch).
    int set_colour = -1;
    std::uint16_t any_filled = thickobject;
    walk_records(e, [&](const SegPrimRec& r) {
        const auto w = [&](int k) { return static_cast<std::int16_t>(seg_word(r.b, k)); };
        switch (seg_word(r.b, 0) & 15) {
        case seg_attr: {
            closetheseg();
            thickobject = static_cast<std::uint16_t>((seg_word(r.b, 1) >> 12) & 15);
            if (thickobject) any_filled = 1;
            if (mode != mode_erase && to_screen() && !(direct_lines && r.b[5] == set_colour)) {
                if (direct_lines) flush_direct();
                setscreencolor(r.b[5]);
                if (direct_lines) {
                    direct_lines->colour_changed();
                    set_colour = r.b[5];
                }
            }
            if (r.b[3] != level) {
                level = r.b[3];
                shown = LevelShowable(level) != 0;
            }
            break;
        }
        case seg_line:
            if (shown) zoomclip(w(1), w(2), w(3), w(4), seg_line, mode);
            break;
        case seg_limits: break;
        case seg_rect:
        case seg_circle:
            if (shown) zoomclip(w(1), w(4), w(2), w(3), seg_word(r.b, 0) & 15, mode);
            break;
        default: zoommsg(msg_unknown_prim); break;
        }
    });
    closetheseg();
    thickobject = any_filled;
}

// The area of a filled segment, collected from its outline.
plat::Region collect_area(const SegCtrlRec& e, int mode) {
    plat::RegionRecorder rec;
    const Sink saved_sink = sink;
    plat::RegionRecorder* saved = outline;
    sink = Sink::region;
    outline = &rec;
    thickobject = 0;
    replay_records(e, mode);
    sink = saved_sink;
    outline = saved;
    return rec.finish();
}

void set_fore(const plat::RGBColor& c) {
    if (myCGrafPtr) myCGrafPtr->set_fore_color(c);
    if (drawCWindow) drawCWindow->set_fore_color(c);
}

// Paints the area of a filled segment in modes 1-3.
void paint_area(int mode, const plat::Region& area) {
    const std::uint16_t screen = drawtoscreen;
    drawtoscreen = 0;
    const std::int16_t saved_mode = gdrawmode;
    setdrawmode(static_cast<std::int16_t>(mode == mode_erase ? mode_draw : mode));
    if (printing == 1) {
        if (plat::Port* p = plat::current_port()) p->paint_region(area);
    } else if (printing == 0) {
        if (mode != mode_xor && myCGrafPtr) {
            const plat::Pattern pat = myCGrafPtr->pen_pattern();
            myCGrafPtr->set_pen_pattern(plat::black_pattern);
            myCGrafPtr->paint_region(area);
            myCGrafPtr->set_pen_pattern(pat);
        }
        if ((screen || mode == mode_xor) && drawCWindow) {
            const plat::Rect clip = drawCWindow->clip();
            const plat::Pattern pat = drawCWindow->pen_pattern();
            drawCWindow->set_clip(drawRect);
            drawCWindow->set_pen_pattern(plat::black_pattern);
            drawCWindow->paint_region(area);
            drawCWindow->set_pen_pattern(pat);
            drawCWindow->set_clip(clip);
        }
    }
    setdrawmode(saved_mode);
    drawtoscreen = screen;
}

// Fills a filled segment in modes 1-3.
void ourfilltheobject(int mode, const SegCtrlRec& e) {
    const std::uint16_t screen = drawtoscreen;
    drawtoscreen = 0;
    const plat::Region area = collect_area(e, mode);
    drawtoscreen = screen;
    paint_area(mode, area);
}

// Whether the test box (in `panvp`) meets the area of a filled segment of
// the real view `t_vp`.
bool test_area(const SegCtrlRec& e) {
    const ViewportRec box = panvp;
    panvp = t_vp;
    const plat::Region area = collect_area(e, mode_trace);
    const int l = vx(box.xl), r = vx(box.xr), b = vy(box.yb), t = vy(box.yt);
    panvp = box;
    const plat::Rect rr{cut16(port_v(t)), cut16(std::min(l, r)), cut16(port_v(b) + 1), cut16(std::max(l, r) + 1)};
    return area.meets(rr);
}

void showseg_entry(std::int16_t mode, const SegCtrlRec* e) {
    thickobject = 0;
    segclipped = 0;
    startclipping = 1;
    if (!e || !limits_meet(*e, panvp)) return;
    const Sink saved_sink = sink;
    sink = mode == mode_trace ? Sink::none : Sink::screen;
    if (mode == mode_erase) {
        const int bg = objopts ? objopts->background_colour : colour_white;
        set_fore(dravColors[bg >= 0 && bg < colour_count ? bg : colour_white]);
        setlstyle(solidstyle);
        setdrawmode(mode_draw);
    }
    if (mode != mode_trace && plat::fast_lines()) {
        // The outline is collected while the pieces are drawn: a second
        // walk would clip every piece again to the same lines.
        static plat::RegionRecorder rec;
        rec.clear();
        plat::RegionRecorder* const saved = outline;
        outline = &rec;
        sink = Sink::both;
        // A drawing replay into the offscreen port alone.
        std::optional<plat::LineRun> run;
        if (mode == mode_draw && gdrawmode == mode_draw && !drawtoscreen && printing == 0 && !vector_target &&
            !drawourrgn && myCGrafPtr)
            run.emplace(*myCGrafPtr);
        direct_lines = run ? &*run : nullptr;
        replay_records(*e, mode);
        if (direct_lines) flush_direct();
        direct_lines = nullptr;
        outline = saved;
        if (thickobject) paint_area(mode == mode_erase ? mode_draw : mode, rec.region());
        sink = saved_sink;
        return;
    }
    replay_records(*e, mode);
    if (thickobject && (mode != mode_trace || !segclipped)) {
        if (mode == mode_trace)
            segclipped = test_area(*e) ? 1 : 0;
        else
            ourfilltheobject(mode == mode_erase ? mode_draw : mode, *e);
    }
    sink = saved_sink;
}

}  // namespace

ViewportRec t_vp{};

void determine_sides(int x1, int y1, int x2, int y2) {
    if (max_resolution) {
        sides = 180;
    } else {
        const int r = std::max(std::abs(x2 - x1) / 2, std::abs(y2 - y1) / 2);
        sides = r < 1 ? 1 : r <= 2 ? 4 : r <= 7 ? 8 : r <= 29 ? 12 : r <= 69 ? 20 : r <= 119 ? 24
              : r <= 249 ? 36 : r <= 349 ? 40 : r <= 599 ? 60 : r <= 999 ? 72 : 120;
    }
    inc = static_cast<std::int16_t>(360 / sides);
}

std::int16_t circle_sides() { return sides; }

void _showseg(std::int16_t mode, std::int16_t index) {
    plat::PortSaver port;
    const std::uint16_t screen = drawtoscreen;
    if (printing || sketchit) drawtoscreen = 0;
    setdrawmode(mode);
    showseg_entry(mode, seg_entry(index));
    clipped = segclipped;
    thickobject = 0;
    drawtoscreen = screen;
}

void _colorseg(std::int16_t index, std::int16_t colour) {
    ++list_edits;
    const SegCtrlRec* e = seg_entry(index);
    if (!has_segment(e)) return;
    walk_records(*e, [&](SegPrimRec& r) {
        if ((seg_word(r.b, 0) & 15) == seg_attr) r.b[5] = static_cast<std::uint8_t>(colour);
    });
}

namespace {
// What the plain replay last set: a run of segments in one colour and on one
// level sets the colour and asks about the level once.
// Lines wait in `batch` until the colour changes, a shape is drawn or the
// batch is full, then go to the line run together.
struct PlainState {
    int colour = -1;
    int level = -1;
    bool shown = true;
    plat::LineRun::Ends batch[256];
    std::size_t lines = 0;
    // Where lines go straight into the buffer, a colour change does not
    // end the batch: the lines before it keep their pixel here, [end of
    // the one before, end) each.
    struct Part {
        std::size_t end;
        std::uint32_t pixel;
    };
    Part parts[32];
    std::size_t nparts = 0;
    void flush(plat::LineRun& run) {
        std::size_t from = 0;
        for (std::size_t i = 0; i < nparts; ++i) {
            run.lines({batch + from, parts[i].end - from}, parts[i].pixel);
            from = parts[i].end;
        }
        run.lines({batch + from, lines - from});
        lines = nparts = 0;
    }
};
bool sketch_plain(const SegCtrlRec& e, SegPrimRec* first, plat::LineRun& run, PlainState& last);
}  // namespace

namespace {

// What the offscreen copy holds after a whole replay: the view it showed
// and the port's change count then. While nothing else has drawn into it,
// a pan can move those pixels instead of drawing them again.
// What else its pixels depend on is kept with it: the list, the colours,
// the background and the levels shown.
struct Sketched {
    const plat::Port* port = nullptr;
    ViewportRec view{};
    std::int16_t zoom = -1;
    std::uint64_t changes = 0;
    std::uint32_t edits = 0;
    plat::RGBColor back{};
    int background = 0;
    plat::RGBColor colours[colour_count] = {};
    std::bitset<256> levels;
};
Sketched sketched;

Sketched sketch_now() {
    Sketched s;
    s.port = myCGrafPtr;
    s.view = panvp;
    s.zoom = zoom;
    s.changes = myCGrafPtr ? myCGrafPtr->changes() : 0;
    s.edits = list_edits;
    s.back = myCGrafPtr ? myCGrafPtr->back_color() : plat::RGBColor{};
    s.background = objopts ? objopts->background_colour : -1;
    std::copy(std::begin(dravColors), std::end(dravColors), s.colours);
    for (int n = 0; n < 256; ++n) s.levels[static_cast<std::size_t>(n)] = LevelShowable(n) != 0;
    return s;
}

bool same_sketch(const Sketched& a, const Sketched& b) {
    return a.port == b.port && a.zoom == b.zoom && a.changes == b.changes && a.edits == b.edits &&
           a.back == b.back && a.background == b.background &&
           std::equal(std::begin(a.colours), std::end(a.colours), b.colours) && a.levels == b.levels;
}

// Replays, in list order, the segments meeting the view whose limits
// record `wanted` accepts, into `target` (standing in for the offscreen
// copy); marks every object on screen or not.
template <class Wanted>
void replay_view(plat::Port* target, Wanted&& wanted) {
    plat::Port* const offscreen = myCGrafPtr;
    myCGrafPtr = target;
    plat::Port scratch;
    std::optional<plat::LineRun> run;
    run.emplace(target ? *target : scratch);
    PlainState last;
    for (int i = first_object_slot; i < number_of_objects; ++i) {
        const SegCtrlRec* e = seg_entry(i);
        if (!has_segment(e)) {
            put_on_screen(i, 0);
            continue;
        }
        SegPrimRec* const first = first_record(*e);
        if (!limits_meet(first, panvp)) continue;
        put_on_screen(i, 1);
        if (!wanted(*e)) continue;
        if (!sketch_plain(*e, first, *run, last)) {
            last.flush(*run);
            showseg_entry(mode_draw, e);
            run.emplace(target ? *target : scratch);
            last.colour = -1;
        }
    }
    last.flush(*run);
    thickobject = 0;
    myCGrafPtr = offscreen;
}

// The selection drawn over a replay, the window told, the pen restored.
void finish_replay(std::int16_t saved_mode, std::int16_t saved_pat, std::int16_t saved_colour);

// A whole replay draws in copy mode and solid, into the offscreen copy
// only; finish() puts the screen flag and the pen back and draws the
// selection over it.
struct Replaying {
    const std::int16_t mode = gdrawmode, pat = gdrawpat, colour = gcolor;
    const std::uint16_t screen = drawtoscreen;
    Replaying() {
        sketchit = 1;
        setdrawmode(mode_draw);
        setdrawpat(0);
        drawtoscreen = 0;
    }
    Replaying(const Replaying&) = delete;
    Replaying& operator=(const Replaying&) = delete;
    void finish() const {
        drawtoscreen = screen;
        finish_replay(mode, pat, colour);
    }
};

void finish_replay(std::int16_t saved_mode, std::int16_t saved_pat, std::int16_t saved_colour) {
    if (ingrpdrag) {
        if (macgroup) {
            showgroup(1);
        } else {
            std::int16_t n = indx;
            if (okindx(&n) && n == indx) showonoff(indx, 1);
        }
    } else if (getidle()) {
        if (macgroup)
            showgroup(1);
        else if (okindx(&indx))
            showcurrent(indx);
    }
    if (plat::Window* w = whichdrawWindow()) plat::invalidate_rect(w, drawRect);
    setdrawmode(saved_mode);
    setdrawpat(saved_pat);
    setscreencolor(saved_colour);
    sketchit = 0;
    sketched = sketch_now();
}

}  // namespace

void _sketchlist() {
    const Replaying replaying;
    plat::PortSaver port(myCGrafPtr);
    replay_view(myCGrafPtr, [](const SegCtrlRec&) { return true; });
    replaying.finish();
}

namespace {

// Squares of the offscreen copy that a pan must draw again.
constexpr int tile_size = 32;
struct Tiles {
    int cols = 0, rows = 0;
    std::vector<std::uint8_t> on;
    void reset(int width, int height) {
        cols = (width + tile_size - 1) / tile_size;
        rows = (height + tile_size - 1) / tile_size;
        on.assign(static_cast<std::size_t>(cols) * rows, 0);
    }
    // Local pixels l..r, t..b inclusive; f(col, row) for each square they reach.
    template <class F>
    bool each(int l, int t, int r, int b, F&& f) const {
        const int c0 = std::max(l, 0) / tile_size, c1 = std::min(r / tile_size, cols - 1);
        const int r0 = std::max(t, 0) / tile_size, r1 = std::min(b / tile_size, rows - 1);
        if (r < 0 || b < 0) return false;
        for (int y = r0; y <= r1; ++y)
            for (int x = c0; x <= c1; ++x)
                if (f(x, y)) return true;
        return false;
    }
    void mark(int l, int t, int r, int b) {
        each(l, t, r, b, [&](int x, int y) {
            on[static_cast<std::size_t>(y) * cols + x] = 1;
            return false;
        });
    }
    bool meets(int l, int t, int r, int b) const {
        return each(l, t, r, b, [&](int x, int y) { return on[static_cast<std::size_t>(y) * cols + x] != 0; });
    }
    // The marked squares as rectangles, a run of a row at a time.
    template <class F>
    void runs(int width, int height, F&& f) const {
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < cols;) {
                if (!on[static_cast<std::size_t>(y) * cols + x]) {
                    ++x;
                    continue;
                }
                int e = x;
                while (e < cols && on[static_cast<std::size_t>(y) * cols + e]) ++e;
                f(plat::Rect{cut16(y * tile_size), cut16(x * tile_size), cut16(std::min((y + 1) * tile_size, height)),
                             cut16(std::min(e * tile_size, width))});
                x = e;
            }
        }
    }
};

// The limits record of an entry as local pixels of the offscreen copy at
// zoom 0 (left, top, right, bottom inclusive), one pixel wider all round.
struct LocalBox {
    int l, t, r, b;
};
LocalBox local_box(const SegCtrlRec& e) {
    const SegPrimRec* lim = seg_record(seg_word(e.b, 1), seg_word(e.b, 2));
    const auto w = [&](int k) { return static_cast<std::int16_t>(seg_word(lim->b, k)); };
    const int H = qdviewport.yt;
    return {w(1) - panvp.xl - 1, H - (w(4) - panvp.yb) - 1, w(2) - panvp.xl + 1, H - (w(3) - panvp.yb) + 1};
}

bool inside(const SegCtrlRec& e, const ViewportRec& v) {
    const SegPrimRec* lim = seg_record(seg_word(e.b, 1), seg_word(e.b, 2));
    const auto w = [&](int k) { return static_cast<std::int16_t>(seg_word(lim->b, k)); };
    return w(1) >= v.xl && w(2) <= v.xr && w(3) >= v.yb && w(4) <= v.yt;
}

bool has_filled_piece(const SegCtrlRec& e) {
    bool filled = false;
    walk_records(e, [&](const SegPrimRec& r) {
        if ((seg_word(r.b, 0) & 15) == seg_attr && (seg_word(r.b, 1) & 0xF000)) filled = true;
    });
    return filled;
}

}  // namespace

std::int16_t scroll_sketchlist() {
    plat::Port* const p = myCGrafPtr;
    // Only a copy that holds exactly the last whole replay, of a view of the
    // same size at zoom 0 (where a pan moves every pixel by whole pixels),
    // drawn through the fast paths and wholly unclipped.
    if (!p || !plat::fast_lines() || printing || zoom != 0 || (swaper & sw_grid) ||
        !(p->origin() == plat::Point{0, 0}))
        return 0;
    Sketched now = sketch_now();
    if (!same_sketch(sketched, now)) return 0;
    const plat::Rect clip = p->clip();
    if (clip.left > 0 || clip.top > 0 || clip.right < p->width() || clip.bottom < p->height()) return 0;
    const ViewportRec& was = sketched.view;
    const int dx = panvp.xl - was.xl, dy = panvp.yb - was.yb;
    const int W = p->width(), H = p->height();
    if (was.width != panvp.width || was.height != panvp.height || (dx == 0 && dy == 0) || std::abs(dx) >= W ||
        std::abs(dy) >= H)
        return 0;

    const Replaying replaying;
    plat::PortSaver port(p);

    // Canvas y counts upward, port rows downward.
    p->scroll_pixels(-dx, dy);
    static Tiles tiles;
    tiles.reset(W, H);
    if (dx > 0) tiles.mark(W - dx - 1, 0, W - 1, H - 1);
    if (dx < 0) tiles.mark(0, 0, -dx, H - 1);
    if (dy > 0) tiles.mark(0, 0, W - 1, dy);
    if (dy < 0) tiles.mark(0, H + dy - 1, W - 1, H - 1);
    // A filled piece cut at an edge of either view is closed along that
    // view's frame: its pixels depend on the view, so its box is drawn again.
    for (int i = first_object_slot; i < number_of_objects; ++i) {
        const SegCtrlRec* e = seg_entry(i);
        if (!has_segment(e) || !limits_meet(*e, panvp) || (inside(*e, was) && inside(*e, panvp))) continue;
        if (!has_filled_piece(*e)) continue;
        const LocalBox b = local_box(*e);
        tiles.mark(b.l, b.t, b.r, b.b);
    }

    // The squares drawn afresh into a copy of the offscreen port's size and
    // pen, then moved over.
    static plat::Port fresh;
    if (fresh.width() != W || fresh.height() != H) fresh.resize(W, H);
    fresh.set_pen_state(p->pen_state());
    fresh.set_fore_color(p->fore_color());
    fresh.set_back_color(p->back_color());
    fresh.set_clip(p->clip());
    tiles.runs(W, H, [&](const plat::Rect& r) { fresh.erase_rect(r); });
    replay_view(&fresh, [&](const SegCtrlRec& e) {
        const LocalBox b = local_box(e);
        return tiles.meets(b.l, b.t, b.r, b.b);
    });
    tiles.runs(W, H, [&](const plat::Rect& r) { plat::copy_bits(fresh, *p, r, r, plat::srcCopy); });
    p->set_pen_state(fresh.pen_state());
    p->set_fore_color(fresh.fore_color());

    replaying.finish();
    return 1;
}

namespace {

// A line record's words 1-4 as port ends. At zoom 0 they are the offsets
// alone, cut to 16 bits: the same as 16-bit arithmetic throughout, so SSE2
// turns the four words at once where it is there.
class PortEnds {
public:
    explicit PortEnds(int H)
        : H_(H)
#if defined(__SSE2__)
          ,
          add_(_mm_setr_epi16(pandx, static_cast<short>(H - pandy), pandx, static_cast<short>(H - pandy), 0, 0,
                              0, 0)),
          negate_(_mm_setr_epi16(0, -1, 0, -1, 0, 0, 0, 0))
#endif
    {
    }
    // At zoom 0.
    void put_unzoomed(const SegPrimRec& r, plat::LineRun::Ends* out) const {
#if defined(__SSE2__)
        __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(r.b + 2));
        v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
        v = _mm_sub_epi16(_mm_xor_si128(v, negate_), negate_);  // rows count down
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_add_epi16(v, add_));
#else
        *out = {cut16(w(r, 1) + pandx), cut16(H_ - (w(r, 2) + pandy)), cut16(w(r, 3) + pandx),
                cut16(H_ - (w(r, 4) + pandy))};
#endif
    }
    void put_zoomed(const SegPrimRec& r, plat::LineRun::Ends* out) const {
        *out = {cut16(vx(w(r, 1))), cut16(H_ - vy(w(r, 2))), cut16(vx(w(r, 3))), cut16(H_ - vy(w(r, 4)))};
    }

private:
    static int w(const SegPrimRec& r, int k) { return static_cast<std::int16_t>(seg_word(r.b, k)); }
    const int H_;
#if defined(__SSE2__)
    const __m128i add_, negate_;
#endif
};

bool sketch_plain(const SegCtrlRec& e, SegPrimRec* first, plat::LineRun& run, PlainState& last) {
    plat::Port* p = myCGrafPtr;
    if (!p) return true;
    const int H = qdviewport.yt;
    const PortEnds ends(H);
    const bool unzoomed = zoom == 0;
    bool shown = true, filled = false;
    // The batch's count stays in a register while the records go by.
    std::size_t n = last.lines;
    const auto flush = [&] {
        last.lines = n;
        last.flush(run);
        n = 0;
    };
    walk_runs(e, first, [&](const SegPrimRec* r, int count) {
        for (const SegPrimRec* const end = r + count; r != end; ++r) {
            const int type = r->b[1] & 15;  // the low byte of word 0
            if (type == seg_line) {
                if (!shown) continue;
                if (n == std::size(last.batch)) flush();
                // The line records that follow, as many as the batch holds,
                // in a loop of their own.
                const SegPrimRec* const stop =
                    r + std::min<std::ptrdiff_t>(end - r, static_cast<std::ptrdiff_t>(std::size(last.batch) - n));
                plat::LineRun::Ends* out = last.batch + n;
                if (unzoomed) {
                    do ends.put_unzoomed(*r++, out++);
                    while (r != stop && (r->b[1] & 15) == seg_line);
                } else {
                    do ends.put_zoomed(*r++, out++);
                    while (r != stop && (r->b[1] & 15) == seg_line);
                }
                n = static_cast<std::size_t>(out - last.batch);
                --r;  // the loop steps past the last one
            } else if (type == seg_attr) {
                // A segment with a filled piece is drawn whole by the replay
                // with its fill: the plain drawing stops here (what it drew
                // is drawn again).
                if (seg_word(r->b, 1) & 0xF000) {
                    filled = true;
                    return false;
                }
                if (r->b[5] != last.colour) {
                    if (!run.direct() || last.nparts == std::size(last.parts))
                        flush();
                    else if (n > (last.nparts ? last.parts[last.nparts - 1].end : 0))
                        last.parts[last.nparts++] = {n, run.colour()};
                    last.colour = r->b[5];
                    setscreencolor(r->b[5]);
                    run.colour_changed();
                }
                if (r->b[3] != last.level) {
                    last.level = r->b[3];
                    last.shown = LevelShowable(r->b[3]) != 0;
                }
                shown = last.shown;
            } else if (type == seg_rect || type == seg_circle) {
                if (!shown) continue;
                flush();
                const auto w = [&](int k) { return static_cast<std::int16_t>(seg_word(r->b, k)); };
                const int x1 = vx(w(1)), x2 = vx(w(2)), y1 = H - vy(w(3)), y2 = H - vy(w(4));
                const plat::Rect rr{cut16(std::min(y1, y2)), cut16(std::min(x1, x2)),
                                    cut16(std::max(y1, y2) + 1), cut16(std::max(x1, x2) + 1)};
                if (type == seg_rect)
                    p->frame_rect(rr);
                else
                    p->frame_oval(rr);
            } else if (type != seg_limits) {
                flush();
                zoommsg(msg_unknown_prim);
            }
        }
        return true;
    });
    last.lines = n;
    return !filled;
}

}  // namespace

void _findseg(std::int16_t* index, double x, double y) {
    const std::int16_t given = *index;
    std::int16_t n = given;
    move_forward(&n);
    const std::int16_t start = n;
    t_vp = panvp;
    pworld_screen(&x, &y);
    const int tol = 3 << zoom;
    const std::int16_t l = iround(x - tol), r = iround(x + tol), b = iround(y - tol), t = iround(y + tol);
    panvp = {l, r, b, t, cut16(r - l), cut16(t - b)};
    clipped = 0;
    bool hit = false;
    if (number_of_objects > first_object_slot && n >= first_object_slot) {
        do {
            const SegCtrlRec* e = seg_entry(n);
            if (get_on_screen(n) && has_segment(e) && valid_object((seg_word(e->b, 0) >> 11) & 15)) {
                showseg(mode_trace, n);
                hit = clipped != 0;
            }
            if (hit) break;
            if (++n >= number_of_objects) n = first_object_slot;
        } while (n != start);
    }
    if (hit) {
        *index = n;
        clipped = 1;
    } else {
        *index = given;
        clipped = 0;
    }
    panvp = t_vp;
}

void setfindfence(double xl, double yb, double xr, double yt, std::int16_t mode) {
    set_valid_objects();
    watch_on();
    cur_stop();
    t_vp = panvp;
    double x1 = xl, y1 = yb, x2 = xr, y2 = yt;
    pworld_screen(&x1, &y1);
    pworld_screen(&x2, &y2);
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const auto tr = [](double v) { return cut16(trunc_i32(v)); };
    const ViewportRec fence{tr(x1), tr(x2), tr(y1), tr(y2), cut16(tr(x2) - tr(x1)), cut16(tr(y2) - tr(y1))};
    grpchanged = 0;
    for (int i = first_object_slot; i < number_of_objects; ++i) {
        clipped = 0;
        const SegCtrlRec* e = seg_entry(i);
        if (get_on_screen(i) && has_segment(e) && valid_object((seg_word(e->b, 0) >> 11) & 15)) {
            panvp = fence;
            showseg(mode_trace, static_cast<std::int16_t>(i));
            panvp = t_vp;
        }
        if (mode == 5) adjust_group(static_cast<std::int16_t>(i), clipped);
        if (mode == 6) adjust_group(static_cast<std::int16_t>(i), clipped ? 0 : 1);
    }
    if (grpchanged && mode == 5) {
        // TODO(gfnce_link) the fence joins the group's fence list
    }
    panvp = t_vp;
    cur_go();
    watch_off();
}

}  // namespace drav
