// Drawing units: the twelve unit codes, the table of conversion factors
// between them (one inch = 25.40005 mm) and their abbreviations.
#pragma once

#include <cstdint>

namespace drav {

// Unit codes as `units_defs.units_code` and `output_defs.paper_units` hold them.
enum UnitCode : std::int16_t {
    uc_none = 0,          // unitless drawing
    uc_inch_fraction = 1, // inch, shown as inches and fractions
    uc_inch_feet = 2,     // inch, shown as feet and inches
    uc_inch_decimal = 3,
    uc_foot_inches = 4,   // foot, shown as feet and inches
    uc_foot_fraction = 5, // foot, shown as inches and fractions
    uc_foot_decimal = 6,
    uc_mile = 7,
    uc_millimetre = 8,
    uc_metre = 9,
    uc_kilometre = 10,
    uc_centimetre = 11,
};
constexpr int unit_codes = 12;

// conv[a][b]: one unit a expressed in units b.
extern double conv[unit_codes][unit_codes];

// Unit abbreviations by unit code, filled from the localized table 424.
constexpr int unit_name_size = 6;
extern char units[unit_codes][unit_name_size];

// Fills `conv`; returns 0.
int init_worldunits();
// Fills `units` from table 424.
void init_unit_names();
// conv[from][to]. A code outside 0-11 (a damaged settings record) counts as
// unitless, so the factor is 1 rather than a read past the table.
double conv_factor(int from, int to);
// Current drawing units in one stored drawing unit described by (code,
// real unit, factor), the triple `units_defs` keeps at +36, +38, +40.
double file_conv_factor(int code, int real_unit, double factor);

}  // namespace drav
