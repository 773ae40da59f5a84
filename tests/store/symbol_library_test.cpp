// The work library: its cache, user counts, copying symbols in with unit
// conversion, and placing and exploding a symbol's pieces.
#include "tests/store/drawing_fixture.h"

#include <cmath>

#include "platform/core/files.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/object_snap.h"
#include "store/symbol_library.h"
#include "store/units.h"
#include "tests/support/drawing_file.h"

namespace drav::test {
namespace {

constexpr double inch_mm = 25.40005;

class WorkLibrary : public Drawing {
protected:
    void SetUp() override {
        Drawing::SetUp();
        init_symbols();
        init_worldunits();
    }
    void TearDown() override {
        if (fork_ > 0) plat::close_file(fork_);
        Drawing::TearDown();
    }
    // Copies a symbol of the given pieces, from a file in these units, into
    // the work library; its control record there.
    std::int16_t copy_in(const std::vector<ObjectRec>& pieces, int units_code = 3) {
        DrawingFile d;
        d.default_settings(units_code);
        const int ctrl = d.add_symbol("LIB", 2, pieces, units_code, 2, 1);
        const auto p = scratch_dir() / ("lib" + std::to_string(files_++));
        d.write(p);
        if (fork_ > 0) plat::close_file(fork_);
        EXPECT_EQ(plat::open_file({p}, plat::Perm::read, &fork_), plat::noErr);
        std::int16_t n = 0;
        EXPECT_EQ(copy_symbol(fork_, static_cast<std::int16_t>(ctrl), &n, "LIB", 0), 1);
        return n;
    }
    static ObjectRec lib(int n) {
        ObjectRec r{};
        std::int64_t got = 0;
        plat::read_at(worklibRefNum, std::int64_t{n} * 128, r.b, 128, &got);
        return r;
    }
    std::int16_t fork_ = 0;
    int files_ = 0;
};

TEST_F(WorkLibrary, TheCacheServesScansOnly) {
    stop_symbolscan();
    ObjectRec r;
    plat::reset_io_stats();
    get_ctrlrec(5, r);
    get_ctrlrec(5, r);
    EXPECT_EQ(plat::io_stats().reads, 2u);
    for (int i = 0; i < libcache_records; ++i) EXPECT_EQ(cachemap[i], -1);

    start_symbolscan();
    for (std::int16_t n = 4; n < 4 + libcache_records + 1; ++n) get_ctrlrec(n, r);  // 25 distinct records
    EXPECT_EQ(cachemap[0], 4 + libcache_records);  // the 25th took the first slot
    plat::reset_io_stats();
    get_ctrlrec(5, r);  // still cached
    EXPECT_EQ(plat::io_stats().reads, 0u);
    get_ctrlrec(4, r);  // pushed out
    EXPECT_EQ(plat::io_stats().reads, 1u);
    stop_symbolscan();
}

TEST_F(WorkLibrary, UsersMakeASymbolValidAndItsPiecesLive) {
    const std::int16_t n = copy_in({line_record(0, 0, 1, 0), line_record(0, 0, 0, 1)});
    EXPECT_EQ(n, 4);
    const int first = rec_i16(lib(n), sctl::first_piece);
    EXPECT_EQ(first, ctrlsize + 4);
    EXPECT_FALSE(is_live_object(lib(first)));  // copied pieces wait for a user

    EXPECT_EQ(accept_symbol(n), 1);
    EXPECT_EQ(rec_i16(lib(n), sctl::users), 1);
    EXPECT_EQ(rec_u16(lib(n), sctl::valid), 1);
    EXPECT_TRUE(is_live_object(lib(first)));
    EXPECT_TRUE(is_live_object(lib(first + 1)));
    EXPECT_EQ(accept_symbol(n), 1);
    EXPECT_EQ(rec_i16(lib(n), sctl::users), 2);

    EXPECT_EQ(symb_delete(n, 0), 1);
    EXPECT_EQ(symb_delete(n, 0), 1);
    EXPECT_EQ(rec_i16(lib(n), sctl::users), 0);
    EXPECT_EQ(rec_u16(lib(n), sctl::valid), 0);
    EXPECT_FALSE(is_live_object(lib(first)));
    EXPECT_EQ(symb_undelete(n), 1);
    EXPECT_TRUE(is_live_object(lib(first)));
}

// The cache is on while the program runs, so what a scan reads after a
// change of users must be the record as written, pieces included.
TEST_F(WorkLibrary, ScansReadUserCountsAsWritten) {
    const std::int16_t n = copy_in({line_record(0, 0, 1, 0)});
    const auto first = static_cast<std::int16_t>(ctrlsize + 4);
    start_symbolscan();
    const struct {
        int (*change)(std::int16_t);
        int users;
        bool live;
    } steps[] = {
        {accept_symbol, 1, true},
        {accept_symbol, 2, true},
        {[](std::int16_t c) { return symb_delete(c, 0); }, 1, true},
        {[](std::int16_t c) { return symb_delete(c, 0); }, 0, false},
        {symb_undelete, 1, true},
    };
    ObjectRec ctrl, piece;
    for (const auto& s : steps) {
        get_ctrlrec(n, ctrl);  // both are in the cache before the change
        get_symbol(first, 0, piece);
        ASSERT_EQ(s.change(n), 1);
        ASSERT_EQ(get_ctrlrec(n, ctrl), 1);
        EXPECT_EQ(rec_i16(ctrl, sctl::users), s.users);
        EXPECT_EQ(rec_u16(ctrl, sctl::valid), s.live ? 1 : 0);
        ASSERT_EQ(get_symbol(first, 0, piece), 1);
        EXPECT_EQ(is_live_object(piece), s.live);
    }
    // A repair of the counts while a drawing is written reads true as well.
    ASSERT_EQ(open_symbusers(), 1);
    answers().expect("lost count");
    get_ctrlrec(n, ctrl);
    EXPECT_EQ(fix_symbol(worklibRefNum, n, ctrl), 1);
    close_symbusers();
    ASSERT_EQ(get_ctrlrec(n, ctrl), 1);
    EXPECT_EQ(rec_i16(ctrl, sctl::users), 0);
    EXPECT_EQ(rec_u16(ctrl, sctl::valid), 0);
    ASSERT_EQ(get_symbol(first, 0, piece), 1);
    EXPECT_FALSE(is_live_object(piece));
    stop_symbolscan();
}

TEST_F(WorkLibrary, ASecondDeleteAfterOneAcceptIsRefused) {
    const std::int16_t n = copy_in({line_record(0, 0, 1, 0)});
    accept_symbol(n);
    EXPECT_EQ(symb_delete(n, 0), 1);
    answers().expect("lost track");
    EXPECT_EQ(symb_delete(n, 0), 0);
    EXPECT_EQ(rec_i16(lib(n), sctl::users), 0);
    // A record that is not a control record is never counted into.
    const ObjectRec piece = lib(ctrlsize + 4);
    answers().expect("does not refer");
    EXPECT_EQ(symb_delete(static_cast<std::int16_t>(ctrlsize + 4), 0), 0);
    EXPECT_TRUE(same(lib(ctrlsize + 4), piece));
}

TEST_F(WorkLibrary, SymbolsFromAnInchLibraryGrowInAMillimetreDrawing) {
    units_defs.units_code = 8;
    ObjectRec piece = line_record(1, 2, 3, 0.5);
    const std::int16_t n = copy_in({piece}, 3);
    const ObjectRec c = lib(n);
    EXPECT_NEAR(rec_f64(c, sctl::width), 2 * inch_mm, 1e-9);
    EXPECT_NEAR(rec_f64(c, sctl::height), inch_mm, 1e-9);
    EXPECT_EQ(rec_i16(c, sctl::units_code), 8);
    const ObjectRec p = lib(rec_i16(c, sctl::first_piece));
    EXPECT_NEAR(rec_f64(p, obj::ref_x), inch_mm, 1e-9);
    EXPECT_NEAR(rec_f64(p, obj::ref_y), 2 * inch_mm, 1e-9);
    EXPECT_NEAR(rec_f64(p, line::dx), 3 * inch_mm, 1e-9);
    EXPECT_NEAR(rec_f64(p, line::dy), 0.5 * inch_mm, 1e-9);
    EXPECT_EQ(rec_i16(lib(0), hdr::lib_lastctrl), 5);
    EXPECT_EQ(rec_i16(lib(0), hdr::lib_lastsymb), ctrlsize + 5);
    std::int16_t found = 0;
    EXPECT_EQ(find_symb_indx("LIB", 2, &found), 1);
    EXPECT_EQ(found, n);
    EXPECT_EQ(find_symb_indx("LIB", 3, &found), 0);
}

TEST_F(WorkLibrary, AMirroredSymbolExplodesMirrored) {
    const std::int16_t n = copy_in({line_record(1, 2, 2, 1)});
    accept_symbol(n);
    ObjectRec s = symbol_ref(n, 10, 10, 1, -1);
    s.b[obj::pen] = 4;
    const int at = store(s);
    ASSERT_GE(at, 0);
    get_info(static_cast<std::int16_t>(at));
    std::int16_t first = 0, count = 0;
    ASSERT_EQ(symb_explode(&first, &count), 1);
    EXPECT_EQ(first, at + 1);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(number_of_objects, at + 2);
    const ObjectRec l = record(first);
    EXPECT_EQ(obj_kind(l), ok_line);
    EXPECT_DOUBLE_EQ(rec_f64(l, obj::ref_x), 11);
    EXPECT_DOUBLE_EQ(rec_f64(l, obj::ref_y), 8);
    EXPECT_DOUBLE_EQ(rec_f64(l, line::dx), 2);
    EXPECT_DOUBLE_EQ(rec_f64(l, line::dy), -1);
    EXPECT_EQ(l.b[obj::pen], 4);  // the placed symbol's pen overrides the piece's none
    EXPECT_EQ(rec_word0(l) & w0_first_piece, 0);
}

TEST_F(WorkLibrary, SnappingOntoASymbolTakesThePieceThePickFinds) {
    const std::int16_t n = copy_in({line_record(0, 0, 1, 0), line_record(0, 0, 0, 1)});
    accept_symbol(n);
    const int at = store(symbol_ref(n, 10, 10));
    ASSERT_GE(at, 0);
    static std::int16_t asked_from = 0;
    static double asked_x = 0;
    // The pick answers the second piece, wherever it was asked from.
    set_snap_finder([](std::int16_t* k, double x, double, int) {
        asked_from = *k;
        asked_x = x;
        *k = static_cast<std::int16_t>(number_of_objects - 1);
        return 1;
    });
    get_info(static_cast<std::int16_t>(at));
    ObjectRec r = info;
    std::int16_t first = 0, count = 0, found = 0;
    EXPECT_EQ(sym_explode(r, &first, &count, &found, 10, 10.5), 1);
    set_snap_finder(nullptr);
    EXPECT_EQ(first, at + 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(found, at + 2);
    EXPECT_EQ(asked_from, at);  // stepped back from the first piece
    EXPECT_DOUBLE_EQ(asked_x, 10);
    EXPECT_EQ(obj_kind(r), ok_line);
    EXPECT_DOUBLE_EQ(rec_f64(r, line::dy), 1);
    EXPECT_DOUBLE_EQ(rec_f64(r, obj::ref_x), 10);
}

TEST_F(WorkLibrary, PiecesTurnWithTheSymbol) {
    ObjectRec sym = symbol_ref(4, 5, 5, 2, 2);
    set_rec_f64(sym, obj::rotation, std::acos(-1.0) / 2);
    ObjectRec p = line_record(1, 0, 1, 0);
    symb_transform(sym, p);
    EXPECT_NEAR(rec_f64(p, obj::ref_x), 5, 1e-12);
    EXPECT_NEAR(rec_f64(p, obj::ref_y), 7, 1e-12);
    EXPECT_NEAR(rec_f64(p, line::dx), 0, 1e-12);
    EXPECT_NEAR(rec_f64(p, line::dy), 2, 1e-12);
}

TEST_F(WorkLibrary, StoredAndDeletedReferencesCountTheirUsers) {
    const std::int16_t n = copy_in({line_record(0, 0, 1, 0)});
    const int at = store(symbol_ref(n, 1, 1));
    ASSERT_GE(at, 0);
    EXPECT_EQ(rec_i16(lib(n), sctl::users), 1);
    get_info(static_cast<std::int16_t>(at));
    delete_object(static_cast<std::int16_t>(at), 0);
    EXPECT_EQ(rec_i16(lib(n), sctl::users), 0);
    undel_object(static_cast<std::int16_t>(at), 0);
    EXPECT_EQ(rec_i16(lib(n), sctl::users), 1);
}

}  // namespace
}  // namespace drav::test

namespace drav::test {
namespace {

TEST_F(WorkLibrary, OnlyKnownLibraryVersionsAreOpened) {
    for (int version : {52, 53, 54, 60, 70, 71}) {
        SCOPED_TRACE(version);
        DrawingFile d;
        d.default_settings(3);
        d.version = version;
        d.add_symbol("LIB", 0, {line_record(0, 0, 1, 0)}, 3);
        const auto p = scratch_dir() / ("v" + std::to_string(version) + ".lib");
        d.write(p);
        {  // record 0 as a library's: no slots, every record a piece
            std::int16_t f = 0;
            std::int64_t done = 0;
            ASSERT_EQ(plat::open_file({p}, plat::Perm::read_write, &f), plat::noErr);
            ObjectRec h{};
            plat::read_at(f, 0, h.b, 128, &done);
            set_rec_i16(h, hdr::lib_rows, 10);
            set_rec_i16(h, hdr::lib_columns, 10);
            set_rec_i16(h, hdr::lib_lastctrl, 4);
            set_rec_i16(h, hdr::lib_lastsymb, 4);
            set_rec_i16(h, hdr::lib_maxctrls, 0);
            plat::write_at(f, 0, h.b, 128, &done);
            plat::close_file(f);
        }
        const std::string name = "v" + std::to_string(version);
        EXPECT_EQ(makelibactive(FSRef{p}, name.c_str()), 1);
        EXPECT_EQ(makelibactive(FSRef{p}, name.c_str()), 0);  // already the current one
        const bool known = version == 52 || version == 54 || version == 70;
        if (!known) answers().expect("not a sound library");
        EXPECT_EQ(open_default_library(0), known ? 1 : 0);
        EXPECT_EQ(currentlibRefNum > 0, known);
        EXPECT_EQ(current_lib_version, version);
    }
    if (currentlibRefNum > 0) FSRef_CloseMyFile(&currentlibRefNum);
}

}  // namespace
}  // namespace drav::test

namespace drav::test {
namespace {

TEST_F(WorkLibrary, ALibraryThatCannotBeOpenedIsReportedOnce) {
    answers().expect("could not be opened");
    EXPECT_EQ(open_library(FSRef{scratch_dir() / "nowhere.lib"}, 1, 0, "nowhere"), 0);
    EXPECT_EQ(currentlibRefNum, 0);
}

}  // namespace
}  // namespace drav::test
