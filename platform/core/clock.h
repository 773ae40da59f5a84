// The only sources of time. Under the test harness the clock is fake and
// advances only when the program pumps or busy-waits, so no test sleeps.
#pragma once

#include <cstdint>

namespace plat {

// 1/60 s since an arbitrary start, from a monotonic clock.
std::uint32_t ticks();

struct LocalTime {
    int year, month, day;                    // month 1-12
    int hour, minute, second, hundredths;
};
LocalTime local_time();
// Seconds since 1 January 1904, local time, for stored dates.
std::uint32_t seconds_since_1904();

// The fake clock: starts at a fixed date and tick count and moves only
// through advance_fake_clock (the pump) and busy_wait_step.
void use_fake_clock(bool on);
bool fake_clock();
void advance_fake_clock(std::uint32_t ticks);

// One pass of a busy wait: advances the fake clock by a tick; on the real
// clock it only gives the processor a moment.
void busy_wait_step();

}  // namespace plat
