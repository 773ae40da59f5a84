// Symbol-library files: a new library's structure, its grid size, the checks
// of record 0 and the compaction of its pieces.
#include "tests/store/drawing_fixture.h"

#include <filesystem>

#include "platform/core/files.h"
#include "platform/core/forks.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/symbol_library.h"
#include "tests/support/drawing_file.h"

namespace drav::test {
namespace {

namespace fs = std::filesystem;

class LibraryFile : public Drawing {
protected:
    void TearDown() override {
        close_symbusers();
        if (currentlibRefNum > 0) FSRef_CloseMyFile(&currentlibRefNum);
        currentlibRefNum = 0;
        current_lib = FileRefRec{};
        Drawing::TearDown();
    }
    static ObjectRec record(const fs::path& p, int n) {
        std::int16_t f = 0;
        ObjectRec r{};
        std::int64_t got = 0;
        EXPECT_EQ(plat::open_file({p}, plat::Perm::read, &f), plat::noErr);
        plat::read_at(f, std::int64_t{n} * 128, r.b, 128, &got);
        plat::close_file(f);
        return r;
    }
    static void put(const fs::path& p, int n, const ObjectRec& r) {
        std::int16_t f = 0;
        std::int64_t done = 0;
        ASSERT_EQ(plat::open_file({p}, plat::Perm::read_write, &f), plat::noErr);
        plat::write_at(f, std::int64_t{n} * 128, r.b, 128, &done);
        plat::close_file(f);
    }
    static bool same(const ObjectRec& a, const ObjectRec& b) { return std::memcmp(a.b, b.b, sizeof a.b) == 0; }
    static bool zero(const ObjectRec& r) { return same(r, ObjectRec{}); }
};

ObjectRec header(int version, int rows, int cols, int lastctrl, int lastsymb, int maxctrls) {
    ObjectRec h{};
    set_rec_u16(h, o_word0, rk_header);
    set_rec_i16(h, hdr::version, static_cast<std::int16_t>(version));
    set_rec_i16(h, hdr::lib_rows, static_cast<std::int16_t>(rows));
    set_rec_i16(h, hdr::lib_columns, static_cast<std::int16_t>(cols));
    set_rec_i16(h, hdr::lib_lastctrl, static_cast<std::int16_t>(lastctrl));
    set_rec_i16(h, hdr::lib_lastsymb, static_cast<std::int16_t>(lastsymb));
    set_rec_i16(h, hdr::lib_maxctrls, static_cast<std::int16_t>(maxctrls));
    return h;
}

ObjectRec ctrl(int slot, int start, int length) {
    ObjectRec c{};
    set_rec_u16(c, o_word0, rk_symbol_ctrl);
    set_rec_i16(c, sctl::number, static_cast<std::int16_t>(slot));
    set_rec_i16(c, sctl::first_piece, static_cast<std::int16_t>(start));
    set_rec_i16(c, sctl::piece_count, static_cast<std::int16_t>(length));
    set_rec_u16(c, sctl::valid, 1);
    return c;
}

// A piece as the adder writes it; `tag` tells pieces apart after they moved.
ObjectRec piece(double tag, bool first) {
    ObjectRec p = line_record(tag, 0, 1, 0);
    set_rec_u16(p, o_word0, static_cast<std::uint16_t>(rec_word0(p) | w0_live | 0x0100 | (first ? w0_first_piece : 0)));
    return p;
}

TEST_F(LibraryFile, ANewLibraryOfFiftySlotsIsFourteenBlocksOfEmptySlots) {
    FSRef made;
    ASSERT_EQ(make_library(FSRef{scratch_dir()}, "Fifty", 50, &made), 1);
    EXPECT_EQ(fs::file_size(made.path), 7168u);
    std::uint32_t type = 0, creator = 0;
    EXPECT_EQ(plat::get_type_creator(made, &type, &creator), plat::noErr);
    EXPECT_EQ(type, four_cc("2DL "));
    EXPECT_EQ(creator, four_cc("DRAV"));
    const ObjectRec h = record(made.path, 0);
    EXPECT_EQ(rec_word0(h), 1);
    EXPECT_EQ(rec_i16(h, hdr::version), 70);
    EXPECT_EQ(rec_i16(h, hdr::lib_lastctrl), 4);
    EXPECT_EQ(rec_i16(h, hdr::lib_lastsymb), 54);
    EXPECT_EQ(rec_i16(h, hdr::lib_maxctrls), 50);
    for (int n = 1; n < 56; ++n) EXPECT_TRUE(zero(record(made.path, n))) << "record " << n;

    set_libsize(made, 5, 8);
    EXPECT_EQ(rec_i16(record(made.path, 0), hdr::lib_rows), 5);
    EXPECT_EQ(rec_i16(record(made.path, 0), hdr::lib_columns), 8);
    std::int16_t slots = 0, rows = 0, cols = 0;
    ASSERT_EQ(get_libsize(made, &slots, &rows, &cols), 1);
    EXPECT_EQ(slots, 50);
    EXPECT_EQ(rows, 5);
    EXPECT_EQ(cols, 8);
    set_libsize(made, 0, 7);  // an unset row count means 10 by 10
    ASSERT_EQ(get_libsize(made, &slots, &rows, &cols), 1);
    EXPECT_EQ(rows, 10);
    EXPECT_EQ(cols, 10);
}

TEST_F(LibraryFile, MakingALibraryOverAnOldOneEmptiesItAndDropsItsCatalog) {
    FSRef made;
    ASSERT_EQ(make_library(FSRef{scratch_dir()}, "Old", 60, &made), 1);
    put(made.path, 4, ctrl(0, 64, 1));
    plat::ResourceFork fork;
    ASSERT_TRUE(fork.put(four_cc("PICT"), 1, "overlay", std::vector<std::uint8_t>(20, 0x70)));
    ASSERT_EQ(fork.save(made), plat::noErr);
    ASSERT_EQ(make_library(FSRef{scratch_dir()}, "Old", 50, &made), 1);
    EXPECT_EQ(fs::file_size(made.path), 7168u);
    EXPECT_TRUE(zero(record(made.path, 4)));
    EXPECT_EQ(rec_i16(record(made.path, 0), hdr::lib_maxctrls), 50);
    plat::ResourceFork after;
    ASSERT_EQ(after.load(made), plat::noErr);
    EXPECT_EQ(after.find(four_cc("PICT"), 1), nullptr);
}

TEST_F(LibraryFile, RecordZeroIsTrustedOnlyWithinItsLimits) {
    struct Case {
        int version, rows, cols, lastctrl, lastsymb, maxctrls;
        std::int64_t records;
        int sound;
    };
    const Case cases[] = {
        {70, 10, 10, 4, 54, 50, 54, 1},     {52, 0, 0, 4, 54, 50, 54, 1},    {54, 100, 100, 54, 60, 50, 60, 1},
        {60, 10, 10, 4, 54, 50, 54, 0},     {70, 10, 10, 3, 54, 50, 54, 0},  {70, 10, 10, 55, 60, 50, 60, 0},
        {70, 10, 10, 4, 53, 50, 54, 0},     {70, 10, 10, 4, 32004, 50, 40000, 0},
        {70, 10, 10, 4, 54, -1, 54, 0},     {70, 101, 10, 4, 54, 50, 54, 0}, {70, 10, -1, 4, 54, 50, 54, 0},
        {70, 10, 10, 4, 60, 50, 59, 0},  // too short for its pieces
    };
    for (const Case& c : cases) {
        LibHeader h;
        EXPECT_EQ(lib_header_sound(header(c.version, c.rows, c.cols, c.lastctrl, c.lastsymb, c.maxctrls), c.records,
                                   &h),
                  c.sound)
            << c.version << " " << c.lastctrl << " " << c.lastsymb << " " << c.maxctrls;
    }
    LibHeader h;
    ASSERT_EQ(lib_header_sound(header(70, 3, 5, 6, 60, 50), 60, &h), 1);
    EXPECT_EQ(lib_ctrl_sound(ctrl(0, 54, 6), h), 1);
    EXPECT_EQ(lib_ctrl_sound(ctrl(0, 53, 2), h), 0);  // among the control records
    EXPECT_EQ(lib_ctrl_sound(ctrl(0, 58, 3), h), 0);  // past lastsymb
    EXPECT_EQ(lib_ctrl_sound(ctrl(0, 54, -1), h), 0);
}

TEST_F(LibraryFile, AMalformedLibraryIsRefusedWithAMessage) {
    FSRef made;
    ASSERT_EQ(make_library(FSRef{scratch_dir()}, "Bad", 50, &made), 1);
    put(made.path, 0, header(70, 10, 10, 4, 900, 50));  // claims pieces the file lacks
    answers().expect("symbol library could not be opened");
    makelibactive(made, "Bad");
    EXPECT_EQ(open_default_library(0), 0);
    EXPECT_EQ(currentlibRefNum, 0);
}

TEST_F(LibraryFile, CompactionAfterAReplacementMovesThePiecesDownAndRenumbers) {
    FSRef made;
    ASSERT_EQ(make_library(FSRef{scratch_dir()}, "Crunch", 50, &made), 1);
    // Slot 0 held three pieces at 54-56, replaced by five at 59-63; slot 1
    // is a text with its continuation at 57-58.
    for (int n = 54; n < 57; ++n) {
        ObjectRec gone = piece(n, n == 54);
        set_rec_u16(gone, o_word0, static_cast<std::uint16_t>(rec_word0(gone) & ~0x1F));
        put(made.path, n, gone);
    }
    ObjectRec text = object_record(ok_text, 1, 1);
    set_rec_u16(text, o_word0, static_cast<std::uint16_t>(rec_word0(text) | w0_live | w0_first_piece));
    set_text_info(text, 0, 40, true);
    ObjectRec tail{};
    set_rec_u16(tail, o_word0, rk_text_tail);
    set_rec_str(tail, tail::text, tail::text_size, "a text of forty characters, all of them.");
    put(made.path, 57, text);
    put(made.path, 58, tail);
    for (int n = 59; n < 64; ++n) put(made.path, n, piece(n, n == 59));
    put(made.path, 4, ctrl(0, 59, 5));
    put(made.path, 5, ctrl(1, 57, 2));
    put(made.path, 0, header(70, 10, 10, 6, 64, 50));
    const auto size = fs::file_size(made.path);

    makelibactive(made, "Crunch");
    ASSERT_EQ(open_symbusers(50), 1);
    ASSERT_EQ(lib_crunch(0), 1);
    close_symbusers();
    FSRef_CloseMyFile(&currentlibRefNum);
    currentlibRefNum = 0;

    EXPECT_EQ(rec_i16(record(made.path, 0), hdr::lib_lastsymb), 61);
    EXPECT_EQ(rec_i16(record(made.path, 5), sctl::first_piece), 54);
    EXPECT_EQ(rec_i16(record(made.path, 4), sctl::first_piece), 56);
    EXPECT_TRUE(same(record(made.path, 54), text));
    EXPECT_TRUE(same(record(made.path, 55), tail));
    for (int n = 56; n < 61; ++n) EXPECT_EQ(rec_f64(record(made.path, n), obj::ref_x), n + 3) << n;
    for (int n = 61; n < 64; ++n) EXPECT_TRUE(zero(record(made.path, n))) << n;
    EXPECT_EQ(fs::file_size(made.path), size);
}

TEST_F(LibraryFile, CompactionWithNothingGivenUpMovesNothingAndEmptiesInvalidSlots) {
    FSRef made;
    ASSERT_EQ(make_library(FSRef{scratch_dir()}, "Tidy", 50, &made), 1);
    for (int n = 54; n < 57; ++n) put(made.path, n, piece(n, n == 54));
    put(made.path, 4, ctrl(0, 54, 3));
    ObjectRec invalid = ctrl(1, 54, 3);
    set_rec_u16(invalid, sctl::valid, 0);
    put(made.path, 5, invalid);
    put(made.path, 0, header(70, 10, 10, 6, 57, 50));
    makelibactive(made, "Tidy");
    ASSERT_EQ(open_symbusers(50), 1);
    ASSERT_EQ(lib_crunch(0), 1);
    close_symbusers();
    EXPECT_EQ(rec_i16(record(made.path, 0), hdr::lib_lastsymb), 57);
    EXPECT_EQ(rec_i16(record(made.path, 4), sctl::first_piece), 54);
    EXPECT_TRUE(zero(record(made.path, 5)));
    for (int n = 54; n < 57; ++n) EXPECT_EQ(rec_f64(record(made.path, n), obj::ref_x), n);
}

}  // namespace
}  // namespace drav::test
