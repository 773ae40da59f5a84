#include "store/parse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "base/messages.h"
#include "store/settings.h"
#include "store/units.h"
#include "tests/support/harness.h"

namespace drav {
namespace {

const std::string digits300(300, '7');
const std::string digits400(400, '9');

constexpr double untouched = 4242.0;

struct RealCase {
    std::string text;
    bool ok;
    double want;
};

void check_reals(const char* what, int (*parse)(const char*, double*),
                 std::initializer_list<RealCase> cases, double tol = 1e-12) {
    for (const auto& c : cases) {
        double v = untouched;
        const int r = parse(c.text.c_str(), &v);
        EXPECT_EQ(r, c.ok ? 1 : 0) << what << " \"" << c.text << "\"";
        if (c.ok)
            EXPECT_NEAR(v, c.want, tol * std::max(1.0, std::fabs(c.want))) << what << " \"" << c.text << "\"";
        else
            EXPECT_EQ(v, untouched) << what << " \"" << c.text << "\" changed the value";
    }
}

class Parse : public testing::Test {
protected:
    void SetUp() override {
        init_worldunits();
        units_defs = UnitsRec{};
        units_defs.units_code = uc_inch_fraction;
    }
    static void drawing_units(int code, int real_unit = 0, double size = 0) {
        units_defs.units_code = static_cast<std::int16_t>(code);
        units_defs.real_unit = static_cast<std::int16_t>(real_unit);
        units_defs.unit_size = size;
    }
};

TEST_F(Parse, PlainReals) {
    check_reals("real", str_to_real, {
        {"12.5", true, 12.5},     {"-.5", true, -0.5},        {"5.", true, 5},
        {"0", true, 0},           {"-0", true, 0},            {"9999999", true, 9999999},
        {"1234567.5", true, 1234567.5},  // point at position 7
        {"0.0000001", true, 1e-7},       // exactly the smallest non-zero value
        {"0000000.5", true, 0.5},        // point at position 7
        {"000000000012", true, 12},      // 12 characters
        {".", false, 0},          {"-", false, 0},            {"", false, 0},
        {"1e5", false, 0},        {"123456789.5", false, 0},  // point at position 9
        {"00000000.5", false, 0},  // point at position 8
        {"10000000", false, 0},   {"0.00000001", false, 0},   {"0000000000000", false, 0},
        {"+1", false, 0},         {" 1", false, 0},           {"1 ", false, 0},
        {"1.2.3", false, 0},      {"--1", false, 0},          {"1,5", false, 0},
        {"nan", false, 0},        {"inf", false, 0},          {"0x10", false, 0},
        {digits300, false, 0},
    });
}

TEST_F(Parse, LengthsInAnInchDrawing) {
    check_reals("length", [](const char* t, double* v) { return str_to_unit(t, v, unit_length); }, {
        {"5'6", true, 66},          {"5'-6.1/2\"", true, 66.5},  {"3/8", true, 0.375},
        {"5.3/8", true, 5.375},     {"5.5'", true, 66},          {"12", true, 12},
        {"-5'6", true, -66},        {"1.5\"", true, 1.5},        {"5'", true, 60},
        {"5'-", true, 60},          {"5'-6", true, 66},          {"7\"", true, 7},
        {"0'", true, 0},
        // Whole inches and a fraction joined by a dash.
        {"6-1/2", true, 6.5},       {"6-1/2\"", true, 6.5},      {"-6-1/2", true, -6.5},
        {"1/0", false, 0},          {"5-6", false, 0},           {"-1/2-", false, 0},
        {"6-1.5/2", false, 0},      {"--1/2", false, 0},         {"5'6-1/2", false, 0},
        {"5'6'", false, 0},         {"5.5'6", false, 0},         {"3/8.5", false, 0},
        {"3/8'", false, 0},         {"5\"6'", false, 0},         {"5-'6", false, 0},
        {"'", false, 0},            {"\"", false, 0},            {"/", false, 0},
        {"", false, 0},             {"-", false, 0},             {"5 6", false, 0},
        {"99999999'", false, 0},    {"1/99999999", false, 0},    {"1234567890123456789", false, 0},
        {digits300, false, 0},      {digits300 + "'", false, 0},
    });
}

TEST_F(Parse, LengthsFollowTheDrawingUnits) {
    struct Case {
        int code, real_unit;
        double size;
        const char* text;
        double want;
    } cases[] = {
        // Feet shown as feet and inches: typed lengths are in inches.
        {4, 0, 0, "5'6", 5.5},          {4, 0, 0, "6", 6},  // a plain real is in drawing units
        {4, 0, 0, "3\"", 0.25},         {4, 0, 0, "6-1/2", 6.5 / 12},
        // Feet shown as inches: a text ending in a digit is in drawing units.
        {5, 0, 0, "3/8", 0.375},        {5, 0, 0, "3/8\"", 0.03125},
        {5, 0, 0, "6-1/2", 6.5},        {5, 0, 0, "6-1/2\"", 6.5 / 12},
        {5, 0, 0, "1'", 1},
        {2, 0, 0, "5'6", 66},           {3, 0, 0, "5.3/8\"", 5.375},
        {8, 0, 0, "1\"", 25.40005},     {8, 0, 0, "1'", 12 * 25.40005},
        {8, 0, 0, "3/8", 0.375},        {11, 0, 0, "2'", 24 * 2.540005},
        {0, 8, 2, "1\"", 25.40005 / 2}, {0, 0, 0, "1'", 12},
    };
    for (const auto& c : cases) {
        drawing_units(c.code, c.real_unit, c.size);
        double v = untouched;
        ASSERT_EQ(str_to_unit(c.text, &v, unit_length), 1) << c.text << " code " << c.code;
        EXPECT_NEAR(v, c.want, 1e-12 * std::max(1.0, c.want)) << c.text << " code " << c.code;
    }
    // Within the limits in inches, beyond them in the drawing's units.
    drawing_units(uc_millimetre);
    double v = untouched;
    EXPECT_EQ(str_to_unit("400000'", &v, unit_length), 0);
    EXPECT_EQ(v, untouched);
}

TEST_F(Parse, ShapeOfArchitecturalLengths) {
    struct Case { const char* text; int ok; } cases[] = {
        {"5'-6.1/2\"", 1}, {"5.5'", 1},  {"6-1/2\"", 1}, {"", 1},    {"3/8\"", 1},
        {"5.5'\"", 0},     {"5-6\"", 0}, {"5'6'\"", 0},  {"a\"", 0}, {"5\"\"", 0},
        {"5./8/\"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(valid_frac(c.text), c.ok) << c.text;
    EXPECT_EQ(valid_frac(nullptr), 1);  // nothing is an empty rest
}

TEST_F(Parse, Angles) {
    check_reals("angle", str_to_angle, {
        {"45", true, 45},           {"45.5", true, 45.5},       {"30.15'", true, 30.25},
        {"30.15'20\"", true, 30 + (15 + 20 / 60.0) / 60},        {"-30", true, -30},
        {"0.5", true, 0.5},         {"1.0", true, 1},           {"45.", true, 45},
        {"30'", true, 0.5},         {"36\"", true, 0.01},       {"36.5\"", true, 36.5 / 3600},
        {"30'20.5\"", true, (30 + 20.5 / 60) / 60},  {"1.30'20.5\"", true, 1 + (30 + 20.5 / 60) / 60},
        {" 4 5 ", true, 45},        {"-30.15'", true, -30.25},  {"720", true, 720},
        // Bearings, letters in either case and spaces removed first.
        {"N45E", true, 45},         {"n45w", true, 135},        {"S30W", true, 240},
        {"S30E", true, 300},        {"NE", true, 45},           {"nw", true, 135},
        {"Sw", true, 225},          {"sE", true, 315},          {"E", true, 0},
        {"N", true, 90},            {"W", true, 180},           {"s", true, 270},
        {"N 45 E", true, 45},       {"N45.5E", true, 44.5},     {"N30.15'E", true, 59.75},
        {"-N45E", true, 45},        // the sign is for plain angles only
        {"N45", false, 0},          {"N45Q", false, 0},         {"NS", false, 0},
        {"N-45E", false, 0},        {"NE5", false, 0},          {"E5", false, 0},
        {"30.15'20", false, 0},     {".5", false, 0},           {"'30", false, 0},
        {"1.2.3", false, 0},        {"30''", false, 0},         {"20\"30\"", false, 0},
        {"20\"5", false, 0},        {"45x", false, 0},          {"4e1", false, 0},
        {"", false, 0},             {"-", false, 0},            {"   ", false, 0},
        {"--5", false, 0},          {"nan", false, 0},          {"inf", false, 0},
        {digits400, false, 0},      {"1." + digits400, false, 0},
    });
    // An absurd but finite count of degrees is read; range checks refuse it.
    double v = 0;
    ASSERT_EQ(str_to_angle(digits300.c_str(), &v), 1);
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(check_rrange(v, -360, 360), 0);
}

TEST_F(Parse, UnitKinds) {
    double v = untouched;
    EXPECT_EQ(str_to_unit("5'6", &v, unit_real), 0);
    EXPECT_EQ(str_to_unit("12.5", &v, unit_real), 1);
    EXPECT_EQ(v, 12.5);
    EXPECT_EQ(str_to_unit("N45W", &v, unit_angle), 1);
    EXPECT_EQ(v, 135);
    for (int kind : {-1, 3, 100}) {
        v = untouched;
        EXPECT_EQ(str_to_unit("1", &v, kind), 0) << kind;
        EXPECT_EQ(v, untouched);
    }
    for (int kind : {0, 1, 2}) EXPECT_EQ(str_to_unit(nullptr, &v, kind), 0) << kind;
}

TEST_F(Parse, Integers) {
    struct Case { std::string text; int ok; int want; } cases[] = {
        {"32767", 1, 32767}, {"0", 1, 0},     {"00012", 1, 12},  {"32768", 0, 0},
        {"-1", 0, 0},        {"+1", 0, 0},    {"", 0, 0},        {"1 ", 0, 0},
        {"1.0", 0, 0},       {"99999999999999999999", 0, 0},     {digits300, 0, 0},
    };
    for (const auto& c : cases) {
        std::int16_t v = 77;
        EXPECT_EQ(str_to_int(c.text.c_str(), &v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.want : 77) << c.text;
    }
}

TEST_F(Parse, RangeChecks) {
    const double nan_v = std::numeric_limits<double>::quiet_NaN();
    struct Case { double v, low, high; int want; } cases[] = {
        {1.00000005, 0, 1, 1}, {1.0000002, 0, 1, 0}, {-0.00000005, 0, 1, 1},
        {-0.0000002, 0, 1, 0}, {0.5, 0, 1, 1},       {1e300, 1e-10, 1e200, 0},
        {nan_v, -1e200, 1e200, 0}, {1e-10, 1e-10, 1e200, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(check_rrange(c.v, c.low, c.high), c.want) << c.v;
    EXPECT_EQ(check_irange(5, 1, 10), 1);
    EXPECT_EQ(check_irange(10, 1, 10), 1);
    EXPECT_EQ(check_irange(0, 1, 10), 0);
    EXPECT_EQ(check_irange(11, 1, 10), 0);
}

TEST_F(Parse, GetValue) {
    struct Case { const char* text; int pos; int want, end; } cases[] = {
        {"x-12y", 0, -12, 4},    {"a+7", 0, 7, 3},        {"a5b", 0, 5, 2},
        {"ab", 0, 0, 1},         {"a", 0, 0, 1},          {"", 0, 0, 0},
        {"abc", 5, 0, 3},        {"12", -1, 12, 2},       {"a99999999", 0, 32767, 9},
        {"a-99999999", 0, -32767, 10},  {"a-", 0, 0, 2},
    };
    for (const auto& c : cases) {
        std::int16_t pos = static_cast<std::int16_t>(c.pos);
        EXPECT_EQ(get_value(c.text, &pos), c.want) << c.text;
        EXPECT_EQ(pos, c.end) << c.text;
    }
}

TEST_F(Parse, FieldAlertsShowTheirTexts) {
    const std::string bad = GetMyLocalCFString(tbl_alerts, alert_bad_format);
    const std::string range = GetMyLocalCFString(tbl_alerts, alert_out_of_range);
    ASSERT_NE(bad, "405,34");
    ASSERT_NE(range, "405,33");
    ASSERT_NE(bad, range);
    test::answers().expect(bad);
    test::answers().expect(range);
    bad_format(nullptr, 3);
    out_of_range(nullptr, 4);
    EXPECT_TRUE(test::answers().done());
    ASSERT_EQ(test::answers().shown().size(), 2u);
    EXPECT_EQ(test::answers().shown()[0], bad);
    EXPECT_EQ(test::answers().shown()[1], range);
}

}  // namespace
}  // namespace drav
