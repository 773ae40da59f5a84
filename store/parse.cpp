#include "store/parse.h"

#include "platform/ui/dialogs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "base/messages.h"
#include "platform/ui/dialogs.h"
#include "store/geometry.h"
#include "store/settings.h"
#include "store/units.h"

namespace drav {

namespace {

constexpr char inch_mark = '"';
constexpr char feet_mark = '\'';
constexpr std::size_t max_real_chars = 12;
constexpr std::size_t max_point_pos = 8;
constexpr std::size_t max_length_chars = 19;
constexpr int largest_int = 32767;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string text_of(const char* text) { return text ? std::string(text) : std::string(); }

// First position of c, or -1.
int first(const std::string& s, char c) {
    const auto p = s.find(c);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

bool has_digit(const std::string& s) {
    for (char c : s)
        if (is_digit(c)) return true;
    return false;
}

// A run of digits read as a decimal fraction: "25" gives 0.25.
double fraction_of(double run, int digits) { return run / std::pow(10.0, digits); }

// The number part of an angle: degrees, minutes (') and seconds ("), each
// with an optional decimal point as the marks allow.
std::optional<double> scan_angle(const std::string& s) {
    double run = 0, degrees = 0, minutes = 0, seconds = 0, seconds_whole = 0;
    int digits = 0;
    bool have_run = false, any_digit = false;
    bool point = false, minutes_seen = false, seconds_point = false, seconds_seen = false;
    for (char c : s) {
        if (is_digit(c)) {
            run = run * 10 + (c - '0');
            ++digits;
            have_run = any_digit = true;
            continue;
        }
        if (!have_run) return std::nullopt;
        if (c == '.') {
            if (!point && !minutes_seen && !seconds_seen) {
                degrees = run;
                point = true;
            } else if (minutes_seen && !seconds_point && !seconds_seen) {
                seconds_whole = run;
                seconds_point = true;
            } else {
                return std::nullopt;
            }
        } else if (c == feet_mark) {
            if (minutes_seen || seconds_seen) return std::nullopt;
            minutes = run;
            minutes_seen = true;
        } else if (c == inch_mark) {
            if (seconds_seen) return std::nullopt;
            if (seconds_point) {
                seconds = seconds_whole + fraction_of(run, digits);
            } else if (minutes_seen || !point) {
                seconds = run;
            } else {
                // Only a point before: the number before it is the seconds.
                seconds = degrees + fraction_of(run, digits);
                degrees = 0;
            }
            seconds_seen = true;
        } else {
            return std::nullopt;
        }
        run = 0;
        digits = 0;
        have_run = false;
    }
    if (!any_digit) return std::nullopt;
    double angle;
    if (have_run) {
        if (minutes_seen || seconds_seen) return std::nullopt;
        angle = point ? degrees + fraction_of(run, digits) : run;
    } else {
        angle = degrees + (minutes + seconds / 60.0) / 60.0;
    }
    if (!std::isfinite(angle)) return std::nullopt;
    return angle;
}

void alert_and_select(int n, void* dialog, int item) {
    pr_alert(n, alert_standard);
    // The whole text, ready to be typed over.
    if (dialog) plat::select_item_text(plat::dialog_item(static_cast<plat::Dialog*>(dialog), item), 0, 32767);
}

}  // namespace

int str_to_real(const char* text, double* value) {
    std::string s = text_of(text);
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        s.erase(0, 1);
        negative = true;
    }
    if (s.empty() || s.size() > max_real_chars || s == ".") return 0;
    bool point = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (is_digit(s[i])) continue;
        if (s[i] != '.' || point || i >= max_point_pos) return 0;
        point = true;
    }
    double v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return 0;
    if (negative) v = -v;
    if (std::fabs(v) > large_limit || (v != 0 && std::fabs(v) < small_tol)) return 0;
    *value = v;
    return 1;
}

int valid_frac(const char* text) {
    const std::string s = text_of(text);
    const int feet = first(s, feet_mark), dash = first(s, '-'), point = first(s, '.'),
              slash = first(s, '/'), inch = first(s, inch_mark);
    std::string keep(s.size(), 1);  // 0 where a mark is taken out
    if (inch >= 0) {
        if (slash > inch || point > inch || feet > inch) return 0;
        keep[inch] = 0;
    }
    if (slash >= 0) {
        if (point > slash || feet > slash) return 0;
        keep[slash] = 0;
    }
    if (point >= 0) {
        // A point before the feet mark makes decimal feet, which take nothing else.
        if (feet > point && (inch >= 0 || slash >= 0 || dash >= 0)) return 0;
        keep[point] = 0;
    }
    int feet_at = feet;
    if (dash >= 0) {
        if (feet < 0) {
            // Whole inches joined to a fraction ("6-1/2"); any other dash is
            // ambiguous and refused rather than read with a number dropped.
            if (dash == 0 || slash < dash || point >= 0) return 0;
            feet_at = dash;
        } else if (dash == feet + 1) {
            keep[dash] = 0;
        } else {
            return 0;
        }
    }
    if (feet_at >= 0) keep[feet_at] = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (keep[i] && !is_digit(s[i])) return 0;
    return 1;
}

