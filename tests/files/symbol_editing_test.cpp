// Editing the symbols of a library through the running program: a double
// click on a slot of the library window opens Symbol Setup, whose buttons
// delete the symbol, pick a new handle or step through its details in the
// drawing window.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "dialogs/edit_fields.h"
#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "files/library_window.h"
#include "files/symbol_adder.h"
#include "files/symbol_editing.h"
#include "platform/core/files.h"
#include "platform/ui/windows.h"
#include "shell/select_accept.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/object_snap.h"
#include "store/record_ops.h"
#include "store/symbol_library.h"
#include "store/workfile.h"
#include "tests/support/drawing_file.h"
#include "tests/support/library_clicks.h"
#include "tests/commands/draw/shape_steps.h"

using namespace drav;
using namespace drav::shape_test;
using drav::test::Session;

namespace {

namespace fs = std::filesystem;

constexpr double inch = 25.40005;  // millimetres, as the units table has them

std::vector<ObjectRec> text_pieces(double x, double y, const char* s) {
    ObjectRec t = test::object_record(ok_text, x, y), tail{};
    set_rec_f32(t, text::char_width, 0.1f);
    set_rec_f32(t, text::char_height, 0.15f);
    if (set_text_chars(t, tail, s)) return {t, tail};
    return {t};
}

// The library "Edits" in inches:
//   slot 0 "Tall": 1 wide, 2 high;
//   slot 1 "Snap": a line from (0, 0) to (2, 0) and a text at (1.9, 0.6), 2 x 1;
//   slot 2 "Detail": a line, a text with its continuation, a rectangle, 1 x 1;
//   slot 3 "Wide": 2 wide, 1 high;
//   slot 4 "Dot": one point, no size.
fs::path lib_path() { return test::scratch_dir() / "Edits"; }

void make_edits() {
    FSRef lib;
    ASSERT_EQ(make_library(FSRef{test::scratch_dir()}, "Edits", 20, &lib), 1);
    set_libsize(lib, 4, 5);
    std::int16_t fork = 0;
    ASSERT_EQ(plat::open_file(lib, plat::Perm::read_write, &fork), plat::noErr);
    SymbolUnits inches;
    inches.code = 1;
    inches.real_unit = 1;
    auto put = [&](int slot, std::vector<ObjectRec> pieces, double w, double h, const char* name) {
        EXPECT_EQ(lib_put_symbol(fork, static_cast<std::int16_t>(slot), pieces, 0, 0, w, h, "Edits", name, inches),
                  PutSymbol::written);
    };
    put(0, {test::line_record(0, 0, 1, 2)}, 1, 2, "Tall");
    std::vector<ObjectRec> snap{test::line_record(0, 0, 2, 0)};
    for (const ObjectRec& r : text_pieces(1.9, 0.6, "T")) snap.push_back(r);
    put(1, snap, 2, 1, "Snap");
    std::vector<ObjectRec> detail{test::line_record(0, 0, 1, 0)};
    for (const ObjectRec& r : text_pieces(0, 0.5, "A text long enough for its own continuation record"))
        detail.push_back(r);
    ObjectRec box = test::object_record(ok_rect, 0, 0);
    set_rec_f64(box, rect::width, 1);
    set_rec_f64(box, rect::height, 1);
    detail.push_back(box);
    put(2, detail, 1, 1, "Detail");
    put(3, {test::line_record(0, 0, 2, 1)}, 2, 1, "Wide");
    put(4, {test::object_record(ok_point, 0, 0)}, 0, 0, "Dot");
    plat::close_file(fork);
}

std::vector<char> lib_bytes() {
    std::ifstream in(lib_path(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ObjectRec lib_rec(int n) {
    const std::vector<char> b = lib_bytes();
    ObjectRec r{};
    if (b.size() >= static_cast<std::size_t>(n + 1) * 128) std::memcpy(r.b, b.data() + n * 128, 128);
    return r;
}

// Record numbers in "Edits": control record of slot i, and the first piece of slot 2.
int ctrl_of(int slot) { return slot + 4; }
int detail_first() { return rec_i16(lib_rec(ctrl_of(2)), sctl::first_piece); }

// lastctrl and lastsymb of the work library.
std::pair<int, int> work_ends() {
    ObjectRec head{};
    std::int64_t got = 0;
    plat::read_at(worklibRefNum, 0, head.b, 128, &got);
    return {rec_i16(head, hdr::lib_lastctrl), rec_i16(head, hdr::lib_lastsymb)};
}
std::pair<int, int> work_before;

// Opens the library, then double-clicks slot n (1-based) of its window:
// Symbol Setup runs from the next step on.
void open_setup(Session& s, int n, std::function<void()> before = {}, bool make = true) {
    s.then([before, make] {
        objopts->dblclick_mode = 1;
        units_defs.increment = 0;
        if (before) before();
        if (make) {
            make_edits();
            EXPECT_EQ(open_library(FSRef{lib_path()}, 1, 0, "Edits"), 1);
        }
        n0 = number_of_objects;
        work_before = work_ends();
    });
    s.then([n] {
        ASSERT_TRUE(plat::window_visible(whichsymbWindow()));
        test::post_slot_clicks(n, 1, plat::optionKey);  // a double click
    });
}

int hilite(int id) { return plat::item_hilite(GrabCRef(plat::front_dialog(), 0, id)); }

// The temporary reference while a handle is picked: the record above the drawing's own.
ObjectRec reference() { return stored(number_of_objects - 1); }

std::int16_t worklib_users(std::int16_t ctrl) {
    ObjectRec r;
    get_ctrlrec(ctrl, r);
    return rec_i16(r, sctl::users);
}

// The Symbol Setup window is closed and the drawing is as it was: the copy
// shown while editing has left the work library again.
void closed_as_before(Session& s) {
    s.press("ok  ");
    s.then([] {
        EXPECT_EQ(number_of_objects, n0);
        EXPECT_EQ(work_ends(), work_before);
        EXPECT_EQ(forced_show, 0);
        EXPECT_EQ(movehandle, 0);
        EXPECT_EQ(windAddRemove, nullptr);
    });
}

}  // namespace

TEST(SymbolEditing, DeletingEmptiesTheSlotAndKeepsTheLibrarysEnd) {
    Session s;
    auto last = std::make_shared<std::int16_t>(0);
    open_setup(s, 2);
    s.then([last] {
        *last = rec_i16(lib_rec(0), hdr::lib_lastsymb);
        EXPECT_EQ(hilite(2), 0);
        test::answers().expect("Delete this symbol", 1);
    });
    s.press("Sydl");
    s.then([] {
        EXPECT_TRUE(plat::item_visible(GrabCRef(plat::front_dialog(), 0, 8)));  // the empty note
        for (int id : {2, 3, 4}) EXPECT_EQ(hilite(id), 255) << id;
    });
    closed_as_before(s);
    s.then([last] {
        const ObjectRec head = lib_rec(0);
        EXPECT_EQ(rec_i16(head, hdr::lib_lastsymb), *last);
        EXPECT_EQ(rec_i16(head, hdr::lib_lastctrl), 9);
        EXPECT_EQ(rec_kind(lib_rec(ctrl_of(1))), rk_empty);
        // Its pieces (behind slot 0's one piece) wait for compaction with their other bits kept.
        const ObjectRec first = lib_rec(rec_i16(lib_rec(ctrl_of(0)), sctl::first_piece) + 1);
        EXPECT_EQ(rec_kind(first), rk_empty);
        EXPECT_EQ(rec_word0(first) & w0_in_library, w0_in_library);
    });
    EXPECT_EQ(s.run(), 0);
}

// The inner window is the drawing area less 2 pixels a side: the area is
// 952 x 675 pixels showing x 0 to 30, so one pixel u = 30 / 952 and the
// inner window is 948 u wide and 671 u high from (2 u, 2 u).
TEST(SymbolEditing, TheSymbolIsFittedIntoTheInnerWindowAndCentredTheOtherWay) {
    const double u = 30.0 / 952.0, iw = 948 * u, ih = 671 * u;
    struct Case {
        int slot;
        double scale, x, y;
    };
    const Case cases[] = {
        {1, ih / 2, 2 * u + (iw - ih / 2) / 2, 2 * u},  // Tall: to the height, centred across
        {4, iw / 2, 2 * u, 2 * u + (ih - iw / 2) / 2},  // Wide: to the width, centred up and down
        {5, 1, 2 * u, 2 * u + ih / 2},                  // Dot: nothing to enlarge
    };
    for (const Case& c : cases) {
        Session s;
        auto before = std::make_shared<std::vector<char>>();
        open_setup(s, c.slot);
        s.then([before] {
            // A height of twice the width fits by height whatever the area's shape.
            EXPECT_NEAR(aspectratio, 675.0 / 952.0, 1e-9);
            *before = lib_bytes();
            for (int id : {3, 4}) EXPECT_EQ(hilite(id), 0) << id;
            test::answers().expect("snap", 3);
        });
        s.press("Syhn");
        s.then([c] {
            const ObjectRec r = reference();
            EXPECT_EQ(obj_kind(r), ok_symbol);
            EXPECT_EQ(sym_number(r), c.slot - 1);
            EXPECT_EQ(movehandle, 1);
            EXPECT_NEAR(rec_f64(r, sym::scale_x), c.scale, 1e-9) << c.slot;
            EXPECT_NEAR(rec_f64(r, sym::scale_y), c.scale, 1e-9);
            EXPECT_NEAR(rec_f64(r, obj::ref_x), c.x, 1e-9) << c.slot;
            EXPECT_NEAR(rec_f64(r, obj::ref_y), c.y, 1e-9) << c.slot;
            EXPECT_EQ(worklib_users(rec_i16(r, sym::ctrl)), 2);  // the copy's own and the shown record's
        });
        key(s, 27);
        s.then([before] {
            EXPECT_TRUE(lib_bytes() == *before);  // ESC: the library as it was
            for (int id : {3, 4}) EXPECT_EQ(hilite(id), 255) << id;
        });
        closed_as_before(s);
        EXPECT_EQ(s.run(), 0);
    }
}

TEST(SymbolEditing, ASnappedHandleLandsOnALineEndNeverOnTextInTheSymbolsUnits) {
    Session s;
    auto ctrl = std::make_shared<std::int16_t>(0);
    open_setup(s, 2, [] {
        units_defs.units_code = 8;  // millimetres: the inch symbol is 25.4 times larger
        units_defs.real_unit = 8;
    });
    s.then([] { test::answers().expect("snap", 1); });
    s.press("Syhn");
    s.then([ctrl] {
        const ObjectRec r = reference();
        *ctrl = rec_i16(r, sym::ctrl);
        const double f = rec_f64(r, sym::scale_x), x = rec_f64(r, obj::ref_x), y = rec_f64(r, obj::ref_y);
        // A click on the pixel of the text's reference point, (1.9, 0.6)
        // inches; the line's end (2, 0) is the nearest end point.
        const int h = static_cast<int>(std::lround((x + 1.9 * inch * f) / unit));
        const int v = static_cast<int>(std::lround(675 - (y + 0.6 * inch * f) / unit));
        test::post_click(at(h, v));
    });
    s.then([ctrl] {
        const ObjectRec c = lib_rec(ctrl_of(1));
        EXPECT_NEAR(rec_f64(c, sctl::handle_x), 2, 1e-9);
        EXPECT_NEAR(rec_f64(c, sctl::handle_y), 0, 1e-9);
        // The rest of the control record is as it was.
        EXPECT_DOUBLE_EQ(rec_f64(c, sctl::width), 2);
        EXPECT_EQ(rec_i16(c, sctl::units_code), 1);
        EXPECT_EQ(worklib_users(*ctrl), 0);
    });
    closed_as_before(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolEditing, WithoutSnapTheHandleIsTheClickedPointInTheSymbolsFrame) {
    Session s;
    auto want = std::make_shared<std::pair<double, double>>();
    open_setup(s, 2);
    s.then([] { test::answers().expect("snap", 3); });
    s.press("Syhn");
    s.then([want] {
        const ObjectRec r = reference();
        const double f = rec_f64(r, sym::scale_x), x = rec_f64(r, obj::ref_x), y = rec_f64(r, obj::ref_y);
        const int h = 400, v = 300;
        *want = {(wx(h) - x) / f, (wy(v) - y) / f};
        test::post_click(at(h, v));
    });
    s.then([want] {
        const ObjectRec c = lib_rec(ctrl_of(1));
        EXPECT_NEAR(rec_f64(c, sctl::handle_x), want->first, 1e-9);
        EXPECT_NEAR(rec_f64(c, sctl::handle_y), want->second, 1e-9);
    });
    closed_as_before(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolEditing, CancellingTheSnapQuestionChangesNothing) {
    Session s;
    auto before = std::make_shared<std::vector<char>>();
    open_setup(s, 2);
    s.then([before] {
        *before = lib_bytes();
        test::answers().expect("snap", 2);
    });
    s.press("Syhn");
    s.then([before] { EXPECT_TRUE(lib_bytes() == *before); });
    closed_as_before(s);
    EXPECT_EQ(s.run(), 0);
}

// Slot 2's pieces: 0 a line, 1 a text, 2 its continuation, 3 a rectangle.
TEST(SymbolEditing, TheDetailLoopStepsOverObjectPiecesOnlyAndWraps) {
    Session s;
    open_setup(s, 3);
    s.press("Syol");
    auto current = [](int kind) {
        return [kind] {
            EXPECT_EQ(rec_kind(info), rk_object);
            EXPECT_EQ(obj_kind(info), kind);
            EXPECT_NE(windAddRemove, nullptr);
        };
    };
    s.then(current(ok_line));
    const struct {
        char key;
        int kind;
    } steps[] = {{'>', ok_text}, {'>', ok_rect}, {'.', ok_line}, {'<', ok_rect}, {',', ok_text}, {'<', ok_line}};
    for (const auto& st : steps) {
        key(s, st.key);
        s.then(current(st.kind));
    }
    key(s, 'D');
    closed_as_before(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolEditing, YesAndNoMarkThePiecesAndDoneSavesOnlyTheMarks) {
    Session s;
    auto before = std::make_shared<std::vector<char>>();
    // A millimetre drawing: the library's pieces stay in inches all the same.
    open_setup(s, 3, [] {
        units_defs.units_code = 8;
        units_defs.real_unit = 8;
    });
    s.then([before] { *before = lib_bytes(); });
    s.press("Syol");
    key(s, 'N');          // the line loses its mark; the text is current
    s.then([] { EXPECT_EQ(obj_kind(info), ok_text); });
    s.press("Remv");     // the Remove button: the text too; the rectangle is current
    s.then([] {});
    s.then([] { EXPECT_EQ(obj_kind(info), ok_rect); });
    key(s, 'N');          // the rectangle; the line again
    s.then([] { EXPECT_EQ(obj_kind(info), ok_line); });
    key(s, 'Y');          // the line gets its mark back
    s.press("ok  ");     // Done
    s.then([] {});
    s.then([before] {
        const int first = detail_first();
        const std::vector<char> after = lib_bytes();
        ASSERT_EQ(after.size(), before->size());
        const struct {
            int piece;
            bool marked;
        } want[] = {{0, true}, {1, false}, {3, false}};
        for (const auto& w : want) {
            const ObjectRec p = lib_rec(first + w.piece);
            EXPECT_EQ((rec_word0(p) & w0_in_library) != 0, w.marked) << w.piece;
        }
        // Nothing else changed: word 0 of piece 1 and 3 lost bit 8 (byte 0 bit 0).
        std::vector<char> expect = *before;
        for (int n : {1, 3}) expect[static_cast<std::size_t>((first + n) * 128)] &= ~0x01;
        EXPECT_TRUE(after == expect);
    });
    closed_as_before(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolEditing, EscInTheDetailLoopSavesNothing) {
    Session s;
    auto before = std::make_shared<std::vector<char>>();
    open_setup(s, 3);
    s.then([before] { *before = lib_bytes(); });
    s.press("Syol");
    key(s, 'N');
    key(s, 'N');
    key(s, 27);
    s.then([before] {
        EXPECT_TRUE(lib_bytes() == *before);
        EXPECT_EQ(windAddRemove, nullptr);
    });
    closed_as_before(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolEditing, ASymbolTheDrawingUsesIsNotEdited) {
    Session s;
    s.then([] {
        make_edits();
        EXPECT_EQ(open_library(FSRef{lib_path()}, 1, 0, "Edits"), 1);
        std::int16_t ctrl = 0;
        ASSERT_EQ(copy_symbol(currentlibRefNum, static_cast<std::int16_t>(ctrl_of(1)), &ctrl, "Edits", 0), 1);
        accept_symbol(ctrl);  // as a placed reference counts itself
        // A copy in use, or one below another, is never given back.
        EXPECT_EQ(drop_symbol_copy(ctrl), 0);
        std::int16_t second = 0;
        ASSERT_EQ(copy_symbol(currentlibRefNum, static_cast<std::int16_t>(ctrl_of(3)), &second, "Edits", 0), 1);
        const std::pair<int, int> ends = work_ends();
        symb_delete(ctrl, 0);
        EXPECT_EQ(drop_symbol_copy(ctrl), 0);
        EXPECT_EQ(work_ends(), ends);
        accept_symbol(ctrl);
        EXPECT_EQ(symbinwork(2), 1);
        EXPECT_EQ(symbinwork(3), 0);
    });
    open_setup(s, 2, [] {}, false);
    s.then([] {
        EXPECT_EQ(hilite(2), 0);
        for (int id : {3, 4}) EXPECT_EQ(hilite(id), 255) << id;
    });
    s.then([] {
        // Called all the same, the editors leave it alone.
        const std::vector<char> before = lib_bytes();
        const std::int16_t count = number_of_objects;
        symbhandle(1);
        symbol_detail(1);
        EXPECT_TRUE(lib_bytes() == before);
        EXPECT_EQ(number_of_objects, count);
    });
    closed_as_before(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolEditing, ASymbolWithoutMarkedPiecesDrawsNothingWhenDetailsAreHidden) {
    Session s;
    open_setup(s, 3);
    s.press("Syol");
    for (char k : {'N', 'N', 'N'}) key(s, k);
    key(s, 'D');
    s.press("ok  ");
    s.then([] {
        // A reference to the edited symbol, placed through the work library.
        EXPECT_EQ(open_default_library(0), 1);
        std::int16_t ctrl = 0;
        if (!find_symb_indx("Edits", 2, &ctrl)) {
            ASSERT_EQ(copy_symbol(currentlibRefNum, static_cast<std::int16_t>(ctrl_of(2)), &ctrl, "Edits", 0), 1);
        }
        ObjectRec ref{};
        set_rec_u16(ref, o_word0, live_object_word);
        set_obj_kind_colour(ref, ok_symbol, 0);
        set_sym_number(ref, 2);
        set_rec_i16(ref, sym::ctrl, ctrl);
        set_rec_f64(ref, sym::scale_x, 5);
        set_rec_f64(ref, sym::scale_y, 5);
        set_rec_f64(ref, sym::width, 5);
        set_rec_f64(ref, sym::height, 5);
        set_init(5, 5, ref);
        swaper |= sw_symbols_expanded;
        for (bool hidden : {true, false}) {
            if (hidden)
                swaper |= sw_marked_pieces;
            else
                swaper &= static_cast<std::uint16_t>(~sw_marked_pieces);
            const std::vector<std::uint32_t> was = drawCWindow->pixels();
            show(mode_xor, &ref);
            EXPECT_EQ(drawCWindow->pixels() == was, hidden) << hidden;
            EXPECT_EQ(clipped == 0, hidden);
            show(mode_xor, &ref);
            EXPECT_TRUE(drawCWindow->pixels() == was);
        }
    });
    EXPECT_EQ(s.run(), 0);
}
