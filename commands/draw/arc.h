// The arc command: three points on the arc, or centre, start and end
// direction, or two ends and a fixed radius.
#pragma once

#include <cstdint>

#include "base/tool_options.h"

namespace drav {

void add_arc(ObjOptsRec& opts);
int arc_first_point(double* x, double* y);
// The second point with a rubber-band line from the first; 1 when accepted.
int aadd_pt_entered(double* x, double* y);
// Start p1, the polled point on the arc, end p2; 0 when the three points
// lie on one line and make no arc.
int arc_1comp(double x1, double y1, double x, double y, double x2, double y2, double a);
// Centre p1, start p2, end direction towards the polled point.
void arc_2comp(double x1, double y1, double x, double y, double x2, double y2);
// Ends p1 and p2 with the fixed radius, the centre nearer the polled point.
void arc_3comp(double x1, double y1, double x, double y, double x2, double y2, std::uint16_t* restart);
void arc_key_options(int key, std::uint16_t* restart);

// The radius dialog belongs to the shell, which installs it at start-up: 1
// and the radius typed (at least `minimum`), or 0 on Cancel or when none is
// installed.
using RadiusDialog = int (*)(double minimum, double* radius);
void set_radius_dialog(RadiusDialog ask);
// Asks for a radius of at least `minimum` into `arc_radius`; 0 on Cancel.
int badrad(double minimum);

}  // namespace drav
