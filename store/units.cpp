#include "store/units.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/messages.h"
#include "store/settings.h"

namespace drav {

double conv[unit_codes][unit_codes];
char units[unit_codes][unit_name_size];

namespace {

constexpr double mm_per_inch = 25.40005;
constexpr double m_per_inch = 0.02540005;
constexpr double km_per_inch = 2.540005e-5;
constexpr double cm_per_inch = 2.540005;
constexpr double inches_per_mile = 63360.0;
constexpr double feet_per_mile = 5280.0;

constexpr int tbl_unit_names = 424;

bool valid_code(int code) { return code >= 0 && code < unit_codes; }

// A scale from a settings or control record: one that cannot be a unit size
// (zero, negative, not finite) counts as 1 instead of producing inf or NaN.
double usable_scale(double s) { return std::isfinite(s) && s > 0.0 ? s : 1.0; }

}  // namespace

int init_worldunits() {
    for (auto& row : conv)
        for (double& e : row) e = 1.0;

    double* in = conv[uc_inch_fraction];
    for (int c = 4; c <= 6; ++c) in[c] = 1.0 / 12.0;
    in[uc_mile] = 1.0 / inches_per_mile;
    in[uc_millimetre] = mm_per_inch;
    in[uc_metre] = m_per_inch;
    in[uc_kilometre] = km_per_inch;
    in[uc_centimetre] = cm_per_inch;
    for (int r = 2; r <= 3; ++r)
        for (int c = 1; c < unit_codes; ++c) conv[r][c] = in[c];

    double* ft = conv[uc_foot_inches];
    for (int c = 1; c <= 3; ++c) ft[c] = 12.0;
    for (int c = 4; c <= 6; ++c) ft[c] = 1.0;
    for (int c = 7; c < unit_codes; ++c) ft[c] = in[c] * 12.0;
    for (int r = 5; r <= 6; ++r)
        for (int c = 1; c < unit_codes; ++c) conv[r][c] = ft[c];

    // Rows 7-11: each entry is a product or the reciprocal of one of the
    // literals above, so a metric-to-imperial factor is exactly the
    // reciprocal of its imperial-to-metric mirror.
    const double per_inch[unit_codes] = {0, 0, 0, 0, 0, 0, 0, 0,
                                         mm_per_inch, m_per_inch, km_per_inch, cm_per_inch};
    double* mi = conv[uc_mile];
    for (int c = 1; c <= 3; ++c) mi[c] = inches_per_mile;
    for (int c = 4; c <= 6; ++c) mi[c] = feet_per_mile;
    mi[uc_mile] = 1.0;
    for (int c = 8; c < unit_codes; ++c) mi[c] = per_inch[c] * inches_per_mile;
    for (int r = 8; r < unit_codes; ++r) {
        for (int c = 1; c <= 3; ++c) conv[r][c] = 1.0 / per_inch[r];
        for (int c = 4; c <= 6; ++c) conv[r][c] = 1.0 / (per_inch[r] * 12.0);
        conv[r][uc_mile] = 1.0 / (per_inch[r] * inches_per_mile);
    }
    const double metric[4][4] = {
        {1.0, 0.001, 1e-6, 0.1},       // mm
        {1000.0, 1.0, 0.001, 100.0},   // m
        {1e6, 1000.0, 1.0, 100000.0},  // km
        {10.0, 0.01, 1e-5, 1.0},       // cm
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) conv[8 + r][8 + c] = metric[r][c];
    return 0;
}

void init_unit_names() {
    // Entry 1 names code 0, entry 2 the inch codes, 3 the foot codes, 4-8 the rest.
    static constexpr int entry[unit_codes] = {1, 2, 2, 2, 3, 3, 3, 4, 5, 6, 7, 8};
    char text[256];
    for (int c = 0; c < unit_codes; ++c) {
        GetMyLocalCString(text, tbl_unit_names, entry[c]);
        const std::size_t n = std::min<std::size_t>(std::strlen(text), unit_name_size - 1);
        std::memcpy(units[c], text, n);
        units[c][n] = '\0';
    }
}

double conv_factor(int from, int to) {
    if (!valid_code(from) || !valid_code(to)) return 1.0;
    return conv[from][to];
}

double file_conv_factor(int code, int real_unit, double factor) {
    int stored_unit = code;
    double stored_scale = 1.0;
    if (code == uc_none) {
        stored_unit = real_unit;
        stored_scale = usable_scale(factor);
    }
    int current_unit = units_defs.units_code;
    double current_scale = 1.0;
    if (current_unit == uc_none) {
        current_unit = units_defs.real_unit;
        current_scale = usable_scale(units_defs.unit_size);
    }
    return conv_factor(stored_unit, current_unit) * stored_scale / current_scale;
}

}  // namespace drav
