// The coordinate palette's field formatters: fixed-width templates into
// which digit groups are written from the right. Buffers hold at least
// `coord_field_size` bytes; texts are Mac Roman.
#pragma once

namespace drav {

constexpr int coord_field_size = 20;

// Writes n's digits ending in column `column`, leftward, stopping at column 0;
// 0 writes '0', a negative n nothing. No terminating zero.
void fastltoa(long n, int column, char* buf);
// Four decimals.
void conv_decimal(char* buf, double v);
// Inches with a fraction down to 1/64.
void conv_inches(char* buf, double v);
// Feet, inches and a fraction down to 1/64.
void conv_feet(char* buf, double v);
// Degrees by kind: 0 decimal, 1 degrees-minutes-seconds, 2 bearing.
void conv_angle(char* buf, double degrees, int kind);
// Degrees, minutes, seconds and sixtieths of a second, all truncated.
void calcangparts(char* buf, double degrees);

// A length by the drawing unit code: inches, feet and inches, or decimal.
void coord_length(char* buf, double v);
// The two cursor fields of the point by the coordinate mode and unit code.
void make_coordinates(double x, double y, char* first, char* second);

}  // namespace drav