int str_to_frac(const char* text, double* value) {
    std::string s = text_of(text);
    const bool ends_in_digit = !s.empty() && is_digit(s.back());
    if (ends_in_digit) s += inch_mark;  // the last number counts as inches
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        s.erase(0, 1);
        negative = true;
    }
    // A text of marks alone is no length.
    if (s.empty() || s.size() > max_length_chars || !has_digit(s) || !valid_frac(s.c_str()))
        return 0;

    const bool has_feet_mark = first(s, feet_mark) >= 0;
    double feet = 0, inches = 0, whole = 0, numerator = 0, denominator = 0;
    bool point = false, slash = false;
    std::size_t i = 0;
    while (i < s.size()) {
        double run = 0;
        int digits = 0;
        while (i < s.size() && is_digit(s[i])) {
            run = run * 10 + (s[i++] - '0');
            ++digits;
        }
        if (i == s.size()) break;
        switch (s[i++]) {
        case feet_mark:
            feet = point ? whole + fraction_of(run, digits) : run;
            point = false;
            break;
        case '.':
            whole = run;
            point = true;
            break;
        case '-':
            // Without a feet mark the dash stands between whole inches and a fraction.
            if (!has_feet_mark) {
                whole = run;
                point = true;
            }
            break;
        case '/':
            numerator = run;
            slash = true;
            if (point) inches = whole;
            break;
        case inch_mark:
            if (slash)
                denominator = run;
            else
                inches = point ? whole + fraction_of(run, digits) : run;
            break;
        default:
            break;
        }
    }
    if (slash && denominator == 0) return 0;
    double v = feet * 12 + inches;
    if (slash) v += numerator / denominator;
    if (negative) v = -v;
    const int code = units_defs.units_code;
    if (code == uc_inch_feet || code == uc_foot_inches || !ends_in_digit)
        v *= file_conv_factor(uc_inch_fraction, 1, 1.0);
    if (!std::isfinite(v) || std::fabs(v) > large_limit || (v != 0 && std::fabs(v) < small_tol))
        return 0;
    *value = v;
    return 1;
}

int str_to_angle(const char* text, double* value) {
    std::string s;
    for (char c : text_of(text))
        if (c != ' ') s += c;
    if (s.empty()) return 0;
    bool negative = false;
    if (s[0] == '-') {
        s.erase(0, 1);
        negative = true;
    }
    if (s.empty()) return 0;

    const char c0 = upper(s[0]);
    if (s.size() == 1) {
        static constexpr struct { char letter; double degrees; } points[] = {
            {'E', 0}, {'N', 90}, {'W', 180}, {'S', 270}};
        for (const auto& p : points)
            if (c0 == p.letter) {
                *value = p.degrees;
                return 1;
            }
    } else if (s.size() == 2) {
        const char c1 = upper(s[1]);
        static constexpr struct { char a, b; double degrees; } quads[] = {
            {'N', 'E', 45}, {'N', 'W', 135}, {'S', 'W', 225}, {'S', 'E', 315}};
        for (const auto& q : quads)
            if (c0 == q.a && c1 == q.b) {
                *value = q.degrees;
                return 1;
            }
    } else if (c0 == 'N' || c0 == 'S') {
        const char last = upper(s.back());
        if (last != 'E' && last != 'W') return 0;
        const auto b = scan_angle(s.substr(1, s.size() - 2));
        if (!b) return 0;
        if (c0 == 'N')
            *value = last == 'E' ? 90 - *b : 90 + *b;
        else
            *value = last == 'W' ? 270 - *b : 270 + *b;
        return 1;
    }
    const auto a = scan_angle(s);
    if (!a) return 0;
    *value = negative ? -*a : *a;
    return 1;
}

int str_to_unit(const char* text, double* value, int kind) {
    switch (kind) {
    case unit_real: return str_to_real(text, value);
    case unit_length: return str_to_real(text, value) || str_to_frac(text, value);
    case unit_angle: return str_to_angle(text, value);
    default: return 0;
    }
}

int str_to_int(const char* text, std::int16_t* value) {
    const std::string s = text_of(text);
    if (s.empty()) return 0;
    int v = 0;
    for (char c : s) {
        if (!is_digit(c)) return 0;
        v = v * 10 + (c - '0');
        if (v > largest_int) return 0;
    }
    *value = static_cast<std::int16_t>(v);
    return 1;
}

int check_rrange(double v, double low, double high) {
    return v + small_tol >= low && v - small_tol <= high;
}

int check_irange(int v, int low, int high) { return low <= v && v <= high; }

void bad_format(void* dialog, int item) { alert_and_select(alert_bad_format, dialog, item); }

void out_of_range(void* dialog, int item) { alert_and_select(alert_out_of_range, dialog, item); }

std::int16_t get_value(const char* text, std::int16_t* position) {
    const int n = text ? static_cast<int>(std::min<std::size_t>(std::strlen(text), largest_int)) : 0;
    int p = *position + 1;
    if (p < 0) p = 0;
    if (p > n) p = n;
    bool negative = false;
    if (p < n && (text[p] == '-' || text[p] == '+')) negative = text[p++] == '-';
    int v = 0;
    while (p < n && is_digit(text[p])) {
        v = v * 10 + (text[p++] - '0');
        if (v > largest_int) v = largest_int;
    }
    *position = static_cast<std::int16_t>(p);
    return static_cast<std::int16_t>(negative ? -v : v);
}

}  // namespace drav
