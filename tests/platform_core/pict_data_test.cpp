// PICT data: the bytes of a picture worked out by hand, what the reader
// takes from untrusted bytes, and the one-bit bitmaps of previews.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/picture.h"
#include "platform/core/raster.h"
#include "platform/core/region.h"
#include "tests/support/pixels.h"

using drav::test::rect;
using plat::PictOp;
using plat::Picture;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes w(std::initializer_list<int> words) {
    Bytes b;
    for (int v : words) {
        b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    }
    return b;
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

plat::Rect box(int top, int left, int bottom, int right) {
    return {static_cast<std::int16_t>(top), static_cast<std::int16_t>(left), static_cast<std::int16_t>(bottom),
            static_cast<std::int16_t>(right)};
}

// A version 2 picture: frame (0, 0, 50, 100), the given operations, the end.
Bytes v2(const Bytes& ops) {
    return cat({w({0, 0, 0, 50, 100, 0x0011, 0x02FF, 0x0C00, 0xFFFE, 0, 0x48, 0, 0x48, 0, 0, 0, 50, 100, 0, 0}),
                ops, w({0x00FF})});
}

}  // namespace

TEST(PictData, APictureIsWrittenAsWorkedOutByHand) {
    Picture p;
    p.frame = box(0, 0, 50, 100);
    p.ops.push_back({plat::pict::op_line, w({10, 20, 30, 40})});
    p.ops.push_back({plat::pict::op_long_comment, {0, 150, 0, 1, 7}});  // odd: padded
    Bytes expected = v2(cat({w({0x0020, 10, 20, 30, 40, 0x00A1, 150, 1}), Bytes{7, 0}}));
    expected[0] = 0;
    expected[1] = static_cast<std::uint8_t>(expected.size());
    EXPECT_EQ(plat::picture_bytes(p), expected);
}

TEST(PictData, WhatARecorderMadeReadsBackOpForOp) {
    plat::Port port(40, 30);
    ASSERT_EQ(port.open_picture(rect(0, 0, 30, 40)), 1);
    port.set_fore_color({0xFFFF, 0, 0});
    port.move_to(1, 1);
    port.line_to(38, 7);
    port.set_pen_size(3, 2);
    port.frame_rect(rect(2, 10, 14, 20));
    port.paint_oval(rect(20, 12, 33, 27));
    const plat::Point star[] = {{2, 20}, {28, 36}, {10, 4}, {2, 20}};
    port.frame_poly(star);
    plat::Region r;
    r.add_oval(rect(24, 0, 40, 12));
    port.paint_region(r);
    port.set_clip(rect(0, 0, 20, 30));
    port.invert_rect(rect(10, 20, 30, 30));
    const std::uint8_t odd[] = {1, 2, 3};
    port.comment(154, odd);
    port.comment(130);
    const Picture made = port.close_picture();
    Picture read;
    ASSERT_EQ(plat::read_picture(plat::picture_bytes(made), &read), 1);
    EXPECT_EQ(read.frame, made.frame);
    EXPECT_EQ(read.ops, made.ops);
}

TEST(PictData, AVersionOnePictureReads) {
    const Bytes b = {0, 0, 0, 0, 0, 0, 0, 50, 0, 100, 0x11, 0x01, 0x20, 0, 1, 0, 2, 0, 3, 0, 4, 0xA0, 0, 130, 0xFF};
    Picture p;
    ASSERT_EQ(plat::read_picture(b, &p), 1);
    ASSERT_EQ(p.ops.size(), 2u);
    EXPECT_EQ(p.ops[0], (PictOp{0x20, w({1, 2, 3, 4})}));
    EXPECT_EQ(p.ops[1], (PictOp{0xA0, w({130})}));
}

TEST(PictData, LengthsThatDoNotFitTheDataAreRefused) {
    const struct {
        const char* what;
        Bytes ops;
    } cases[] = {
        {"comment longer than the data", w({0x00A1, 150, 0x7000, 1})},
        {"polygon size past the end", w({0x0070, 0x4000, 0, 0, 1, 1})},
        {"polygon size below its header", w({0x0070, 1})},
        {"text count past the end", cat({w({0x0028, 10, 10}), Bytes{200, 'a', 'b'}})},
        {"reserved length past the end", w({0x0024, 0x1000})},
        {"long reserved length past the end", w({0x00D0, 0x7FFF, 0xFFFF})},
        {"pixel pattern", w({0x0012, 1, 2, 3})},
        {"bitmap rows past the end", w({0x0098, 8, 0, 0, 10, 64, 0, 0, 10, 64, 0, 0, 10, 64, 0, 5, 1})},
        {"no end", w({0x0020, 1, 2, 3, 4})},
    };
    for (const auto& c : cases) {
        Bytes b = v2(c.ops);
        if (std::string(c.what) == "no end") b.resize(b.size() - 2);
        Picture p;
        p.ops.push_back({1, {}});
        EXPECT_EQ(plat::read_picture(b, &p), 0) << c.what;
        EXPECT_TRUE(p.ops.empty()) << c.what;
    }
}

