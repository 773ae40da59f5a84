#include "platform/core/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace plat {

namespace {
bool g_fake = false;
std::uint64_t g_fake_ticks = 0;
// 1 June 2026, 09:00:00 local: a quiet, fixed moment for tests.
constexpr LocalTime fake_start{2026, 6, 1, 9, 0, 0, 0};

std::chrono::steady_clock::time_point start_point() {
    static const auto t = std::chrono::steady_clock::now();
    return t;
}

// Days from 1 January 1904 to the given civil date (proleptic Gregorian).
std::int64_t days_since_1904(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days_since_1970 = era * 146097 + doe - 719468;
    return days_since_1970 + 24107;  // 1904-01-01 to 1970-01-01
}
}  // namespace

std::uint32_t ticks() {
    if (g_fake) return static_cast<std::uint32_t>(g_fake_ticks);
    auto d = std::chrono::steady_clock::now() - start_point();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(d).count() * 60 / 1000000);
}

LocalTime local_time() {
    if (g_fake) {
        LocalTime t = fake_start;
        std::uint64_t hs = g_fake_ticks * 100 / 60;  // hundredths since the start
        std::uint64_t total = static_cast<std::uint64_t>(t.hour) * 360000 + hs;
        t.day += static_cast<int>(total / 8640000);  // good enough for test runs
        total %= 8640000;
        t.hour = static_cast<int>(total / 360000);
        t.minute = static_cast<int>(total / 6000 % 60);
        t.second = static_cast<int>(total / 100 % 60);
        t.hundredths = static_cast<int>(total % 100);
        return t;
    }
    auto now = std::chrono::system_clock::now();
    std::time_t tt = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&tt, &tm);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                     tm.tm_sec, static_cast<int>(ms % 1000 / 10)};
}

std::uint32_t seconds_since_1904() {
    LocalTime t = local_time();
    std::int64_t s = days_since_1904(t.year, t.month, t.day) * 86400 + t.hour * 3600 +
                     t.minute * 60 + t.second;
    return static_cast<std::uint32_t>(s);
}

void use_fake_clock(bool on) {
    g_fake = on;
    g_fake_ticks = 0;
}

bool fake_clock() { return g_fake; }

void advance_fake_clock(std::uint32_t n) { g_fake_ticks += n; }

void busy_wait_step() {
    if (g_fake)
        ++g_fake_ticks;
    else
        std::this_thread::yield();
}

}  // namespace plat
