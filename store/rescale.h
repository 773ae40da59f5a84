// Records merged from another drawing or a symbol library are brought into
// the drawing's units: every length in them is multiplied by one factor,
// `file_conv_factor` (store/units.h), by record kind.
#pragma once

#include "store/records.h"

namespace drav {

// Named windows, plot specifications, symbol control records and drawing
// objects are converted; other kinds are left alone. A factor that is not a
// positive finite number leaves the record as it is (it would mirror or
// destroy the geometry), and so does 1 (the record is byte for byte the
// same), except that a symbol control record always takes the current units.
void convert_record(double f, ObjectRec& rec);
void conv_windata(double f, ObjectRec& rec);
void conv_pltdata(double f, ObjectRec& rec);
void conv_symdata(double f, ObjectRec& rec);
void conv_picdata(double f, ObjectRec& rec);

}  // namespace drav
