// The pointer position the event pump records for the running command, and
// the reference point of relative input.
#pragma once

#include <cstdint>

namespace drav {

extern double mselx, msely;          // last recorded pointer, drawing port pixels (y down)
extern std::uint16_t mselz;          // pending button of a recorded click; 0 a plain position
extern std::int16_t digitizer_mode;  // points come from a tablet (none here: stays 0)

// A pointer position (button 0) or a click (button non-zero); ignored while
// a click is pending, so the first click wins.
void update_mouse(double h, double v, int button);
// The recorded position in world units and the pending button, which is cleared.
void read_mouse(double* x, double* y, std::uint16_t* button);
// Forgets a pending click.
void reset_input();

}  // namespace drav
