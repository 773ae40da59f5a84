#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "store/records.h"

using namespace drav;

TEST(Records, RealsAtUnalignedOffsetsAreBigEndianAndSurviveByteCopies) {
    struct Case {
        int off;
        double v;
    };
    const Case cases[] = {{2, 1.0}, {28, -12345.678}, {38, 1e-300}, {60, 3.141592653589793},
                          {80, std::numeric_limits<double>::max()}, {120, -0.0}};
    for (const Case& c : cases) {
        ObjectRec r{};
        set_rec_f64(r, c.off, c.v);
        // 1.0 is 3F F0 00.. in big-endian IEEE form.
        if (c.v == 1.0) {
            EXPECT_EQ(r.b[c.off], 0x3F);
            EXPECT_EQ(r.b[c.off + 1], 0xF0);
        }
        ObjectRec copy;
        for (int i = 0; i < 128; ++i) copy.b[i] = r.b[i];
        EXPECT_EQ(std::memcmp(&r, &copy, 128), 0);
        double back = rec_f64(copy, c.off);
        EXPECT_EQ(std::signbit(back), std::signbit(c.v)) << c.off;
        EXPECT_EQ(back, c.v) << c.off;
    }
    ObjectRec r{};
    set_rec_f32(r, obj::ztop, 2.5f);
    EXPECT_EQ(r.b[20], 0x40);
    EXPECT_EQ(r.b[21], 0x20);
    EXPECT_EQ(rec_f32(r, obj::ztop), 2.5f);
    set_rec_i16(r, hdr::object_count, -2);
    EXPECT_EQ(r.b[6], 0xFF);
    EXPECT_EQ(r.b[7], 0xFE);
    EXPECT_EQ(rec_i16(r, hdr::object_count), -2);
    set_rec_u32(r, obj::relateptr, 0x01020304u);
    EXPECT_EQ(r.b[8], 1);
    EXPECT_EQ(r.b[11], 4);
    // Every byte in place, at odd offsets too, and nothing beside them touched.
    ObjectRec w;
    std::memset(w.b, 0xEE, sizeof w.b);
    set_rec_f64(w, 3, std::bit_cast<double>(std::uint64_t{0x0102030405060708}));
    set_rec_u32(w, 13, 0xA1B2C3D4u);
    set_rec_u16(w, 19, 0x5A6Bu);
    const std::uint8_t want[] = {0xEE, 0xEE, 0xEE, 1,    2,    3,    4,    5,    6,    7,    8,   0xEE,
                                 0xEE, 0xA1, 0xB2, 0xC3, 0xD4, 0xEE, 0xEE, 0x5A, 0x6B, 0xEE, 0xEE};
    for (std::size_t i = 0; i < sizeof want; ++i) EXPECT_EQ(w.b[i], want[i]) << i;
    EXPECT_EQ(be_u64(w.b + 3), 0x0102030405060708u);
    EXPECT_EQ(be_u32(w.b + 13), 0xA1B2C3D4u);
    EXPECT_EQ(be_u16(w.b + 19), 0x5A6Bu);
}

TEST(Records, LiveEntityTest) {
    struct Case {
        std::uint16_t word0;
        bool live;
    };
    const Case cases[] = {
        {44, true},                      // kind 12 + live
        {44 | 0x80 | 0xC000, true},      // template flag and begin marker do not matter
        {12, false},                     // deleted object
        {rk_text_tail, false},           // continuation record
        {rk_text_tail | w0_live, false}, // kind 8 with the live bit is still no object
        {0, false},
        {45, false},                     // kind 13
        {w0_live | 1, false},
    };
    for (const Case& c : cases) {
        ObjectRec r{};
        set_rec_u16(r, o_word0, c.word0);
        EXPECT_EQ(is_live_object(r), c.live) << c.word0;
    }
    ObjectRec r{};
    set_rec_u16(r, o_word0, 13);
    EXPECT_FALSE(rec_kind_valid(r));
    for (int kind : {0, 10, 15}) {
        set_obj_kind_colour(r, kind, 255);
        EXPECT_FALSE(obj_kind_valid(r)) << kind;
    }
    set_obj_kind_colour(r, ok_angdim, 255);
    EXPECT_TRUE(obj_kind_valid(r));
    EXPECT_EQ(rec_u16(r, obj::kind_colour), 36864 + 255);
}

TEST(Records, BitFieldsOfWordZeroAndKindParts) {
    ObjectRec r{};
    set_rec_u16(r, o_word0, static_cast<std::uint16_t>(live_object_word | (2 << w0_begmark_shift)));
    set_rec_handle_location(r, 31);
    EXPECT_EQ(rec_handle_location(r), 31);
    EXPECT_EQ(rec_begmark(r), 2);
    EXPECT_TRUE(is_live_object(r));
    set_rec_handle_location(r, 0);
    EXPECT_EQ(rec_word0(r), live_object_word | 0x8000);

    set_obj_density_marks(r, 9, 3, 1);
    EXPECT_EQ(r.b[obj::density_marks], 0x9D);
    EXPECT_EQ(obj_density(r), 9);
    EXPECT_EQ(obj_endmark(r), 3);
    EXPECT_EQ(obj_midmark(r), 1);

    r.b[sym::number_hi] = 0x80;
    set_sym_number(r, 0x1234);
    EXPECT_EQ(sym_number(r), 0x1234);
    EXPECT_TRUE(sym_flag(r));

    set_rec_str(r, obj::name, obj::name_size, "TOOLONGNAME");
    EXPECT_STREQ(rec_str(r, obj::name), "TOOLONG");
}

TEST(Records, TextsOf29BytesStayInTheObjectAndLongerOnesMoveToTheTail) {
    struct Case {
        int length;
        bool tail;
    };
    const Case cases[] = {{0, false}, {1, false}, {29, false}, {30, true}, {125, true}, {200, true}};
    for (const Case& c : cases) {
        ObjectRec o{}, t{};
        set_obj_kind_colour(o, ok_text, 255);
        set_text_info(o, 6, 0, false);
        std::string s(static_cast<std::size_t>(c.length), 'x');
        for (int i = 0; i < c.length; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>('a' + i % 26);
        EXPECT_EQ(set_text_chars(o, t, s.c_str()), c.tail ? 1 : 0) << c.length;
        EXPECT_EQ(text_continued(o), c.tail);
        EXPECT_EQ(text_font(o), 6);
        const std::string expect = s.substr(0, 125);
        EXPECT_EQ(text_count(o), static_cast<int>(expect.size()));
        char out[tail::text_size];
        EXPECT_EQ(std::string(text_chars(o, t, out)), expect) << c.length;
        if (c.tail) {
            EXPECT_EQ(rec_kind(t), rk_text_tail);
            EXPECT_EQ(o.b[text::chars], 0);  // the whole text moves, none stays behind
        } else {
            EXPECT_EQ(o.b[text::chars + c.length], 0);
        }
    }
}
