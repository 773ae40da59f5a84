// Typed values of dialog fields and nib controls, and the key filters.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "dialogs/edit_fields.h"
#include "platform/ui/dialogs.h"
#include "store/parse.h"
#include "store/settings.h"
#include "tests/support/harness.h"
#include "tests/support/layouts.h"

using namespace drav;
using drav::test::answers;

namespace {

constexpr const char* out_of_range_text = "out of range";
constexpr const char* bad_number_text = "can't be read";

class EditFields : public testing::Test {
protected:
    void SetUp() override {
        drav::test::use_test_layouts();
        d = plat::new_dialog(drav::test::test_dialog, nullptr);
        ASSERT_NE(d, nullptr);
        field = plat::dialog_item(d, 4);
    }
    void TearDown() override {
        plat::dispose_dialog(d);
        drav::test::drop_test_layouts();
        EXPECT_TRUE(answers().done());
    }
    void type(const std::string& text) { plat::set_item_text(field, text); }
    bool selected_all() {
        int s = -1, e = -1;
        plat::item_selection(field, &s, &e);
        return s == 0 && e == static_cast<int>(plat::item_text(field).size());
    }
    DialogPtr d = nullptr;
    ControlRef field = nullptr;
};

}  // namespace

TEST_F(EditFields, CheckRealAcceptsWithinTheToleranceAndKeepsTheValue) {
    struct Case {
        const char* text;
        bool ok;
        double stored;
        const char* alert;
    };
    const Case cases[] = {
        {"10.00000005", true, 10.00000005, nullptr},  // within small_tol of 10: stored unchanged
        {"0", true, 0.0, nullptr},
        {"0.5", true, 0.5, nullptr},
        {"10.0000002", false, 0, out_of_range_text},
        {"-1", false, 0, out_of_range_text},
        {"1e400", false, 0, bad_number_text},  // no exponent is read
        {"NaN", false, 0, bad_number_text},
        {"", false, 0, bad_number_text},
        {"12a", false, 0, bad_number_text},
    };
    for (const Case& c : cases) {
        type(c.text);
        double out = -99;
        if (c.alert) answers().expect(c.alert);
        EXPECT_EQ(check_real(d, 4, &out, 0.0, 10.0, 0), c.ok) << c.text;
        EXPECT_EQ(out, c.ok ? c.stored : -99) << c.text;
        if (!c.ok) {
            EXPECT_TRUE(selected_all()) << c.text;
        }
    }
    // A text of 300 characters is read as its first 255: no crash, refused.
    type(std::string(300, '9'));
    answers().expect("");
    double out = -99;
    EXPECT_FALSE(check_real(d, 4, &out, 0.0, 10.0, 0));
    EXPECT_EQ(out, -99);
    float f = -1;
    type("2.5");
    EXPECT_TRUE(check_smreal(d, 4, &f, 0.0, 10.0, 0));
    EXPECT_EQ(f, 2.5f);
}

TEST_F(EditFields, CheckIntegerTakesDigitsOnlyAndTheExactRange) {
    struct Case {
        const char* text;
        bool ok;
        std::int16_t stored;
        const char* alert;
    };
    const Case cases[] = {
        {"42", true, 42, nullptr},   {"1", true, 1, nullptr},     {"9999", true, 9999, nullptr},
        {"0", false, 0, out_of_range_text},     {"10000", false, 0, out_of_range_text},
        {"-5", false, 0, bad_number_text},      // no sign is part of an integer
        {"40000", false, 0, bad_number_text},   // above 32767: no integer
        {"12a", false, 0, bad_number_text},
    };
    for (const Case& c : cases) {
        type(c.text);
        std::int16_t out = -7;
        if (c.alert) answers().expect(c.alert);
        EXPECT_EQ(check_integer(d, 4, &out, 1, 9999), c.ok) << c.text;
        EXPECT_EQ(out, c.ok ? c.stored : -7) << c.text;
    }
}

TEST_F(EditFields, OutputCheckRealReadsInPaperUnitsAndRestoresTheUnitsCode) {
    const std::int16_t feet = 4, inch = 1;
    units_defs.units_code = feet;
    output_defs.paper_units = inch;
    const struct {
        const char* text;
        bool ok;
        const char* alert;
    } cases[] = {{"2", true, nullptr}, {"x", false, bad_number_text}, {"200", false, out_of_range_text}};
    for (const auto& c : cases) {
        type(c.text);
        double out = -1;
        if (c.alert) answers().expect(c.alert);
        EXPECT_EQ(output_check_real(d, 4, &out, 0.0, 100.0, unit_length), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(out, 2.0);
        }
        EXPECT_EQ(units_defs.units_code, feet) << c.text;
    }
}

