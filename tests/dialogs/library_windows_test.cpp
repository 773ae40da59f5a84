// "LibraryNew" and "Symbol Setup": the clamps of the new library's numbers,
// the folder, and the setup window's buttons for empty, filled and used slots.
#include "tests/dialogs/settings_fixture.h"

#include <cstring>
#include <filesystem>

#include "dialogs/library_windows.h"
#include "files/library_command.h"
#include "files/symbol_adder.h"
#include "files/symbol_editing.h"
#include "platform/core/files.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/symbol_library.h"
#include "tests/support/file_dialog_script.h"

namespace drav::test {
namespace {

namespace fs = std::filesystem;

struct NewLibrary {
    int result = -1;
    FSRef folder;
    char name[256] = {};
    std::int16_t count = 0, rows = 0, cols = 0;
};

// Types the fields (empty: left as they open) and presses `command`.
NewLibrary run_new(const char* name, const char* count, const char* rows, const char* cols, const char (&command)[5],
                   bool choose_folder = false) {
    Session s;
    s.then([=] {
        if (name) plat::set_item_text(front_control(3), name);
        if (count) plat::set_item_text(front_control(5), count);
        if (rows) plat::set_item_text(front_control(6), rows);
        if (cols) plat::set_item_text(front_control(7), cols);
    });
    if (choose_folder) {
        s.then([] { file_dialogs().expect_open(scratch_dir()); });
        s.press("fold");
        s.then([] { EXPECT_EQ(plat::item_text(front_control(4)), scratch_dir().string()); });
    }
    s.press(command).ends();
    NewLibrary n;
    s.drive([&] { n.result = LibraryNewWindow(&n.folder, n.name, &n.count, &n.rows, &n.cols); });
    return n;
}

class LibraryWindows : public SettingsWindows {};

TEST_F(LibraryWindows, TheNewLibrarysNumbersAreClampedToWhatALibraryHolds) {
    struct Case {
        const char *count, *rows, *cols;
        int want_count, want_rows, want_cols;
    };
    const Case cases[] = {
        {"20", "0", "7", 50, 1, 7},  {"5000", "101", "100", 1000, 100, 100}, {nullptr, nullptr, nullptr, 100, 10, 10},
        {"", "x", "99999", 50, 1, 1},
    };
    for (const Case& c : cases) {
        const NewLibrary n = run_new("Doors", c.count, c.rows, c.cols, "ok  ");
        EXPECT_EQ(n.result, 1);
        EXPECT_STREQ(n.name, "Doors");
        EXPECT_EQ(n.count, c.want_count) << (c.count ? c.count : "-");
        EXPECT_EQ(n.rows, c.want_rows);
        EXPECT_EQ(n.cols, c.want_cols);
    }
    const NewLibrary empty = run_new("", "60", "2", "3", "ok  ");
    EXPECT_STREQ(empty.name, "");
}

TEST_F(LibraryWindows, TheFolderIsTheOneChosenLastAndCancelGivesNothing) {
    const NewLibrary none = run_new("A", "60", "2", "3", "ok  ");
    EXPECT_FALSE(none.folder.valid());  // no folder chosen yet in this run
    const NewLibrary chosen = run_new("B", "60", "2", "3", "ok  ", true);
    EXPECT_EQ(chosen.folder.path, scratch_dir());
    const NewLibrary again = run_new("C", "60", "2", "3", "ok  ");
    EXPECT_EQ(again.folder.path, scratch_dir());
    const NewLibrary cancelled = run_new("D", "60", "2", "3", "not!");
    EXPECT_EQ(cancelled.result, 0);
    EXPECT_EQ(cancelled.count, 0);
    EXPECT_STREQ(cancelled.name, "");
    EXPECT_TRUE(file_dialogs().done());
}

// ---- Symbol Setup ----

class SymbolSetup : public LibraryWindows {
protected:
    void SetUp() override {
        LibraryWindows::SetUp();
        ASSERT_EQ(make_library(FSRef{scratch_dir()}, "Setup", 50, &lib_), 1);
        std::int16_t fork = 0;
        ASSERT_EQ(plat::open_file(lib_, plat::Perm::read_write, &fork), plat::noErr);
        ObjectRec line{};
        set_rec_u16(line, o_word0, live_object_word);
        set_obj_kind_colour(line, ok_line, 1);
        set_rec_f64(line, line::dx, 1);
        ASSERT_EQ(lib_put_symbol(fork, 1, {line}, 0, 0, 1, 0, "Setup", "Valve", SymbolUnits{}), PutSymbol::written);
        plat::close_file(fork);
        makelibactive(lib_, "Setup");
    }
    void TearDown() override {
        if (currentlibRefNum > 0) FSRef_CloseMyFile(&currentlibRefNum);
        currentlibRefNum = 0;
        current_lib = FileRefRec{};
        LibraryWindows::TearDown();
    }
    ObjectRec read_slot() const {
        ObjectRec r{};
        std::int16_t f = 0;
        std::int64_t got = 0;
        EXPECT_EQ(plat::open_file(lib_, plat::Perm::read, &f), plat::noErr);
        plat::read_at(f, 5 * 128, r.b, 128, &got);
        plat::close_file(f);
        return r;
    }
    FSRef lib_;
};

struct Buttons {
    bool add, replace, name_shown, empty_note;
    int delete_hilite;
    std::string name;
};

Buttons buttons() {
    auto visible = [](int id) { return plat::item_visible(front_control(id)); };
    return {visible(1), visible(5), visible(7), visible(8), plat::item_hilite(front_control(2)),
            plat::item_text(front_control(7))};
}

TEST_F(SymbolSetup, AnEmptySlotOffersAddOnly) {
    Session s;
    s.then([] {
        const Buttons b = buttons();
        EXPECT_TRUE(b.add);
        EXPECT_FALSE(b.replace);
        EXPECT_FALSE(b.name_shown);
        EXPECT_TRUE(b.empty_note);
        EXPECT_EQ(b.delete_hilite, 255);
        for (int id : {3, 4}) EXPECT_EQ(plat::item_hilite(front_control(id)), 255);
    });
    s.press("ok  ").ends();
    int status = -1;
    s.drive([&] { status = SymbolSetupWindow(1); });
    EXPECT_EQ(status, 0);
}

TEST_F(SymbolSetup, AFilledSlotShowsItsNameAndDeletingItEmptiesTheWindow) {
    Session s;
    s.then([] {
        const Buttons b = buttons();
        EXPECT_FALSE(b.add);
        EXPECT_TRUE(b.replace);
        EXPECT_TRUE(b.name_shown);
        EXPECT_FALSE(b.empty_note);
        EXPECT_EQ(b.delete_hilite, 0);
        EXPECT_EQ(b.name, "Valve");
        // The drawing does not use it: details and handle may be edited.
        for (int id : {3, 4}) EXPECT_EQ(plat::item_hilite(front_control(id)), 0);
        answers().expect("Delete this symbol", 1);
    });
    s.press("Sydl");
    s.then([] {
        const Buttons b = buttons();
        EXPECT_TRUE(b.add);
        EXPECT_TRUE(b.empty_note);
        EXPECT_EQ(b.delete_hilite, 255);
    });
    s.press("ok  ").ends();
    s.drive([&] { SymbolSetupWindow(2); });
    EXPECT_EQ(rec_kind(read_slot()), rk_empty);
}

TEST_F(SymbolSetup, AddingADrawingFillsTheSlotAndTheWindowFollows) {
    // A drawing of one line, written as the program writes drawings.
    const fs::path drawing = scratch_dir() / "pump.drw";
    {
        std::vector<std::uint8_t> bytes(128 * 8, 0);
        ObjectRec h{};
        set_rec_u16(h, o_word0, rk_header);
        set_rec_i16(h, hdr::version, 70);
        set_rec_i16(h, hdr::first_slot, 7);
        set_rec_i16(h, hdr::object_count, 1);
        std::memcpy(bytes.data(), h.b, 128);
        ObjectRec line{};
        set_rec_u16(line, o_word0, live_object_word);
        set_obj_kind_colour(line, ok_line, 1);
        set_rec_f64(line, line::dx, 3);
        std::memcpy(bytes.data() + 7 * 128, line.b, 128);
        std::int16_t f = 0;
        ASSERT_EQ(plat::create_file({drawing}), plat::noErr);
        ASSERT_EQ(plat::open_file({drawing}, plat::Perm::read_write, &f), plat::noErr);
        std::int64_t done = 0;
        plat::write_at(f, 0, bytes.data(), static_cast<std::int64_t>(bytes.size()), &done);
        plat::close_file(f);
    }
    Session s;
    s.then([drawing] { file_dialogs().expect_open(drawing); });
    s.press("Syad");
    s.then([] {
        const Buttons b = buttons();
        EXPECT_TRUE(b.replace);
        EXPECT_EQ(b.name, "pump.drw");
    });
    s.press("ok  ").ends();
    s.drive([&] { SymbolSetupWindow(3); });
    EXPECT_TRUE(file_dialogs().done());
}

}  // namespace
}  // namespace drav::test

