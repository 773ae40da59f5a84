// Number text: lengths, coordinates and plain numbers written for the user,
// as decimals, scientific numbers, inches and fractions (5.3/8") or feet and
// inches (5'-6.1/2"), chosen by the drawing's unit code.
#pragma once

#include <cstdint>

namespace drav {

// 1 decimal, 2 scientific; any other code writes decimals.
extern std::int16_t real_format;
extern std::int16_t dec_prec;  // digits after the point in decimal form
extern std::int16_t sci_prec;  // digits after the point in scientific form

// Every text written here, sign and marks included, fits this many bytes
// with its NUL; precisions outside 0..max_real_precision are clamped.
constexpr int number_text_size = 64;
constexpr int max_real_precision = 30;
constexpr int number_format_size = 16;

// kind 0 a plain number, 1 a length in drawing units, 2 a paper length;
// another kind writes an empty text.
void real_to_string(double value, char* text, int kind);
// Returns the count of characters written.
int ftoa(double value, char* text);
// The printf format `ftoa` uses for value, e.g. "%-.4lf".
void dec_format(double value, char* format);
char* inches_and_fraction(double inches, char* text);
char* feet_and_inches(double feet, char* text);

void set_realformat(int code);
int get_realformat();
// kind 1 the decimal precision, 2 the scientific one.
void set_realprecision(int kind, int digits);
int get_realprecision(int kind);

// Each returns the count of characters written.
int ltoa(std::int32_t n, char* text);
int ultoa(std::uint32_t n, char* text);
int itoa(int n, char* text);
int utoa(unsigned n, char* text);

}  // namespace drav
