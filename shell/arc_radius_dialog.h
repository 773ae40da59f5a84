// The arc tool's radius dialog, for two end points farther apart than the
// fixed radius allows.
#pragma once

namespace drav {

// 1 and the radius typed, never below `minimum`; 0 on Cancel.
int arc_radius_dialog(double minimum, double* radius);
// Lends it to the arc command.
void install_arc_radius_dialog();

}  // namespace drav