TEST(PictData, EveryTruncationOfAPictureIsRefused) {
    plat::Port port(40, 30);
    port.open_picture(rect(0, 0, 30, 40));
    port.move_to(1, 1);
    port.line_to(38, 7);
    port.frame_oval(rect(2, 10, 14, 20));
    const std::uint8_t data[] = {1, 2, 3, 4, 5, 6};
    port.comment(150, data);
    const Bytes full = plat::picture_bytes(port.close_picture());
    Picture p;
    ASSERT_EQ(plat::read_picture(full, &p), 1);
    for (std::size_t n = 0; n < full.size(); ++n)
        EXPECT_EQ(plat::read_picture(std::span(full.data(), n), &p), 0) << n;
}

TEST(PictData, ABitmapKeepsThinLinesWhenReducedAndReadsBack) {
    plat::Port port(32, 4);
    port.erase_rect(box(0, 0, 4, 32));
    port.move_to(0, 1);
    port.line_to(31, 1);  // one row across
    port.move_to(5, 0);
    port.line_to(5, 3);   // one column down
    Picture p;
    p.frame = box(0, 0, 2, 16);
    plat::add_bitmap(p, port, box(0, 0, 4, 32), box(0, 0, 2, 16));
    ASSERT_EQ(p.ops.size(), 1u);
    const Bytes& d = p.ops[0].data;
    // Row bytes 2, bounds and source 2 x 16, destination, srcCopy, then 2 rows of 2 bytes.
    EXPECT_EQ(Bytes(d.begin(), d.begin() + 28), w({2, 0, 0, 2, 16, 0, 0, 2, 16, 0, 0, 2, 16, 0}));
    EXPECT_EQ(Bytes(d.begin() + 28, d.end()), (Bytes{0xFF, 0xFF, 0x20, 0x00}));
    Picture read;
    ASSERT_EQ(plat::read_picture(plat::picture_bytes(p), &read), 1);
    EXPECT_EQ(read.ops, p.ops);
}

TEST(PictData, WideBitmapRowsArePackedAndReadBack) {
    plat::Port port(200, 3);
    port.erase_rect(box(0, 0, 3, 200));
    port.move_to(0, 0);
    port.line_to(199, 0);
    port.move_to(100, 2);
    port.line_to(100, 2);
    Picture p;
    p.frame = box(0, 0, 3, 200);
    plat::add_bitmap(p, port, box(0, 0, 3, 200), p.frame);
    const Bytes& d = p.ops[0].data;
    // 26 row bytes, so each row is packed behind a one-byte count.
    const std::size_t rows = 28;
    std::vector<Bytes> unpacked;
    std::size_t at = rows;
    for (int r = 0; r < 3; ++r) {
        const std::size_t n = d.at(at++);
        Bytes row;
        for (std::size_t end = at + n; at < end;) {
            const int c = static_cast<std::int8_t>(d.at(at++));
            if (c >= 0) {
                for (int i = 0; i <= c; ++i) row.push_back(d.at(at++));
            } else {
                const std::uint8_t b = d.at(at++);
                for (int i = 0; i < 1 - c; ++i) row.push_back(b);
            }
        }
        unpacked.push_back(row);
    }
    EXPECT_EQ(at, d.size());
    Bytes top(26, 0xFF);
    top[25] = 0;
    EXPECT_EQ(unpacked[0], top);
    EXPECT_EQ(unpacked[1], Bytes(26, 0));
    Bytes dot(26, 0);
    dot[12] = 0x08;
    EXPECT_EQ(unpacked[2], dot);
    Picture read;
    ASSERT_EQ(plat::read_picture(plat::picture_bytes(p), &read), 1);
    EXPECT_EQ(read.ops, p.ops);
}
