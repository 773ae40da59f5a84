// Picture import: hand-built pictures give the objects worked out by hand,
// in the drawing's units (1/72 inch a point, y upward from the window's
// bottom, 100 pixels below the top).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "files/picture_import.h"
#include "platform/core/forks.h"
#include "store/record_ops.h"
#include "store/selection_state.h"
#include "store/units.h"
#include "tests/files/picture_fixture.h"

namespace drav::test {
namespace {

constexpr double pt = 1.0 / 72;
namespace pict = plat::pict;

class PictureImport : public PictureFiles {
protected:
    std::vector<ObjectRec> import(const PictBuilder& b, int merge = 1) {
        b.write(path("in.pict"));
        first_ = number_of_objects;
        EXPECT_EQ(open_pict(FSRef{path("in.pict")}, 0, 0, "in.pict", merge), 1);
        return live_from(merge == 0 ? first_object_slot : first_);
    }
    std::int16_t first_ = 0;
};

void expect_near(double a, double b, const char* what) { EXPECT_NEAR(a, b, 1e-9) << what; }

TEST_F(PictureImport, AFramedRectangleOf100By50PointsIsOneRectangleInInches) {
    ASSERT_NEAR(file_conv_factor(0, 1, pt), pt, 1e-12);
    const auto objs = import(PictBuilder().op(pict::op_rect + pict::frame, words({10, 20, 60, 120})));
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_EQ(obj_kind(objs[0]), ok_rect);
    expect_near(rec_f64(objs[0], rect::width), 100 * pt, "width");
    expect_near(rec_f64(objs[0], rect::height), -50 * pt, "height");
    expect_near(rec_f64(objs[0], obj::ref_x), 20 * pt, "x");
    expect_near(rec_f64(objs[0], obj::ref_y), (100 - 10) * pt, "y");
    EXPECT_EQ(objs[0].b[obj::level], 1);
    EXPECT_EQ(objs[0].b[obj::width], 1);
    EXPECT_EQ(objs[0].b[obj::style], 1);
}

TEST_F(PictureImport, ARoundedRectangle20By100IsTwoLinesAndTwoHalfCircles) {
    const auto objs = import(PictBuilder()
                                 .op(pict::op_oval_size, words({8, 8}))
                                 .op(pict::op_rrect + pict::frame, words({0, 50, 100, 70})));
    ASSERT_EQ(objs.size(), 4u);
    // The sides: from 10 above the bottom, 80 long.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(obj_kind(objs[i]), ok_line);
        expect_near(rec_f64(objs[i], obj::ref_x), (i ? 70 : 50) * pt, "side x");
        expect_near(rec_f64(objs[i], obj::ref_y), 10 * pt, "side y");
        expect_near(rec_f64(objs[i], line::dx), 0, "side dx");
        expect_near(rec_f64(objs[i], line::dy), 80 * pt, "side dy");
    }
    // The ends: radius 10 about the middle line, 10 inside the top and the bottom, clockwise.
    const struct {
        double y, begin, end;
    } ends[] = {{90, pie, 0}, {10, 0, pie}};
    for (int i = 0; i < 2; ++i) {
        const ObjectRec& e = objs[2 + i];
        EXPECT_EQ(obj_kind(e), ok_ellipse);
        expect_near(rec_f64(e, obj::ref_x), 60 * pt, "end x");
        expect_near(rec_f64(e, obj::ref_y), ends[i].y * pt, "end y");
        expect_near(rec_f64(e, ell::radius1), 10 * pt, "r1");
        expect_near(rec_f64(e, ell::radius2), 10 * pt, "r2");
        expect_near(rec_f64(e, ell::begin), ends[i].begin, "begin");
        expect_near(rec_f64(e, ell::end), ends[i].end, "end");
        EXPECT_EQ(rec_u16(e, ell::flags), ell::clockwise);
    }
}

TEST_F(PictureImport, ASmallRoundedRectangleIsOneEllipse) {
    const auto objs = import(PictBuilder()
                                 .op(pict::op_oval_size, words({6, 6}))
                                 .op(pict::op_rrect + pict::frame, words({0, 0, 20, 20})));
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_EQ(obj_kind(objs[0]), ok_ellipse);
    expect_near(rec_f64(objs[0], ell::radius1), 10 * pt, "r1");
    expect_near(rec_f64(objs[0], obj::ref_y), 90 * pt, "y");
}

TEST_F(PictureImport, ALargeRoundedRectangleIsFourLinesAndFourQuarters) {
    const auto objs = import(PictBuilder()
                                 .op(pict::op_oval_size, words({10, 20}))
                                 .op(pict::op_rrect + pict::frame, words({0, 0, 40, 100})));
    ASSERT_EQ(objs.size(), 8u);
    expect_near(rec_f64(objs[0], obj::ref_x), 10 * pt, "top starts rx in");
    expect_near(rec_f64(objs[0], line::dx), 80 * pt, "top");
    expect_near(rec_f64(objs[2], line::dy), 30 * pt, "left");
    expect_near(rec_f64(objs[4], ell::radius1), 10 * pt, "rx");
    expect_near(rec_f64(objs[4], ell::radius2), 5 * pt, "ry");
    expect_near(rec_f64(objs[4], ell::begin), half_pie, "top-left begins at 90");
    expect_near(rec_f64(objs[4], ell::end), pie, "and ends at 180");
}

TEST_F(PictureImport, PolygonsLinesArcsAndOvals) {
    const auto objs = import(PictBuilder()
                                 // A closed square: one rectangle.
                                 .op(pict::op_poly + pict::frame,
                                     words({30, 10, 10, 20, 20, 10, 10, 10, 20, 20, 20, 20, 10, 10, 10}))
                                 // A closed triangle: three lines.
                                 .op(pict::op_poly + pict::frame, words({26, 0, 0, 9, 9, 0, 0, 0, 9, 9, 9, 0, 0}))
                                 .op(pict::op_line, words({50, 10, 40, 30}))
                                 .op(pict::op_short_line_from, PictBytes{5, 0xFE})
                                 .op(pict::op_arc + pict::frame, words({0, 100, 20, 140, 0, 90}))
                                 .op(pict::op_oval + pict::frame, words({0, 150, 30, 170})));
    ASSERT_EQ(objs.size(), 8u);
    EXPECT_EQ(obj_kind(objs[0]), ok_rect);
    expect_near(rec_f64(objs[0], rect::width), 10 * pt, "square");
    expect_near(rec_f64(objs[0], rect::height), -10 * pt, "square");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(obj_kind(objs[i]), ok_line);
    // The line from (h 10, v 50) to (30, 40); then 5 right and 2 up from its end.
    expect_near(rec_f64(objs[4], obj::ref_y), 50 * pt, "line y");
    expect_near(rec_f64(objs[4], line::dx), 20 * pt, "line dx");
    expect_near(rec_f64(objs[4], line::dy), 10 * pt, "line dy");
    expect_near(rec_f64(objs[5], obj::ref_x), 30 * pt, "short line");
    expect_near(rec_f64(objs[5], line::dx), 5 * pt, "short dx");
    expect_near(rec_f64(objs[5], line::dy), 2 * pt, "short dy");
    // A quarter from 12 o'clock clockwise to 3 o'clock.
    EXPECT_EQ(obj_kind(objs[6]), ok_ellipse);
    expect_near(rec_f64(objs[6], ell::begin), half_pie, "arc begin");
    expect_near(rec_f64(objs[6], ell::end), 0, "arc end");
    EXPECT_EQ(rec_u16(objs[6], ell::flags), ell::clockwise);
    expect_near(rec_f64(objs[7], ell::radius1), 10 * pt, "oval");
    expect_near(rec_f64(objs[7], ell::radius2), 15 * pt, "oval");
}

TEST_F(PictureImport, FilledShapesRegionsAndEmptyOnesMakeNothing) {
    const auto objs = import(PictBuilder()
                                 .op(pict::op_rect + pict::paint, words({0, 0, 10, 10}))
                                 .op(pict::op_oval + pict::invert, words({0, 0, 10, 10}))
                                 .op(pict::op_rect + pict::frame, words({5, 5, 5, 9}))
                                 .op(pict::op_oval + pict::frame, words({10, 10, 0, 0}))
                                 .op(pict::op_rrect + pict::frame, words({10, 30, 0, 0}))
                                 .op(pict::op_line, words({5, 5, 5, 5}))
                                 .op(pict::op_region + pict::frame, words({10, 0, 0, 5, 5})));
    EXPECT_TRUE(objs.empty());
}

TEST_F(PictureImport, TheFontMapAndTheFaces) {
    const struct {
        int font, face, number;
    } cases[] = {{20, 0, 132}, {20, 2, 131}, {20, 1, 129}, {20, 3, 130}, {21, 0, 112}, {21, 1, 113},
                 {21, 2, 112}, {22, 0, 108}, {22, 3, 109}, {23, 1, 128}, {3, 0, 1},    {0, 1, 1}};
    for (const auto& c : cases) EXPECT_EQ(pict_text_font(c.font, c.face), c.number) << c.font << " " << c.face;
    const auto objs = import(PictBuilder()
                                 .op(pict::op_text_font, words({20}))
                                 .op(pict::op_text_face, PictBytes{3})
                                 .text(50, 10, "Plan\r"));
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_EQ(obj_kind(objs[0]), ok_text);
    EXPECT_EQ(text_font(objs[0]), 130);
    EXPECT_STREQ(textline, "Plan");
}

TEST_F(PictureImport, ALongRunIsCutInto72AndTheRestHalfACharacterApart) {
    const std::string run(100, 'x');
    const auto objs = import(PictBuilder().op(pict::op_text_size, words({10})).text(50, 10, run));
    ASSERT_EQ(objs.size(), 2u);
    // Width 60 for 100 characters of size 10; the spacing counts half a character.
    const double cw = 600.0 / (100 + 49.5);
    EXPECT_NEAR(rec_f32(objs[0], text::char_width), cw * pt, 1e-6);
    EXPECT_NEAR(rec_f32(objs[0], text::char_height), 8 * pt, 1e-6);  // the ascent
    const double second = 10 + std::trunc(432 + cw / 2);
    expect_near(rec_f64(objs[1], obj::ref_x), second * pt, "second piece");
    expect_near(rec_f64(objs[1], obj::ref_y), 50 * pt, "same line");
    get_info(static_cast<std::int16_t>(first_));
    cumstgs(first_);
    EXPECT_EQ(std::string(textline), std::string(72, 'x'));
}

TEST_F(PictureImport, TheTextCommentsTurnAboutTheirCentreAndFlip) {
    // Turned 90 degrees clockwise about a centre 10 points right of the pen.
    const auto objs = import(PictBuilder()
                                 .op(pict::op_long_comment, words({150, 6, 0x0000, 90, 0x0100}))
                                 .op(pict::op_long_comment, words({154, 8, 0, 0, 10, 0}))
                                 .text(50, 10, "A")
                                 .op(pict::op_short_comment, words({153}))
                                 .text(50, 10, "B")
                                 .op(pict::op_short_comment, words({151}))
                                 .op(pict::op_long_comment, words({150, 6, 0x0001, 0, 0x0100}))
                                 .text(50, 10, "C"));
    ASSERT_EQ(objs.size(), 3u);
    // (10, 50) turned by 270 degrees about (20, 50).
    expect_near(rec_f64(objs[0], obj::rotation), three_half_pie, "turned");
    expect_near(rec_f64(objs[0], obj::ref_x), 20 * pt, "turned x");
    expect_near(rec_f64(objs[0], obj::ref_y), 60 * pt, "turned y");
    // Without a centre the turn is not stored.
    expect_near(rec_f64(objs[1], obj::rotation), 0, "no centre");
    expect_near(rec_f64(objs[1], obj::ref_x), 10 * pt, "no centre x");
    // Flipped horizontally: moved by its width and 1.5 characters, the width negative.
    const double cw = pict_text_width(1, 0);
    EXPECT_NEAR(rec_f32(objs[2], text::char_width), -cw * pt, 1e-6);
    expect_near(rec_f64(objs[2], obj::ref_x), (10 + cw + 1.5 * cw) * pt, "flipped x");
}

TEST_F(PictureImport, MergeAsAGroupLeavesExactlyTheImportedObjectsInTheGroup) {
    const int old = store(line(1, 1, 1, 1));
    put_in_group(old, 1);
    const auto objs = import(PictBuilder()
                                 .op(pict::op_line, words({5, 5, 20, 20}))
                                 .op(pict::op_rect + pict::frame, words({0, 0, 10, 10})),
                             2);
    ASSERT_EQ(objs.size(), 2u);
    EXPECT_EQ(get_in_group(old), 0);
    EXPECT_NE(get_in_group(first_), 0);
    EXPECT_NE(get_in_group(first_ + 1), 0);
    EXPECT_EQ(didsomething, 1);
}

TEST_F(PictureImport, PastingAddsWithoutTouchingTheGroup) {
    const int old = store(line(1, 1, 1, 1));
    put_in_group(old, 1);
    PictBuilder b;
    b.op(pict::op_line, words({0, 0, 10, 20}));
    const std::int16_t first = number_of_objects;
    // Played into a frame twice the size: everything doubles.
    paste_pict(b.p, {0, 0, 200, 400});
    const auto objs = live_from(first);
    ASSERT_EQ(objs.size(), 1u);
    expect_near(rec_f64(objs[0], line::dx), 40 * pt, "dx doubled");
    expect_near(rec_f64(objs[0], line::dy), -20 * pt, "dy doubled");
    EXPECT_NE(get_in_group(old), 0);
    EXPECT_EQ(get_in_group(first), 0);
}

TEST_F(PictureImport, ADamagedPictureIsRefusedAndTheDrawingIsUnchanged) {
    store(line(1, 1, 1, 1));
    PictBytes b(plat::pict_file_header_bytes, 0);
    const PictBytes good = plat::picture_bytes(PictBuilder().op(pict::op_line, words({0, 0, 9, 9})).p);
    b.insert(b.end(), good.begin(), good.end() - 3);  // cut inside the end
    std::ofstream(path("bad.pict"), std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                                            static_cast<std::streamsize>(b.size()));
    const Snapshot before = snapshot();
    for (int merge : {0, 1, 2}) {
        answers().expect("could not be read");
        EXPECT_EQ(open_pict(FSRef{path("bad.pict")}, 0, 0, "bad.pict", merge), 0);
        EXPECT_TRUE(snapshot() == before);
    }
    answers().expect("could not be read");
    EXPECT_EQ(open_pict(FSRef{path("none.pict")}, 0, 0, "none.pict", 1), 0);
}

TEST_F(PictureImport, OpeningAPictureReplacesTheDrawingAndTheFormatIsKnownByTypeOrName) {
    store(line(1, 1, 1, 1));
    const auto objs = import(PictBuilder().op(pict::op_line, words({0, 0, 9, 9})), 0);
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_EQ(obj_kind(objs[0]), ok_line);
    EXPECT_EQ(drawing_file_format(FSRef{path("in.pict")}), format_picture);
    std::ofstream(path("typed")).put('x');
    plat::set_type_creator(FSRef{path("typed")}, four_cc("PICT"), four_cc("MDRW"));
    EXPECT_EQ(drawing_file_format(FSRef{path("typed")}), format_picture);
}

}  // namespace
}  // namespace drav::test
