#include "display/bezier.h"

#include <algorithm>
#include <cstring>

#include "display/clip_tests.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/records.h"

namespace drav {

std::uint16_t bez_guides = 0;
double eepsilon[4][4] = {};

namespace {

// The cubic Bezier basis, row by row.
constexpr double Mb[4][4] = {{-1, 3, -3, 1}, {3, -6, 3, 0}, {-3, 3, 0, 0}, {1, 0, 0, 0}};
// Forward differences of a cubic, before scaling for the step.
constexpr double Ee[4][4] = {{0, 0, 0, 1}, {1, 1, 1, 0}, {6, 2, 0, 0}, {6, 0, 0, 0}};

// The curve in hand, absolute.
double beg_x = 0, beg_y = 0, xx1 = 0, yy1 = 0, xx2 = 0, y2 = 0, end_x = 0, end_y = 0;
std::int16_t mode = 0;

void note_clip() {
    if (clipped) save_clip = 1;
}

// Value and differences of g stepped n times, a line to each point.
void walk(double gx[4], double gy[4], int n) {
    double pts[2 * 40];
    n = std::min(n, 40);
    for (int k = 0; k < n; ++k) {
        gx[0] += gx[1];
        gx[1] += gx[2];
        gx[2] += gx[3];
        gy[0] += gy[1];
        gy[1] += gy[2];
        gy[2] += gy[3];
        pts[2 * k] = gx[0];
        pts[2 * k + 1] = gy[0];
    }
    if (polyline_abs(pts, n)) save_clip = 1;
}

}  // namespace

void matmult44_41(const double m[4][4], double v[4]) {
    double r[4];
    for (int i = 0; i < 4; ++i) r[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2] + m[i][3] * v[3];
    std::memcpy(v, r, sizeof r);
}

void matmult(double a[4][4], const double b[4][4]) {
    double r[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + a[i][3] * b[3][j];
    std::memcpy(a, r, sizeof r);
}

void set_eepsilon(double e[4][4], double d) {
    const double d2 = d * d, d3 = d2 * d;
    e[1][0] *= d3;
    e[1][1] *= d2;
    e[1][2] *= d;
    e[2][0] *= d3;
    e[2][1] *= d2;
    e[3][0] *= d3;
}

void bez_limits(double x, double y, double* box) {
    if (x < box[box_xl]) box[box_xl] = x;
    if (x > box[box_xh]) box[box_xh] = x;
    if (y < box[box_yl]) box[box_yl] = y;
    if (y > box[box_yh]) box[box_yh] = y;
}

std::int16_t bezier_clip() {
    double box[4] = {large_limit, -large_limit, large_limit, -large_limit};
    bez_limits(beg_x, beg_y, box);
    bez_limits(xx1, yy1, box);
    bez_limits(xx2, y2, box);
    bez_limits(end_x, end_y, box);
    return fast_clip(box[box_xl], box[box_xh], box[box_yl], box[box_yh]);
}

namespace {

// The step matrix of each resolution, worked out once at start-up.
struct StepMatrix {
    double m[4][4];
};

StepMatrix step_matrix(int n) {
    StepMatrix e;
    std::memcpy(e.m, Ee, sizeof e.m);
    set_eepsilon(e.m, 1.0 / n);
    matmult(e.m, Mb);
    return e;
}

const StepMatrix coarse_steps = step_matrix(20), fine_steps = step_matrix(40);

}  // namespace

void draw_bezier(std::int16_t m, std::int16_t stroke, double* begx, double* begy, double* endx,
                 double* endy) {
    mode = m;
    const int n = max_resolution ? 40 : 20;
    std::memcpy(eepsilon, (max_resolution ? fine_steps : coarse_steps).m, sizeof eepsilon);

    beg_x = rec_f64(sinfo, obj::ref_x);
    beg_y = rec_f64(sinfo, obj::ref_y);
    xx1 = beg_x + rec_f64(sinfo, bez::c1x);
    yy1 = beg_y + rec_f64(sinfo, bez::c1y);
    xx2 = beg_x + rec_f64(sinfo, bez::c2x);
    y2 = beg_y + rec_f64(sinfo, bez::c2y);
    end_x = beg_x + rec_f64(sinfo, bez::endx);
    end_y = beg_y + rec_f64(sinfo, bez::endy);
    if (!bezier_clip()) return;

    if (stroke == 1) {
        double gx[4] = {beg_x, xx1, xx2, end_x}, gy[4] = {beg_y, yy1, y2, end_y};
        matmult44_41(eepsilon, gx);
        matmult44_41(eepsilon, gy);
        move_abs(gx[0], gy[0]);
        walk(gx, gy, n);
        *begx = beg_x;
        *begy = beg_y;
        *endx = gx[0];
        *endy = gy[0];
    } else {
        double gx[4] = {end_x, xx2, xx1, beg_x}, gy[4] = {end_y, y2, yy1, beg_y};
        matmult44_41(eepsilon, gx);
        matmult44_41(eepsilon, gy);
        line_abs(gx[0], gy[0]);
        note_clip();
        walk(gx, gy, n);
        line_abs(*begx, *begy);
        note_clip();
    }
    if (bez_guides) bezier_guides();
}

void bezier_guides() {
    setdrawmode(mode);
    if (listing) {
        begseg(static_cast<std::int16_t>(obj_kind(sinfo)), static_cast<std::int16_t>(obj_colour(sinfo)),
               dottedstyle, sinfo.b[obj::level], 1);
    } else {
        setlstyle(dottedstyle);
        setscreencolor(static_cast<std::int16_t>(obj_colour(sinfo)));
    }
    double len = 0, unused = 0;
    rel_screen_world(viewport.width, 0, &len, &unused);
    double sx = 0, sy = 0;
    calc_sides(get_radangle(xx2 - end_x, y2 - end_y), len, &sx, &sy);
    move_abs(end_x - sx, end_y - sy);
    line_abs(end_x + sx, end_y + sy);
    note_clip();
}

}  // namespace drav
