// The library catalog drawn into the running program: its records worked
// out by hand, the catalog picture in the library's companion, its plot
// spec, the dialog's limits and what an interrupted catalog leaves behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/command_loop.h"
#include "base/menu_items.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "files/catalog_overlay.h"
#include "platform/core/forks.h"
#include "platform/core/picture.h"
#include "platform/ui/dialogs.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "store/symbol_library.h"
#include "tests/support/drawing_file.h"
#include "tests/support/file_dialog_script.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

namespace drav::test {
namespace {

namespace fs = std::filesystem;

constexpr int slots = 14;
// 31 characters: the title keeps the first 29.
constexpr const char* long_name = "Catalog of parts and fittings A";
constexpr const char* out_of_range = "out of range";

// A symbol of one piece: slot 0 a vertical line 2 high (no width), slot 1 a
// point (no size), the others a line of extents 2 x 1.
ObjectRec piece_for(int slot, double* w, double* h) {
    ObjectRec p;
    if (slot == 0) {
        p = line_record(0, 0, 0, 2);
        *w = 0;
        *h = 2;
    } else if (slot == 1) {
        p = object_record(ok_point, 0, 0);
        *w = *h = 0;
    } else {
        p = line_record(0, 0, 2, 1);
        *w = 2;
        *h = 1;
    }
    set_rec_word0_bits(p, w0_first_piece | w0_in_library, true);
    return p;
}

// A library of 14 slots with symbols in `filled`, written by hand.
fs::path write_library(const char* name, const std::vector<int>& filled) {
    const int first_piece = slots + first_ctrl_record;
    std::vector<ObjectRec> recs(static_cast<std::size_t>(first_piece + filled.size()), ObjectRec{});
    ObjectRec& head = recs[0];
    set_rec_u16(head, o_word0, rk_header);
    set_rec_i16(head, hdr::version, 70);
    int highest = -1;
    for (int s : filled) highest = std::max(highest, s);
    set_rec_i16(head, hdr::lib_lastctrl, static_cast<std::int16_t>(highest + 5));
    set_rec_i16(head, hdr::lib_lastsymb, static_cast<std::int16_t>(first_piece + filled.size()));
    set_rec_i16(head, hdr::lib_maxctrls, slots);
    for (std::size_t i = 0; i < filled.size(); ++i) {
        const int s = filled[i];
        double w = 0, h = 0;
        recs[static_cast<std::size_t>(first_piece) + i] = piece_for(s, &w, &h);
        ObjectRec& c = recs[static_cast<std::size_t>(first_ctrl_record + s)];
        set_rec_u16(c, o_word0, rk_symbol_ctrl);
        set_rec_str(c, sctl::library, sctl::name_size, "Parts");
        set_rec_str(c, sctl::symbol, sctl::name_size, "part");
        set_rec_i16(c, sctl::number, static_cast<std::int16_t>(s));
        set_rec_i16(c, sctl::first_piece, static_cast<std::int16_t>(first_piece + i));
        set_rec_i16(c, sctl::piece_count, 1);
        set_rec_f64(c, sctl::width, w);
        set_rec_f64(c, sctl::height, h);
        set_rec_u16(c, sctl::valid, 1);
        set_rec_i16(c, sctl::units_code, 1);
        set_rec_i16(c, sctl::real_unit, 1);
        set_rec_f64(c, sctl::units_factor, 1);
    }
    const fs::path p = scratch_dir() / name;
    plat::remove_companion(plat::FileRef{p});
    std::ofstream out(p, std::ios::binary);
    for (const ObjectRec& r : recs) out.write(reinterpret_cast<const char*>(r.b), 128);
    out.close();
    plat::set_type_creator(plat::FileRef{p}, four_cc("2DL "), four_cc("DRAV"));
    return p;
}

// Slots 0-9 and 12-13: the last two lie beyond a 3 x 4 grid.
const std::vector<int> ten_and_two = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13};

void make_current(const fs::path& p) {
    makelibactive(FSRef{p}, p.filename().c_str());
    current_lib.ref = FSRef{p};
}

void grid_3_by_4() {
    librows = 3;
    libcols = 4;
    doing_text = doing_symbs = doing_title = 1;
}

ObjectRec rec(int n) {
    ObjectRec r{};
    get_copy_info(static_cast<std::int16_t>(n), r);
    return r;
}

const plat::Resource* catalog_of(const fs::path& lib, plat::ResourceFork* fork) {
    if (fork->load(plat::FileRef{lib}) != plat::noErr) return nullptr;
    return fork->find(four_cc("PICT"), catalog_picture_id);
}

int count_kind(int from, int to, int kind) {
    int n = 0;
    for (int i = from; i < to; ++i) n += obj_kind(rec(i)) == kind;
    return n;
}

int plot_specs() {
    int n = 0;
    for (int i = first_view_slot; i <= last_view_slot; ++i) n += rec_kind(rec(i)) == rk_plot_spec;
    return n;
}

}  // namespace

