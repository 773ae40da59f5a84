// Adding a drawing as a symbol of the current library, and the three
// libraries the build makes through the same writer.
#include "tests/files/reader_fixture.h"

#include <filesystem>

#include "display/graphics_unit.h"
#include "files/symbol_adder.h"
#include "platform/core/files.h"
#include "platform/core/forks.h"
#include "store/library_file.h"
#include "tests/support/file_dialog_script.h"

namespace drav::test {
namespace {

namespace fs = std::filesystem;

ObjectRec read_rec(const fs::path& p, int n) {
    std::int16_t f = 0;
    ObjectRec r{};
    std::int64_t got = 0;
    EXPECT_EQ(plat::open_file({p}, plat::Perm::read, &f), plat::noErr);
    plat::read_at(f, std::int64_t{n} * 128, r.b, 128, &got);
    plat::close_file(f);
    return r;
}

class SymbolAdder : public Reader {
protected:
    void SetUp() override {
        Reader::SetUp();
        initgunit();
        ASSERT_EQ(make_library(FSRef{scratch_dir()}, "Parts", 50, &lib_), 1);
        makelibactive(lib_, "Parts");
        ASSERT_EQ(open_default_library(2), 1);
    }
    void TearDown() override {
        if (currentlibRefNum > 0) FSRef_CloseMyFile(&currentlibRefNum);
        currentlibRefNum = 0;
        current_lib = FileRefRec{};
        EXPECT_TRUE(file_dialogs().done());
        Reader::TearDown();
    }
    // Adds the drawing as slot `slot` straight through `add_entry`.
    int add(const DrawingFile& d, int slot, const char* name = "drawing1.drw") {
        d.write(path(name));
        std::int16_t f = 0;
        EXPECT_EQ(plat::open_file({path(name)}, plat::Perm::read, &f), plat::noErr);
        const int r = add_entry(f, static_cast<std::int16_t>(slot), name);
        plat::close_file(f);
        return r;
    }
    ObjectRec lib(int n) const { return read_rec(lib_.path, n); }
    static DrawingFile drawing(std::vector<ObjectRec> objects) {
        DrawingFile d;
        d.default_settings(3);
        d.objects = std::move(objects);
        return d;
    }
    FSRef lib_;
};

TEST_F(SymbolAdder, SlotZeroOfANewLibraryTakesPiecesFrom54) {
    ASSERT_EQ(add(drawing({line_record(1, 1, 2, 0), line_record(1, 1, 0, 2)}), 0), 1);
    const ObjectRec h = lib(0);
    EXPECT_EQ(rec_i16(h, hdr::lib_lastctrl), 5);
    EXPECT_EQ(rec_i16(h, hdr::lib_lastsymb), 56);
    const ObjectRec c = lib(4);
    EXPECT_EQ(rec_kind(c), rk_symbol_ctrl);
    EXPECT_EQ(rec_i16(c, sctl::first_piece), 54);
    EXPECT_EQ(rec_i16(c, sctl::piece_count), 2);
    EXPECT_EQ(rec_u16(c, sctl::valid), 1);
    EXPECT_STREQ(rec_str(c, sctl::library), "Parts");
    EXPECT_STREQ(rec_str(c, sctl::symbol), "drawing1");  // cut to 8 characters
    EXPECT_EQ(rec_i16(c, sctl::units_code), 3);
    EXPECT_EQ(rec_word0(lib(54)) & 0x1FF, w0_first_piece | w0_live | rk_object | 0x100);
    EXPECT_EQ(rec_word0(lib(55)) & 0x1FF, w0_live | rk_object | 0x100);

    // Slot 9 raises lastctrl to 14; slot 2 afterwards leaves it.
    ASSERT_EQ(add(drawing({line_record(0, 0, 1, 0)}), 9), 1);
    EXPECT_EQ(rec_i16(lib(0), hdr::lib_lastctrl), 14);
    ASSERT_EQ(add(drawing({line_record(0, 0, 1, 0)}), 2), 1);
    EXPECT_EQ(rec_i16(lib(0), hdr::lib_lastctrl), 14);
    EXPECT_EQ(rec_i16(lib(0), hdr::lib_lastsymb), 58);
}

TEST_F(SymbolAdder, TheExtentsStartAtZeroAndTheFirstPieceIsTheHandle) {
    ObjectRec box = object_record(ok_rect, 10, -5);
    set_rec_f64(box, rect::width, 5);
    set_rec_f64(box, rect::height, 3);
    ASSERT_EQ(add(drawing({line_record(12, 0, 18, 5), box}), 0), 1);
    const ObjectRec c = lib(4);
    EXPECT_DOUBLE_EQ(rec_f64(c, sctl::width), 20);
    EXPECT_DOUBLE_EQ(rec_f64(c, sctl::height), 10);
    EXPECT_DOUBLE_EQ(rec_f64(c, sctl::handle_x), 2);
    EXPECT_DOUBLE_EQ(rec_f64(c, sctl::handle_y), 5);
    EXPECT_DOUBLE_EQ(rec_f64(lib(54), obj::ref_x), 2);
    EXPECT_DOUBLE_EQ(rec_f64(lib(54), obj::ref_y), 5);
    EXPECT_DOUBLE_EQ(rec_f64(lib(55), obj::ref_x), 0);
    EXPECT_DOUBLE_EQ(rec_f64(lib(55), obj::ref_y), 0);
}

TEST_F(SymbolAdder, OnlyTurnedShapesForbidUnproportionalScaling) {
    ObjectRec turned_line = line_record(0, 0, 1, 1);
    set_rec_f64(turned_line, obj::rotation, 0.1);
    ObjectRec point = object_record(ok_point, 2, 2);
    set_rec_f64(point, obj::rotation, 1);
    ObjectRec box = object_record(ok_rect, 0, 0);
    set_rec_f64(box, rect::width, 1);
    set_rec_f64(box, rect::height, 1);
    ObjectRec turned_box = box;
    set_rec_f64(turned_box, obj::rotation, 0.1);
    struct Case {
        std::vector<ObjectRec> objects;
        int unprop;
    };
    const Case cases[] = {{{turned_line, point}, 1}, {{turned_line, box}, 1}, {{turned_line, turned_box}, 0}};
    int slot = 0;
    for (const Case& c : cases) {
        ASSERT_EQ(add(drawing(c.objects), slot), 1);
        EXPECT_EQ(rec_u16(lib(4 + slot), sctl::scaling), c.unprop) << slot;
        ++slot;
    }
}

TEST_F(SymbolAdder, ADrawingThatClaimsMoreObjectsThanItHoldsStopsAtItsEnd) {
    DrawingFile d = drawing({line_record(0, 0, 1, 0), line_record(0, 0, 0, 1)});
    d.O = 5;
    ASSERT_EQ(add(d, 0), 1);
    EXPECT_EQ(rec_i16(lib(4), sctl::piece_count), 2);
    EXPECT_EQ(rec_i16(lib(0), hdr::lib_lastsymb), 56);
}

TEST_F(SymbolAdder, DrawingsThatCannotBeSymbolsAreRefusedAndNothingIsWritten) {
    DrawingFile old = drawing({line_record(0, 0, 1, 0)});
    old.version = 54;
    DrawingFile with_symbol = drawing({line_record(0, 0, 1, 0)});
    with_symbol.add_symbol("LIB", 0, {line_record(0, 0, 1, 0)}, 3);
    struct Case {
        DrawingFile d;
        const char* alert;
    };
    const Case cases[] = {{old, "version"}, {drawing({}), "no objects"}, {with_symbol, "holds symbols"}};
    for (const Case& c : cases) {
        answers().expect(c.alert);
        EXPECT_EQ(add(c.d, 0), 0);
        EXPECT_EQ(rec_i16(lib(0), hdr::lib_lastsymb), 54);
        EXPECT_EQ(rec_kind(lib(4)), rk_empty);
    }
}

TEST_F(SymbolAdder, AFilledSlotIsReplacedOnlyAfterYes) {
    ASSERT_EQ(add(drawing({line_record(0, 0, 1, 0), line_record(0, 0, 0, 1), line_record(0, 0, 1, 1)}), 0), 1);
    drawing({line_record(0, 0, 2, 0)}).write(path("other.drw"));

    file_dialogs().expect_open(path("other.drw"));
    answers().expect("Replace it", 2);  // Cancel
    symbadd(0);
    EXPECT_EQ(rec_i16(lib(4), sctl::first_piece), 54);
    EXPECT_EQ(rec_i16(lib(0), hdr::lib_lastsymb), 57);
    EXPECT_TRUE(is_live_object(lib(54)));

    file_dialogs().expect_open(path("other.drw"));
    answers().expect("Replace it", 1);
    symbadd(0);
    EXPECT_EQ(rec_i16(lib(4), sctl::first_piece), 57);
    EXPECT_EQ(rec_i16(lib(4), sctl::piece_count), 1);
    EXPECT_STREQ(rec_str(lib(4), sctl::symbol), "other.dr");
    for (int n = 54; n < 57; ++n) EXPECT_EQ(rec_kind(lib(n)), rk_empty) << n;
}

TEST_F(SymbolAdder, TheOpenDrawingIsClosedForTheAddAndOpenedAgain) {
    const DrawingFile d = drawing({line_record(0, 0, 1, 0)});
    ASSERT_EQ(open(d, 0, 0, "open.drw"), 1);
    ASSERT_GT(currentdrawingRefNum, 0);
    // Another name for the same file: it is recognised by the file itself.
    fs::create_symlink(path("open.drw"), path("alias.drw"));
    file_dialogs().expect_open(path("alias.drw"));
    symbadd(1);
    EXPECT_EQ(rec_i16(lib(5), sctl::piece_count), 1);
    EXPECT_GT(currentdrawingRefNum, 0);
    EXPECT_TRUE(plat::is_open(currentdrawingRefNum));
}

// ---- The libraries the build makes ----

struct Shipped {
    const char* file;
    int slots, rows, cols, units;
};

TEST(ShippedLibraries, EachIsASoundVersion70LibraryOfItsOwnType) {
    for (const Shipped& s : {Shipped{"Archlib1", 240, 16, 15, 4}, Shipped{"Archlib2", 240, 16, 15, 4},
                             Shipped{"Geolib", 60, 6, 10, 1}}) {
        const fs::path p = fs::path(DRAV_BUILD_DATA_DIR) / s.file;
        std::uint32_t type = 0, creator = 0;
        ASSERT_EQ(plat::get_type_creator(FSRef{p}, &type, &creator), plat::noErr) << s.file;
        EXPECT_EQ(type, four_cc("2DL "));
        EXPECT_EQ(creator, four_cc("DRAV"));
        LibHeader h;
        ASSERT_EQ(lib_header_sound(read_rec(p, 0), static_cast<std::int64_t>(fs::file_size(p) / 128), &h), 1);
        EXPECT_EQ(h.version, 70);
        EXPECT_EQ(h.maxctrls, s.slots);
        EXPECT_EQ(h.rows, s.rows);
        EXPECT_EQ(h.cols, s.cols);
        for (int slot = 0; slot < s.slots; ++slot) {
            const ObjectRec c = read_rec(p, slot + 4);
            if (rec_kind(c) == rk_empty) continue;
            EXPECT_EQ(lib_ctrl_sound(c, h), 1) << s.file << " slot " << slot;
            EXPECT_EQ(rec_i16(c, sctl::number), slot);
            EXPECT_EQ(rec_i16(c, sctl::units_code), s.units);
        }
    }
}

TEST(ShippedLibraries, TheArchitecturalSymbolsLieWhereTheModulesLookForThem) {
    const fs::path a1 = fs::path(DRAV_BUILD_DATA_DIR) / "Archlib1", a2 = fs::path(DRAV_BUILD_DATA_DIR) / "Archlib2";
    // Kind 1, size field 7 (the fourth size, 3 feet): number 0 * 15 + 4, slot 3.
    const ObjectRec door = read_rec(a1, 3 + 4);
    EXPECT_STREQ(rec_str(door, sctl::symbol), "Door36");
    EXPECT_DOUBLE_EQ(rec_f64(door, sctl::width), 3);
    EXPECT_DOUBLE_EQ(rec_f64(door, sctl::handle_x), 0);
    EXPECT_DOUBLE_EQ(rec_f64(door, sctl::handle_y), 0);
    // Its mirrored variant has the same number and size, the leaf on the other side.
    const ObjectRec mirrored = read_rec(a2, 3 + 4);
    EXPECT_STREQ(rec_str(mirrored, sctl::symbol), "Door36");
    EXPECT_DOUBLE_EQ(rec_f64(mirrored, sctl::width), 3);
    const int leaf1 = rec_i16(door, sctl::first_piece) + 1, leaf2 = rec_i16(mirrored, sctl::first_piece) + 1;
    EXPECT_DOUBLE_EQ(rec_f64(read_rec(a1, leaf1), obj::ref_x), 0);
    EXPECT_DOUBLE_EQ(rec_f64(read_rec(a2, leaf2), obj::ref_x), 3);
    // Kind 9 (a window on the wall's centre line), first size: number 8 * 15 + 1,
    // its handle in the middle of the left jamb.
    const ObjectRec window = read_rec(a1, 120 + 4);
    EXPECT_DOUBLE_EQ(rec_f64(window, sctl::width), 2);
    EXPECT_DOUBLE_EQ(rec_f64(window, sctl::handle_x), 0);
    EXPECT_DOUBLE_EQ(rec_f64(window, sctl::handle_y), 0.25);
    // Every one of the sixteen kinds has its first size, 2 feet or wider, in both libraries.
    for (int kind = 1; kind <= 16; ++kind) {
        const int slot = (kind - 1) * 15;
        const ObjectRec first = read_rec(a1, slot + 4), second = read_rec(a2, slot + 4);
        EXPECT_EQ(rec_u16(first, sctl::valid), 1) << kind;
        EXPECT_EQ(rec_u16(second, sctl::valid), 1) << kind;
        EXPECT_GE(rec_f64(first, sctl::width), 2) << kind;
        EXPECT_DOUBLE_EQ(rec_f64(second, sctl::width), rec_f64(first, sctl::width)) << kind;
    }
}

TEST(ShippedLibraries, TheToleranceHeadsFillTheFirstCompartment) {
    const fs::path g = fs::path(DRAV_BUILD_DATA_DIR) / "Geolib";
    for (int number = 1; number <= 48; ++number) {
        const bool head = number <= 13 || number >= 36;
        const ObjectRec c = read_rec(g, number - 1 + 4);
        if (!head) continue;
        EXPECT_DOUBLE_EQ(rec_f64(c, sctl::width), 3) << number;
        EXPECT_DOUBLE_EQ(rec_f64(c, sctl::height), number <= 13 ? 2 : 4) << number;
        EXPECT_DOUBLE_EQ(rec_f64(c, sctl::handle_x), 0) << number;
        EXPECT_DOUBLE_EQ(rec_f64(c, sctl::handle_y), 0) << number;
    }
    for (int number : {14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 34, 35, 59})
        EXPECT_EQ(rec_u16(read_rec(g, number - 1 + 4), sctl::valid), 1) << number;
}

}  // namespace
}  // namespace drav::test
