// Typed values: plain reals, lengths in decimal or architectural notation,
// angles in degrees, degrees-minutes-seconds or bearings, and small
// integers. Each parser accepts or rejects the whole text and writes the
// value only when it accepts it.
#pragma once

#include <cstdint>

namespace drav {

// Alerts of table 405 shown for a rejected field.
constexpr int alert_out_of_range = 33;
constexpr int alert_bad_format = 34;

// Kinds of `str_to_unit`.
constexpr int unit_real = 0;
constexpr int unit_length = 1;
constexpr int unit_angle = 2;

// 1 and *value for a text valid for kind; 0 (value unchanged) otherwise.
// A length is tried as a plain real first, then as an architectural text.
int str_to_unit(const char* text, double* value, int kind);
int str_to_real(const char* text, double* value);
// A length in feet, inches and fractions, converted into drawing units.
int str_to_frac(const char* text, double* value);
// Degrees.
int str_to_angle(const char* text, double* value);
// 1 when text has the shape of an architectural length.
int valid_frac(const char* text);
// Decimal digits only, at most 32767.
int str_to_int(const char* text, std::int16_t* value);

// Both bounds widened by `small_tol`.
int check_rrange(double v, double low, double high);
int check_irange(int v, int low, int high);

// The alert for a badly formed value, then the field's text is selected for
// retyping.
void bad_format(void* dialog, int item);
void out_of_range(void* dialog, int item);

// Steps past the character at *position, takes an optional sign and the
// digits after it, and leaves *position on the first character after them.
// Values beyond 16 bits stop at +-32767.
std::int16_t get_value(const char* text, std::int16_t* position);

}  // namespace drav
