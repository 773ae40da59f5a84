// The line command: straight segments, chained or separate, under the
// restraints.
#pragma once

#include <cstdint>

#include "base/tool_options.h"

namespace drav {

void add_line(ObjOptsRec& opts);
// Asks for a first point; sets *restart to 1 on entry.
void detach_line(std::uint16_t* restart);
// The segment to (x, y); on a click it is stored and the next one prepared.
void lin_compute(double x, double y, double* angle, std::uint16_t* restart, int separate);
void lin_key_options(std::uint16_t* restart, int separate, int key);
void det_key_options(std::uint16_t* restart, int key);

}  // namespace drav
