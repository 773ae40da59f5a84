// The File commands driven in the real program: the save-changes question,
// New, Close, Save, Save As, Merge and Pause, and the file dialogs' rules.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "base/command_loop.h"
#include "base/menu_items.h"
#include "base/messages.h"
#include "base/shutdown.h"
#include "display/clipboard_window.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "files/drawing_reader.h"
#include "files/file_commands.h"
#include "files/file_dialogs.h"
#include "platform/core/clock.h"
#include "platform/core/forks.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/windows.h"
#include "shell/window_layers.h"
#include "store/current_drawing.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/strings.h"
#include "store/undo.h"
#include "tests/support/drawing_file.h"
#include "tests/support/file_dialog_script.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

namespace drav::test {
namespace {

constexpr int yes = 1, cancel = 2, no = 3;
const char* const save_question = "Save the changes";

std::vector<std::uint8_t> bytes_of(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A line added as a person's command adds it: the drawing is changed.
void add_line(double x = 1) {
    ObjectRec r = line_record(x, 1, 2, 0);
    r.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
    get_info(number_of_objects);
    info = r;
    indx = number_of_objects;
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    ASSERT_EQ(save_object(), 1);
}

std::filesystem::path drawing(const char* name, bool pc = false, int lines = 2) {
    DrawingFile d;
    d.pc = pc;
    d.default_settings(3);
    for (int i = 0; i < lines; ++i) d.objects.push_back(line_record(i, 0, 1, 1));
    const auto p = scratch_dir() / name;
    d.write(p);
    return p;
}

std::string title() { return plat::window_title(whichdrawWindow()); }

TEST(FileCommands, CloseBringsAVisibleClipboardWindowToTheFront) {
    Session s;
    s.then([] {
        ASSERT_NE(clipCWindow, nullptr);
        plat::show_window(clipCWindow);
        SelectDocument(whichdrawWindow());
        ASSERT_EQ(firstDocument(), whichdrawWindow());
    });
    s.menu(kMyFileMenu, "clos");
    s.then([] { EXPECT_EQ(firstDocument(), clipCWindow); });
    EXPECT_EQ(s.run(), 0);
}

TEST(FileCommands, NewAndCloseOnAnUnchangedDrawingAskNothing) {
    const auto plan = drawing("plan.drw");
    Session s;
    s.then([] {
        EXPECT_EQ(number_of_objects, 38);
        EXPECT_EQ(didsomething, 0);
        // A line selected in a closer view: New forgets both.
        showonoff(36, 1);
        ASSERT_EQ(currentitem, 36);
        change_window(cur_win.xl + 1, cur_win.xr - 1, cur_win.yb + 1, aspectratio, 1);
        ASSERT_NE(cur_win.xl, bse_win.xl);
    });
    s.menu(kMyFileMenu, "new ");
    s.then([] {
        EXPECT_EQ(number_of_objects, 36);
        EXPECT_EQ(currentitem, 0);
        EXPECT_EQ(cur_win.xl, bse_win.xl);
        EXPECT_EQ(cur_win.xr, bse_win.xr);
        EXPECT_EQ(cur_win.yb, bse_win.yb);
        EXPECT_EQ(title(), "Untitled");
        EXPECT_EQ(currentdrawingRefNum, 0);
    });
    s.menu(kMyFileMenu, "clos");
    s.then([] {
        EXPECT_EQ(document_exist, 0);
        // The window holding the menu bar stays, with an empty untitled drawing.
        EXPECT_TRUE(plat::window_visible(whichdrawWindow()));
        EXPECT_EQ(number_of_objects, 36);
    });
    EXPECT_EQ(s.run({plan.string()}), 0);
    EXPECT_TRUE(answers().shown().empty());
}

TEST(FileCommands, QuitWithChangesAndCancelGoesOnWithNothingLost) {
    Session s;
    s.then([] { add_line(); });
    answers().expect(save_question, cancel);
    s.quit();
    s.then([] {
        EXPECT_EQ(number_of_objects, 37);
        EXPECT_EQ(needtosave, 1);
    });
    answers().expect(save_question, no);  // the quit at the end
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(answers().done());
}

TEST(FileCommands, AfterAFailedSaveTheQuitOffersOnlyYesAndCancel) {
    Session s;
    s.then([] {
        add_line();
        keep_workfile = 1;  // as a failed save leaves it
    });
    answers().expect("could not be saved", cancel, [](const plat::AlertRequest& r) {
        EXPECT_EQ(r.buttons.size(), 2u);
    });
    s.quit();
    s.then([] { EXPECT_EQ(number_of_objects, 37); });
    answers().expect("could not be saved", yes);
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(answers().done());
}

TEST(FileCommands, AnUntitledSaveRunsSaveAsAndItsCancelSetsAborted) {
    Session s;
    file_dialogs().expect_cancel(true);
    s.then([] {
        add_line();
        filer(4);
        EXPECT_EQ(aborted, 1);
        EXPECT_EQ(needtosave, 1);
    });
    // New asks, Yes saves, the save dialog is cancelled: New stops.
    answers().expect(save_question, yes);
    file_dialogs().expect_cancel(true);
    s.then([] {
        filer(1);
        EXPECT_EQ(number_of_objects, 37);
    });
    answers().expect(save_question, no);
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(file_dialogs().done());
}

TEST(FileCommands, CloseYesThenACancelledSaveKeepsTheDrawing) {
    Session s;
    answers().expect(save_question, yes);
    file_dialogs().expect_cancel(true);
    s.then([] {
        add_line();
        EXPECT_EQ(closedraw(), 0);
        EXPECT_EQ(number_of_objects, 37);
        EXPECT_EQ(document_exist, 1);
    });
    answers().expect(save_question, no);
    EXPECT_EQ(s.run(), 0);
}

TEST(FileCommands, SaveAsNamesTheDrawingAndAddsTheExtension) {
    Session s;
    file_dialogs().expect_save(scratch_dir() / "house");
    s.then([] { add_line(); });
    s.menu(kMyFileMenu, "svas");
    s.then([] {
        EXPECT_EQ(title(), "house.drw");
        EXPECT_STREQ(current_drawing.name, "house.drw");
        EXPECT_EQ(needtosave, 0);
        EXPECT_GT(currentdrawingRefNum, 0);
        std::uint32_t type = 0, creator = 0;
        plat::get_type_creator(FSRef{scratch_dir() / "house.drw"}, &type, &creator);
        EXPECT_EQ(type, four_cc("2D  "));
        EXPECT_EQ(undo_item_enabled(), 0);
    });
    // Saved: the quit asks nothing.
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(answers().shown().empty());
}

TEST(FileCommands, APcDrawingSavedWithSaveStaysPc) {
    const auto plan = drawing("plan.2d", true);
    Session s;
    s.then([] {
        add_line(5);
        filer(4);
        EXPECT_EQ(needtosave, 0);
    });
    EXPECT_EQ(s.run({plan.string()}), 0);
    const auto b = bytes_of(plan);
    ASSERT_GE(b.size(), 128u);
    EXPECT_EQ(b[2] | b[3] << 8, 70);  // little-endian version
    EXPECT_EQ(b[6] | b[7] << 8, 3);   // three objects
    EXPECT_FALSE(plat::file_exists(plat::companion_ref(FSRef{plan})));
}

TEST(FileCommands, SaveAsOfTheGroupOnlyLeavesTheCurrentDrawingAlone) {
    const auto plan = drawing("plan.drw");
    Session s;
    file_dialogs().expect_save(scratch_dir() / "part.drw", [](const plat::FileDialogRequest& r) {
        ASSERT_NE(r.options, nullptr);
        plat::DItem* choice = plat::find_control(r.options, 0, 101);
        EXPECT_NE(plat::item_hilite(choice), 255);
        plat::set_item_value(choice, 2);
    });
    s.then([] {
        put_in_group(37, 1);
        filer(5);
        EXPECT_EQ(title(), "plan.drw");
        EXPECT_STREQ(current_drawing.name, "plan.drw");
    });
    EXPECT_EQ(s.run({plan.string()}), 0);
    const auto b = bytes_of(scratch_dir() / "part.drw");
    ASSERT_GE(b.size(), 128u);
    EXPECT_EQ(b[6] << 8 | b[7], 1);  // one object
}

TEST(FileCommands, MergeWithBothOptionsGroupsTheObjectsAndTakesThePlotSpecifications) {
    const auto plan = drawing("plan.drw");
    DrawingFile other;
    other.default_settings(3);
    other.views.push_back(plot_spec("A3", 0, 40, 0, 30));
    for (int i = 0; i < 3; ++i) other.objects.push_back(line_record(i, 5, 1, 0));
    other.write(scratch_dir() / "other.drw");
    Session s;
    file_dialogs().expect_open(scratch_dir() / "other.drw", [](const plat::FileDialogRequest& r) {
        ASSERT_NE(r.options, nullptr);
        plat::set_item_value(plat::find_control(r.options, four_cc("chck"), 101), 1);
        plat::set_item_value(plat::find_control(r.options, four_cc("chck"), 102), 1);
    });
    s.menu(kMyFileMenu, "FMrg");
    s.then([] {
        EXPECT_EQ(number_of_objects, 36 + 5);
        EXPECT_EQ(objs_in_grp, 3);
        for (int n = 38; n < 41; ++n) EXPECT_EQ(get_in_group(n), 1) << n;
        EXPECT_EQ(get_in_group(36), 0);
        get_info(7);
        EXPECT_EQ(rec_kind(info), rk_plot_spec);
        EXPECT_STREQ(rec_str(info, pspec::name), "A3");
        EXPECT_EQ(undo_item_enabled(), 0);
    });
    answers().expect(save_question, no);
    EXPECT_EQ(s.run({plan.string()}), 0);
}

TEST(FileCommands, APauseIsLeftOutOfTheDrawingTime) {
    Session s;
    std::uint32_t drawn = 0;
    std::int32_t started = 0;
    s.then([&] {
        write_sav_rec();
        drawn = total_dwg_time;
        started = abstime();
    });
    s.menu(kMySettingMenu, "STpa");
    s.then([] {
        ASSERT_NE(plat::front_dialog(), nullptr);
        plat::advance_fake_clock(90 * 60);
    });
    s.press("ok  ");
    s.then([&] {
        write_sav_rec();
        const std::int32_t spent = abstime() - started;
        EXPECT_EQ(spent - static_cast<std::int32_t>(total_dwg_time - drawn), 90);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(FileCommands, EveryFileCommandLeavesNothingToUndo) {
    Session s;
    for (int n : {2, 4, 5, 6}) {
        file_dialogs().expect_cancel(n == 4 || n == 5);
        s.then([n] {
            add_line(n);
            EXPECT_EQ(undo_item_enabled(), 1) << n;
            filer(n);
            EXPECT_EQ(undo_item_enabled(), 0) << n;
            EXPECT_EQ(quit, 1) << n;
        });
    }
    answers().expect(save_question, no);
    EXPECT_EQ(s.run(), 0);
}

// ---- The dialogs' own rules ----

TEST(FileDialogs, TheOpenDialogOffersDrawingsWithTheirByteOrder) {
    const auto pc = drawing("PLAN.2D", true);
    plat::set_type_creator(FSRef{pc}, four_cc("TEXT"), four_cc("mdos"));
    std::filesystem::create_directories(scratch_dir() / "native");
    const auto native = scratch_dir() / "native" / "plan.2d";
    drawing("plan.2d");
    std::filesystem::rename(scratch_dir() / "plan.2d", native);
    plat::set_type_creator(FSRef{native}, four_cc("2D  "), four_cc("DRAV"));
    std::ofstream(scratch_dir() / "notes.txt") << "text";

    Session s;
    file_dialogs().expect_open(pc, [&](const plat::FileDialogRequest& r) {
        EXPECT_TRUE(r.filter(pc));
        EXPECT_TRUE(r.filter(native));
        EXPECT_FALSE(r.filter(scratch_dir() / "notes.txt"));
        EXPECT_EQ(r.options, nullptr);
    });
    file_dialogs().expect_open(native);
    file_dialogs().expect_cancel(false);
    s.then([&] {
        FSRef ref;
        std::int16_t vref = 0;
        std::int32_t dir = 0;
        char name[file_name_bytes] = {};
        int format = 0, merge = 0, plot = 0;
        ASSERT_EQ(opendrawing_dialog(&ref, &vref, &dir, name, &format, &merge, &plot), 1);
        EXPECT_EQ(format, format_pc);
        EXPECT_STREQ(name, "PLAN.2D");
        format = 0;
        ASSERT_EQ(opendrawing_dialog(&ref, &vref, &dir, name, &format, &merge, &plot), 1);
        EXPECT_EQ(format, format_native);
        // Cancel puts back the format it was given on entry.
        format = format_pc;
        EXPECT_EQ(opendrawing_dialog(&ref, &vref, &dir, name, &format, &merge, &plot), 0);
        EXPECT_EQ(openfile_format, format_native);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(FileDialogs, ChoosingAnyFileOffersEveryFileUnderThePrompt) {
    std::ofstream(scratch_dir() / "notes.txt") << "text";
    Session s;
    file_dialogs().expect_open(scratch_dir() / "notes.txt", [](const plat::FileDialogRequest& r) {
        EXPECT_EQ(r.title, "Find the drawing");
        EXPECT_FALSE(r.filter);
    });
    file_dialogs().expect_cancel(false);
    s.then([] {
        std::int16_t vref = 0;
        std::int32_t dir = 0;
        char name[file_name_bytes] = {};
        ASSERT_EQ(openanyfile_dialog(four_cc("2D  "), &vref, &dir, name, "Find the drawing"), 1);
        EXPECT_STREQ(name, "notes.txt");
        EXPECT_EQ(plat::folder_path(vref, dir), scratch_dir());
        EXPECT_STREQ(theprompt, "Find the drawing");
        EXPECT_EQ(openanyfile_dialog(four_cc("2D  "), &vref, &dir, name, "Again"), 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(FileDialogs, TheSaveDialogRefusesTheUntitledNameAndAnEmptyGroup) {
    Session s;
    answers().expect("Untitled");
    file_dialogs().expect_save(scratch_dir() / "Untitled", [](const plat::FileDialogRequest& r) {
        EXPECT_EQ(r.name, "");  // an untitled drawing proposes no name
        ASSERT_NE(r.options, nullptr);
        EXPECT_EQ(plat::item_hilite(plat::find_control(r.options, 0, 101)), 255);
        // The format pop-up shows its first item whatever was chosen before.
        EXPECT_EQ(plat::item_value(plat::find_control(r.options, 0, 102)), 1);
    });
    file_dialogs().expect_save(scratch_dir() / "plan.2d", [](const plat::FileDialogRequest& r) {
        plat::set_item_value(plat::find_control(r.options, 0, 102), 2);
    });
    s.then([] {
        savefile_format = format_pc;
        FSRef folder;
        std::int16_t vref = 0;
        std::int32_t dir = 0;
        char name[file_name_bytes] = "Untitled";
        int choice = 0, format = 0;
        ASSERT_EQ(savedrawing_dialog(&folder, &vref, &dir, name, &choice, &format), 1);
        EXPECT_STREQ(name, "plan.2d");
        EXPECT_EQ(choice, 1);
        EXPECT_EQ(format, format_pc);
        EXPECT_EQ(folder.path, scratch_dir());
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(answers().done());
}

}  // namespace
}  // namespace drav::test
