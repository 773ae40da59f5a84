#include "shell/coordinate_format.h"

#include <cmath>
#include <cstring>

#include "base/command_loop.h"
#include "store/geometry.h"
#include "store/settings.h"
#include "store/units.h"

namespace drav {

namespace {

constexpr char decimal_template[] = "       0.0000";
constexpr char inches_template[] = "         .  /  \"";
constexpr char feet_template[] = "        '-  .  /  \"";
constexpr char angle_template[] = "    0.0000      ";
// The degree sign is 0xA1 in Mac Roman.
constexpr char dms_template[] = "    0\xA1" "00'00.00\" ";

void put_template(char* buf, const char* tmpl, double v) {
    std::memcpy(buf, tmpl, std::strlen(tmpl) + 1);
    if (v < 0) buf[0] = '-';
}

// Values beyond any drawing coordinate (or not numbers) give 0, never a wild cast.
long trunc_long(double v) { return std::fabs(v) < 1e15 ? static_cast<long>(v) : 0; }

// A fraction of 64ths reduced: numerator ending in `num_col`, denominator in `den_col`.
void put_fraction(char* buf, long s, int num_col, int den_col) {
    long d = 64;
    while (s % 2 == 0) {
        s /= 2;
        d /= 2;
    }
    fastltoa(s, num_col, buf);
    fastltoa(d, den_col, buf);
}

}  // namespace

void coord_length(char* buf, double v) {
    switch (units_defs.units_code) {
    case 1: conv_inches(buf, v); break;
    case 5: conv_inches(buf, v * 12); break;
    case 2: conv_feet(buf, v / 12); break;
    case 4: conv_feet(buf, v); break;
    default: conv_decimal(buf, v); break;
    }
}

void fastltoa(long n, int column, char* buf) {
    if (n == 0 && column >= 0) {
        buf[column] = '0';
        return;
    }
    while (n > 0 && column >= 0) {
        buf[column] = static_cast<char>('0' + n % 10);
        n /= 10;
        --column;
    }
}

void conv_decimal(char* buf, double v) {
    put_template(buf, decimal_template, v);
    const double a = std::fabs(v);
    long i = trunc_long(a);
    long f = iround((a - static_cast<double>(i)) * 10000);
    if (f == 10000) {
        ++i;
        f = 0;
    }
    if (i != 0) fastltoa(i, 7, buf);
    if (f != 0) fastltoa(f, 12, buf);
}

void conv_inches(char* buf, double v) {
    put_template(buf, inches_template, v);
    const double a = std::fabs(v);
    long i = trunc_long(a);
    long s = iround((a - static_cast<double>(i)) * 64);
    if (s > 63) {
        ++i;
        s -= 64;
    }
    fastltoa(i, 8, buf);
    if (s == 0) {
        buf[9] = '"';
        buf[10] = '\0';
        return;
    }
    put_fraction(buf, s, 11, 14);
}

void conv_feet(char* buf, double v) {
    put_template(buf, feet_template, v);
    const double a = std::fabs(v);
    long ft = trunc_long(a);
    const double r = (a - static_cast<double>(ft)) * 12;
    long in = trunc_long(r);
    long s = iround((r - static_cast<double>(in)) * 64);
    if (s > 63) {
        ++in;
        s -= 64;
        if (in > 11) {
            in -= 12;
            ++ft;
        }
    }
    fastltoa(ft, 7, buf);
    fastltoa(in, 11, buf);
    if (s == 0) {
        buf[12] = '"';
        buf[13] = '\0';
        return;
    }
    put_fraction(buf, s, 14, 17);
}

void calcangparts(char* buf, double a) {
    const long d = trunc_long(a);
    const double minutes = (a - static_cast<double>(d)) * 60;
    const long m = trunc_long(minutes);
    const double seconds = (minutes - static_cast<double>(m)) * 60;
    const long s = trunc_long(seconds);
    const long t = trunc_long((seconds - static_cast<double>(s)) * 60);
    if (d) fastltoa(d, 4, buf);
    if (m) fastltoa(m, 7, buf);
    if (s) fastltoa(s, 10, buf);
    if (t) fastltoa(t, 13, buf);
}

void conv_angle(char* buf, double a, int kind) {
    switch (kind) {
    case 0: {
        put_template(buf, angle_template, a);
        const double abs_a = std::fabs(a);
        long i = trunc_long(abs_a);
        long f = iround((abs_a - static_cast<double>(i)) * 10000);
        if (f == 10000) {
            ++i;
            f = 0;
        }
        if (i != 0) fastltoa(i, 4, buf);
        if (f != 0) fastltoa(f, 9, buf);
        break;
    }
    case 1:
        put_template(buf, dms_template, a);
        calcangparts(buf, std::fabs(a));
        break;
    case 2: {
        put_template(buf, dms_template, 0);
        double shown = a;
        char ns = 0, ew = 0;
        if (a >= 0 && a <= 90) {
            ns = 'N', ew = 'E', shown = 90 - a;
        } else if (a >= 90 && a <= 180) {
            ns = 'N', ew = 'W', shown = a - 90;
        } else if (a >= 180 && a <= 270) {
            ns = 'S', ew = 'W', shown = 270 - a;
        } else if (a >= 270 && a <= 360) {
            ns = 'S', ew = 'E', shown = a - 270;
        }
        if (ns) {
            buf[0] = ns;
            buf[15] = ew;
        }
        calcangparts(buf, shown);
        break;
    }
    default:
        buf[0] = '\0';
        break;
    }
}

void make_coordinates(double x, double y, char* first, char* second) {
    const int mode = units_defs.coord_display;
    if (mode == 0) {
        x -= misc_defs.user_origin_x;
        y -= misc_defs.user_origin_y;
    }
    const double dx = x - zpos_x, dy = y - zpos_y;
    switch (mode) {
    case 0:
        coord_length(first, x);
        coord_length(second, y);
        break;
    case 1:
        coord_length(first, dx);
        coord_length(second, dy);
        break;
    case 2: {
        double a = dx == 0 ? 90.0 : raddeg(std::atan(dy / dx));
        if (x >= zpos_x && y >= zpos_y) {
        } else if (x <= zpos_x && y >= zpos_y) {
            a += 180;
        } else if (x <= zpos_x && y <= zpos_y) {
            a += 180;
        } else {
            a += 360;
        }
        conv_angle(first, a, units_defs.angle_format);
        coord_length(second, std::sqrt(dx * dx + dy * dy));
        break;
    }
    default:
        break;
    }
}

}  // namespace drav
