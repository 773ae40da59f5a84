#include "platform/core/picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/raster.h"
#include "platform/core/region.h"
#include "tests/support/pixels.h"

using drav::test::pixel_rows;
using plat::PictOp;
using plat::Picture;
using plat::Point;
using plat::Port;
using drav::test::rect;
using drav::test::draw_line;
using plat::Rect;

namespace {

// Something of every kind, in every state a picture carries.
void scene(Port& p) {
    p.set_fore_color({0xFFFF, 0, 0});
    draw_line(p, 1, 1, 38, 7);
    p.set_pen_size(3, 2);
    p.line(-20, 15);
    p.dot(39, 0);
    p.set_pen_pattern(plat::gray_pattern);
    p.paint_rect(rect(2, 10, 14, 20));
    p.set_back_color({0, 0, 0xFFFF});
    p.set_pen_mode(plat::notPatCopy);
    p.paint_oval(rect(20, 12, 33, 27));
    p.erase_rect(rect(0, 26, 6, 30));
    p.pen_normal();
    p.set_fore_color({0, 0, 0});
    p.frame_oval(rect(4, 3, 16, 9));
    const Point star[] = {{2, 20}, {28, 36}, {10, 4}, {10, 36}, {28, 4}, {2, 20}};
    p.set_pen_mode(plat::patXor);
    p.paint_poly(star);
    p.frame_poly(star);
    plat::Region r;
    r.add_oval(rect(24, 0, 40, 12));
    p.set_pen_size(2, 1);
    p.frame_region(r);
    p.invert_region(r);
    p.set_clip(rect(0, 0, 20, 30));
    p.invert_rect(rect(10, 20, 30, 30));
    p.comment(130);
}

}  // namespace

TEST(Pictures, PlaybackEqualsDirectDrawing) {
    Port direct(40, 30);
    scene(direct);

    Port recording(40, 30);
    ASSERT_EQ(recording.open_picture(rect(0, 0, 40, 30)), 1);
    EXPECT_EQ(recording.open_picture(rect(0, 0, 1, 1)), 0);
    scene(recording);
    const Picture pic = recording.close_picture();
    EXPECT_FALSE(recording.recording_picture());
    EXPECT_EQ(pixel_rows(recording), pixel_rows(Port(40, 30)));  // the pen was hidden

    Port played(40, 30);
    played.set_pen_size(4, 4);
    played.set_fore_color({0, 0xFFFF, 0});
    played.set_clip(rect(0, 0, 40, 30));
    const plat::PenState pen = played.pen_state();
    EXPECT_EQ(plat::draw_picture(played, pic, rect(0, 0, 40, 30)), 1);
    // Playback starts from the default pen and colours, and leaves the port's own.
    EXPECT_EQ(pixel_rows(played), pixel_rows(direct));
    EXPECT_EQ(played.pen_state(), pen);
    EXPECT_EQ(played.fore_color(), (plat::RGBColor{0, 0xFFFF, 0}));
    EXPECT_EQ(played.clip(), rect(0, 0, 40, 30));
}

TEST(Pictures, PlaybackMapsTheFrameOntoTheDestination) {
    Port rec(10, 10);
    rec.open_picture(rect(0, 0, 10, 10));
    rec.set_pen_size(2, 1);
    rec.frame_rect(rect(2, 2, 6, 6));
    draw_line(rec, 0, 9, 9, 9);
    const Picture pic = rec.close_picture();

    struct Case {
        Rect dst;
        Rect box;
        std::int16_t pw, ph;
        int y, x1;
    };
    const Case cases[] = {
        {rect(5, 5, 15, 15), rect(7, 7, 11, 11), 2, 1, 14, 14},
        {rect(0, 0, 20, 20), rect(4, 4, 12, 12), 4, 2, 18, 18},
    };
    for (const Case& c : cases) {
        Port played(24, 24), direct(24, 24);
        EXPECT_EQ(plat::draw_picture(played, pic, c.dst), 1);
        direct.set_pen_size(c.pw, c.ph);
        direct.frame_rect(c.box);
        draw_line(direct, c.dst.left, c.y, c.x1, c.y);
        EXPECT_EQ(pixel_rows(played), pixel_rows(direct)) << c.dst.right;
    }
}

TEST(Pictures, OperationsKeepThePictureLayout) {
    Port p(10, 10);
    p.open_picture(rect(0, 0, 10, 10));
    p.comment(130);
    draw_line(p, 1, 2, 3, 4);
    p.set_pen_size(2, 2);
    draw_line(p, 3, 4, 5, 4);
    const std::uint8_t text[] = {'a', 'b'};
    EXPECT_EQ(p.comment(150, text), 1);
    const Picture pic = p.close_picture();
    const std::vector<PictOp> expected = {
        {plat::pict::op_short_comment, {0, 130}},
        {plat::pict::op_line, {0, 2, 0, 1, 0, 4, 0, 3}},
        {plat::pict::op_pen_size, {0, 2, 0, 2}},
        {plat::pict::op_line, {0, 4, 0, 3, 0, 4, 0, 5}},
        {plat::pict::op_long_comment, {0, 150, 0, 2, 'a', 'b'}},
    };
    EXPECT_EQ(pic.ops, expected);
    EXPECT_EQ(pic.frame, rect(0, 0, 10, 10));
}

TEST(Pictures, MalformedOperationsAreSkipped) {
    Picture pic;
    pic.frame = rect(0, 0, 4, 3);
    pic.ops = {
        {plat::pict::op_rect + plat::pict::paint, {0, 0, 0, 0, 0, 1, 0, 4}},
        {plat::pict::op_line, {0, 2, 0, 1, 0, 4, 0}},
        {plat::pict::op_poly + plat::pict::paint, {0, 30, 0, 0, 0, 0, 0, 3, 0, 3, 0, 0, 0, 0}},
        {plat::pict::op_region + plat::pict::paint, {0, 12, 0, 0, 0, 0, 0, 3, 0, 3, 1, 2}},
        {plat::pict::op_pen_mode, {0, 99}},
        {plat::pict::op_long_comment, {0, 150, 0, 9, 'a'}},
        {0x0090, {1, 2, 3}},
        {plat::pict::op_oval + 8 + plat::pict::paint, {1}},
        {plat::pict::op_rect + 8 + plat::pict::invert, {}},
        {plat::pict::op_rect + plat::pict::paint, {0, 1, 0, 0, 0, 3, 0, 2}},
        {plat::pict::op_end, {}},
        {plat::pict::op_rect + plat::pict::paint, {0, 0, 0, 0, 0, 3, 0, 4}},
    };
    Port p(4, 3);
    EXPECT_EQ(plat::draw_picture(p, pic, pic.frame), 0);
    EXPECT_EQ(pixel_rows(p), drav::test::rows({"....", "##..", "##.."}));

    Port q(4, 3);
    EXPECT_EQ(plat::draw_picture(q, pic, rect(0, 0, 0, 3)), 0);
    pic.frame = rect(0, 0, 0, 3);
    EXPECT_EQ(plat::draw_picture(q, pic, rect(0, 0, 4, 3)), 0);
    EXPECT_EQ(pixel_rows(q), drav::test::rows({"....", "....", "...."}));
}
