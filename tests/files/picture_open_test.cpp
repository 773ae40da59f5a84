// Picture files through the File menu's open and merge dialogs: offered
// beside the drawings, opened as a new untitled drawing or merged as a group.
#include <gtest/gtest.h>

#include <fstream>

#include "base/menu_items.h"
#include "files/file_commands.h"
#include "files/file_dialogs.h"
#include "platform/core/forks.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/windows.h"
#include "display/screen.h"
#include "store/current_drawing.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "tests/files/picture_fixture.h"
#include "tests/support/file_dialog_script.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

namespace drav::test {
namespace {

constexpr double pt = 1.0 / 72;

// One framed rectangle of 100 x 50 points, 20 from the left and 10 down.
std::filesystem::path rectangle_picture(const char* name) {
    const auto p = scratch_dir() / name;
    PictBuilder().op(plat::pict::op_rect + plat::pict::frame, words({10, 20, 60, 120})).write(p);
    return p;
}

void inches() {
    units_defs.units_code = 3;
    units_defs.real_unit = 3;
    units_defs.unit_size = 1;
}

TEST(PictureOpen, TheOpenDialogOffersPictureFilesAndUntypedDrawingsByNameOrType) {
    const auto pict = rectangle_picture("plan.pict");
    const auto pct = rectangle_picture("PLAN.PCT");
    const auto typed = rectangle_picture("scan");
    plat::set_type_creator(FSRef{typed}, four_cc("PICT"), four_cc("ABCD"));
    const auto text = rectangle_picture("notes.pict");
    plat::set_type_creator(FSRef{text}, four_cc("TEXT"), four_cc("ABCD"));
    std::ofstream(scratch_dir() / "notes.txt") << "text";
    // A drawing that lost its companion on the way.
    std::ofstream(scratch_dir() / "plan.DRW") << "records";
    Session s;
    file_dialogs().expect_open(typed, [&](const plat::FileDialogRequest& r) {
        ASSERT_TRUE(r.filter);
        EXPECT_TRUE(r.filter(pict));
        EXPECT_TRUE(r.filter(pct));
        EXPECT_TRUE(r.filter(typed));
        EXPECT_TRUE(r.filter(scratch_dir() / "plan.DRW"));
        // Typed as something else, the name does not count.
        EXPECT_FALSE(r.filter(text));
        EXPECT_FALSE(r.filter(scratch_dir() / "notes.txt"));
    });
    s.then([] {
        FSRef ref;
        std::int16_t vref = 0;
        std::int32_t dir = 0;
        char name[file_name_bytes] = {};
        int format = 0, merge = 0, plot = 0;
        ASSERT_EQ(opendrawing_dialog(&ref, &vref, &dir, name, &format, &merge, &plot), 1);
        EXPECT_EQ(format, 2);
        EXPECT_STREQ(name, "scan");
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(PictureOpen, OpenMakesANewUntitledDrawingOfThePictureAndMergeAddsItAsTheGroup) {
    const auto pict = rectangle_picture("plan.pict");
    static double top = 0;
    Session s;
    // A closed window comes back with the picture in it.
    s.menu(kMyFileMenu, "clos");
    s.then([] {
        ASSERT_EQ(document_exist, 0);
        inches();
    });
    file_dialogs().expect_open(pict);
    s.menu(kMyFileMenu, "open");
    s.then([] {
        EXPECT_EQ(document_exist, 1);
        EXPECT_TRUE(plat::window_visible(whichdrawWindow()));
        ASSERT_EQ(units_defs.units_code, 3);
        ASSERT_EQ(number_of_objects, first_object_slot + 1);
        get_info(first_object_slot);
        EXPECT_EQ(obj_kind(info), ok_rect);
        // 100 x 50 points in inches, y upward from the window's bottom.
        top = viewport.height - 10;
        EXPECT_NEAR(rec_f64(info, rect::width), 100 * pt, 1e-9);
        EXPECT_NEAR(rec_f64(info, rect::height), -50 * pt, 1e-9);
        EXPECT_NEAR(rec_f64(info, obj::ref_x), 20 * pt, 1e-9);
        EXPECT_NEAR(rec_f64(info, obj::ref_y), top * pt, 1e-9);
        // The picture file is not the drawing's file: Save asks for a name.
        EXPECT_EQ(plat::window_title(whichdrawWindow()), "Untitled");
        EXPECT_FALSE(current_drawing.ref.valid());
        EXPECT_EQ(currentdrawingRefNum, 0);
    });
    file_dialogs().expect_open(pict, [](const plat::FileDialogRequest& r) {
        ASSERT_NE(r.options, nullptr);
        plat::set_item_value(plat::find_control(r.options, four_cc("chck"), 101), 1);
    });
    s.menu(kMyFileMenu, "FMrg");
    s.then([] {
        ASSERT_EQ(number_of_objects, first_object_slot + 2);
        EXPECT_EQ(get_in_group(first_object_slot), 0);
        EXPECT_NE(get_in_group(first_object_slot + 1), 0);
        get_info(first_object_slot + 1);
        EXPECT_NEAR(rec_f64(info, obj::ref_y), top * pt, 1e-9);
        EXPECT_EQ(didsomething, 1);
        EXPECT_EQ(plat::window_title(whichdrawWindow()), "Untitled");
    });
    answers().expect("Save the changes", 3);
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(file_dialogs().done());
}

}  // namespace
}  // namespace drav::test
