#include "display/dimensions.h"

#include <cmath>

#include "display/ellipses.h"
#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "store/geometry.h"
#include "store/intersections.h"
#include "store/settings.h"
#include "store/units.h"

namespace drav {

namespace {

struct Vec {
    double x = 0, y = 0;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }

Vec turned(Vec v, double angle) {
    Vec r;
    rotate_cr(v.x, v.y, &r.x, &r.y, angle);
    return r;
}

// A dimension size, converted when the sizes are given on paper.
double dim_size(double size) {
    if (!(output_defs.flags & of_dim_sizes_on_paper)) return size;
    const double scale = output_defs.plot_scale;
    if (!(std::fabs(scale) > small_tol)) return size;
    return size * conv_factor(output_defs.paper_units, 1) / scale;
}

void note_clip() {
    if (clipped) save_clip = 1;
}

// The six vectors of a linear dimension in its own frame.
struct LdimFrame {
    Vec e, l1, l2, t, b, h;
};

LdimFrame ldim_frame(const ObjectRec& r) {
    const double d80 = rec_f64(r, ldim::second_x), d88 = rec_f64(r, ldim::second_y);
    const double d96 = rec_f64(r, ldim::offset), d104 = rec_f64(r, ldim::half_gap);
    const double d112 = rec_f64(r, ldim::text_pos);
    double g = dim_size(output_defs.ext_line_gap);
    const double ta = dim_size(output_defs.outside_marker_length);
    if (d96 < 0) g = -g;
    const double s80 = sign(d80), s88 = sign(d88);
    const std::uint16_t m = rec_u16(r, ldim::mode);
    if (m & ldim::horizontal)
        return {{0, g}, {0, d96}, {0, d96 - d88}, {s80 * ta, 0}, {s80 * d112, d96}, {s80 * d104, 0}};
    if (m & ldim::vertical)
        return {{g, 0}, {d96, 0}, {d96 - d80, 0}, {0, s88 * ta}, {d96, s88 * d112}, {0, s88 * d104}};
    return {{0, g}, {0, d96}, {0, d96}, {ta, 0}, {d112, d96}, {d104, 0}};
}

double frame_angle(const ObjectRec& r) {
    const double rot = rec_f64(r, obj::rotation);
    if (rec_u16(r, ldim::mode) & (ldim::horizontal | ldim::vertical)) return rot;
    return adjust_rotation(get_radangle(rec_f64(r, ldim::second_x), rec_f64(r, ldim::second_y)) + rot);
}

Vec reference(const ObjectRec& r) { return {rec_f64(r, obj::ref_x), rec_f64(r, obj::ref_y)}; }

// The second dimensioned point's world offset.
Vec second_offset(const ObjectRec& r) {
    return turned({rec_f64(r, ldim::second_x), rec_f64(r, ldim::second_y)}, rec_f64(r, obj::rotation));
}

void leader(Vec from, Vec by) { draw_leader(from.x, from.y, by.x, by.y); }
void arrow_line(Vec from, Vec to, std::int16_t both) {
    do_arrow(from.x, from.y, to.x - from.x, to.y - from.y, both);
}

}  // namespace

void draw_leader(double x, double y, double dx, double dy) {
    move_abs(x, y);
    line_rel(dx, dy);
    note_clip();
}

void do_arrow(double x, double y, double dx, double dy, std::int16_t both) {
    move_abs(x, y);
    line_rel(dx, dy);
    note_clip();
    const auto type =
        static_cast<std::int16_t>((rec_u16(sinfo, ldim::mode) & ldim::arrow_mask) >> ldim::arrow_shift);
    const std::uint16_t keep = save_pts;
    save_pts = 0;
    end_marker(x + dx, y + dy, get_radangle(dx, dy), type);
    if (both) end_marker(x, y, get_radangle(-dx, -dy), type);
    save_pts = keep;
}

void draw_ldim() {
    const LdimFrame f = ldim_frame(sinfo);
    const double e[2] = {f.e.x, f.e.y}, l1[2] = {f.l1.x, f.l1.y}, l2[2] = {f.l2.x, f.l2.y};
    const double t[2] = {f.t.x, f.t.y}, b[2] = {f.b.x, f.b.y}, h[2] = {f.h.x, f.h.y};
    do_boxdim(e, l1, l2, t, b, h);
}

void do_boxdim(const double* ev, const double* l1v, const double* l2v, const double* tv, const double* bv,
               const double* hv) {
    Vec e{ev[0], ev[1]}, l1{l1v[0], l1v[1]}, l2{l2v[0], l2v[1]}, t{tv[0], tv[1]}, b{bv[0], bv[1]},
        h{hv[0], hv[1]};
    const double frame = frame_angle(sinfo);
    if (frame != 0) {
        b = turned(b, frame);
        h = turned(h, frame);
        e = turned(e, frame);
        l1 = turned(l1, frame);
        l2 = turned(l2, frame);
    }
    const Vec p = reference(sinfo), v = second_offset(sinfo);
    const std::uint16_t m = rec_u16(sinfo, ldim::mode);
    if (m & ldim::ext1) leader(p + e, l1);
    if (m & ldim::ext2) leader(p + v + e, l2);
    if (m & ldim::arrows_outside) {
        if (frame != 0) t = turned(t, frame);
        arrow_line(p + l1 - t, p + l1, 0);
        arrow_line(p + v + l2 + t, p + v + l2, 0);
    } else if (m & ldim::broken) {
        arrow_line(p + b - h, p + l1, 0);
        arrow_line(p + b + h, p + v + l2, 0);
    } else {
        arrow_line(p + l1, p + v + l2, 1);
    }
}

void do_ldimends(const double* ev, const double* l1v, const double* l2v, const ObjectRec* rec, double* x1,
                 double* y1, double* x2, double* y2, double* x3, double* y3, double* x4, double* y4) {
    Vec e{ev[0], ev[1]}, l1{l1v[0], l1v[1]}, l2{l2v[0], l2v[1]};
    const double frame = frame_angle(*rec);
    if (frame != 0) {
        e = turned(e, frame);
        l1 = turned(l1, frame);
        l2 = turned(l2, frame);
    }
    const Vec p = reference(*rec), v = second_offset(*rec);
    const Vec a = p + e, b = p + v + e, c = a + l1, d = b + l2;
    *x1 = a.x;
    *y1 = a.y;
    *x2 = b.x;
    *y2 = b.y;
    *x3 = c.x;
    *y3 = c.y;
    *x4 = d.x;
    *y4 = d.y;
}

void getldimcorners(const ObjectRec* rec, double* x1, double* y1, double* x2, double* y2, double* x3,
                    double* y3, double* x4, double* y4) {
    const LdimFrame f = ldim_frame(*rec);
    const double e[2] = {f.e.x, f.e.y}, l1[2] = {f.l1.x, f.l1.y}, l2[2] = {f.l2.x, f.l2.y};
    do_ldimends(e, l1, l2, rec, x1, y1, x2, y2, x3, y3, x4, y4);
}

void draw_adim(std::int16_t, std::uint16_t) {
    const ObjectRec saved = sinfo;
    const double g = dim_size(output_defs.ext_line_gap);
    const double s = dim_size(output_defs.dim_size_84);
    const Vec p = reference(sinfo);
    const double t1 = rec_f64(sinfo, obj::rotation);
    const double d80 = rec_f64(sinfo, adim::second_x), d88 = rec_f64(sinfo, adim::second_y);
    const double d96 = rec_f64(sinfo, adim::arc_dist), d104 = rec_f64(sinfo, adim::vertex_dist);
    const std::uint16_t m = rec_u16(sinfo, adim::mode);
    const Vec a = p - turned({d104, 0}, t1);
    const Vec q = p + turned({d80, d88}, t1);
    const Vec on_arc = p + turned({d96, 0}, t1);
    const double r = distance(on_arc.x - a.x, on_arc.y - a.y);
    const double t2 = adjust_rotation(t1 + rec_f32(sinfo, adim::angle));
    const double tt = adjust_rotation(t1 + rec_f32(sinfo, adim::text_angle));

    if (m & adim::ext1) leader(p + turned({g, 0}, t1), turned({d96, 0}, t1));
    if (m & adim::ext2) {
        const Vec from = q + turned({g, 0}, t2);
        leader(from, a + turned({r + g, 0}, t2) - from);
    }

    // The arc: an ellipse-family record about the vertex.
    set_obj_kind_colour(sinfo, ok_ellipse, obj_colour(saved));
    set_rec_f64(sinfo, obj::ref_x, a.x);
    set_rec_f64(sinfo, obj::ref_y, a.y);
    set_rec_f64(sinfo, ell::radius1, r);
    set_rec_f64(sinfo, ell::radius2, r);
    set_rec_f64(sinfo, obj::rotation, 0);
    sinfo.b[obj::density_marks] = static_cast<std::uint8_t>(sinfo.b[obj::density_marks] & ~0x0C);
    set_rec_u16(sinfo, ell::flags, static_cast<std::uint16_t>(rec_u16(sinfo, ell::flags) & ~ell::polygon));

    const bool d = (m & adim::clockwise) != 0;
    const double q_angle = d ? half_pie : adjust_rotation(-half_pie);
    const double half_gap = rec_f32(saved, adim::half_gap);
    const double hg = d ? adjust_rotation(-half_gap) : half_gap;
    const double outside = 2 * get_radangle(r, d ? -s : s);
    const auto type = static_cast<std::int16_t>((m & adim::arrow_mask) >> adim::arrow_shift);

    const auto piece = [](double begin, double end, bool dir) {
        set_rec_f64(sinfo, ell::begin, begin);
        set_rec_f64(sinfo, ell::end, end);
        const std::uint16_t fl = rec_u16(sinfo, ell::flags);
        set_rec_u16(sinfo, ell::flags,
                    static_cast<std::uint16_t>(dir ? fl | ell::clockwise : fl & ~ell::clockwise));
        draw_ellipse(1, 0);
    };
    const auto head = [&](double direction) { draw_arrow(a.x, a.y, direction, type); };

    if (m & adim::arrows_outside) {
        piece(adjust_rotation(t1 - outside), t1, d);
        head(adjust_rotation(t1 - q_angle));
        piece(adjust_rotation(t2 + outside), t2, !d);
        head(adjust_rotation(t2 + q_angle));
    } else if (m & adim::broken) {
        double begin = adjust_rotation(tt - hg);
        if (!arc_bounds(t1, t2, begin, d ? 1 : 0)) begin = t2;
        piece(begin, t1, !d);
        head(adjust_rotation(t1 + q_angle));
        begin = adjust_rotation(tt + hg);
        if (!arc_bounds(t1, t2, begin, d ? 1 : 0)) begin = t1;
        piece(begin, t2, d);
        head(adjust_rotation(t2 - q_angle));
    } else {
        piece(t1, t2, d);
        head(adjust_rotation(t2 - q_angle));
        set_rec_f64(sinfo, ell::end, t1);
        head(adjust_rotation(t1 + q_angle));
    }
    sinfo = saved;
}

}  // namespace drav