TEST_F(EditFields, ControlReadsGiveDefinedValuesWithoutAlerts) {
    const struct {
        const char* text;
        int min, max;
        bool ok;
        std::int16_t out;
    } ints[] = {
        {"150", 200, 32767, false, 200},  // below the minimum: the minimum
        {"", 200, 32767, false, 200},
        {"500", 1, 300, false, 300},      // above the maximum: the maximum
        {"x1", 1, 300, false, 1},
        {"250", 200, 300, true, 250},
    };
    for (const auto& c : ints) {
        type(c.text);
        std::int16_t out = -1;
        EXPECT_EQ(GetIntegerValueFromEditTextControl(field, &out, c.min, c.max), c.ok) << c.text;
        EXPECT_EQ(out, c.out) << c.text;
    }
    double r = -1;
    type("abc");
    EXPECT_FALSE(GetRealValueFromEditTextControl(field, &r, 0, 10, 0));
    EXPECT_EQ(r, 0.0);
    type("11");
    EXPECT_FALSE(GetRealValueFromEditTextControl(field, &r, 0, 10, 0));
    EXPECT_EQ(r, 0.0);
    type("7.5");
    EXPECT_TRUE(GetRealValueFromEditTextControl(field, &r, 0, 10, 0));
    EXPECT_EQ(r, 7.5);
    EXPECT_TRUE(SetIntegerValueInEditTextControl(field, 321));
    EXPECT_EQ(plat::item_text(field), "321");
    EXPECT_FALSE(EditTextControlIsEmpty(field));
    EXPECT_TRUE(ClearValueInEditTextControl(field));
    EXPECT_TRUE(EditTextControlIsEmpty(field));
    EXPECT_FALSE(SetIntegerValueInEditTextControl(plat::dialog_item(d, 6), 1));  // no text field
    std::int16_t v = -1;
    plat::set_item_value(plat::dialog_item(d, 6), 1);
    EXPECT_FALSE(GetValueFromCheckBoxControl(plat::dialog_item(d, 6), &v));  // answers 0 always
    EXPECT_EQ(v, 1);
}

TEST(KeyFilters, LetThroughOnlyWhatANumberCanHold) {
    const struct {
        std::uint8_t ch;
        bool real, angle, integer;
    } cases[] = {
        {'0', true, true, true},     {'9', true, true, true},     {8, true, true, true},
        {1, true, true, true},       {4, true, true, true},       {28, true, true, true},
        {31, true, true, true},      {127, true, true, true},     {' ', true, true, false},
        {'-', true, true, false},    {'.', true, true, false},    {'/', true, true, false},
        {'"', true, true, false},    {'\'', true, true, false},   {'n', false, true, false},
        {'N', false, true, false},   {'e', false, true, false},   {'W', false, true, false},
        {'x', false, false, false},  {'+', false, false, false},  {0, false, false, false},
        {13, false, false, false},   {0xA5, false, false, false}, {'E', false, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FilterRealValues(nullptr, c.ch), c.real) << int(c.ch);
        EXPECT_EQ(FilterAngleValues(nullptr, c.ch), c.angle) << int(c.ch);
        EXPECT_EQ(FilterIntValues(nullptr, c.ch), c.integer) << int(c.ch);
    }
}

TEST_F(EditFields, AnInstalledFilterKeepsKeysOutOfTheField) {
    plat::show_dialog(d);
    install_key_filter(field, FilterIntValues);
    for (char c : std::string("-1 2x3")) {
        plat::EventRecord e;
        e.what = plat::keyDown;
        e.message = static_cast<std::uint8_t>(c);
        plat::apply_key(d, e);
    }
    EXPECT_EQ(plat::item_text(field), "123");
}

TEST(KeyFilters, ALineOfTheTableThatCannotBeReadLeavesItsFieldUnfiltered) {
    // Read once per process: this test brings its own table before the first key.
    const auto dir = drav::test::scratch_dir() / "keys-bundle";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "keyfilters.txt") << "# test\nreal\t48-57 x\nangle\treal 78\ninteger\t48-57 300\ndigits\t48-57\n";
    setenv("DRAVELIN_DATA", dir.c_str(), 1);
    EXPECT_TRUE(FilterRealValues(nullptr, 'x'));   // its line names "x": left out
    EXPECT_TRUE(FilterAngleValues(nullptr, 'x'));  // names a filter that was left out
    EXPECT_TRUE(FilterIntValues(nullptr, '-'));    // 300 is no character code
    EXPECT_FALSE(FilterIntValues(nullptr, 0));     // never a character of a number
    unsetenv("DRAVELIN_DATA");
}

TEST_F(EditFields, AnAngleIsWrittenAsDegreesWhateverThePaperUnit) {
    const std::int16_t inch_fraction = 1;
    units_defs.units_code = inch_fraction;
    output_defs.paper_units = inch_fraction;
    ASSERT_TRUE(SetRealValueInEditTextControl(field, 22.5, unit_angle));
    EXPECT_EQ(plat::item_text(field).find('"'), std::string::npos) << plat::item_text(field);
    double back = 0;
    EXPECT_TRUE(GetRealValueFromEditTextControl(field, &back, 0, 360, unit_angle));
    EXPECT_EQ(back, 22.5);
    // A length in the same drawing keeps its notation.
    ASSERT_TRUE(SetRealValueInEditTextControl(field, 2.5, unit_length));
    EXPECT_NE(plat::item_text(field).find('"'), std::string::npos) << plat::item_text(field);
}
