#include "display/ellipses.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "display/clip_tests.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/object_renderer.h"
#include "display/pan_canvas.h"
#include "display/picture_target.h"
#include "store/geometry.h"
#include "store/records.h"

namespace drav {

namespace {

// The figure in hand, recomputed for every figure.
std::int16_t sides = 1;       // vertices of the full figure
std::int16_t inc = 360;       // step between vertex indexes
std::int16_t beg_side = 0, end_side = 0;
std::int16_t oth_poly = 0;    // a polygon of 10 or more sides: vertices computed
double pdeg = 0;              // degrees per side of such a polygon
const double* poly_rcos = nullptr;
const double* poly_rsin = nullptr;
std::int16_t zero_rot = 1;
double costheta = 1, sintheta = 0;
bool is_polygon = false;
double centre_x = 0, centre_y = 0, radius_1 = 0, radius_2 = 0;
double begin_angle = 0, end_angle = 0;
constexpr double largest_pixels = 32767;
constexpr int full_turn = 360;

// Sides by the radius in pixels: below each limit, that many.
struct SideStep {
    double below;
    std::int16_t sides;
};
constexpr SideStep side_steps[] = {{1, 1},    {3, 4},    {8, 8},     {30, 12},   {70, 20}, {120, 24},
                                   {250, 36}, {350, 40}, {600, 60},  {1000, 72}};

void note_clip() {
    if (clipped) save_clip = 1;
}

bool near(double a, double b) { return std::fabs(a - b) < small_tol; }

// Polygons of 10 or more sides have no fixed table: the unit vectors of
// their vertices, worked out as vertex() would, are kept per number of
// sides (cosines, then sines), since every such polygon on every redraw
// asks for the same ones.
constexpr int max_table_sides = 360;

const double* other_poly_table() {
    static std::vector<double> tables[max_table_sides + 1];
    std::vector<double>& t = tables[sides];
    if (t.empty()) {
        const std::size_t n = static_cast<std::size_t>(sides) + 1;
        t.resize(2 * n);
        for (std::size_t i = 0; i < n; ++i) {
            const double a = degrad(static_cast<int>(i) * (static_cast<double>(full_turn) / sides));
            t[i] = std::cos(a);
            t[n + i] = std::sin(a);
        }
    }
    return t.data();
}

// The figure's table of unit vectors, for vertices 0 to *last; false
// when its vertices have none.
bool vertex_table(const double** c, const double** s, int* last) {
    if (!is_polygon) {
        *c = rcos;
        *s = rsin;
        *last = full_turn;
    } else if (!oth_poly) {
        *c = poly_rcos;
        *s = poly_rsin;
        *last = sides;
    } else if (sides <= max_table_sides) {
        *c = other_poly_table();
        *s = *c + sides + 1;
        *last = sides;
    } else {
        return false;
    }
    return true;
}

// Vertex i, which lies outside the figure's table, as a unit vector.
void vertex(int i, double* c, double* s) {
    const double a = degrad(is_polygon ? i * (static_cast<double>(full_turn) / sides) : i);
    *c = std::cos(a);
    *s = std::sin(a);
}

[[gnu::always_inline]] inline void figure_point(double c, double s, double* x, double* y) {
    double px = radius_1 * c, py = radius_2 * s;
    if (!zero_rot) {
        const double t = px * costheta - py * sintheta;
        py = px * sintheta + py * costheta;
        px = t;
    }
    *x = centre_x + px;
    *y = centre_y + py;
}

// Lines to the vertices first, first + step, ... (count of them), as
// ell_draw_part draws each, handed over a run at a time.
void draw_vertices(int first, int step, int count) {
    constexpr int run = 64;
    double pts[2 * run];
    const double *tc = nullptr, *ts = nullptr;
    int last = -1;
    vertex_table(&tc, &ts, &last);
    while (count > 0) {
        const int m = std::min(count, run);
        for (int k = 0; k < m; ++k, first += step) {
            double c = 0, s = 0;
            if (first >= 0 && first <= last) {
                c = tc[first];
                s = ts[first];
            } else {
                vertex(first, &c, &s);
            }
            figure_point(c, s, &pts[2 * k], &pts[2 * k + 1]);
        }
        if (polyline_abs(pts, m)) save_clip = 1;
        count -= m;
    }
}

bool clockwise() { return (rec_u16(sinfo, ell::flags) & ell::clockwise) != 0; }

// The side an angle lies in, kept inside the full turn.
std::int16_t side_of(double angle) {
    const double w = two_pie / sides;
    return static_cast<std::int16_t>(std::clamp(trunc_i32(angle / w), 0, static_cast<std::int32_t>(sides)));
}

// The arc between the begin and end angles, whose unit vectors the caller
// has worked out (they serve the band's end sides too).
void arc_edge(double cb, double sb, double ce, double se) {
    beg_side = side_of(begin_angle);
    end_side = side_of(end_angle);
    ell_move_part(cb, sb);
    do_sides(beg_side != end_side ? 1 : 0);
    ell_draw_part(ce, se);
}

// One oval is enough for a solid closed circle or axis-parallel ellipse
// that fits the 16-bit pixel range.
bool as_oval(double a, double b, double rot, std::uint16_t thk) {
    if (sinfo.b[obj::style] != 1 || save_pts || is_polygon) return false;
    // What a picture brackets counts as the screen's dashed figures do: strokes.
    if ((printing == 0 || emitPICTcomment(sinfo)) && listing && !thk && !pattern_toosmall() && curpat_avail(0))
        return false;
    if (!(near(a, b) || near(rot, 0) || near(rot, half_pie) || near(rot, pie) || near(rot, three_half_pie)))
        return false;
    return std::fabs(2 * a * pwvxm) < largest_pixels && std::fabs(2 * b * pwvym) < largest_pixels;
}

// Angles outside the full turn would index past the whole-degree tables.
double in_turn(double a) { return a >= 0 && a < two_pie ? a : adjust_rotation(a); }

}  // namespace

void determine_sides() {
    if (max_resolution) {
        sides = 180;
    } else {
        const double r = std::max(radius_1, radius_2);
        const double p = std::fabs(r * qdviewport.width / (pancur_win.xr - pancur_win.xl));
        sides = 120;
        for (const SideStep& s : side_steps) {
            if (p < s.below) {
                sides = s.sides;
                break;
            }
        }
    }
    inc = static_cast<std::int16_t>(full_turn / sides);
}

void load_poly_array() {
    inc = 1;
    sides = rec_i16(sinfo, ell::sides);
    if (sides < 10) {
        poly_rcos = polycos[sides];
        poly_rsin = polysin[sides];
    } else {
        oth_poly = 1;
        pdeg = static_cast<double>(full_turn) / sides;
    }
}

void ell_move_part(double c, double s) {
    double x = 0, y = 0;
    figure_point(c, s, &x, &y);
    move_abs(x, y);
}

void ell_draw_part(double c, double s) {
    double x = 0, y = 0;
    figure_point(c, s, &x, &y);
    line_abs(x, y);
    note_clip();
}

void draw_section(std::int16_t from, std::int16_t count, std::int16_t step) {
    if (step == 0) return;
    const int m = std::abs(step);
    const int end = step + count * m;
    // Only a run that reaches its end is walked.
    if ((step > 0 && from * m > end) || (step < 0 && from * m < end)) return;
    draw_vertices(from * m, step, (end - from * m) / step);
}

void do_sides(std::int16_t flag) {
    if (clockwise()) {
        end_side = static_cast<std::int16_t>(end_side + 1);
        const bool wraps = flag ? beg_side < end_side : begin_angle < end_angle;
        if (wraps) {
            draw_section(beg_side, 1, static_cast<std::int16_t>(-inc));
            draw_section(sides, end_side, static_cast<std::int16_t>(-inc));
        } else if (flag) {
            draw_section(beg_side, end_side, static_cast<std::int16_t>(-inc));
        }
        return;
    }
    beg_side = static_cast<std::int16_t>(beg_side + 1);
    const bool wraps = flag ? beg_side > end_side : begin_angle > end_angle;
    if (wraps) {
        draw_section(beg_side, sides, inc);
        draw_section(1, end_side, inc);
    } else if (flag) {
        draw_section(beg_side, end_side, inc);
    }
}

void draw_ellipse(std::int16_t stroke, std::uint16_t thk) {
    centre_x = rec_f64(sinfo, obj::ref_x);
    centre_y = rec_f64(sinfo, obj::ref_y);
    radius_1 = rec_f64(sinfo, ell::radius1);
    radius_2 = rec_f64(sinfo, ell::radius2);
    if (!(radius_1 > 0) || !(radius_2 > 0)) {
        lastbx = lastex = centre_x;
        lastby = lastey = centre_y;
        return;
    }
    begin_angle = in_turn(rec_f64(sinfo, ell::begin));
    end_angle = in_turn(rec_f64(sinfo, ell::end));
    set_rec_f64(sinfo, ell::begin, begin_angle);
    set_rec_f64(sinfo, ell::end, end_angle);
    const bool arc = std::fabs(begin_angle - end_angle) > small_tol;
    const double a = radius_1, b = radius_2;
    const double rot = rec_f64(sinfo, obj::rotation);

    const std::int16_t visible = std::fabs(rot) < small_tol
                                     ? fast_clip(centre_x - a, centre_x + a, centre_y - b, centre_y + b)
                                     : clip_area(0, a, b);
    if (!visible) return;

    oth_poly = 0;
    // A polygon record of fewer than 3 sides has no vertex table: it is
    // drawn as its circle.
    is_polygon = (rec_u16(sinfo, ell::flags) & ell::polygon) && rec_i16(sinfo, ell::sides) >= 3;
    if (is_polygon) {
        load_poly_array();
    } else {
        determine_sides();
        if (save_pts && sides < 8) {
            sides = 8;
            inc = 45;
        }
    }
    zero_rot = rot == 0 ? 1 : 0;
    if (!zero_rot) {
        costheta = std::cos(rot);
        sintheta = std::sin(rot);
    }

    if (!arc) {
        if (as_oval(a, b, rot, thk)) {
            const bool swapped = near(rot, half_pie) || near(rot, three_half_pie);
            const double ha = swapped ? b : a, hb = swapped ? a : b;
            circle_abs(centre_x - ha, centre_y - hb, centre_x + ha, centre_y + hb);
            note_clip();
            return;
        }
        ell_move_part(rcos[0], rsin[0]);
        if (!is_polygon) {
            draw_section(1, sides, inc);
        } else {
            draw_vertices(1, 1, sides);
        }
        return;
    }

    if (stroke != 1 && !thk) return;
    const double cb = std::cos(begin_angle), sb = std::sin(begin_angle);
    const double ce = std::cos(end_angle), se = std::sin(end_angle);
    if (stroke == 1) {
        arc_edge(cb, sb, ce, se);
        if (thk) {
            figure_point(cb, sb, &lastbx, &lastby);
            figure_point(ce, se, &lastex, &lastey);
        }
        return;
    }
    // The outer edge: the band's end side, the edge back to the start, and
    // the start side.
    double bx = 0, by = 0, ex = 0, ey = 0;
    figure_point(cb, sb, &bx, &by);
    figure_point(ce, se, &ex, &ey);
    move_abs(lastex, lastey);
    line_abs(ex, ey);
    note_clip();
    std::swap(begin_angle, end_angle);
    set_rec_f64(sinfo, ell::begin, begin_angle);
    set_rec_f64(sinfo, ell::end, end_angle);
    set_rec_u16(sinfo, ell::flags, static_cast<std::uint16_t>(rec_u16(sinfo, ell::flags) ^ ell::clockwise));
    arc_edge(ce, se, cb, sb);
    move_abs(bx, by);
    line_abs(lastbx, lastby);
    note_clip();
}

}  // namespace drav
