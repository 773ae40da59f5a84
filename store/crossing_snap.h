// The crossings of two picked objects for crossing snap: each pair routine
// writes into `objintr` with `snapintr` as the count; the snap mode becomes
// the crossing mode when any was found, else the mode to return to.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

extern std::int16_t ind1, ind2;                      // the two picked records
extern std::int16_t recindx, int1indx, int2indx;     // 0 at the start of every computation

int grind_out_intersect2(ObjectRec& record1, ObjectRec& record2);
int intr_rect(ObjectRec& a, ObjectRec& b);
int lin_recintr(const ObjectRec& line, const ObjectRec& poly);
int arc_recintr(const ObjectRec& arc, const ObjectRec& poly);
int poly_recintr(const ObjectRec& a, const ObjectRec& b);
int intrs_lines(const ObjectRec& a, const ObjectRec& b);
int intrs_arcs(const ObjectRec& a, const ObjectRec& b);
int ints_arc_line(const ObjectRec& arc, const ObjectRec& line);
int symb_intr(ObjectRec& record1, ObjectRec& record2, int* ok, std::int16_t* first1, std::int16_t* first2,
              std::int16_t* count1, std::int16_t* count2, double p1x, double p1y, double p2x, double p2y);
void sym_unexplode(std::int16_t first, std::int16_t* count);
// The pick points the crossing computation reads for symbol pieces.
void set_crossing_picks(double p1x, double p1y, double p2x, double p2y);

}  // namespace drav
