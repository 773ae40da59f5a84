#include "display/object_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "display/bezier.h"
#include "display/clip_tests.h"
#include "display/dimensions.h"
#include "display/display_list.h"
#include "display/ellipses.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/pan_canvas.h"
#include "display/picture_target.h"
#include "display/screen.h"
#include "display/stroke_text.h"
#include "store/geometry.h"
#include "store/levels.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/settings.h"
#include "store/strings.h"
#include "store/symbol_library.h"

namespace drav {

ObjectRec sinfo{};
std::uint16_t save_clip = 0;
std::uint16_t forced_show = 0;
std::uint16_t max_resolution = 0;
double lastbx = 0, lastby = 0, lastex = 0, lastey = 0;

namespace {

// The call in hand and the width state derived for `curlwidth`; the state
// is kept across objects and re-derived only when the width changes.
std::int16_t mode = mode_trace;
std::int16_t seg_index = 0;     // display-list key of the call
std::int16_t objwidth = 1;      // width code folded into 1-32
std::int16_t numstrokes = 1;    // screen strokes of the width code
std::uint16_t thick = 0;        // more than two strokes: drawn as a band outline
double widthdist = 0;           // half the band, world units
std::int16_t point_type = 0;    // 0 plain, 1 with an arrow, 2 with a middle marker
double wdist = 0;               // offset of the current stroke
double shft_xwidth = 0, shft_ywidth = 0;
int rect_sign = 1;              // a rectangle's height grows with this sign
constexpr double tick_angle = 0.7853981634;
constexpr double largest_pixels = 32767;

void note_clip() {
    if (clipped) save_clip = 1;
}

// The four edges of a w x h box at (x, y) turned by rot, each drawn as
// line_rel would; with `note`, a visible edge is noted in `save_clip`.
void box_outline(double x, double y, double w, double h, double rot, bool note) {
    double e1x = w, e1y = 0, e2x = 0, e2y = h;
    if (rot != 0) {
        rotate_cr(w, 0, &e1x, &e1y, rot);
        rotate_cr(0, h, &e2x, &e2y, rot);
    }
    move_abs(x, y);
    const double edges[4][2] = {{e1x, e1y}, {e2x, e2y}, {-e1x, -e1y}, {-e2x, -e2y}};
    double pts[8];
    double px = x, py = y;
    for (int k = 0; k < 4; ++k) {
        px = px + edges[k][0];
        py = py + edges[k][1];
        pts[2 * k] = px;
        pts[2 * k + 1] = py;
    }
    if (polyline_abs(pts, 4) && note) save_clip = 1;
}

// Lines from the pen to each of n points, a visible one noted in `save_clip`.
void noted_polyline(const double* xy, int n) {
    if (polyline_abs(xy, n)) save_clip = 1;
}

// Width bytes 0 and 1 both stand for code 1. Keying the cache on 1 for
// both keeps 0, the mark of a stale state, apart from every real width.
std::int16_t width_key(int w) { return static_cast<std::int16_t>(w <= 1 ? 1 : w); }

std::int16_t fold_width(int w) { return static_cast<std::int16_t>(w <= 1 ? 1 : (w - 1) % 32 + 1); }

// Code 32 (bytes 32, 64, 96 ...) lies past the 32-entry table: it takes
// the widest entry.
std::int16_t strokes_of(int code) {
    return screen_thick_table[std::clamp(code, 0, thick_codes - 1)];
}

double spacing() { return output_defs.width_factor; }

void derive_width(int w) {
    objwidth = fold_width(w);
    numstrokes = (swaper & sw_wide_strokes) ? strokes_of(objwidth) : 1;
    if (numstrokes < 1) numstrokes = 1;
    thick = numstrokes > 2 ? 1 : 0;
    curlwidth = width_key(w);
    widthdist = (numstrokes - 1) / 2.0 * dotwidth * spacing();
}

void thin_width() {
    curlwidth = 1;
    objwidth = 1;
    numstrokes = 1;
    thick = 0;
    widthdist = 0;
}

// Half the band of the current width code, whether or not wide lines are
// drawn as strokes.
double band_half_width() { return (strokes_of(objwidth) - 1) / 2.0 * dotwidth * spacing(); }

// A size that the flag marks as given on paper is divided by the scale.
double paper_size(double size, std::uint16_t flag) {
    const double scale = output_defs.plot_scale;
    if ((output_defs.flags & flag) && std::fabs(scale) > small_tol) return size / scale;
    return size;
}

double ref_x() { return rec_f64(sinfo, obj::ref_x); }
double ref_y() { return rec_f64(sinfo, obj::ref_y); }
std::int16_t obj_colour16() { return static_cast<std::int16_t>(obj_colour(sinfo)); }
std::int16_t style_byte() { return sinfo.b[obj::style]; }
std::int16_t kind16() { return static_cast<std::int16_t>(obj_kind(sinfo)); }

// The object's own pen after a terminator or a marker.
void restore_pen() {
    const std::int16_t s = thick ? solidstyle : style_byte();
    if (listing) {
        begseg(kind16(), obj_colour16(), s, sinfo.b[obj::level], numstrokes);
        return;
    }
    setlstyle(s);
    setscreencolor(obj_colour16());
}

void draw_markers(int kind, bool arrow, bool middle) {
    const double x = ref_x(), y = ref_y();
    switch (kind) {
    case ok_line: {
        const double dx = rec_f64(sinfo, line::dx), dy = rec_f64(sinfo, line::dy);
        if (arrow) draw_arrow(x + dx, y + dy, get_radangle(dx, dy), 1);
        if (middle) show_marker(dx / 2, dy / 2);
        break;
    }
    case ok_rect:
        if (middle) {
            double mx = rec_f64(sinfo, rect::width) / 2, my = rec_f64(sinfo, rect::height) / 2;
            const double rot = rec_f64(sinfo, obj::rotation);
            if (rot != 0) rotate_cr(mx, my, &mx, &my, rot);
            show_marker(mx, my);
        }
        break;
    case ok_ellipse:
        if (middle) show_marker(0, 0);
        break;
    case ok_bezier: {
        const double ex = rec_f64(sinfo, bez::endx), ey = rec_f64(sinfo, bez::endy);
        if (arrow)
            draw_arrow(x + ex, y + ey,
                       get_radangle(ex - rec_f64(sinfo, bez::c2x), ey - rec_f64(sinfo, bez::c2y)), 1);
        if (middle) {
            show_marker(0, 0);
            show_marker(rec_f64(sinfo, bez::c1x), rec_f64(sinfo, bez::c1y));
            show_marker(rec_f64(sinfo, bez::c2x), rec_f64(sinfo, bez::c2y));
            show_marker(ex, ey);
        }
        break;
    }
    case ok_point:
        if (arrow)
            draw_arrow(x, y, rec_f64(sinfo, obj::rotation), 1);
        else if (middle)
            show_marker(0, 0);
        break;
    default: break;
    }
}

void draw_record() {
    if (obj_kind(sinfo) == ok_symbol) {
        if (swaper & sw_symbols_expanded) symb_object();
        return;
    }
    single_object();
}

}  // namespace

void show(std::int16_t m, const ObjectRec* rec) {
    if (!rec) return;
    setdrawpat(0);
    setdrawmode(m);
    seg_index = prev_index;
    sinfo = *rec;
    mode = m;
    // Wide objects are always drawn solid.
    const std::uint8_t style = sinfo.b[obj::style];
    if (sinfo.b[obj::width] > 1) sinfo.b[obj::style] = static_cast<std::uint8_t>(solidstyle);
    // A record that is no stored object (no index) has no segment to keep:
    // it is drawn directly.
    if (listavail() && seg_index >= first_object_slot && (m == mode_draw || m == mode_erase)) {
        if (m == mode_draw) {
            startseg(static_cast<std::int16_t>(obj_kind(sinfo)));
            draw_record();
            stopseg(seg_index);
            // The list switched itself off while recording: draw directly.
            if (!listavail()) draw_record();
        } else {
            showseg(mode_erase, seg_index);
            deleteseg(seg_index);
        }
    } else {
        draw_record();
    }
    sinfo.b[obj::style] = style;
}

void showgen(std::int16_t m, const ObjectRec* rec) {
    if (!rec) return;
    sinfo = *rec;
    mode = m;
    draw_record();
}

void single_object() {
    save_clip = 0;
    const int kind = obj_kind(sinfo);
    const bool visible = ((swaper & sw_templates) || !is_template(sinfo)) &&
                         ((swaper & sw_hatch_lines) || kind != ok_line || rec_i16(sinfo, line::hatch) == 0) &&
                         (listing || LevelShowable(sinfo.b[obj::level]));
    if (!visible && !forced_show) {
        clipped = 0;
        return;
    }
    if (kind == ok_text || kind == ok_lindim || kind == ok_angdim)
        thin_width();
    else if (width_key(sinfo.b[obj::width]) != curlwidth)
        derive_width(sinfo.b[obj::width]);

    setdrawmode(mode);
    if (listing) {
        begseg(kind16(), obj_colour16(), thick ? solidstyle : style_byte(), sinfo.b[obj::level],
               thick ? numstrokes : 1);
    } else {
        setlstyle(thick ? solidstyle : style_byte());
        setscreencolor(obj_colour16());
    }
    num_pts = 0;

    const int endmark = obj_endmark(sinfo);
    const bool middle = (swaper & sw_midmarks) && obj_midmark(sinfo) != 0;
    if (kind == ok_point) point_type = static_cast<std::int16_t>(endmark == 1 ? 1 : middle ? 2 : 0);
    // The strokes move `sinfo`; the markers need it where it was.
    const bool markers = middle || endmark == 1;
    ObjectRec unshifted;
    if (markers) unshifted = sinfo;

    if (!thick) {
        select_object(1, 0);
    } else {
        change_thick(1, objwidth);
        select_object(1, thick);
        for (int i = 2; i <= numstrokes; ++i) change_thick(static_cast<std::int16_t>(i), objwidth);
        select_object(numstrokes, thick);
    }
    if (markers) {
        sinfo = unshifted;
        draw_markers(kind, endmark == 1, middle);
    }
    clipped = save_clip;
}

void select_object(std::int16_t stroke, std::uint16_t thk) {
    switch (obj_kind(sinfo)) {
    case ok_line: draw_lineo(stroke, thk); break;
    case ok_rect: draw_rect(); break;
    case ok_ellipse: draw_ellipse(stroke, thk); break;
    case ok_text: draw_text(mode, stroke); break;
    case ok_lindim: draw_ldim(); break;
    case ok_bezier: draw_bezier(mode, stroke, &lastbx, &lastby, &lastex, &lastey); break;
    case ok_point:
        if (stroke == 1)
            draw_point(thk);
        else
            draw_ellipse(stroke, thk);
        break;
    case ok_angdim: draw_adim(stroke, thk); break;
    default: break;
    }
}

void symb_object() {
    const double x = ref_x(), y = ref_y();
    const double w = rec_f64(sinfo, sym::width), h = rec_f64(sinfo, sym::height);
    const std::int16_t in_view = std::fabs(rec_f64(sinfo, obj::rotation)) < small_tol
                                     ? fast_clip(x, x + w, y, y + h)
                                     : clip_area(1, w / 2, h / 2);
    if (!in_view) {
        clipped = 0;
        return;
    }
    if (small_symbol(x, y, w, h)) {
        clipped = 1;
        return;
    }
    const ObjectRec reference = sinfo;
    std::uint16_t any = 0;
    std::int16_t first = 0, count = 0;
    if (ctrl_run(rec_i16(reference, sym::ctrl), &first, &count)) {
        char saved_text[textline_size];
        std::memcpy(saved_text, textline, sizeof saved_text);
        const bool marked_only = (swaper & sw_marked_pieces) != 0 && !forced_show;
        for (std::int16_t i = 0; i < count; ++i) {
            ObjectRec piece;
            // A placed symbol among the pieces would name a control record of another library.
            if (!get_symbol(first, i, piece) || rec_kind(piece) != rk_object || obj_kind(piece) == ok_symbol)
                continue;
            if (marked_only && !(rec_word0(piece) & w0_in_library)) continue;
            if (obj_kind(piece) == ok_text) symb_cumstgs(first, i, piece);
            symb_transform(reference, piece);
            change_symb_defaults(reference, piece);
            sinfo = piece;
            single_object();
            if (clipped) any = 1;
        }
        std::memcpy(textline, saved_text, sizeof saved_text);
    }
    sinfo = reference;
    clipped = any;
}

std::int16_t small_symbol(double x, double y, double w, double h) {
    if (!(mode != mode_trace || drawtoscreen) || listing) return 0;
    double px = 0, py = 0;
    rel_screen_world(4, 4, &px, &py);
    if (!(std::fabs(w) <= std::fabs(px) && std::fabs(h) <= std::fabs(py))) return 0;
    const bool templates = (swaper & sw_templates) != 0;
    const int level = sinfo.b[obj::level];
    if (!templates && !is_template(sinfo)) return 0;
    if (level == 0 || level > 250) return 0;
    if (!templates || !LevelShowable(level)) return 1;
    setdrawmode(mode);
    setlstyle(solidstyle);
    const std::int16_t c = obj_colour16();
    setscreencolor(c ? c : whitecolor);
    box_outline(x, y, w, h, rec_f64(sinfo, obj::rotation), false);
    return 1;
}

// ---- Lines, rectangles, points and their markers ----

void change_thick(std::int16_t stroke, std::int16_t ow) {
    const int kind = obj_kind(sinfo);
    if (stroke == 1) {
        wdist = (strokes_of(ow) - 1) / 2.0 * dotwidth * spacing();
        if (kind == ok_point && point_type != 1) point_to_ellipse(wdist);
    } else if (stroke == 2) {
        wdist = -dotwidth * spacing();
    }
    const double rot = rec_f64(sinfo, obj::rotation);
    if (stroke <= 2) {
        switch (kind) {
        case ok_line:
            rotate_cr(0, wdist, &shft_xwidth, &shft_ywidth,
                      get_radangle(rec_f64(sinfo, line::dx), rec_f64(sinfo, line::dy)));
            break;
        case ok_rect:
            rect_sign = sign(rec_f64(sinfo, rect::width)) == sign(rec_f64(sinfo, rect::height)) ? 1 : -1;
            rotate_cr(wdist, rect_sign * wdist, &shft_xwidth, &shft_ywidth, rot);
            break;
        case ok_bezier: rotate_cr(0, wdist, &shft_xwidth, &shft_ywidth, rot); break;
        case ok_ellipse:
            // The sides, not the corners, move by the offset.
            if ((rec_u16(sinfo, ell::flags) & ell::polygon) && rec_i16(sinfo, ell::sides) >= 3) {
                const double c = std::cos(pie / rec_i16(sinfo, ell::sides));
                if (std::fabs(c) > 1e-7) wdist /= c;
            }
            break;
        case ok_point:
            if (point_type == 0) wdist /= 2;
            break;
        default: break;
        }
    }
    switch (kind) {
    case ok_line:
    case ok_bezier:
        set_rec_f64(sinfo, obj::ref_x, ref_x() - shft_xwidth);
        set_rec_f64(sinfo, obj::ref_y, ref_y() - shft_ywidth);
        break;
    case ok_rect:
        set_rec_f64(sinfo, obj::ref_x, ref_x() - shft_xwidth);
        set_rec_f64(sinfo, obj::ref_y, ref_y() - shft_ywidth);
        set_rec_f64(sinfo, rect::width, rec_f64(sinfo, rect::width) + 2 * wdist);
        set_rec_f64(sinfo, rect::height, rec_f64(sinfo, rect::height) + rect_sign * 2 * wdist);
        break;
    case ok_ellipse:
    case ok_point:
        if (kind == ok_point && point_type != 0) break;
        set_rec_f64(sinfo, ell::radius1, rec_f64(sinfo, ell::radius1) - wdist);
        set_rec_f64(sinfo, ell::radius2, rec_f64(sinfo, ell::radius2) - wdist);
        break;
    default: break;
    }
}

void point_to_ellipse(double d) {
    set_rec_f64(sinfo, ell::radius1, d / 2);
    set_rec_f64(sinfo, ell::radius2, d / 2);
    const std::uint16_t flags = rec_u16(sinfo, ell::flags);
    set_rec_u16(sinfo, ell::flags, static_cast<std::uint16_t>((flags & ~ell::polygon) | ell::clockwise));
    set_rec_i16(sinfo, ell::sides, 0);
    set_rec_f64(sinfo, obj::rotation, 0);
    set_rec_f64(sinfo, ell::begin, 0);
    set_rec_f64(sinfo, ell::end, 0);
}

void draw_lineo(std::int16_t stroke, std::uint16_t thk) {
    const double x = ref_x(), y = ref_y();
    const double dx = rec_f64(sinfo, line::dx), dy = rec_f64(sinfo, line::dy);
    if (!thk) {
        move_abs(x, y);
        line_rel(dx, dy);
        note_clip();
        return;
    }
    if (stroke == 1) {
        lastbx = x;
        lastby = y;
        lastex = x + dx;
        lastey = y + dy;
        return;
    }
    move_abs(lastbx, lastby);
    const double pts[] = {lastex, lastey, x + dx, y + dy, x, y, lastbx, lastby};
    noted_polyline(pts, 4);
}

void draw_rect() {
    const double x = ref_x(), y = ref_y();
    const double w = rec_f64(sinfo, rect::width), h = rec_f64(sinfo, rect::height);
    const double rot = rec_f64(sinfo, obj::rotation);
    // A picture takes an unbracketed rectangle as its one primitive.
    const bool one_primitive =
        listing ? rectinbounds(x, x + w, y, y + h) && (thick || pattern_toosmall() || !curpat_avail(0))
                : printing == 1 && !thick && !emitPICTcomment(sinfo);
    if (rot == 0 && one_primitive && std::fabs(w * pwvxm) < largest_pixels &&
        std::fabs(h * pwvym) < largest_pixels) {
        rect_abs(x, y, x + w, y + h);
        note_clip();
        return;
    }
    box_outline(x, y, w, h, rot, true);
}

void draw_point(std::uint16_t thk) {
    const double x = ref_x(), y = ref_y();
    move_abs(x, y);
    if (!thk) {
        line_abs(x, y);
        note_clip();
        return;
    }
    // One pixel right and one up.
    double qx = x, qy = y;
    world_screen(&qx, &qy);
    qx += 1;
    qy += 1;
    screen_world(&qx, &qy);
    const double pts[] = {x, qy, qx, qy, x, qy, x, y};
    noted_polyline(pts, 4);
}

std::int16_t rectinbounds(double xl, double xr, double yb, double yt) {
    const WindowRec& w = clpcur_win;
    const auto in = [](double v, double lo, double hi) { return v >= lo && v <= hi; };
    return in(xl, w.xl, w.xr) && in(xr, w.xl, w.xr) && in(yb, w.yb, w.yt) && in(yt, w.yb, w.yt);
}

void draw_closed_line(double x, double y, double dx, double dy, std::int16_t w) {
    if (!thick) {
        move_abs(x, y);
        line_rel(dx, dy);
        note_clip();
        return;
    }
    if (width_key(w) != curlwidth) derive_width(w);
    double ox = 0, oy = 0;
    rotate_cr(0, widthdist, &ox, &oy, get_radangle(dx, dy));
    if (!thick) ox = oy = 0;
    move_abs(x - ox, y - oy);
    const double pts[] = {x - ox + dx, y - oy + dy, x + ox + dx, y + oy + dy, x + ox, y + oy, x - ox, y - oy};
    polyline_abs(pts, 4);
    note_clip();
}

void end_marker(double x, double y, double angle, std::int16_t code) {
    const int kind = obj_kind(sinfo);
    if (listing) {
        begseg(static_cast<std::int16_t>(kind), obj_colour16(), solidstyle, sinfo.b[obj::level], numstrokes);
    } else {
        setscreencolor(obj_colour16());
        setlstyle(solidstyle);
    }
    double size = 0, half = 0;
    if (code == 1 || code == 6) {
        size = paper_size(output_defs.arrow_length, of_arrow_on_paper);
        half = output_defs.arrow_half_angle;
    } else if (code >= 2 && code <= 5) {
        size = paper_size(output_defs.dim_mark_half_size, of_dim_sizes_on_paper);
    } else {
        restore_pen();
        return;
    }
    const double bw = band_half_width();
    const double rot = rec_f64(sinfo, obj::rotation);
    const double e = rec_f64(sinfo, ell::end);
    double sx = 0, sy = 0;
    switch (kind) {
    case ok_line:
        rotate_cr(0, bw, &sx, &sy, get_radangle(rec_f64(sinfo, line::dx), rec_f64(sinfo, line::dy)));
        break;
    case ok_point:
    case ok_bezier: rotate_cr(0, bw, &sx, &sy, rot); break;
    case ok_ellipse:
        // (x, y) is the centre: the tip sits on the arc's end.
        rotate_cr((rec_f64(sinfo, ell::radius1) - bw) * std::cos(e),
                  (rec_f64(sinfo, ell::radius2) - bw) * std::sin(e), &sx, &sy, rot);
        sx = -sx;
        sy = -sy;
        break;
    default: break;
    }
    const double px = x - sx, py = y - sy;
    const double a1x = size * std::cos(angle + half), a1y = size * std::sin(angle + half);
    const double a2x = size * std::cos(angle - half), a2y = size * std::sin(angle - half);
    const double l1x = px - a1x, l1y = py - a1y, l2x = px - a2x, l2y = py - a2y;

    const auto tick = [&](double a) {
        const double tx = size * std::cos(a), ty = size * std::sin(a);
        draw_closed_line(px - tx, py - ty, 2 * tx, 2 * ty, 1);
    };
    const auto onward = [&] { draw_closed_line(px, py, size * std::cos(angle), size * std::sin(angle), 1); };
    switch (code) {
    case 1:
    case 6:
        if (thick) {
            if (kind == ok_ellipse) {
                rotate_cr((rec_f64(sinfo, ell::radius1) + bw) * std::cos(e),
                          (rec_f64(sinfo, ell::radius2) + bw) * std::sin(e), &sx, &sy, rot);
            }
            const double tx = x + sx, ty = y + sy;
            move_abs(l1x, l1y);
            const double pts[] = {px, py, tx, ty, tx - a2x, ty - a2y, l1x, l1y};
            noted_polyline(pts, 4);
        } else {
            move_abs(px, py);
            line_abs(l1x, l1y);
            note_clip();
            move_abs(px, py);
            line_abs(l2x, l2y);
            note_clip();
            if (arrow_style(output_defs) == 1) {
                line_abs(l1x, l1y);
                note_clip();
            }
            if (code == 6) {
                move_abs(px, py);
                line_rel(size / 2 * std::cos(angle), size / 2 * std::sin(angle));
                note_clip();
            }
        }
        break;
    case 2: tick(angle - tick_angle); break;
    case 3: tick(angle + tick_angle); break;
    case 4:
        tick(angle - tick_angle);
        onward();
        break;
    case 5:
        tick(angle + tick_angle);
        onward();
        break;
    default: break;
    }
    restore_pen();
}

void draw_arrow(double x, double y, double angle, std::int16_t code) {
    const std::uint16_t keep = save_pts;
    save_pts = 0;
    end_marker(x, y, angle, code);
    save_pts = keep;
}

void show_marker(double dx, double dy) {
    const double s = paper_size(output_defs.marker_half_size, of_marker_on_paper);
    const std::uint16_t keep = save_pts;
    save_pts = 0;
    setdrawmode(mode);
    if (listing) {
        begseg(kind16(), obj_colour16(), solidstyle, sinfo.b[obj::level], 1);
    } else {
        // Drawn directly a marker takes the colour of the current properties.
        setscreencolor(static_cast<std::int16_t>(props_defs.colour));
        setlstyle(solidstyle);
    }
    const double mx = ref_x() + dx, my = ref_y() + dy;
    draw_closed_line(mx - s, my, 2 * s, 0, 1);
    draw_closed_line(mx, my - s, 0, 2 * s, 1);
    restore_pen();
    save_pts = keep;
}

}  // namespace drav