TEST(CatalogOverlay, ThreeByFourWithEverythingGivesGridLabelsTenSymbolsTitleAndA92By69Picture) {
    const fs::path lib = write_library(long_name, ten_and_two);
    Session s;
    s.then([&] {
        make_current(lib);
        grid_3_by_4();
        ASSERT_EQ(number_of_objects, first_object_slot);
        do_overlay();
        EXPECT_EQ(quit | aborted, 0);
        ASSERT_EQ(number_of_objects, first_object_slot + 6 + 12 + 10 + 1);

        // Frame, then the grid lines swept back and forth.
        const ObjectRec frame = rec(36);
        EXPECT_EQ(obj_kind(frame), ok_rect);
        EXPECT_EQ(rec_f64(frame, rect::width), 92);
        EXPECT_EQ(rec_f64(frame, rect::height), 69);
        EXPECT_EQ(frame.b[obj::width], 3);
        struct Line {
            double x, y, dx, dy;
        };
        const Line lines[] = {{92, 23, -92, 0}, {0, 46, 92, 0}, {23, 69, 0, -69}, {46, 0, 0, 69}, {69, 69, 0, -69}};
        for (int i = 0; i < 5; ++i) {
            const ObjectRec l = rec(37 + i);
            EXPECT_EQ(obj_kind(l), ok_line) << i;
            EXPECT_EQ(rec_f64(l, obj::ref_x), lines[i].x) << i;
            EXPECT_EQ(rec_f64(l, obj::ref_y), lines[i].y) << i;
            EXPECT_EQ(rec_f64(l, line::dx), lines[i].dx) << i;
            EXPECT_EQ(rec_f64(l, line::dy), lines[i].dy) << i;
        }
        // Labels row by row from the top left, right-aligned in three characters.
        for (int n = 0; n < 12; ++n) {
            const ObjectRec t = rec(42 + n);
            ASSERT_EQ(obj_kind(t), ok_text) << n;
            const std::string want = (n < 9 ? "  " : " ") + std::to_string(n + 1);
            EXPECT_EQ(rec_str(t, text::chars), want);
            EXPECT_EQ(text_count(t), 3);
            EXPECT_FALSE(text_continued(t));
            const double cx = (n % 4) * 23.0, cy = (2 - n / 4) * 23.0;
            EXPECT_DOUBLE_EQ(rec_f64(t, obj::ref_x), cx + 0.03 * 23);
            EXPECT_DOUBLE_EQ(rec_f64(t, obj::ref_y), cy + 0.03 * 23);
            EXPECT_FLOAT_EQ(rec_f32(t, text::char_width), static_cast<float>(0.06 * 23));
            EXPECT_FLOAT_EQ(rec_f32(t, text::char_height), static_cast<float>(0.09 * 23));
        }
        // Ten references, slots 0-9; 12 and 13 lie outside the grid.
        EXPECT_EQ(count_kind(54, 64, ok_symbol), 10);
        for (int n = 0; n < 10; ++n) EXPECT_EQ(sym_number(rec(54 + n)), n);
        // No width: scaled by 0.8 x 23 / 2 and centred.
        const ObjectRec upright = rec(54);
        EXPECT_DOUBLE_EQ(rec_f64(upright, sym::scale_x), 9.2);
        EXPECT_DOUBLE_EQ(rec_f64(upright, sym::scale_y), 9.2);
        EXPECT_DOUBLE_EQ(rec_f64(upright, obj::ref_x), 11.5);
        EXPECT_DOUBLE_EQ(rec_f64(upright, obj::ref_y), 46 + 12.65 - 9.2);
        // A single point is not scaled.
        const ObjectRec dot = rec(55);
        EXPECT_EQ(rec_f64(dot, sym::scale_x), 1);
        EXPECT_DOUBLE_EQ(rec_f64(dot, obj::ref_x), 23 + 11.5);
        EXPECT_DOUBLE_EQ(rec_f64(dot, obj::ref_y), 46 + 12.65);
        // 2 x 1: the width fills 80 % of the cell.
        const ObjectRec wide = rec(56);
        EXPECT_DOUBLE_EQ(rec_f64(wide, sym::scale_x), 9.2);
        EXPECT_DOUBLE_EQ(rec_f64(wide, sym::width), 18.4);
        EXPECT_DOUBLE_EQ(rec_f64(wide, obj::ref_x), 46 + 11.5 - 9.2);
        EXPECT_DOUBLE_EQ(rec_f64(wide, obj::ref_y), 46 + 12.65 - 4.6);
        EXPECT_STREQ(rec_str(wide, sym::library), "Catalog ");
        // Each reference counts one user of its own copy.
        ObjectRec ctrl;
        get_ctrlrec(rec_i16(wide, sym::ctrl), ctrl);
        EXPECT_EQ(rec_i16(ctrl, sctl::users), 1);
        // The title, cut to the 29 characters its record holds.
        const ObjectRec title = rec(64);
        EXPECT_EQ(obj_kind(title), ok_text);
        EXPECT_EQ(std::string(rec_str(title, text::chars)), std::string(long_name, 29));
        EXPECT_EQ(text_count(title), 29);
        EXPECT_FALSE(text_continued(title));
        EXPECT_DOUBLE_EQ(rec_f64(title, obj::ref_y), 0.69 + 0.1 + 69);

        // The drawing's settings for a catalog.
        EXPECT_EQ(units_defs.units_code, 1);
        EXPECT_EQ(units_defs.increment, 0.25);
        EXPECT_EQ(output_defs.plot_scale, 1);
        EXPECT_NE(swaper & sw_symbols_expanded, 0);

        // The plot specification frames the view the catalog ends in.
        const ObjectRec spec = rec(first_view_slot);
        EXPECT_EQ(rec_kind(spec), rk_plot_spec);
        EXPECT_STREQ(rec_str(spec, pspec::name), "overlay");
        EXPECT_EQ(rec_f64(spec, pspec::window), cur_win.xl);
        EXPECT_EQ(rec_f64(spec, pspec::window + 8), cur_win.xr);
        EXPECT_EQ(plot_specs(), 1);

        // The catalog picture: 92 x 69, the grid on the multiples of 23.
        plat::ResourceFork fork;
        const plat::Resource* pict = catalog_of(lib, &fork);
        ASSERT_NE(pict, nullptr);
        EXPECT_EQ(pict->name, "overlay");
        plat::Picture picture;
        ASSERT_EQ(plat::read_picture(pict->data, &picture), 1);
        EXPECT_EQ(picture.frame, (plat::Rect{0, 0, 69, 92}));
        plat::Port port;
        ASSERT_TRUE(port.resize(92, 69));
        port.erase_rect(port.port_rect());
        plat::draw_picture(port, picture, picture.frame);
        auto ink = [&](int x, int y) {
            const plat::RGBColor c = plat::color_of(port.pixel(x, y));
            return c.red != 0xFFFF || c.green != 0xFFFF || c.blue != 0xFFFF;
        };
        for (int y : {0, 23, 46}) EXPECT_TRUE(ink(16, y)) << "row " << y;
        for (int x : {0, 23, 46, 69}) EXPECT_TRUE(ink(x, 35)) << "column " << x;
        EXPECT_FALSE(ink(5, 5));
        EXPECT_TRUE(ink(12, 10));  // the upright line of slot 0 in the top-left cell

        // A second catalog takes the same plot specification.
        do_overlay();
        EXPECT_EQ(number_of_objects, first_object_slot + 2 * 29);
        EXPECT_EQ(plot_specs(), 1);
        EXPECT_EQ(rec_kind(rec(first_view_slot + 1)), rk_empty);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(CatalogOverlay, WithoutAFreeViewSlotNoPlotSpecificationIsStoredAndTheCatalogStillSucceeds) {
    const fs::path lib = write_library("Fittings", {2, 3});
    Session s;
    s.then([&] {
        for (std::int16_t n = first_view_slot; n <= last_view_slot; ++n) {
            get_info(n);
            info = named_window(("w" + std::to_string(n)).c_str(), 0, 10, 0, 10);
            modified = 1;
        }
        nomore_info();
        make_current(lib);
        grid_3_by_4();
        doing_text = 0;
        do_overlay();
        EXPECT_EQ(quit | aborted, 0);
        EXPECT_EQ(number_of_objects, first_object_slot + 6 + 2 + 1);
        EXPECT_EQ(plot_specs(), 0);
        plat::ResourceFork fork;
        EXPECT_NE(catalog_of(lib, &fork), nullptr);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(CatalogOverlay, AnEscapeTakesBackTheRecordsAndTheUserCounts) {
    const fs::path lib = write_library("Fittings", ten_and_two);
    Session s;
    s.then([&] {
        make_current(lib);
        grid_3_by_4();
        ObjectRec before;
        get_ctrlrec(0, before);
        const std::int16_t copy = rec_i16(before, hdr::lib_lastctrl);
        post_key(27);
        do_overlay();
        EXPECT_EQ(aborted, 1);
        EXPECT_EQ(number_of_objects, first_object_slot);
        ObjectRec after, ctrl;
        stop_symbolscan();
        start_symbolscan();
        get_ctrlrec(0, after);
        EXPECT_EQ(std::memcmp(before.b, after.b, 128), 0);
        // The copy that slot 0 made counts no user any more.
        get_ctrlrec(copy, ctrl);
        EXPECT_EQ(rec_i16(ctrl, sctl::users), 0);
        EXPECT_EQ(plot_specs(), 0);
        plat::ResourceFork fork;
        EXPECT_EQ(catalog_of(lib, &fork), nullptr);
        aborted = 0;
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(CatalogOverlay, TooLittleRoomInTheDrawingIsError93AndDrawsNothing) {
    const fs::path lib = write_library("Fittings", ten_and_two);
    Session s;
    s.then([&] {
        make_current(lib);
        grid_3_by_4();
        const std::uint16_t size = worksize;
        // 6 + 12 + 1 records needed: 36 + 19 must lie below worksize - 5.
        worksize = first_object_slot + 19 + 5;
        answers().expect("needs 19 more objects");
        do_overlay();
        worksize = size;
        EXPECT_EQ(number_of_objects, first_object_slot);
        EXPECT_EQ(plot_specs(), 0);
        plat::ResourceFork fork;
        EXPECT_EQ(catalog_of(lib, &fork), nullptr);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(CatalogOverlay, RowsAndColumnsLimitEachOtherToAThousandCells) {
    const fs::path lib = write_library("Fittings", {0});
    make_current(lib);
    Session s;
    s.then([] {
        DialogPtr d = plat::front_dialog();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(plat::item_text(plat::dialog_item(d, 4)), "10");
        EXPECT_EQ(plat::item_text(plat::dialog_item(d, 6)), "10");
        EXPECT_EQ(plat::focus_item(d), plat::dialog_item(d, 4));
        for (int box = 7; box <= 9; ++box) EXPECT_EQ(plat::item_value(plat::dialog_item(d, box)), 1);
    });
    // 40 rows with 10 columns hold; 30 columns with 40 rows do not (1000 / 40 = 25).
    s.type(4, "40").hit(6).type(6, "30").hit(8);
    s.then([] { EXPECT_EQ(plat::item_value(plat::dialog_item(plat::front_dialog(), 8)), 1); });
    s.hit(1);
    s.type(6, "25").hit(8).hit(1);
    answers().expect(out_of_range);
    answers().expect(out_of_range);
    int result = -1;
    s.drive([&] { result = libovlparams(); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(librows, 40);
    EXPECT_EQ(libcols, 25);
    EXPECT_EQ(doing_text, 1);
    EXPECT_EQ(doing_symbs, 0);
    EXPECT_EQ(doing_title, 1);
    FSRef_CloseMyFile(&currentlibRefNum);
    currentlibRefNum = 0;
}

TEST(CatalogOverlay, ColumnsBelowThreeAndWordsAreRefusedAndCancelReturnsZero) {
    const fs::path lib = write_library("Fittings", {0});
    make_current(lib);
    Session s;
    s.hit(6).type(6, "2").hit(4).type(6, "x").hit(7).hit(2);
    answers().expect(out_of_range);
    answers().expect("can't be read");
    int result = -1;
    s.drive([&] { result = libovlparams(); });
    EXPECT_EQ(result, 0);
    FSRef_CloseMyFile(&currentlibRefNum);
    currentlibRefNum = 0;
}

TEST(CatalogOverlay, TheOpenDialogsCheckBoxDrawsTheCatalogAndWritesTheGridSize) {
    const fs::path lib = write_library("Fittings", ten_and_two);
    Session s;
    file_dialogs().expect_open(lib, [](const plat::FileDialogRequest& r) {
        ASSERT_NE(r.options, nullptr);
        plat::DItem* box = plat::find_control(r.options, four_cc("chck"), 101);
        ASSERT_NE(box, nullptr);
        EXPECT_NE(plat::item_hilite(box), 255);
        plat::set_item_value(box, 1);
    });
    s.menu(kMyFileMenu, "LBop");
    s.type(4, "3").hit(6).type(6, "4").hit(1);
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
    std::int16_t count = 0, rows = 0, cols = 0;
    ASSERT_EQ(get_libsize(FSRef{lib}, &count, &rows, &cols), 1);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(cols, 4);
    plat::ResourceFork fork;
    const plat::Resource* pict = catalog_of(lib, &fork);
    ASSERT_NE(pict, nullptr);
    plat::Picture picture;
    ASSERT_EQ(plat::read_picture(pict->data, &picture), 1);
    EXPECT_EQ(picture.frame, (plat::Rect{0, 0, 69, 92}));
    std::uint32_t type = 0, creator = 0;
    ASSERT_EQ(plat::get_type_creator(plat::FileRef{lib}, &type, &creator), plat::noErr);
    EXPECT_EQ(type, four_cc("2DL "));
    EXPECT_EQ(creator, four_cc("DRAV"));
    EXPECT_TRUE(file_dialogs().done());
}

TEST(CatalogOverlay, CancellingTheCatalogKeepsTheLibraryThatWasCurrent) {
    const fs::path lib = write_library("Fittings", ten_and_two);
    Session s;
    std::string before;
    s.then([&] { before = current_lib.name; });
    file_dialogs().expect_open(lib, [](const plat::FileDialogRequest& r) {
        plat::set_item_value(plat::find_control(r.options, four_cc("chck"), 101), 1);
    });
    s.menu(kMyFileMenu, "LBop");
    s.hit(2);
    s.then([&] {
        EXPECT_EQ(std::string(current_lib.name), before);
        EXPECT_EQ(number_of_objects, first_object_slot);
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(file_dialogs().done());
}

TEST(CatalogOverlay, TheProgressBarIsPaintedToItsShare) {
    Session s;
    s.drive([] {
        progDPtr = open_dialog(progress_dialog);
        ASSERT_NE(progDPtr, nullptr);
        plat::DItem* bar = plat::dialog_item(progDPtr, 2);
        const plat::Rect r = plat::item_rect(bar);
        doprogress(1, 4);
        EXPECT_DOUBLE_EQ(percent, 0.25);
        plat::Port* port = plat::dialog_port(progDPtr);
        port->erase_rect(r);
        prcntofrect(progDPtr, 2);
        const int edge = r.left + (r.right - r.left) / 4;
        const int y = (r.top + r.bottom) / 2;
        EXPECT_LT(plat::color_of(port->pixel(edge - 1, y)).red, 0x8000);
        EXPECT_GE(plat::color_of(port->pixel(edge, y)).red, 0x8000);
        plat::dispose_dialog(progDPtr);
        progDPtr = nullptr;
    });
}

}  // namespace drav::test
