// Object records of every kind and a display at 10 pixels per unit for the
// renderer's tests: the window (0..20, 0..10) fills the 200 x 100 screen,
// so world (x, y) is port pixel (10 x, 100 - 10 y).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/levels.h"
#include "store/records.h"
#include "store/settings.h"
#include "tests/display/display_fixture.h"
#include "tests/support/drawing_file.h"

namespace drav::test {

inline ObjectRec object(int kind, double x, double y, int colour = colour_black) {
    return object_record(kind, x, y, colour);
}

inline ObjectRec line_rec(double x, double y, double dx, double dy) {
    ObjectRec r = object(ok_line, x, y);
    set_rec_f64(r, line::dx, dx);
    set_rec_f64(r, line::dy, dy);
    return r;
}

inline ObjectRec rect_rec(double x, double y, double w, double h, double rot = 0) {
    ObjectRec r = object(ok_rect, x, y);
    set_rec_f64(r, rect::width, w);
    set_rec_f64(r, rect::height, h);
    set_rec_f64(r, obj::rotation, rot);
    return r;
}

inline ObjectRec ellipse_rec(double x, double y, double r1, double r2, double rot = 0, double begin = 0,
                             double end = 0, bool cw = false, int polygon_sides = 0) {
    ObjectRec r = object(ok_ellipse, x, y);
    set_rec_f64(r, ell::radius1, r1);
    set_rec_f64(r, ell::radius2, r2);
    set_rec_f64(r, obj::rotation, rot);
    set_rec_f64(r, ell::begin, begin);
    set_rec_f64(r, ell::end, end);
    set_rec_i16(r, ell::sides, static_cast<std::int16_t>(polygon_sides));
    set_rec_u16(r, ell::flags,
                static_cast<std::uint16_t>((polygon_sides ? ell::polygon : 0) | (cw ? ell::clockwise : 0)));
    return r;
}

inline ObjectRec bezier_rec(double x, double y, double c1x, double c1y, double c2x, double c2y, double ex,
                            double ey) {
    ObjectRec r = object(ok_bezier, x, y);
    const double v[] = {c1x, c1y, c2x, c2y, ex, ey};
    for (int i = 0; i < 6; ++i) set_rec_f64(r, bez::c1x + 8 * i, v[i]);
    return r;
}

inline ObjectRec text_rec(double x, double y, double w, double h) {
    ObjectRec r = object(ok_text, x, y);
    set_rec_f32(r, text::char_width, static_cast<float>(w));
    set_rec_f32(r, text::char_height, static_cast<float>(h));
    return r;
}

inline ObjectRec ldim_rec(double x, double y, double second_x, double second_y, double offset,
                          std::uint16_t mode, double half_gap = 0, double text_pos = 0) {
    ObjectRec r = object(ok_lindim, x, y);
    set_rec_f64(r, ldim::second_x, second_x);
    set_rec_f64(r, ldim::second_y, second_y);
    set_rec_f64(r, ldim::offset, offset);
    set_rec_f64(r, ldim::half_gap, half_gap);
    set_rec_f64(r, ldim::text_pos, text_pos);
    set_rec_u16(r, ldim::mode, mode);
    return r;
}

// The first line through P at t1, the vertex `vertex_dist` behind P, the
// second line at t1 + angle; the arc `arc_dist` beyond P.
inline ObjectRec adim_rec(double x, double y, double t1, double angle, double vertex_dist, double arc_dist,
                          std::uint16_t mode, double half_gap = 0, double text_angle = 0) {
    ObjectRec r = object(ok_angdim, x, y);
    set_rec_f64(r, obj::rotation, t1);
    // Q on the second line, as far from the vertex as P.
    set_rec_f64(r, adim::second_x, -vertex_dist + vertex_dist * std::cos(angle));
    set_rec_f64(r, adim::second_y, vertex_dist * std::sin(angle));
    set_rec_f64(r, adim::arc_dist, arc_dist);
    set_rec_f64(r, adim::vertex_dist, vertex_dist);
    set_rec_f32(r, adim::angle, static_cast<float>(angle));
    set_rec_f32(r, adim::half_gap, static_cast<float>(half_gap));
    set_rec_f32(r, adim::text_angle, static_cast<float>(text_angle));
    set_rec_u16(r, adim::mode, mode);
    return r;
}

// Stroke counts per width code in these tests: code c has c strokes up to
// 9, and the widest entry 9. One stroke spacing is one pixel.
class Renderer : public Display {
protected:
    void SetUp() override {
        Display::SetUp();
        opencossin();
        init_poly();
        init_levels();
        swaper = sw_wide_strokes;
        clip_it = 1;
        max_resolution = 0;
        forced_show = 0;
        output_defs = {};
        output_defs.plot_scale = 1;
        output_defs.width_factor = 1;
        output_defs.arrow_length = 0.5;
        output_defs.arrow_half_angle = degrad(30);
        output_defs.marker_half_size = 0.3;
        output_defs.dim_mark_half_size = 0.3;
        output_defs.ext_line_gap = 0.1;
        output_defs.outside_marker_length = 1;
        output_defs.dim_size_84 = 0.5;
        props_defs.colour = colour_black;
        change_window(0, 20, 0, aspectratio, 1);
        for (int i = 0; i < thick_codes; ++i) screen_thick_table[i] = static_cast<std::int16_t>(std::min(i, 9));
        curlwidth = 0;
    }

