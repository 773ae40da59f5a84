// Placing library symbols through the running program: a click in the
// library window picks the symbol, clicks in the drawing place it.
#include <gtest/gtest.h>

#include <numbers>

#include "commands/draw/symbol.h"
#include "dialogs/edit_fields.h"
#include "display/app_pictures.h"
#include "files/library_window.h"
#include "files/symbol_adder.h"
#include "files/symbol_editing.h"
#include "platform/core/files.h"
#include "platform/core/forks.h"
#include "platform/ui/dialogs.h"
#include "shell/window_layers.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/symbol_library.h"
#include "store/undo.h"
#include "store/workfile.h"
#include "tests/commands/draw/shape_steps.h"
#include "tests/support/drawing_file.h"
#include "tests/support/library_clicks.h"

using namespace drav;
using namespace drav::shape_test;
using drav::test::Session;

namespace {

constexpr double pi = std::numbers::pi;

ObjectRec piece(int kind, double x, double y) { return test::object_record(kind, x, y, 5); }
ObjectRec line_piece(double x, double y, double dx, double dy) { return test::line_record(x, y, dx, dy, 5); }

// A library "Parts" of `slots` slots in inches (units code 1): slot 0 a
// turned rectangle and a line (scaled alike in x and y only), slot 1 two
// lines, 2 by 1 inch, handle at (0, 0).
FSRef make_parts(int slots = 20, int rows = 4, int cols = 5) {
    FSRef lib;
    EXPECT_EQ(make_library(FSRef{test::scratch_dir()}, "Parts", static_cast<std::int16_t>(slots), &lib), 1);
    set_libsize(lib, static_cast<std::int16_t>(rows), static_cast<std::int16_t>(cols));
    std::int16_t fork = 0;
    EXPECT_EQ(plat::open_file(lib, plat::Perm::read_write, &fork), plat::noErr);
    SymbolUnits inches;
    inches.code = 1;
    inches.real_unit = 1;
    ObjectRec box = piece(ok_rect, 1, 0);
    set_rec_f64(box, rect::width, 1);
    set_rec_f64(box, rect::height, 1);
    set_rec_f64(box, obj::rotation, 0.1);
    EXPECT_EQ(lib_put_symbol(fork, 0, {line_piece(0, 0, 2, 0), box}, 0, 0, 2, 1, "Parts", "Box", inches),
              PutSymbol::written);
    EXPECT_EQ(lib_put_symbol(fork, 1, {line_piece(0, 0, 2, 0), line_piece(0, 0, 2, 1)}, 0, 0, 2, 1, "Parts",
                             "Wedge", inches),
              PutSymbol::written);
    plat::close_file(fork);
    return lib;
}

// Opens the library as File > Open Library would after its dialog.
void open_parts(Session& s, int slots = 20, int rows = 4, int cols = 5) {
    s.then([=] {
        objopts->dblclick_mode = 1;
        units_defs.increment = 0;
        const FSRef lib = make_parts(slots, rows, cols);
        EXPECT_EQ(open_library(lib, 1, 0, "Parts"), 1);
    });
}

// A press and release on slot n (1-based) of the library window.
void pick(Session& s, int n, bool expect_command = true) {
    s.then([n, expect_command] {
        n0 = number_of_objects;
        ASSERT_TRUE(plat::window_visible(whichsymbWindow()));
        test::post_slot_clicks(n);
        (void)expect_command;
    });
    // The press, then the placement's first polls.
    for (int i = 0; i < 3; ++i) s.then([] {});
}

// A click in the drawing; the placement stores it and polls again.
void place(Session& s, int h, int v) {
    s.click(at(h, v));
    s.then([] {});
    s.then([] {});
}

// 'Q' ends the placement; the step after it finds the program idle again.
void finish(Session& s) {
    key(s, 'Q');
    s.then([] {});
}

// As the work library holds it, past the record cache.
std::int16_t users(int ctrl) {
    ObjectRec r{};
    std::int64_t got = 0;
    plat::read_at(worklibRefNum, std::int64_t{ctrl} * 128, r.b, 128, &got);
    return rec_i16(r, sctl::users);
}

std::int16_t worklib_lastctrl() {
    ObjectRec head{};
    std::int64_t got = 0;
    plat::read_at(worklibRefNum, 0, head.b, 128, &got);
    return rec_i16(head, hdr::lib_lastctrl);
}

}  // namespace

