#include "store/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "store/settings.h"

namespace drav {
namespace {

constexpr double nan_v = std::numeric_limits<double>::quiet_NaN();
constexpr double inf_v = std::numeric_limits<double>::infinity();

// The size of each unit in millimetres, written independently of the table.
constexpr double inch_mm = 25.40005;
constexpr double size_mm[unit_codes] = {
    0,  // unitless: no size
    inch_mm, inch_mm, inch_mm,
    12 * inch_mm, 12 * inch_mm, 12 * inch_mm,
    63360 * inch_mm,
    1.0, 1000.0, 1e6, 10.0,
};

class Units : public testing::Test {
protected:
    void SetUp() override {
        init_worldunits();
        units_defs = UnitsRec{};
    }
    static void current(int code, int real_unit = 0, double size = 0) {
        units_defs.units_code = static_cast<std::int16_t>(code);
        units_defs.real_unit = static_cast<std::int16_t>(real_unit);
        units_defs.unit_size = size;
    }
};

TEST_F(Units, NamedFactors) {
    struct Case { int from, to; double want; } cases[] = {
        {1, 8, 25.40005}, {8, 1, 1 / 25.40005}, {4, 1, 12}, {7, 4, 5280}, {9, 11, 100},
        {2, 3, 1},        {5, 6, 1},            {0, 8, 1},  {8, 0, 1},    {0, 0, 1},
        {3, 11, 2.540005}, {10, 9, 1000},       {11, 8, 10}, {1, 7, 1 / 63360.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(conv_factor(c.from, c.to), c.want) << c.from << "->" << c.to;
}

TEST_F(Units, EveryPairAgreesWithTheUnitSizes) {
    for (int a = 1; a < unit_codes; ++a)
        for (int b = 1; b < unit_codes; ++b) {
            const double want = size_mm[a] / size_mm[b];
            EXPECT_NEAR(conv_factor(a, b), want, std::fabs(want) * 1e-13) << a << "->" << b;
        }
}

TEST_F(Units, ImperialAndMetricFactorsAreExactReciprocals) {
    for (int a = 1; a <= 7; ++a)
        for (int b = 8; b < unit_codes; ++b)
            EXPECT_EQ(conv_factor(b, a), 1.0 / conv_factor(a, b)) << a << "<->" << b;
}

TEST_F(Units, RoundTripsStayWithinRounding) {
    EXPECT_NEAR(12 * conv_factor(1, 4) * conv_factor(4, 1), 12, 1e-14);
    for (int a = 1; a < unit_codes; ++a)
        for (int b = 1; b < unit_codes; ++b)
            EXPECT_NEAR(conv_factor(a, b) * conv_factor(b, a), 1.0, 1e-15) << a << "," << b;
}

TEST_F(Units, CodesOutsideTheTableCountAsUnitless) {
    for (int bad : {-1, 12, 99, -32768, 32767}) {
        EXPECT_EQ(conv_factor(bad, 8), 1.0) << bad;
        EXPECT_EQ(conv_factor(1, bad), 1.0) << bad;
    }
}

TEST_F(Units, FileConversionFactor) {
    struct Case {
        int code, real_unit;
        double factor;
        int cur_code, cur_real;
        double cur_size, want;
    } cases[] = {
        {1, 0, 0, 8, 0, 0, 25.40005},      // inches into millimetres
        {0, 8, 2, 8, 0, 0, 2},             // units of 2 mm into millimetres
        {8, 0, 0, 0, 8, 2, 0.5},           // millimetres into units of 2 mm
        {4, 0, 0, 1, 0, 0, 12},            // feet into inches
        {0, 1, 3, 0, 4, 0.5, 0.5},         // units of 3 in into units of 0.5 ft
        {6, 0, 0, 5, 0, 0, 1},             // one unit, other display
        {9, 0, 0, 0, 8, 1, 1000},          // metres into a unitless 1 mm drawing
        // The real unit and factor matter only for code 0.
        {1, 8, 50, 8, 0, 0, 25.40005},
        // Damaged descriptions: a unit size that cannot be one counts as 1,
        // an unknown code as unitless; never inf or NaN.
        {0, 8, 0, 8, 0, 0, 1},
        {0, 8, -2, 8, 0, 0, 1},
        {0, 8, nan_v, 8, 0, 0, 1},
        {0, 8, inf_v, 8, 0, 0, 1},
        {1, 0, 0, 0, 8, 0, 25.40005},
        {1, 0, 0, 0, 8, nan_v, 25.40005},
        {99, 0, 0, 8, 0, 0, 1},
        {0, 99, 2, 8, 0, 0, 2},
        {1, 0, 0, 0, -5, 1, 1},
    };
    for (const auto& c : cases) {
        current(c.cur_code, c.cur_real, c.cur_size);
        EXPECT_DOUBLE_EQ(file_conv_factor(c.code, c.real_unit, c.factor), c.want)
            << c.code << "/" << c.real_unit << "/" << c.factor << " into " << c.cur_code;
    }
}

TEST_F(Units, AbbreviationsFollowTheUnitFamilies) {
    init_unit_names();
    EXPECT_STREQ(units[uc_millimetre], "mm");
    EXPECT_STREQ(units[uc_inch_fraction], "in");
    for (int c : {2, 3}) EXPECT_STREQ(units[c], units[uc_inch_fraction]) << c;
    for (int c : {5, 6}) EXPECT_STREQ(units[c], units[uc_foot_inches]) << c;
    for (int c = 0; c < unit_codes; ++c) {
        EXPECT_GT(std::strlen(units[c]), 0u) << c;
        EXPECT_LT(std::strlen(units[c]), static_cast<std::size_t>(unit_name_size)) << c;
    }
    EXPECT_STRNE(units[uc_foot_inches], units[uc_inch_fraction]);
}

}  // namespace
}  // namespace drav
