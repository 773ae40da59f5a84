// Damaged and hostile drawing files: each is refused with a message, or its
// bad records are left out and counted; the drawing open before is unchanged
// when the file is refused.
#include "tests/files/reader_fixture.h"

#include <cmath>
#include <fstream>
#include <limits>

namespace drav::test {
namespace {

class Hostile : public Reader {
protected:
    void SetUp() override {
        Reader::SetUp();
        DrawingFile good;
        good.default_settings(3);
        good.objects.push_back(line_record(1, 1, 1, 1));
        ASSERT_EQ(open(good), 1);
        store(line(0, 0, 1, 1));
        before_ = snapshot();
    }
    void expect_refused(const std::vector<std::uint8_t>& bytes, bool pc, const char* alert) {
        {
            std::ofstream f(path("bad.drw"), std::ios::binary | std::ios::trunc);
            f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
        answers().expect(alert);
        EXPECT_EQ(open_raw(path("bad.drw"), pc), 0);
        EXPECT_TRUE(answers().done());
        EXPECT_TRUE(snapshot() == before_);
    }
    Snapshot before_;
};

TEST_F(Hostile, TruncatedFilesAreRefusedAtEverySectionBoundary) {
    for (bool pc : {false, true}) {
        DrawingFile d = every_kind_drawing();
        d.pc = pc;
        const std::vector<std::uint8_t> whole = d.bytes();
        const std::size_t S = 9, O = d.objects.size(), K = 1, P = 2;
        for (std::size_t cut : std::vector<std::size_t>{0, 3, 64, 127, 128 * 3, 128 * S,
                                128 * (S + O) - 5, 128 * (S + O), 128 * (S + O + K), 128 * (S + O + K + P) - 1}) {
            SCOPED_TRACE(testing::Message() << (pc ? "PC " : "native ") << cut);
            expect_refused(std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<long>(cut)), pc,
                           "not a readable drawing");
        }
    }
}

TEST_F(Hostile, HeaderCountsThatLieAreRefused) {
    struct Case {
        int S, O, K, P;
    };
    constexpr int u = DrawingFile::unset;
    for (Case c : {Case{37, u, u, u}, Case{6, u, u, u}, Case{-3, u, u, u}, Case{u, 200, u, u}, Case{u, -16, u, u},
                   Case{u, u, 5, u}, Case{u, u, -1, u}, Case{u, u, u, 30}, Case{u, u, u, 32767},
                   Case{u, 32767, u, u}}) {
        DrawingFile d = every_kind_drawing();
        d.S = c.S;
        d.O = c.O;
        d.K = c.K;
        d.P = c.P;
        const std::vector<std::uint8_t> b = d.bytes();
        SCOPED_TRACE(testing::Message() << c.S << " " << c.O << " " << c.K << " " << c.P);
        expect_refused(b, false, "not a readable drawing");
    }
    // Damaged settings records in a file to open.
    DrawingFile d = every_kind_drawing();
    set_rec_kind(d.settings[2], 9);
    expect_refused(d.bytes(), false, "not a readable drawing");
    d = every_kind_drawing();
    set_rec_f64(d.settings[1], 78, std::numeric_limits<double>::quiet_NaN());
    expect_refused(d.bytes(), false, "not a readable drawing");
}

TEST_F(Hostile, BadObjectsAreLeftOutAndCounted) {
    DrawingFile d;
    d.default_settings(3);
    d.objects.push_back(line_record(1, 1, 1, 1));                // kept
    ObjectRec high = line_record(2, 2, 1, 1);
    high.b[obj::level] = 251;
    d.objects.push_back(high);                                   // level out of range
    d.objects.push_back(line_record(std::numeric_limits<double>::quiet_NaN(), 0, 1, 1));
    ObjectRec inf = line_record(0, 0, 1, 1);
    set_rec_f64(inf, line::dx, std::numeric_limits<double>::infinity());
    d.objects.push_back(inf);
    ObjectRec kind = object_record(ok_line);
    set_obj_kind_colour(kind, 12, 1);                           // object kind 12
    d.objects.push_back(kind);
    ObjectRec colour = line_record(0, 0, 1, 1);
    set_obj_kind_colour(colour, ok_line, 300);
    d.objects.push_back(colour);
    ObjectRec poly = object_record(ok_ellipse, 1, 1);
    set_rec_f64(poly, ell::radius1, 1);
    set_rec_f64(poly, ell::radius2, 1);
    set_rec_u16(poly, ell::flags, ell::polygon);
    set_rec_i16(poly, ell::sides, -4);
    d.objects.push_back(poly);
    ObjectRec named = line_record(3, 3, 1, 1);
    std::memset(named.b + obj::name, 'N', 8);                    // no terminator
    d.objects.push_back(named);                                  // kept, name ended
    ObjectRec stray{};
    set_rec_kind(stray, rk_text_tail);                           // a continuation of nothing
    set_rec_str(stray, tail::text, tail::text_size, "stray");
    d.objects.push_back(stray);
    ObjectRec junk{};
    set_rec_kind(junk, 20);                                      // no such record kind
    d.objects.push_back(junk);
    ObjectRec last = object_record(ok_text, 1, 1);
    set_rec_f32(last, text::char_width, 1);
    set_rec_f32(last, text::char_height, 1);
    std::memset(last.b + text::chars, 'T', 30);                  // no terminator either
    set_text_info(last, 0, 60, true);                            // a continuation that never comes
    d.objects.push_back(last);
    answers().expect("8 damaged records");
    ASSERT_EQ(open(d), 1);
    ASSERT_EQ(number_of_objects, 39);
    EXPECT_EQ(rec_f64(record(36), obj::ref_x), 1);
    EXPECT_STREQ(rec_str(record(37), obj::name), "NNNNNNN");
    const ObjectRec t = record(38);
    EXPECT_FALSE(text_continued(t));
    EXPECT_EQ(text_count(t), 29);
    EXPECT_EQ(std::strlen(rec_str(t, text::chars)), 29u);
}

TEST_F(Hostile, PcRecordsThatDoNotConvertAreCounted) {
    DrawingFile d;
    d.default_settings(3);
    d.pc = true;
    d.objects.push_back(line_record(1, 1, 1, 1));
    d.objects.push_back(line_record(2, 2, 1, 1));
    std::vector<std::uint8_t> b = d.bytes();
    b[7 * 128 + 1] = 13 << 3;  // record kind 13 in the first object
    {
        std::ofstream f(path("pc.2d"), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    answers().expect("1 records of this PC drawing");
    ASSERT_EQ(open_raw(path("pc.2d"), true), 1);
    EXPECT_EQ(number_of_objects, 37);
    EXPECT_EQ(rec_f64(record(36), obj::ref_x), 2);
    EXPECT_EQ(last_read.unconverted, 1);
}

TEST_F(Hostile, ControlRecordsWhosePiecesLieOutsideAreNotUsed) {
    DrawingFile d = every_kind_drawing();
    set_rec_i16(d.ctrls[0], sctl::piece_count, 40);  // runs past the end of the file
    answers().expect("1 bad symbols");
    ASSERT_EQ(open(d), 1);
    EXPECT_EQ(rec_i16(record(number_of_objects - 1), sym::ctrl), -1);
    EXPECT_EQ(rec_i16(worklib(0), hdr::lib_lastctrl), 4);  // nothing copied
}

TEST_F(Hostile, DamagedSymbolPiecesAreEmptied) {
    DrawingFile d;
    d.default_settings(3);
    ObjectRec poly = object_record(ok_ellipse, 0, 0);
    set_rec_u16(poly, ell::flags, ell::polygon);
    set_rec_i16(poly, ell::sides, 0);
    d.objects.push_back(symbol_ref(0, 1, 1));
    const int ctrl = d.add_symbol("LIB", 1, {line_record(0, 0, 1, 0), poly, symbol_ref(9, 0, 0)}, 3);
    set_rec_i16(d.objects.back(), sym::ctrl, static_cast<std::int16_t>(ctrl));
    answers().expect("2 damaged records");
    ASSERT_EQ(open(d), 1);
    const int first = ctrlsize + 4;
    EXPECT_EQ(obj_kind(worklib(first)), ok_line);
    EXPECT_EQ(rec_kind(worklib(first + 1)), rk_empty);
    EXPECT_EQ(rec_kind(worklib(first + 2)), rk_empty);
    EXPECT_EQ(rec_i16(record(36), sym::ctrl), 4);
}

TEST_F(Hostile, TheFormatRuleReadsMislabelledFilesNatively) {
    DrawingFile d = every_kind_drawing();
    d.write(path("native.2d"));
    EXPECT_EQ(drawing_file_format(FSRef{path("native.2d")}), format_native);
    d.pc = true;
    d.write(path("pc.2D"));
    EXPECT_EQ(drawing_file_format(FSRef{path("pc.2D")}), format_pc);
    d.write(path("pc.drw"));
    EXPECT_EQ(drawing_file_format(FSRef{path("pc.drw")}), format_native);
    // Garbage in a .2d file stays PC, to be refused there.
    std::ofstream(path("junk.2d")) << "junk";
    EXPECT_EQ(drawing_file_format(FSRef{path("junk.2d")}), format_pc);
}

}  // namespace
}  // namespace drav::test