TEST(SymbolCommand, AClickPlacesTheSymbolWithItsHandleAtTheCursor) {
    Session s;
    open_parts(s);
    pick(s, 2);
    s.then([] {
        EXPECT_EQ(insymbsingle, 1);
        EXPECT_EQ(message(), prompt(30));
    });
    place(s, 300, 300);
    count_is(s, 1);
    s.then([] {
        const ObjectRec r = stored(n0);
        EXPECT_EQ(obj_kind(r), ok_symbol);
        EXPECT_EQ(sym_number(r), 1);
        EXPECT_STREQ(rec_str(r, sym::library), "Parts");
        EXPECT_NEAR(rec_f64(r, obj::ref_x), wx(300), tol);
        EXPECT_NEAR(rec_f64(r, obj::ref_y), wy(300), tol);
        EXPECT_EQ(r.b[obj::level], 0);  // the pieces keep their own properties
    });
    finish(s);
    s.then([] {
        EXPECT_EQ(users(rec_i16(stored(n0), sym::ctrl)), 1);
        EXPECT_EQ(insymbsingle, 0);
        EXPECT_EQ(getidle(), 1);
    });
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolCommand, ASymbolAlreadyInTheWorkLibraryIsNotCopiedAgain) {
    Session s;
    auto ctrl = std::make_shared<int>(0);
    open_parts(s);
    pick(s, 2);
    place(s, 300, 300);
    finish(s);
    s.then([ctrl] {
        *ctrl = rec_i16(stored(number_of_objects - 1), sym::ctrl);
        EXPECT_EQ(worklib_lastctrl(), *ctrl + 1);
    });
    pick(s, 2);
    place(s, 400, 300);
    finish(s);
    s.then([ctrl] {
        EXPECT_EQ(rec_i16(stored(number_of_objects - 1), sym::ctrl), *ctrl);
        EXPECT_EQ(worklib_lastctrl(), *ctrl + 1);
        EXPECT_EQ(users(*ctrl), 2);
    });
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolCommand, FixedScalesFollowTheSymbolsScalingFlag) {
    struct Case {
        int slot;
        double sx, sy, want_x, want_y;
    };
    // Slot 1 holds a turned rectangle: one factor for both directions.
    const Case cases[] = {{1, 2, 3, 2, 2}, {2, 2, 3, 2, 3}, {2, 2, 0, 2, 2}};
    Session s;
    open_parts(s);
    for (const Case& c : cases) {
        s.then([c] {
            objopts->sym_values_on = 1;
            objopts->sym_value1 = c.sx;
            objopts->sym_value2 = c.sy;
        });
        pick(s, c.slot);
        place(s, 300, 300);
        finish(s);
        s.then([c] {
            const ObjectRec r = stored(n0);
            EXPECT_DOUBLE_EQ(rec_f64(r, sym::scale_x), c.want_x) << c.slot << " " << c.sy;
            EXPECT_DOUBLE_EQ(rec_f64(r, sym::scale_y), c.want_y) << c.slot << " " << c.sy;
            EXPECT_NEAR(rec_f64(r, sym::width), 2 * c.want_x, tol);
        });
    }
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolCommand, ThreeTurnsOfThirtyDegreesMakeAQuarterTurn) {
    Session s;
    open_parts(s);
    s.then([] {
        objopts->lock_mode = 0;
        units_defs.rotation_step = pi / 6;
    });
    pick(s, 2);
    key(s, 'E');
    key(s, 'E');
    key(s, 'E');
    place(s, 300, 300);
    s.then([] { EXPECT_NEAR(rec_f64(stored(n0), obj::rotation), pi / 2, 1e-12); });
    key(s, 'R');
    place(s, 400, 300);
    s.then([] { EXPECT_NEAR(rec_f64(stored(n0 + 1), obj::rotation), pi / 3, 1e-12); });
    finish(s);
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolCommand, EditUndoAfterTheCommandTakesBackTheLastSymbol) {
    Session s;
    open_parts(s);
    pick(s, 2);
    place(s, 300, 300);
    place(s, 400, 300);
    finish(s);
    s.menu(2, "undo");
    s.then([] {
        EXPECT_TRUE(is_live_object(stored(n0)));
        const ObjectRec keep = info;
        get_info(static_cast<std::int16_t>(n0 + 1));
        EXPECT_FALSE(is_live_object(info));
        info = keep;
        EXPECT_EQ(users(rec_i16(stored(n0), sym::ctrl)), 1);
    });
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolCommand, EscAfterThreePlacementsLeavesTheDrawingAndTheUserCountsAsBefore) {
    Session s;
    auto before = std::make_shared<Snapshot>();
    auto ctrl = std::make_shared<int>(0);
    open_parts(s);
    pick(s, 2);
    place(s, 100, 100);
    finish(s);
    s.then([before, ctrl] {
        *before = snapshot();
        *ctrl = rec_i16(stored(number_of_objects - 1), sym::ctrl);
        EXPECT_EQ(users(*ctrl), 1);
    });
    pick(s, 2);
    place(s, 300, 300);
    place(s, 400, 300);
    place(s, 500, 300);
    count_is(s, 3);
    key(s, 27);
    s.then([before, ctrl] {
        same_as(snapshot(), *before);
        EXPECT_EQ(users(*ctrl), 1);
    });
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(SymbolCommand, AnInchSymbolInAMillimetreDrawingIsScaledByTheInch) {
    Session s;
    s.then([] {
        units_defs.units_code = 8;
        units_defs.real_unit = 8;
    });
    open_parts(s);
    pick(s, 2);
    place(s, 300, 300);
    s.then([] {
        const ObjectRec r = stored(n0);
        EXPECT_NEAR(rec_f64(r, sym::width), 2 * 25.40005, 1e-9);
        EXPECT_NEAR(rec_f64(r, sym::height), 25.40005, 1e-9);
    });
    finish(s);
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

// ---- The library window ----

TEST(LibraryWindow, TwelveSlotsInFiveColumnsLeaveTheLastCellsInert) {
    Session s;
    open_parts(s, 12, 3, 5);
    s.then([] {
        EXPECT_EQ(symbhnum, 5);
        EXPECT_EQ(symbvnum, 3);
        // The numbered grid: its lines on the multiples of 23, numbers up to 12 only.
        const plat::Port& off = *myCsGrafPtr;
        const std::uint32_t white = off.pixel(12, 20);
        EXPECT_NE(off.pixel(23, 10), white);
        EXPECT_NE(off.pixel(10, 46), white);
        auto inked = [&](int n) {
            const int r = (n - 1) / 5, c = (n - 1) % 5;
            for (int y = r * 23 + 2; y < (r + 1) * 23 - 1; ++y)
                for (int x = c * 23 + 2; x < (c + 1) * 23 - 1; ++x)
                    if (off.pixel(x, y) != white) return true;
            return false;
        };
        EXPECT_TRUE(inked(12));
        EXPECT_FALSE(inked(13));
        EXPECT_FALSE(inked(15));
        std::int16_t n = 0;
        plat::Rect cell;
        plat::Point p{static_cast<std::int16_t>(2 * 23 + 5), static_cast<std::int16_t>(4 * 23 + 5)};
        EXPECT_EQ(get_symloc(&p, &n, &cell), 0);
        EXPECT_EQ(n, 15);
        p = plat::Point{static_cast<std::int16_t>(23 + 5), static_cast<std::int16_t>(23 + 5)};
        EXPECT_EQ(get_symloc(&p, &n, &cell), 1);
        EXPECT_EQ(n, 7);  // second cell of the second row
        n0 = number_of_objects;
    });
    pick(s, 15);
    s.then([] {
        EXPECT_EQ(getidle(), 1);
        EXPECT_EQ(number_of_objects, n0);
        EXPECT_EQ(insymbsingle, 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(LibraryWindow, GrowingSnapsToWholeCells) {
    Session s;
    open_parts(s, 100, 10, 10);
    s.then([] {
        plat::Window* w = whichsymbWindow();
        size_symb_window(w, 5 * 23 + 14 + 9, 3 * 23 + 14 + 20);
        plat::Rect b = plat::window_bounds(w);
        EXPECT_EQ(b.right - b.left, 5 * 23 + 14);
        EXPECT_EQ(b.bottom - b.top, 3 * 23 + 14);
        EXPECT_EQ(plat::control_maximum(shorizHdl), 10 - (5 * 23 - 1 + 2) / 23);
        size_symb_window(w, 2000, 2000);  // never past the whole grid
        b = plat::window_bounds(w);
        EXPECT_EQ(b.right - b.left, 10 * 23 + 14);
        EXPECT_EQ(plat::control_maximum(svertHdl), 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(LibraryWindow, AClickWhileACommandRunsIsPostponedThenPlaces) {
    Session s;
    open_parts(s);
    start(s, tool_line);
    place(s, 50, 50);
    pick(s, 2);
    s.then([] {
        EXPECT_EQ(insymbsingle, 1);
        EXPECT_EQ(message(), prompt(30));
    });
    place(s, 300, 300);
    s.then([] { EXPECT_EQ(obj_kind(stored(number_of_objects - 1)), ok_symbol); });
    finish(s);
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

namespace {

// A press at a local point of the library window, released at another: the
// release waits in the queue while the window's content handling tracks it.
void press_in_library(plat::Point down, plat::Point up) {
    plat::Window* w = whichsymbWindow();
    const plat::Rect b = plat::window_bounds(w);
    plat::EventRecord e;
    e.what = plat::mouseUp;
    e.where = plat::Point{static_cast<std::int16_t>(b.top + up.v), static_cast<std::int16_t>(b.left + up.h)};
    e.modifiers = plat::btnState;
    e.window = w;
    test::post(e);
    handle_symbol_content(w, &down);
}

// The first point along the bar's middle line that hits the part.
plat::Point part_of(plat::Control* bar, std::int16_t part) {
    const plat::Rect r = plat::control_rect(bar);
    const bool horizontal = r.right - r.left > r.bottom - r.top;
    const int length = horizontal ? r.right - r.left : r.bottom - r.top;
    for (int i = 0; i < length; ++i) {
        const plat::Point p = horizontal ? plat::Point{static_cast<std::int16_t>((r.top + r.bottom) / 2),
                                                       static_cast<std::int16_t>(r.left + i)}
                                         : plat::Point{static_cast<std::int16_t>(r.top + i),
                                                       static_cast<std::int16_t>((r.left + r.right) / 2)};
        plat::Control* hit = nullptr;
        if (plat::find_control(whichsymbWindow(), p, &hit) == part && hit == bar) return p;
    }
    ADD_FAILURE() << "no part " << part;
    return plat::Point{};
}

struct ScrollCase {
    const char* what;
    bool horizontal;
    std::int16_t part;  // 0: the thumb dragged far past the bar's end
    int col, row;       // the first visible column and row afterwards
};

}  // namespace

TEST(LibraryWindow, TheScrollBarsMoveTheGridOneCellAtATime) {
    // 100 slots in 10 x 10 cells, 5 x 5 of them showing: the bars reach column 5 and row 5.
    const ScrollCase cases[] = {
        {"down arrow", false, plat::inDownButton, 0, 1}, {"page down", false, plat::inPageDown, 0, 2},
        {"right arrow", true, plat::inDownButton, 1, 2}, {"page up", false, plat::inPageUp, 1, 1},
        {"left arrow", true, plat::inUpButton, 0, 1},    {"left arrow at the start", true, plat::inUpButton, 0, 1},
        {"thumb to the end", false, 0, 0, 5},            {"down arrow at the end", false, plat::inDownButton, 0, 5},
        {"page up", false, plat::inPageUp, 0, 4},
    };
    Session s;
    open_parts(s, 100, 10, 10);
    s.then([] {
        // In front of the other palettes, as a click on its title bar brings it: its bars show.
        ourSelectWindow(whichsymbWindow());
        size_symb_window(whichsymbWindow(), 5 * 23 + 14, 5 * 23 + 14);
        EXPECT_EQ(plat::control_maximum(shorizHdl), 5);
        EXPECT_EQ(plat::control_maximum(svertHdl), 5);
    });
    for (const ScrollCase& c : cases) {
        s.then([&c] {
            ourSelectWindow(whichsymbWindow());
            plat::Control* bar = c.horizontal ? shorizHdl : svertHdl;
            if (c.part) {
                const plat::Point p = part_of(bar, c.part);
                press_in_library(p, p);
            } else {
                const plat::Point from = plat::thumb_center(bar);
                press_in_library(from, plat::Point{static_cast<std::int16_t>(from.v + 500), from.h});
            }
        });
        s.then([&c] {
            EXPECT_EQ(plat::control_value(shorizHdl), c.col) << c.what;
            EXPECT_EQ(plat::control_value(svertHdl), c.row) << c.what;
            EXPECT_EQ(soffRect.left, c.col * 23 + 1) << c.what;
            EXPECT_EQ(soffRect.top, c.row * 23 + 1) << c.what;
            // The top left cell now shows, and picks, the slot scrolled to.
            plat::Point p{5, 5};
            std::int16_t n = 0;
            plat::Rect cell;
            EXPECT_EQ(get_symloc(&p, &n, &cell), 1) << c.what;
            EXPECT_EQ(n, c.row * 10 + c.col + 1) << c.what;
            const plat::Port& win = *plat::window_port(whichsymbWindow());
            const plat::Port& off = *myCsGrafPtr;
            int differ = 0;
            for (int y = 0; y < 2 * 23; ++y)
                for (int x = 0; x < 2 * 23; ++x)
                    if (win.pixel(x, y) != off.pixel(x + soffRect.left, y + soffRect.top)) ++differ;
            EXPECT_EQ(differ, 0) << c.what;
        });
    }
    EXPECT_EQ(s.run(), 0);
}

namespace {

// A version 2 picture written out by hand: frame 115 x 69 (a 5 x 3 grid),
// one painted rectangle over x 30..39, y 10..19, the end.
std::vector<std::uint8_t> catalog_pict() {
    std::vector<std::uint8_t> b = {0, 0, 0, 0, 0, 0, 0, 69, 0, 115,  // size, frame
                                   0x00, 0x11, 0x02, 0xFF,           // version 2
                                   0x0C, 0x00};                      // header
    b.insert(b.end(), {0xFF, 0xFE, 0, 0, 0, 0x48, 0, 0, 0, 0x48, 0, 0, 0, 0, 0, 0, 0, 69, 0, 115, 0, 0, 0, 0});
    b.insert(b.end(), {0x00, 0x31, 0, 10, 0, 30, 0, 20, 0, 40, 0x00, 0xFF});  // paintRect, end
    b[1] = static_cast<std::uint8_t>(b.size());
    return b;
}

struct CatalogCase {
    const char* what;
    std::vector<std::uint8_t> pict;  // empty: no picture in the fork
    bool shown;
};

}  // namespace

TEST(LibraryWindow, TheWindowShowsTheCatalogPictureOrTheNumberedGrid) {
    std::vector<std::uint8_t> cut = catalog_pict();
    cut.resize(cut.size() - 4);
    const CatalogCase cases[] = {{"catalog", catalog_pict(), true}, {"no picture", {}, false}, {"cut short", cut, false}};
    Session s;
    s.then([] {
        objopts->dblclick_mode = 1;
        units_defs.increment = 0;
    });
    for (const CatalogCase& c : cases) {
        s.then([&c] {
            const FSRef lib = make_parts(12, 3, 5);
            if (!c.pict.empty()) {
                plat::ResourceFork fork;
                ASSERT_EQ(fork.load(lib), plat::noErr);
                ASSERT_TRUE(fork.put(four_cc("PICT"), 1, "", c.pict));
                ASSERT_EQ(fork.save(lib), plat::noErr);
            }
            ASSERT_EQ(open_library(lib, 1, 0, "Parts"), 1);
            const plat::Port& off = *myCsGrafPtr;
            const std::uint32_t white = off.pixel(12, 20);
            auto inked = [&](int x, int y) { return off.pixel(x, y) != white; };
            EXPECT_EQ(inked(30, 10), c.shown) << c.what;
            EXPECT_EQ(inked(39, 19), c.shown) << c.what;
            EXPECT_FALSE(inked(40, 20)) << c.what;
            // The grid's lines only where there is no catalog.
            EXPECT_EQ(inked(23, 50), !c.shown) << c.what;
            EXPECT_EQ(inked(80, 23), !c.shown) << c.what;
            // The window shows the world's top left.
            copy_grid_into_window();
            const plat::Port& win = *plat::window_port(whichsymbWindow());
            EXPECT_EQ(win.pixel(34, 14), off.pixel(35, 15)) << c.what;
        });
    }
    EXPECT_EQ(s.run(), 0);
}

TEST(LibraryWindow, TheSettingsBoxRunsThePlacementSettingsWithTheBoxInverted) {
    Session s;
    auto before = std::make_shared<std::uint32_t>(0);
    open_parts(s);
    s.then([before] {
        objopts->sym_opt1 = 0;
        plat::Window* w = whichsymbWindow();
        redraw_library(w);
        plat::Rect box;
        get_sproprect(&box, plat::window_port(w));
        *before = plat::window_port(w)->pixel(box.left + 1, box.top + 1);
        const plat::Rect b = plat::window_bounds(w);
        plat::EventRecord e;
        e.what = plat::mouseDown;
        e.where = plat::Point{static_cast<std::int16_t>(b.top + box.top + 7), static_cast<std::int16_t>(b.left + box.left + 7)};
        e.window = w;
        test::post(e);
    });
    auto dialog = std::make_shared<plat::Dialog*>(nullptr);
    s.then([before, dialog] {
        *dialog = plat::front_dialog();
        ASSERT_NE(*dialog, nullptr);
        EXPECT_EQ(plat::item_text(plat::dialog_item(*dialog, 8)), "Fixed scale");  // the placement settings
        plat::Window* w = whichsymbWindow();
        plat::Rect box;
        get_sproprect(&box, plat::window_port(w));
        EXPECT_EQ(plat::window_port(w)->pixel(box.left + 1, box.top + 1), *before ^ 0x00FFFFFFu);
    });
    s.hit(3).hit(1);
    s.then([before, dialog] {
        EXPECT_FALSE(plat::dialog_alive(*dialog));
        EXPECT_EQ(objopts->sym_opt1, 1);
        plat::Window* w = whichsymbWindow();
        plat::Rect box;
        get_sproprect(&box, plat::window_port(w));
        EXPECT_EQ(plat::window_port(w)->pixel(box.left + 1, box.top + 1), *before);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(LibraryWindow, TheSettingsBoxShowsPicture424) {
    Session s;
    open_parts(s);
    s.then([] {
        plat::Window* w = whichsymbWindow();
        redraw_library(w);
        const plat::Port& port = *plat::window_port(w);
        plat::Rect box;
        get_sproprect(&box, plat::window_port(w));
        const MonoImage art = load_mono_image("sprop424.pbm", 14, 14);
        ASSERT_EQ(art.width, 14);
        int differ = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 14; ++x) {
                const bool ink = port.pixel(box.left + x, box.top + y) == plat::black_pixel;
                differ += ink != (art.bits[static_cast<std::size_t>(y * 14 + x)] != 0);
            }
        EXPECT_EQ(differ, 0);
        // A frame with two sliders: the corner, the inside, a knob.
        EXPECT_EQ(port.pixel(box.left, box.top), plat::black_pixel);
        EXPECT_EQ(port.pixel(box.left + 1, box.top + 1), plat::white_pixel);
        EXPECT_EQ(port.pixel(box.left + 5, box.top + 3), plat::black_pixel);
        // The sharper twin for screens of two pixels per point.
        bool detailed = false;
        for (const auto& d : port.details()) detailed |= d.scale == 2 && d.area.left == box.left && d.area.top == box.top;
        EXPECT_TRUE(detailed);
    });
    EXPECT_EQ(s.run(), 0);
}

namespace {

// `times` presses and releases on slot n, all within the double-click time
// and on the same spot: twice is the double click a person's mouse makes,
// once with the option key a double click when the preference tells it so.
void click_slot(Session& s, int n, int times, std::uint16_t modifiers = 0) {
    s.then([n, times, modifiers] {
        n0 = number_of_objects;
        test::post_slot_clicks(n, times, modifiers);
    });
}

int hilite(int id) { return plat::item_hilite(GrabCRef(plat::front_dialog(), 0, id)); }

// Symbol Setup is open: its Details (3) and Handle (4) buttons are enabled
// or not; then it is closed.
void setup_editors(Session& s, bool enabled) {
    s.then([enabled] {
        ASSERT_NE(plat::front_dialog(), nullptr);
        EXPECT_EQ(hilite(2), 0);  // Delete
        for (int id : {3, 4}) EXPECT_EQ(hilite(id), enabled ? 0 : 255) << id;
    });
    s.press("ok  ");
}

}  // namespace

TEST(LibraryWindow, ATimedDoubleClickOpensSymbolSetupWithTheEditorsEnabled) {
    Session s;
    auto ends = std::make_shared<int>(0);
    open_parts(s);
    s.then([ends] {
        objopts->dblclick_mode = 0;  // told by time and place
        *ends = worklib_lastctrl();
    });
    click_slot(s, 2, 2);
    setup_editors(s, true);
    s.then([ends] {
        EXPECT_EQ(number_of_objects, n0);
        EXPECT_EQ(worklib_lastctrl(), *ends);
        EXPECT_EQ(symbinwork(2), 0);
    });
    EXPECT_EQ(s.run(), 0);
}

// A placement that leaves nothing placed gives its copy back: the slot stays
// open to editing. A placed symbol keeps it, and the editors closed.
TEST(LibraryWindow, APickThatPlacesNothingLeavesTheSlotEditable) {
    struct Case {
        const char* what;
        std::vector<char> keys;  // after the pick; 0 places a symbol
    };
    const Case cases[] = {
        {"Q at once", {'Q'}},
        {"ESC at once", {27}},
        {"U after one placed, then Q", {0, 'U', 'Q'}},
        {"ESC after two placed", {0, 0, 27}},
    };
    Session s;
    auto ends = std::make_shared<int>(0);
    open_parts(s);
    for (const Case& c : cases) {
        s.then([ends] {
            objopts->dblclick_mode = 1;
            *ends = worklib_lastctrl();
        });
        pick(s, 2);
        s.then([ends, c] { EXPECT_EQ(worklib_lastctrl(), *ends + 1) << c.what; });  // the copy in hand
        int h = 300;
        for (char k : c.keys) {
            if (k) {
                key(s, k);
            } else {
                place(s, h, 300);
                h += 100;
            }
        }
        s.then([] {});
        s.then([ends, c] {
            EXPECT_EQ(getidle(), 1) << c.what;
            EXPECT_EQ(number_of_objects, n0) << c.what;
            EXPECT_EQ(worklib_lastctrl(), *ends) << c.what;
            EXPECT_EQ(symbinwork(2), 0) << c.what;
        });
        click_slot(s, 2, 1, plat::optionKey);
        setup_editors(s, true);
    }
    EXPECT_EQ(s.run(), 0);
}

TEST(LibraryWindow, APlacedSymbolClosesItsSlotToEditingAndSurvivesUndoAndRedo) {
    Session s;
    auto placed = std::make_shared<std::vector<std::uint32_t>>();
    auto ctrl = std::make_shared<int>(0);
    open_parts(s);
    pick(s, 2);
    place(s, 300, 300);
    finish(s);
    s.then([placed, ctrl] {
        *ctrl = rec_i16(stored(n0), sym::ctrl);
        EXPECT_EQ(users(*ctrl), 1);
        EXPECT_EQ(symbinwork(2), 1);
        *placed = drawCWindow->pixels();
    });
    s.menu(2, "undo");
    s.then([placed, ctrl] {
        const ObjectRec keep = info;
        const std::int16_t was = prev_index;
        get_info(n0);
        EXPECT_FALSE(is_live_object(info));
        if (was >= 0) get_info(was);
        info = keep;
        EXPECT_EQ(users(*ctrl), 0);
        EXPECT_EQ(worklib_lastctrl(), *ctrl + 1);  // the redo still needs the copy
        EXPECT_FALSE(drawCWindow->pixels() == *placed);
    });
    s.menu(2, "undo");
    s.then([placed, ctrl] {
        EXPECT_TRUE(is_live_object(stored(n0)));
        EXPECT_EQ(rec_i16(stored(n0), sym::ctrl), *ctrl);
        EXPECT_EQ(users(*ctrl), 1);
        EXPECT_TRUE(drawCWindow->pixels() == *placed);
    });
    // A pick of another slot that places nothing gives back only its own copy.
    pick(s, 1);
    key(s, 27);
    s.then([ctrl] {
        EXPECT_EQ(worklib_lastctrl(), *ctrl + 1);
        EXPECT_EQ(symbinwork(2), 1);
        EXPECT_EQ(symbinwork(1), 0);
        objopts->dblclick_mode = 0;
    });
    click_slot(s, 2, 2);
    setup_editors(s, false);
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}
