#include "store/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>
#include <string>

#include "store/settings.h"
#include "store/units.h"

namespace drav {
namespace {

constexpr double nan_v = std::numeric_limits<double>::quiet_NaN();
constexpr double inf_v = std::numeric_limits<double>::infinity();

class NumberText : public testing::Test {
protected:
    void SetUp() override {
        units_defs = UnitsRec{};
        output_defs = OutputRec{};
        users_defs = UsersRec{};
        set_fraction_code(users_defs, 3);  // eighths
        real_format = 1;
        dec_prec = 4;
        sci_prec = 14;
    }
    static std::string inches(double v) {
        char t[number_text_size];
        return inches_and_fraction(v, t);
    }
    static std::string feet(double v) {
        char t[number_text_size];
        return feet_and_inches(v, t);
    }
    static std::string text(double v, int kind) {
        char t[number_text_size] = "untouched";
        real_to_string(v, t, kind);
        return t;
    }
    static std::string dec(double v) {
        char t[number_text_size];
        const int n = ftoa(v, t);
        EXPECT_EQ(n, static_cast<int>(std::strlen(t)));
        return t;
    }
    static std::string format(double v) {
        char f[number_format_size];
        dec_format(v, f);
        return f;
    }
};

TEST_F(NumberText, InchesAndFraction) {
    struct Case { double v; int code; const char* want; } cases[] = {
        {5.375, 3, "5.3/8\""},  {0.5, 3, "1/2\""},     {-2.25, 3, "-2.1/4\""},
        {5.99, 3, "6\""},       {0, 3, "0\""},         {-0.01, 3, "0\""},
        {12, 3, "12\""},        {0.0625, 3, "1/8\""},  {0.04, 3, "0\""},
        {2.5, 0, "3\""},        {2.4, 0, "2\""},       {0.375, 2, "1/2\""},
        {1.015625, 7, "1.1/64\""}, {0.75, 4, "3/4\""},  // codes 4-7: 64ths
        {0.984375, 6, "63/64\""},
        // Rounding up into the last whole number 32 bits hold.
        {2147483646.9999, 3, "2147483647\""},
    };
    for (const auto& c : cases) {
        set_fraction_code(users_defs, c.code);
        EXPECT_EQ(inches(c.v), c.want) << c.v << " code " << c.code;
    }
}

TEST_F(NumberText, FeetAndInches) {
    struct Case { double v; int code; const char* want; } cases[] = {
        {5.5, 3, "5'-6\""},        {5.0, 3, "5'-0\""},   {0.5, 3, "6\""},
        {0, 3, "0'"},              {11.999, 3, "12'-0\""}, {-1.03125, 3, "-1'-3/8\""},
        {1.0 + 6.5 / 12, 3, "1'-6.1/2\""}, {-0.5, 3, "-6\""}, {0.99999, 3, "1'-0\""},
        {0.03125, 3, "3/8\""},     {2.5, 0, "2'-6\""},   {1.0 / 24, 0, "1\""},
        {-0.001, 3, "0'"},
    };
    for (const auto& c : cases) {
        set_fraction_code(users_defs, c.code);
        EXPECT_EQ(feet(c.v), c.want) << c.v << " code " << c.code;
    }
}

TEST_F(NumberText, RealToStringByKindAndUnits) {
    struct Case { int kind, code, paper; double v; const char* want; } cases[] = {
        {1, 1, 0, 5.375, "5.3/8\""},       {1, 2, 0, 30, "2'-6\""},
        {1, 4, 0, 5.5, "5'-6\""},          {1, 5, 0, 0.5, "6\""},
        {1, 3, 0, 5.375, "5.3750"},        {1, 8, 0, 12.5, "12.5000"},
        {1, 0, 0, -3, "-3.0000"},          {1, 99, 0, 2, "2.0000"},
        {2, 1, 1, 0.5, "1/2\""},           {2, 4, 1, 0.5, "1/2\""},
        {2, 3, 1, 0.5, "0.5000"},          {2, 1, 8, 0.5, "0.5000"},
        {0, 1, 1, 0.5, "0.5000"},
        // A value within 1e-12 of 0 is 0 in every kind.
        {0, 0, 0, 1e-13, "0.0000"},        {1, 1, 0, 1e-13, "0\""},
        {1, 2, 0, -1e-13, "0'"},           {2, 5, 1, 1e-13, "0\""},
        // Other kinds write an empty text.
        {3, 1, 1, 5, ""},                  {-1, 1, 1, 5, ""},
    };
    for (const auto& c : cases) {
        units_defs.units_code = static_cast<std::int16_t>(c.code);
        output_defs.paper_units = static_cast<std::int16_t>(c.paper);
        EXPECT_EQ(text(c.v, c.kind), c.want) << "kind " << c.kind << " code " << c.code << " " << c.v;
    }
}

TEST_F(NumberText, DecimalFormat) {
    struct Case { int fmt, dec, sci; double v; const char* want; } cases[] = {
        {1, 4, 14, 12345.678, "%-.4lf"},  {1, 4, 14, 1e15, "%-.0lf"},
        {1, 4, 14, 2e16, "%-.14le"},      {1, 4, 14, -2e16, "%-.14le"},
        {1, 4, 14, 0, "%-.4lf"},          {1, 4, 14, 1e13, "%-.2lf"},
        {1, 4, 14, 9.9e15, "%-.0lf"},     {1, 4, 14, 1e-300, "%-.4lf"},
        {2, 4, 14, 1.5, "%-.14le"},       {2, 4, 6, 1.5, "%-.6le"},
        // An unknown format code writes decimals.
        {7, 4, 14, 1.5, "%-.4lf"},        {0, 2, 14, 1.5, "%-.2lf"},
        // Precisions outside 0..30 are clamped.
        {1, -5, 14, 1.5, "%-.0lf"},       {1, 400, 14, 1e-300, "%-.30lf"},
        {2, 4, 32000, 1.5, "%-.30le"},    {2, 4, -1, 1.5, "%-.0le"},
        // Not numbers: the scientific form, which writes them as words.
        {1, 4, 14, nan_v, "%-.14le"},     {1, 4, 14, inf_v, "%-.14le"},
    };
    for (const auto& c : cases) {
        real_format = static_cast<std::int16_t>(c.fmt);
        dec_prec = static_cast<std::int16_t>(c.dec);
        sci_prec = static_cast<std::int16_t>(c.sci);
        EXPECT_EQ(format(c.v), c.want) << c.fmt << " " << c.v;
    }
}

TEST_F(NumberText, Ftoa) {
    struct Case { int fmt, dec; double v; const char* want; } cases[] = {
        {1, 4, 3.14159, "3.1416"},       {1, 4, -2, "-2.0000"},
        {1, 2, 3.14159, "3.14"},         {1, 0, 2.5, "2"},
        {1, 4, 1e15, "1000000000000000"}, {1, 4, 2e16, "2.00000000000000e+16"},
        {2, 4, -0.00125, "-1.25000000000000e-03"},
        {9, 4, 1.5, "1.5000"},
        {1, 4, 1e300, "1.00000000000000e+300"}, {1, 4, -1e300, "-1.00000000000000e+300"},
        {1, 4, inf_v, "inf"},            {1, 4, -inf_v, "-inf"},
    };
    for (const auto& c : cases) {
        real_format = static_cast<std::int16_t>(c.fmt);
        dec_prec = static_cast<std::int16_t>(c.dec);
        EXPECT_EQ(dec(c.v), c.want) << c.fmt << " " << c.v;
    }
}

TEST_F(NumberText, AbsurdValuesAndPrecisionsStayInTheBuffer) {
    const double values[] = {nan_v, -nan_v, inf_v, -inf_v, 1e300, -1e300, 1e-300, 4.9e-324,
                             9.99999999e15, -9.99999999e15, 2147483647.0, -2147483648.0,
                             3e9, 1.7976931348623157e308};
    const int precisions[] = {-32768, -1, 0, 4, 14, 16, 17, 30, 31, 32767};
    for (int fmt : {0, 1, 2, 3}) {
        real_format = static_cast<std::int16_t>(fmt);
        for (int p : precisions) {
            set_realprecision(1, p);
            set_realprecision(2, p);
            for (int code = 0; code < 12; ++code) {
                units_defs.units_code = static_cast<std::int16_t>(code);
                output_defs.paper_units = 1;
                for (double v : values)
                    for (int kind : {0, 1, 2}) {
                        char t[number_text_size + 8];
                        std::memset(t, 'X', sizeof t);
                        real_to_string(v, t, kind);
                        ASSERT_LT(std::strlen(t), static_cast<std::size_t>(number_text_size));
                        EXPECT_GT(std::strlen(t), 0u);
                    }
            }
        }
    }
}

TEST_F(NumberText, ArchitecturalFormsOfHugeValuesAreDecimals) {
    // Beyond 32-bit whole numbers the fraction means nothing: the value is
    // written as a decimal with the unit's mark instead of a wrapped count.
    struct Case { double v; bool in_feet; const char* want; } cases[] = {
        {3e9, false, "3000000000.0000\""},
        {-3e9, true, "-3000000000.0000'"},
        {2147483647.0, false, "2147483647.0000\""},
        {1e300, false, "1.00000000000000e+300\""},
        {inf_v, true, "inf'"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.in_feet ? feet(c.v) : inches(c.v), c.want) << c.v;
    for (const std::string& s : {inches(nan_v), feet(nan_v)}) EXPECT_NE(s.find("nan"), std::string::npos) << s;
}

TEST_F(NumberText, PrecisionSettings) {
    set_realprecision(1, 6);
    set_realprecision(2, 9);
    set_realprecision(3, 1);  // ignored
    EXPECT_EQ(get_realprecision(1), 6);
    EXPECT_EQ(get_realprecision(2), 9);
    EXPECT_EQ(get_realprecision(0), 6);
    set_realformat(5);
    EXPECT_EQ(get_realformat(), 5);
}

TEST_F(NumberText, IntegerWriters) {
    char t[32];
    struct Case { int n; const char* want; } cases[] = {{0, "0"}, {-5, "-5"}, {INT_MAX, "2147483647"}};
    for (const auto& c : cases) {
        EXPECT_EQ(itoa(c.n, t), static_cast<int>(std::strlen(c.want)));
        EXPECT_STREQ(t, c.want);
    }
    EXPECT_EQ(ltoa(INT32_MIN, t), 11);
    EXPECT_STREQ(t, "-2147483648");
    EXPECT_EQ(ultoa(UINT32_MAX, t), 10);
    EXPECT_STREQ(t, "4294967295");
    EXPECT_EQ(utoa(7u, t), 1);
    EXPECT_STREQ(t, "7");
}

}  // namespace
}  // namespace drav
