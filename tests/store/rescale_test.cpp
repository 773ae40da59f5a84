#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/records.h"
#include "store/rescale.h"
#include "store/settings.h"

using namespace drav;

namespace {

struct Field {
    int off;
    double before;
    double after;
    bool f32 = false;
};

double read(const ObjectRec& r, const Field& f) { return f.f32 ? rec_f32(r, f.off) : rec_f64(r, f.off); }

void write(ObjectRec& r, const Field& f) {
    if (f.f32)
        set_rec_f32(r, f.off, static_cast<float>(f.before));
    else
        set_rec_f64(r, f.off, f.before);
}

ObjectRec record_of_kind(int kind, int object_kind = 0) {
    ObjectRec r{};
    for (int i = 2; i < 128; ++i) r.b[i] = static_cast<std::uint8_t>(i * 7);  // arbitrary bytes
    set_rec_u16(r, o_word0, static_cast<std::uint16_t>(kind | w0_live));
    if (kind == rk_object) set_obj_kind_colour(r, object_kind, 5);
    return r;
}

void check(ObjectRec r, const std::vector<Field>& fields, double f) {
    for (const Field& x : fields) write(r, x);
    convert_record(f, r);
    for (const Field& x : fields) EXPECT_NEAR(read(r, x), x.after, 1e-9) << "offset " << x.off;
}

// Every object is scaled about the drawing origin, z values included.
const std::vector<Field> common = {
    {obj::ref_x, 1.5, 3}, {obj::ref_y, -2, -4}, {obj::ztop, 1, 2, true}, {obj::zbottom, -0.5, -1, true},
    {obj::handle_x, 1, 2}, {obj::handle_y, -1, -2}, {obj::rotation, 0.25, 0.25},
};

}  // namespace

TEST(Rescale, DrawingObjectsOfEveryKind) {
    struct Case {
        int kind;
        std::vector<Field> fields;
    };
    const std::vector<Case> cases = {
        {ok_line, {{line::dx, 1, 2}, {line::dy, -3, -6}}},
        {ok_rect, {{rect::width, 1, 2}, {rect::height, -3, -6}}},
        {ok_ellipse, {{ell::radius1, 1, 2}, {ell::radius2, 3, 6}, {ell::begin, 0.5, 0.5}, {ell::end, 2, 2}}},
        {ok_text, {{text::char_width, 1, 2, true}, {text::char_height, 1.5, 3, true}}},
        {ok_lindim,
         {{ldim::second_x, 3, 6}, {ldim::second_y, 4, 8}, {ldim::offset, -1, -2}, {ldim::half_gap, 0.5, 1},
          {ldim::text_pos, 2, 4}}},
        {ok_bezier,
         {{bez::c1x, 1, 2}, {bez::c1y, 2, 4}, {bez::c2x, 3, 6}, {bez::c2y, 4, 8}, {bez::endx, 5, 10},
          {bez::endy, -6, -12}}},
        {ok_point, {}},
        // Its own scale factors stay: only the placement and extents change.
        {ok_symbol, {{sym::width, 1, 2}, {sym::height, 3, 6}, {sym::scale_x, 0.5, 0.5}, {sym::scale_y, 2, 2}}},
        {ok_angdim,
         {{adim::second_x, 1, 2}, {adim::second_y, 2, 4}, {adim::arc_dist, 3, 6}, {adim::vertex_dist, 4, 8},
          {adim::angle, 1, 1, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ObjectRec r = record_of_kind(rk_object, c.kind);
        if (c.kind == ok_lindim) set_rec_u16(r, ldim::mode, 0);  // aligned
        std::vector<Field> fields = common;
        fields.insert(fields.end(), c.fields.begin(), c.fields.end());
        check(r, fields, 2);
    }
}

TEST(Rescale, ATextKeepsItsString) {
    ObjectRec r = record_of_kind(rk_object, ok_text);
    set_text_info(r, 0, 5, false);
    set_rec_str(r, text::chars, text::chars_size, "hello");
    set_rec_f32(r, text::char_width, 1);
    set_rec_f32(r, text::char_height, 2);
    convert_record(2, r);
    EXPECT_EQ(text_count(r), 5);
    EXPECT_STREQ(rec_str(r, text::chars), "hello");
}

TEST(Rescale, WindowsPlotSpecificationsAndSymbolControlRecords) {
    units_defs.units_code = 0;
    units_defs.real_unit = 8;
    units_defs.unit_size = 2.5;
    const std::vector<Field> window = {{2, 1, 2}, {10, -2, -4}, {18, 3, 6}, {26, 4, 8}};
    std::vector<Field> plot = window;
    plot.push_back({pspec::paper, 8.5, 8.5});  // paper stays as it is
    check(record_of_kind(rk_named_window), window, 2);
    check(record_of_kind(rk_plot_spec), plot, 2);
    ObjectRec ctrl = record_of_kind(rk_symbol_ctrl);
    check(ctrl, {{sctl::width, 1, 2}, {sctl::height, 2, 4}, {sctl::handle_x, -1, -2}, {sctl::handle_y, 3, 6}}, 2);
    convert_record(2, ctrl);
    EXPECT_EQ(rec_i16(ctrl, sctl::units_code), 0);
    EXPECT_EQ(rec_i16(ctrl, sctl::real_unit), 8);
    EXPECT_EQ(rec_f64(ctrl, sctl::units_factor), 2.5);
}

TEST(Rescale, NothingChangesWithoutAUsableFactorOrOutsideTheConvertedKinds) {
    units_defs.units_code = 8;
    struct Case {
        int kind;
        int object_kind;
        double f;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<Case> cases;
    for (int kind = 0; kind <= rk_text_tail; ++kind) cases.push_back({kind, 0, 2});
    for (int k = ok_line; k <= ok_angdim; ++k)
        for (double f : {1.0, 0.0, -2.0, nan, inf}) cases.push_back({rk_object, k, f});
    for (double f : {1.0, 0.0, nan}) {
        cases.push_back({rk_named_window, 0, f});
        cases.push_back({rk_plot_spec, 0, f});
    }
    for (const Case& c : cases) {
        const ObjectRec before = record_of_kind(c.kind, c.object_kind);
        ObjectRec r = before;
        convert_record(c.f, r);
        EXPECT_EQ(std::memcmp(r.b, before.b, 128), 0) << c.kind << "/" << c.object_kind << " by " << c.f;
    }
    // A symbol control record takes the current units whatever the factor.
    ObjectRec ctrl = record_of_kind(rk_symbol_ctrl);
    const double width = rec_f64(ctrl, sctl::width);
    convert_record(1, ctrl);
    EXPECT_EQ(rec_f64(ctrl, sctl::width), width);
    EXPECT_EQ(rec_i16(ctrl, sctl::units_code), 8);
}
