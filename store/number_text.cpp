#include "store/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "store/geometry.h"
#include "store/settings.h"
#include "store/units.h"

namespace drav {

std::int16_t real_format = 1;
std::int16_t dec_prec = 4;
std::int16_t sci_prec = 14;

namespace {

constexpr char inch_mark = '"';
// Whole inches or feet above this cannot be held in 32 bits after rounding up.
constexpr double largest_whole = 2147483647.0;

struct NumberForm {
    bool scientific;
    int precision;
};

int clamp_precision(int n) { return std::clamp(n, 0, max_real_precision); }

// The decimal form keeps at most 16 significant digits; beyond 1e16, and in
// scientific mode, the scientific form is used.
NumberForm number_form(double value) {
    if (real_format != 2 && value > -1e16 && value < 1e16) {
        const int d = value == 0.0 ? 0 : iround(std::log10(std::fabs(value)) + 1.0);
        int n = dec_prec;
        if (d + n > 16) n = d > 16 ? 0 : 16 - d;
        return {false, clamp_precision(n)};
    }
    return {true, clamp_precision(sci_prec)};
}

// Copies s into text; s never exceeds number_text_size - 1 by construction,
// the cut only guards the contract.
char* put_text(const std::string& s, char* text) {
    const std::size_t n = std::min<std::size_t>(s.size(), number_text_size - 1);
    std::memcpy(text, s.data(), n);
    text[n] = '\0';
    return text;
}

int denominator() {
    switch (fraction_code(users_defs)) {
    case 0: return 1;
    case 1: return 2;
    case 2: return 4;
    case 3: return 8;
    default: return 64;
    }
}

void append_fraction(std::string& s, int f, int q) {
    while (f % 2 == 0) {
        f /= 2;
        q /= 2;
    }
    s += std::to_string(f) + '/' + std::to_string(q) + inch_mark;
}

// Values too large for the architectural forms, and non-finite ones, are
// written as a decimal followed by the unit's mark.
char* decimal_with_mark(double v, char mark, char* text) {
    char num[number_text_size];
    const int n = ftoa(v, num);
    num[std::min(n, number_text_size - 2)] = mark;
    num[std::min(n + 1, number_text_size - 1)] = '\0';
    return put_text(num, text);
}

}  // namespace

void dec_format(double value, char* format) {
    const NumberForm form = number_form(value);
    std::snprintf(format, number_format_size, "%s%d%s", "%-.", form.precision,
                  form.scientific ? "le" : "lf");
}

int ftoa(double value, char* text) {
    // Formatted without the C library so that the user's locale never turns
    // the point into a comma.
    const NumberForm form = number_form(value);
    char buf[128];
    const auto fmt = form.scientific ? std::chars_format::scientific : std::chars_format::fixed;
    const auto res = std::to_chars(buf, buf + sizeof buf - 1, value, fmt, form.precision);
    const int n = res.ec == std::errc() ? static_cast<int>(res.ptr - buf) : 0;
    put_text(std::string(buf, static_cast<std::size_t>(n)), text);
    return static_cast<int>(std::strlen(text));
}

char* inches_and_fraction(double v, char* text) {
    const double a = std::fabs(v);
    if (!(a < largest_whole)) return decimal_with_mark(v, inch_mark, text);
    int q = denominator();
    std::string s = v < 0 ? "-" : "";
    std::int32_t whole = static_cast<std::int32_t>(a);
    int f = iround((a - whole) * q);
    if (f > q - 1) {
        ++whole;
        f -= q;
    }
    if (whole != 0) {
        s += std::to_string(whole);
        s += f != 0 ? '.' : inch_mark;
    } else if (f == 0) {
        return put_text("0\"", text);
    }
    if (f != 0) append_fraction(s, f, q);
    return put_text(s, text);
}

char* feet_and_inches(double v, char* text) {
    const double a = std::fabs(v);
    if (!(a < largest_whole)) return decimal_with_mark(v, '\'', text);
    int q = denominator();
    std::string s = v < 0 ? "-" : "";
    std::int32_t feet = static_cast<std::int32_t>(a);
    const double r = (a - feet) * 12.0;
    int inches = static_cast<int>(r);
    int f = iround((r - inches) * q);
    if (f > q - 1) {
        if (++inches > 11) {
            ++feet;
            inches -= 12;
        }
        f -= q;
    }
    if (feet != 0) {
        s += std::to_string(feet) + "'-";
    } else if (inches == 0 && f == 0) {
        return put_text("0'", text);
    }
    if (inches != 0) {
        s += std::to_string(inches);
        s += f != 0 ? '.' : inch_mark;
    } else if (f == 0) {
        s += "0\"";
        return put_text(s, text);
    }
    if (f != 0) append_fraction(s, f, q);
    return put_text(s, text);
}

void real_to_string(double value, char* text, int kind) {
    if (std::fabs(value) < 1e-12) value = 0.0;
    const int code = units_defs.units_code;
    switch (kind) {
    case 0:
        ftoa(value, text);
        return;
    case 1:
        switch (code) {
        case uc_inch_fraction: inches_and_fraction(value, text); return;
        case uc_inch_feet: feet_and_inches(value / 12.0, text); return;
        case uc_foot_inches: feet_and_inches(value, text); return;
        case uc_foot_fraction: inches_and_fraction(value * 12.0, text); return;
        default: ftoa(value, text); return;
        }
    case 2:
        if (output_defs.paper_units == uc_inch_fraction &&
            (code == uc_inch_fraction || code == uc_inch_feet || code == uc_foot_inches ||
             code == uc_foot_fraction))
            inches_and_fraction(value, text);
        else
            ftoa(value, text);
        return;
    default:
        text[0] = '\0';
        return;
    }
}

void set_realformat(int code) { real_format = static_cast<std::int16_t>(code); }
int get_realformat() { return real_format; }

void set_realprecision(int kind, int digits) {
    if (kind == 1)
        dec_prec = static_cast<std::int16_t>(digits);
    else if (kind == 2)
        sci_prec = static_cast<std::int16_t>(digits);
}

int get_realprecision(int kind) { return kind == 2 ? sci_prec : dec_prec; }

int ltoa(std::int32_t n, char* text) { return std::sprintf(text, "%ld", static_cast<long>(n)); }
int ultoa(std::uint32_t n, char* text) {
    return std::sprintf(text, "%lu", static_cast<unsigned long>(n));
}
int itoa(int n, char* text) { return std::sprintf(text, "%d", n); }
int utoa(unsigned n, char* text) { return std::sprintf(text, "%u", n); }

}  // namespace drav