    // What a trace collects: every vertex of a connected chain.
    static std::vector<double> traced(const ObjectRec& r) {
        save_pts = 1;
        show(mode_trace, &r);
        save_pts = 0;
        if (num_pts == 0) return {};
        return std::vector<double>(endpoints, endpoints + num_pts + 2);
    }
};

// Random places, lengths, sizes and angles over and beyond the window, for
// generated drawings; `rng` also gives their marks, widths and colours.
struct Scatter {
    explicit Scatter(unsigned seed) : rng(seed) {}
    double x() { return x_(rng); }
    double y() { return y_(rng); }
    double len() { return len_(rng); }
    double size() { return size_(rng); }
    double angle() { return angle_(rng); }
    std::mt19937 rng;

private:
    std::uniform_real_distribution<double> x_{-2, 22}, y_{-2, 12}, len_{-3, 3}, size_{0.05, 2}, angle_{0, 6.28};
};

// Objects of every kind, colour, width and style, spread over and beyond the
// window, with long clipped lines, markers and arrows.
inline std::vector<ObjectRec> mixed_objects(int n, unsigned seed) {
    Scatter s(seed);
    std::mt19937& rng = s.rng;
    std::vector<ObjectRec> v;
    for (int i = 0; i < n; ++i) {
        const double x = s.x(), y = s.y();
        ObjectRec r;
        switch (i % 13) {
        case 0: r = line_rec(x, y, s.len(), s.len()); break;
        case 1: r = rect_rec(x, y, s.len(), s.len(), i % 26 ? 0 : s.angle()); break;
        case 2: r = ellipse_rec(x, y, s.size(), s.size(), s.angle()); break;
        case 3: {
            const double a = s.size();
            r = ellipse_rec(x, y, a, a);
            break;
        }
        case 4:
            r = ellipse_rec(x, y, s.size(), s.size(), 0, s.angle(), s.angle(), i % 2 == 0);
            set_obj_density_marks(r, 0, rng() % 2, rng() % 2);
            break;
        case 5: r = ellipse_rec(x, y, s.size(), s.size(), s.angle(), 0, 0, false, 3 + i % 7); break;
        case 6: {
            r = text_rec(x, y, 0.3, 0.5);
            ObjectRec tail{};
            set_text_chars(r, tail, i % 2 ? "Ab 1.5" : "Room 12 - 3.40 m, a longer text");
            break;
        }
        case 7:
            r = object(ok_point, x, y);
            set_rec_f64(r, obj::rotation, s.angle());
            set_obj_density_marks(r, 0, rng() % 2, rng() % 2);
            break;
        case 8: r = bezier_rec(x, y, s.len(), s.len(), s.len(), s.len(), s.len(), s.len()); break;
        case 9: r = ldim_rec(x, y, s.len(), s.len(), 1, ldim::ext1 | ldim::ext2 | (1 << ldim::arrow_shift)); break;
        case 10:
            r = adim_rec(x, y, s.angle(), 1, 2, 0.5, adim::ext1 | adim::ext2 | (1 << adim::arrow_shift));
            break;
        case 11:
            // Long lines: dashes carried over many elements, and clipped at every side.
            r = line_rec(x, y, 10 * s.len(), 10 * s.len());
            break;
        default:
            r = line_rec(x, y, s.len(), s.len());
            set_obj_density_marks(r, 0, rng() % 2, rng() % 2);
            break;
        }
        if (i % 13 != 6 && i % 13 != 9 && i % 13 != 10 && rng() % 3 == 0)
            r.b[obj::width] = static_cast<std::uint8_t>(1 + rng() % 12);
        set_obj_kind_colour(r, obj_kind(r), static_cast<int>(rng() % 256));
        r.b[obj::style] = static_cast<std::uint8_t>(1 + rng() % 9);
        v.push_back(r);
    }
    return v;
}

}  // namespace drav::test
