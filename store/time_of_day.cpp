// The date and the time of day, elapsed times within a day and short busy
// waits, all read from the platform clock.
#include <cstdint>
#include <cstdio>

#include "platform/core/clock.h"
#include "store/strings.h"

namespace drav {

namespace {
constexpr std::int32_t seconds_a_day = 86400;
constexpr std::int32_t hundredths_a_day = 8640000;
}  // namespace

void get_date(std::int16_t* year, std::int16_t* month, std::int16_t* day) {
    const plat::LocalTime t = plat::local_time();
    *year = static_cast<std::int16_t>(t.year);
    *month = static_cast<std::int16_t>(t.month);
    *day = static_cast<std::int16_t>(t.day);
}

void get_time(std::int16_t* hour, std::int16_t* minute, std::int16_t* second,
              std::int16_t* hundredths) {
    const plat::LocalTime t = plat::local_time();
    *hour = static_cast<std::int16_t>(t.hour);
    *minute = static_cast<std::int16_t>(t.minute);
    *second = static_cast<std::int16_t>(t.second);
    *hundredths = static_cast<std::int16_t>(t.hundredths);
}

void curdate(std::uint16_t v[6]) {
    const plat::LocalTime t = plat::local_time();
    v[0] = static_cast<std::uint16_t>(t.day);
    v[1] = static_cast<std::uint16_t>(t.month);
    v[2] = static_cast<std::uint16_t>(t.year);
    v[3] = static_cast<std::uint16_t>(t.second);
    v[4] = static_cast<std::uint16_t>(t.minute);
    v[5] = static_cast<std::uint16_t>(t.hour);
}

std::int32_t abstime() {
    const plat::LocalTime t = plat::local_time();
    return t.hour * 3600 + t.minute * 60 + t.second;
}

std::int32_t deltatime(std::int32_t t0) {
    const std::int32_t d = abstime() - t0;
    return d < 0 ? d + seconds_a_day : d;
}

std::int32_t abs100time() {
    const plat::LocalTime t = plat::local_time();
    return t.hour * 360000 + t.minute * 6000 + t.second * 100 + t.hundredths;
}

std::int32_t delta100time(std::int32_t t0) {
    const std::int32_t d = abs100time() - t0;
    return d < 0 ? d + hundredths_a_day : d;
}

// Elapsed time is summed pass by pass, so a wait of a day or more still
// ends although delta100time wraps at midnight.
void waittime(double seconds) {
    const double target = seconds * 100.0;
    if (!(target > 0.0)) return;  // also NaN
    std::int32_t mark = abs100time();
    double elapsed = 0.0;
    while (elapsed < target) {
        plat::busy_wait_step();
        const std::int32_t d = delta100time(mark);
        mark = (mark + d) % hundredths_a_day;
        elapsed += d;
    }
}

char* showelapsedtime(char* buf, std::int32_t seconds) {
    const bool negative = seconds < 0;
    const std::int64_t s = negative ? -static_cast<std::int64_t>(seconds) : seconds;
    std::snprintf(buf, 14, "%s%02lld:%02d:%02d", negative ? "-" : "",
                  static_cast<long long>(s / 3600), static_cast<int>(s / 60 % 60),
                  static_cast<int>(s % 60));
    return buf;
}

}  // namespace drav
