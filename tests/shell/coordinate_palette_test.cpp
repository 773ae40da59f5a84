// The coordinate palette: its field formatters against hand-worked texts,
// and the palette itself in the running program.
#include <gtest/gtest.h>

#include <string>

#include "base/command_loop.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/edit_fields.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/menus.h"
#include "shell/coordinate_format.h"
#include "shell/coordinate_palette.h"
#include "shell/input_window.h"
#include "store/files.h"
#include "store/settings.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

struct FormatCase {
    const char* what;
    void (*format)(char*, double);
    double value;
    const char* text;  // Mac Roman
};

void angle_kind1(char* b, double v) { conv_angle(b, v, 1); }
void angle_kind2(char* b, double v) { conv_angle(b, v, 2); }

const FormatCase format_cases[] = {
    // The sign stays although every digit rounds to zero.
    {"decimal -0.00004", conv_decimal, -0.00004, "-      0.0000"},
    {"decimal 12.99996", conv_decimal, 12.99996, "      13.0000"},
    {"decimal 0.05", conv_decimal, 0.05, "       0.0500"},
    {"decimal 3.00004", conv_decimal, 3.00004, "       3.0000"},
    {"inches 3", conv_inches, 3, "        3\""},
    {"inches 3.9999", conv_inches, 3.9999, "        4\""},
    {"inches 2.5", conv_inches, 2.5, "        2. 1/ 2\""},
    {"feet 1.99999", conv_feet, 1.99999, "       2'- 0\""},
    {"feet 1.5", conv_feet, 1.5, "       1'- 6\""},
    {"dms 30.5", angle_kind1, 30.5, "   30\xA1" "30'00.00\" "},
    {"bearing 135", angle_kind2, 135, "N  45\xA1" "00'00.00\"W"},
    {"bearing 90", angle_kind2, 90, "N   0\xA1" "00'00.00\"E"},
};

}  // namespace

TEST(CoordinateFormat, FieldsMatchTheHandWorkedTexts) {
    for (const FormatCase& c : format_cases) {
        char buf[coord_field_size];
        c.format(buf, c.value);
        EXPECT_EQ(std::string(buf), std::string(c.text)) << c.what;
    }
}

TEST(CoordinateFormat, PolarDirectionIs90OnTheClickPointAnd270StraightBelowIt) {
    units_defs.coord_display = 2;
    units_defs.angle_format = 0;
    units_defs.units_code = 0;
    zpos_x = 5;
    zpos_y = 5;
    char first[coord_field_size], second[coord_field_size];
    make_coordinates(5, 5, first, second);
    EXPECT_EQ(std::string(first), "   90.0000      ");
    EXPECT_EQ(std::string(second), "       0.0000");
    make_coordinates(5, 2, first, second);
    EXPECT_EQ(std::string(first), "  270.0000      ");
    EXPECT_EQ(std::string(second), "       3.0000");
}

TEST(CoordinateFormat, AbsoluteFieldsCountFromTheUserOrigin) {
    units_defs.coord_display = 0;
    units_defs.units_code = 0;
    misc_defs.user_origin_x = 1;
    misc_defs.user_origin_y = -2;
    char first[coord_field_size], second[coord_field_size];
    make_coordinates(3.5, 0, first, second);
    EXPECT_EQ(std::string(first), "       2.5000");
    EXPECT_EQ(std::string(second), "       2.0000");
}

namespace {

std::string item(int n) {
    char text[256];
    get_item(coorDPtr, n, text);
    return text;
}

}  // namespace

TEST(CoordinatePalette, OpensAtStartAlongTheBottomRightAndFollowsTheCursor) {
    Session s;
    s.then([] {
        ASSERT_NE(coorDPtr, nullptr);
        EXPECT_EQ(plat::menu_item_mark(4, four_cc("PLco")), plat::checkMark);
        const plat::Rect b = plat::dialog_bounds(coorDPtr);
        EXPECT_EQ(b.left, 1024 - 365);
        EXPECT_EQ(b.bottom, 768 - 11);
        units_defs.coord_display = 0;
        display_coordinates(12.5, -3);
        EXPECT_EQ(item(3), "      12.5000");
        EXPECT_EQ(item(5), "-      3.0000");
        plat::post_item_hit(coorDPtr, 7);  // the large layout
    });
    s.then([] {
        EXPECT_EQ(bigdial, 1);
        ASSERT_NE(coorDPtr, nullptr);
        ref_x = 2;
        ref_y = 1;
        display_coordinates(5, 5);
        EXPECT_EQ(item(10), "       2.0000");
        EXPECT_EQ(item(12), "       1.0000");
        EXPECT_EQ(item(16), "       3.0000");
        EXPECT_EQ(item(18), "       4.0000");
        EXPECT_EQ(item(22), "5.0000");
        EXPECT_EQ(item(30), "12.0000");
    });
    s.menu(4, "PLco");
    s.then([] {
        EXPECT_EQ(coorDPtr, nullptr);
        EXPECT_EQ(plat::menu_item_mark(4, four_cc("PLco")), plat::noMark);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(InputWindow, PLinThreeTimesShowsHidesAndShowsTheSameWindow) {
    Session s;
    static DialogPtr first = nullptr;
    s.menu(4, "PLin");
    s.then([] {
        first = windInput;
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(plat::dialog_visible(first));
        EXPECT_EQ(inputWindVisible, 1);
        EXPECT_EQ(plat::menu_item_mark(4, four_cc("PLin")), plat::checkMark);
    });
    s.menu(4, "PLin");
    s.then([] {
        EXPECT_EQ(windInput, first);
        EXPECT_FALSE(plat::dialog_visible(first));
        EXPECT_EQ(inputWindVisible, 0);
        EXPECT_EQ(plat::menu_item_mark(4, four_cc("PLin")), plat::noMark);
    });
    s.menu(4, "PLin");
    s.then([] {
        EXPECT_EQ(windInput, first);
        EXPECT_TRUE(plat::dialog_visible(first));
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(InputWindow, SetReferenceMovesTheReferencePointByTheTypedOffsets) {
    Session s;
    s.menu(4, "PLin");
    s.then([] {
        update_ref(10, 5);
        plat::set_item_value(GrabCRef(windInput, 0, 3), 2);
        plat::post_command(windInput, four_cc("Immd"));
    });
    s.then([] {
        EXPECT_EQ(misc_defs.input_mode, 2);
        plat::set_item_text(GrabCRef(windInput, 0, 5), "3");
        plat::set_item_text(GrabCRef(windInput, 0, 7), "4");
        plat::post_command(windInput, four_cc("Imsr"));
    });
    s.then([] {
        EXPECT_EQ(ref_x, 13);
        EXPECT_EQ(ref_y, 9);
        double v = 0;
        EXPECT_TRUE(GetRealValueFromEditTextControl(GrabCRef(windInput, 0, 9), &v, -1e9, 1e9, 1));
        EXPECT_EQ(v, 13);
        EXPECT_TRUE(GetRealValueFromEditTextControl(GrabCRef(windInput, 0, 11), &v, -1e9, 1e9, 1));
        EXPECT_EQ(v, 9);
    });
    EXPECT_EQ(s.run(), 0);
}