namespace drav::test {
namespace {

// File > New Library: OK without a folder or a name makes nothing, says so
// once and keeps the current library; with both it makes and opens the library.
TEST_F(LibraryWindows, ANewLibraryNeedsAFolderAndAName) {
    FSRef kept;
    ASSERT_EQ(make_library(FSRef{scratch_dir()}, "Kept", 50, &kept), 1);
    makelibactive(kept, "Kept");
    struct Case {
        const char* name;
        bool folder;
    };
    for (const Case& c : {Case{"Doors", false}, Case{"", true}}) {
        Session s;
        s.then([&c] { plat::set_item_text(front_control(3), c.name); });
        if (c.folder) {
            s.then([] { file_dialogs().expect_open(scratch_dir()); });
            s.press("fold");
        }
        s.press("ok  ").ends();
        answers().expect("could not be opened");
        s.drive([] { library(1); });
        EXPECT_TRUE(answers().done()) << c.name;
        EXPECT_STREQ(current_lib.name, "Kept") << c.name;
        EXPECT_EQ(current_lib.ref.path, kept.path) << c.name;
    }
    Session s;
    s.then([] { plat::set_item_text(front_control(3), "Doors"); });
    s.press("ok  ").ends();  // the folder chosen last
    s.drive([] { library(1); });
    EXPECT_STREQ(current_lib.name, "Doors");
    EXPECT_TRUE(fs::exists(scratch_dir() / "Doors"));
    if (currentlibRefNum > 0) FSRef_CloseMyFile(&currentlibRefNum);
    currentlibRefNum = 0;
    current_lib = FileRefRec{};
}

}  // namespace
}  // namespace drav::test
