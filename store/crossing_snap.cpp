#include "store/crossing_snap.h"

#include <cstring>
#include <utility>

#include "base/command_loop.h"
#include "base/messages.h"
#include "store/files.h"
#include "store/intersections.h"
#include "store/object_snap.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/settings.h"

namespace drav {

std::int16_t ind1 = 0, ind2 = 0;
std::int16_t recindx = 0, int1indx = 0, int2indx = 0;

namespace {

constexpr int err_no_outline_memory = 123;

double g_p1x = 0, g_p1y = 0, g_p2x = 0, g_p2y = 0;

struct Curve {
    double cx, cy, a, b, start, end, rotation;
    std::int16_t dir;
};

Curve curve_of(const ObjectRec& r) {
    return {rec_f64(r, obj::ref_x),   rec_f64(r, obj::ref_y),   rec_f64(r, ell::radius1),
            rec_f64(r, ell::radius2), rec_f64(r, ell::begin),   rec_f64(r, ell::end),
            rec_f64(r, obj::rotation),
            static_cast<std::int16_t>((rec_u16(r, ell::flags) & ell::clockwise) ? 1 : 0)};
}

}  // namespace

void set_crossing_picks(double p1x, double p1y, double p2x, double p2y) {
    g_p1x = p1x;
    g_p1y = p1y;
    g_p2x = p2x;
    g_p2y = p2y;
}

int intrs_lines(const ObjectRec& a, const ObjectRec& b) {
    return line_intersect(rec_f64(a, obj::ref_x), rec_f64(a, obj::ref_y), rec_f64(a, line::dx), rec_f64(a, line::dy),
                          rec_f64(b, obj::ref_x), rec_f64(b, obj::ref_y), rec_f64(b, line::dx), rec_f64(b, line::dy),
                          &snapintr, 0);
}

int ints_arc_line(const ObjectRec& arc, const ObjectRec& line) {
    const Curve c = curve_of(arc);
    return arc_line_intersect(c.cx, c.cy, c.a, c.b, c.start, c.start, c.rotation, c.dir, rec_f64(line, obj::ref_x),
                              rec_f64(line, obj::ref_y), rec_f64(line, line::dx), rec_f64(line, line::dy), &snapintr,
                              0);
}

int intrs_arcs(const ObjectRec& a, const ObjectRec& b) {
    const Curve c = curve_of(a), d = curve_of(b);
    return arcs_intersect(c.cx, c.cy, c.a, c.b, c.start, c.start, c.rotation, c.dir, d.cx, d.cy, d.a, d.b, d.start,
                          d.start, d.rotation, d.dir, g_p1x, g_p1y, &snapintr, 0);
}

int lin_recintr(const ObjectRec& line, const ObjectRec& poly) {
    int n = 0;
    const double* p = setup_poly(poly, &n);
    if (n < 4) return 0;
    return line_poly_intersect(rec_f64(line, obj::ref_x), rec_f64(line, obj::ref_y), rec_f64(line, line::dx),
                               rec_f64(line, line::dy), p, n, &snapintr, 1);
}

int arc_recintr(const ObjectRec& arc, const ObjectRec& poly) {
    int n = 0;
    const double* p = setup_poly(poly, &n);
    if (n < 4) return 0;
    const Curve c = curve_of(arc);
    return arc_poly_intersect(c.cx, c.cy, c.a, c.b, c.start, c.end, c.rotation, c.dir, p, n, &snapintr, 1);
}

int poly_recintr(const ObjectRec& a, const ObjectRec& b) {
    int n1 = 0;
    const double* p = setup_poly(a, &n1);
    if (n1 < 4) return 0;
    auto* first = static_cast<double*>(getmemory(static_cast<std::int32_t>(n1 * sizeof(double))));
    if (!first) {
        show_error(err_no_outline_memory, 0);
        return 0;
    }
    std::memcpy(first, p, n1 * sizeof(double));
    int n2 = 0;
    const double* q = setup_poly(b, &n2);
    const int found = n2 >= 4 ? poly_poly_intersect(first, n1, q, n2, &snapintr) : 0;
    xfree(&first);
    return found;
}

int intr_rect(ObjectRec& a, ObjectRec& b) {
    if (!rect_or_poly(b)) {
        std::swap(a, b);
        std::swap(ind1, ind2);
    }
    if (rect_or_poly(a)) return poly_recintr(a, b);
    switch (obj_kind(a)) {
    case ok_line: return lin_recintr(a, b);
    case ok_ellipse: return arc_recintr(a, b);
    default: return 0;
    }
}

void sym_unexplode(std::int16_t first, std::int16_t* count) {
    for (std::int16_t i = 0; i < *count; ++i) {
        delete_object(static_cast<std::int16_t>(first + i), 1);
        --number_of_objects;
    }
    *count = 0;
}

int symb_intr(ObjectRec& record1, ObjectRec& record2, int* ok, std::int16_t* first1, std::int16_t* first2,
              std::int16_t* count1, std::int16_t* count2, double p1x, double p1y, double p2x, double p2y) {
    const bool same = ind1 == ind2;
    if (obj_kind(record1) == ok_symbol) {
        std::int16_t found = ind1;
        if (!sym_explode(record1, first1, count1, &found, p1x, p1y) || found == ind1) {
            *ok = 0;
            return 0;
        }
        ind1 = found;
        if (same) {
            // The second piece is searched among the pieces after the first.
            std::int16_t second = found;
            if (!sym_explode(record2, first2, count2, &second, p2x, p2y) || second == found) {
                *ok = 0;
                return 0;
            }
            ind2 = second;
            return 1;
        }
    }
    if (obj_kind(record2) == ok_symbol) {
        std::int16_t found = ind2;
        if (!sym_explode(record2, first2, count2, &found, p2x, p2y) || found == ind2) {
            *ok = 0;
            return 0;
        }
        ind2 = found;
    }
    return 1;
}

int grind_out_intersect2(ObjectRec& record1, ObjectRec& record2) {
    recindx = int1indx = int2indx = 0;
    int ok = 1;
    std::int16_t first1 = 0, first2 = 0, count1 = 0, count2 = 0;
    if (obj_kind(record1) == ok_symbol || obj_kind(record2) == ok_symbol)
        symb_intr(record1, record2, &ok, &first1, &first2, &count1, &count2, g_p1x, g_p1y, g_p2x, g_p2y);
    if (ok) {
        const int k1 = obj_kind(record1), k2 = obj_kind(record2);
        if (rect_or_poly(record1) || rect_or_poly(record2))
            ok = intr_rect(record1, record2);
        else if (k1 == ok_line && k2 == ok_line)
            ok = intrs_lines(record1, record2);
        else if (k1 == ok_ellipse && k2 == ok_line)
            ok = ints_arc_line(record1, record2);
        else if (k1 == ok_line && k2 == ok_ellipse)
            ok = ints_arc_line(record2, record1);
        else if (k1 == ok_ellipse && k2 == ok_ellipse)
            ok = intrs_arcs(record1, record2);
        else
            ok = 0;
    }
    if (ok && snapintr <= 0) ok = 0;
    misc_defs.snap_mode = ok ? snap_crossing : prevsnapmode;
    // The later pieces go first so the earlier range keeps its indexes.
    if (first2 > first1) {
        sym_unexplode(first2, &count2);
        sym_unexplode(first1, &count1);
    } else {
        sym_unexplode(first1, &count1);
        sym_unexplode(first2, &count2);
    }
    return ok;
}

}  // namespace drav
