// The PC layout of every record kind, checked against field lists written
// out here from the format, and against bytes worked out by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "store/pc_convert.h"
#include "store/records.h"

namespace drav {
namespace {

// A field: w i16, b u16 flag, l u32, f f32, d f64, c a byte, s a string of
// /size bytes, u a bit-field unit whose carried native bits are :mask
// (16 bits, or 8 for a byte unit written U); @n gives a PC offset of its own.
struct Field {
    char type;
    int off, pc_off, size;
    unsigned mask;
};

std::vector<Field> parse(const std::string& text) {
    std::vector<Field> out;
    std::istringstream in(text);
    std::string tok;
    while (in >> tok) {
        Field f{tok[0], 0, -1, 0, 0};
        std::size_t i = 1;
        f.off = std::stoi(tok.substr(i), &i);
        ++i;
        std::string rest = tok.substr(i);
        while (!rest.empty()) {
            const char sep = rest[0];
            std::size_t used = 0;
            if (sep == '@') f.pc_off = std::stoi(rest.substr(1), &used);
            else if (sep == '/') f.size = std::stoi(rest.substr(1), &used);
            else if (sep == ':') f.mask = static_cast<unsigned>(std::stoul(rest.substr(1), &used, 16));
            rest = rest.substr(1 + used);
        }
        if (f.pc_off < 0) f.pc_off = f.off;
        out.push_back(f);
    }
    return out;
}

int width(char t) { return t == 'w' || t == 'b' ? 2 : t == 'l' || t == 'f' ? 4 : t == 'd' ? 8 : 0; }

struct KindCase {
    int kind;
    int object_kind;  // -1 for record kinds 1-11
    const char* fields;
};

const char* const common = "u0:ffff c2 U3:ff c4 c5 c6 c7 l8 l12 l16 f20 f24 d28 d36 d44 d52 d60 s68/8 u78:ffff ";

const KindCase cases[] = {
    {1, -1, "u0:1f w2 w4 w6 w8 w10 w12 l14 s18/11 s29/11 s40/88"},
    {2, -1, "u0:1f d2 d10 d18 d26 d34 d42 d50 d58"},
    {3, -1, "u0:1f d2 d10 w18 d20 d28 w36 d38 d46 d54 d62 w70 w72 w74 w76 d78 s86/8 s94/4"},
    {4, -1, "u0:1f u2:ffff w4 w6 w8 w10 w12 w14 w16 w18 w20 w22 w24 w26 w28 w30 w32 w34 d36 w44 u46:1ff "
            "d48 d56 d64 d72 d80 d88 d96 d104 d112 d120"},
    {5, -1, "u0:1f w2 w4 w6 w8 w10 w12 w14 w16 f18 f22 d26 d34 d42 d50 s58/8 w66 w68 w70 w72 w74 w76 w78 "
            "w80 w82 w84 w86 w88 w90 w92 w94 w96"},
    {6, -1, "u0:1f d2 d10 d18 w26 w28 w30 d32 d40 d48 d56 d64 d72 d80 d88 d96 d104 w112 w114 u116:ffff "
            "u118:ffcf u120:ffff u122:7fff u124:1ff"},
    {7, -1, "u0:1f w2 w4 d6 d14 d22 d30 d38 d46 d54"},
    {8, -1, "u0:1f s2/126"},
    {9, -1, "u0:1f d2 d10 d18 d26 s34/94"},
    {10, -1, "u0:1f d2 d10 d18 d26 d34 d42 d50 d58 s66/8"},
    {11, -1, "u0:1f s2/9 s11/9 w20 w22 w24 d26 d34 d42 d50 w58 w60 b62 b64 w66 w68 d70"},
    {12, 0, ""},
    {12, 1, "d80 d88 w96 u98:1"},
    {12, 2, "d80 d88"},
    {12, 3, "d80 d88 d96 d104 w112 u114:3"},
    {12, 4, "f80 f84 f88 f92 u96:ffff s98/30"},
    {12, 5, "d80 d88 d96 d104 d112 u120:3ff"},
    {12, 6, "d80 d88 d96 d104 d112 d120"},
    {12, 7, ""},
    {12, 8, "s80/9 u89:ffff d92@91 d100@99 d108@107 d116@115 w124@123"},
    {12, 9, "d80 d88 d96 d104 f112 f116 f120 u124:ff"},
};

// A native record with a recognisable value in every listed field.
ObjectRec native_record(const KindCase& c, const std::vector<Field>& fields) {
    ObjectRec r{};
    for (const Field& f : fields) {
        switch (f.type) {
        case 's':
            for (int k = 0; k < f.size - 1 && k < 5; ++k) r.b[f.off + k] = static_cast<std::uint8_t>('A' + (f.off + k) % 26);
            break;
        case 'c': r.b[f.off] = static_cast<std::uint8_t>(0x50 + f.off); break;
        case 'u': set_rec_u16(r, f.off, static_cast<std::uint16_t>(0xB6D5u * (f.off + 3) & f.mask)); break;
        case 'U': r.b[f.off] = static_cast<std::uint8_t>(0x9Cu & f.mask); break;
        default:
            for (int k = 0; k < width(f.type); ++k) r.b[f.off + k] = static_cast<std::uint8_t>(f.off * 3 + k + 1);
        }
    }
    set_rec_kind(r, c.kind);
    if (c.object_kind >= 0) {
        set_rec_u16(r, obj::kind_colour, static_cast<std::uint16_t>((c.object_kind << 12) | 0x0ABC));
        r.b[obj::level] = 7;
    }
    return r;
}

class PcLayout : public testing::TestWithParam<KindCase> {};

TEST_P(PcLayout, EveryFieldTakesItsPcPlaceAndComesBack) {
    const KindCase& c = GetParam();
    const std::vector<Field> fields = parse(c.object_kind >= 0 ? std::string(common) + c.fields : c.fields);
    const ObjectRec native = native_record(c, fields);
    ObjectRec pc{};
    ASSERT_EQ(tweak(pc, native), 1);
    // The record kind sits in PC bits 15-11 of word 0, little-endian.
    EXPECT_EQ(pc.b[1] >> 3, c.kind);
    for (const Field& f : fields) {
        const int w = width(f.type);
        for (int k = 0; k < w; ++k)
            EXPECT_EQ(pc.b[f.pc_off + k], native.b[f.off + w - 1 - k]) << f.type << f.off << " byte " << k;
        if (f.type == 's') {
            EXPECT_STREQ(rec_str(pc, f.pc_off), rec_str(native, f.off)) << f.off;
        }
        if (f.type == 'c') {
            EXPECT_EQ(pc.b[f.pc_off], native.b[f.off]) << f.off;
        }
    }
    ObjectRec back{};
    ASSERT_EQ(xtweak(back, pc), 1);
    for (const Field& f : fields) {
        if (f.type == 'u') {
            EXPECT_EQ(rec_u16(back, f.off) & f.mask, rec_u16(native, f.off) & f.mask) << "unit " << f.off;
        } else if (f.type == 'U') {
            EXPECT_EQ(back.b[f.off] & f.mask, native.b[f.off] & f.mask) << "unit " << f.off;
        } else {
            const int n = f.type == 's' ? f.size : f.type == 'c' ? 1 : width(f.type);
            EXPECT_EQ(std::memcmp(back.b + f.off, native.b + f.off, static_cast<std::size_t>(n)), 0)
                << f.type << f.off;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, PcLayout, testing::ValuesIn(cases), [](const auto& info) {
    return info.param.object_kind < 0 ? "record" + std::to_string(info.param.kind)
                                      : "object" + std::to_string(info.param.object_kind);
});

TEST(PcConvert, HandWorkedBytes) {
    // A live text object, font 5, 12 characters, continued; colour 0xAB;
    // density 5, end marker 2, middle marker 1.
    ObjectRec t{};
    set_rec_u16(t, o_word0, live_object_word);
    set_obj_kind_colour(t, ok_text, 0xAB);
    set_obj_density_marks(t, 5, 2, 1);
    set_text_info(t, 5, 12, true);
    ObjectRec pc{};
    ASSERT_EQ(tweak(pc, t), 1);
    EXPECT_EQ(pc.b[0], 0x00);  // kind 12 in bits 15-11 (0x6000), the live bit in bit 10
    EXPECT_EQ(pc.b[1], 0x64);
    EXPECT_EQ(pc.b[3], 0x65);  // density in bits 3-0, end marker 5-4, middle marker 7-6
    EXPECT_EQ(pc.b[78], 0xB4);  // object kind in bits 3-0, colour 0xAB in bits 15-4
    EXPECT_EQ(pc.b[79], 0x0A);
    EXPECT_EQ(pc.b[96], 5);     // the font
    EXPECT_EQ(pc.b[97], 0x8C);  // continuation in bit 7, 12 characters in bits 6-0

    // A symbol reference: scales and control record one byte earlier.
    ObjectRec s{};
    set_rec_u16(s, o_word0, live_object_word);
    set_obj_kind_colour(s, ok_symbol, 0);
    set_rec_f64(s, sym::scale_x, 2.0);
    set_rec_f64(s, sym::scale_y, -0.5);
    set_rec_i16(s, sym::ctrl, 0x0102);
    s.b[sym::number_hi] = 0x80;  // the flag, symbol number 3
    s.b[sym::number_lo] = 3;
    ObjectRec spc{};
    ASSERT_EQ(tweak(spc, s), 1);
    const std::uint8_t two[8] = {0, 0, 0, 0, 0, 0, 0, 0x40}, minus_half[8] = {0, 0, 0, 0, 0, 0, 0xE0, 0xBF};
    EXPECT_EQ(std::memcmp(spc.b + 107, two, 8), 0);
    EXPECT_EQ(std::memcmp(spc.b + 115, minus_half, 8), 0);
    EXPECT_EQ(spc.b[123], 0x02);
    EXPECT_EQ(spc.b[124], 0x01);
    EXPECT_EQ(spc.b[89], 0x07);  // number 3 in bits 15-1 (0x0006), the flag in bit 0
    EXPECT_EQ(spc.b[90], 0x00);
    ObjectRec back{};
    ASSERT_EQ(xtweak(back, spc), 1);
    EXPECT_EQ(rec_f64(back, sym::scale_x), 2.0);
    EXPECT_EQ(rec_f64(back, sym::scale_y), -0.5);
    EXPECT_EQ(rec_i16(back, sym::ctrl), 0x0102);
    EXPECT_EQ(sym_number(back), 3);
    EXPECT_TRUE(sym_flag(back));

    // The header's settings count, little-endian.
    ObjectRec h{};
    set_rec_kind(h, rk_header);
    set_rec_i16(h, hdr::first_slot, 36);
    ObjectRec hpc{};
    ASSERT_EQ(tweak(hpc, h), 1);
    EXPECT_EQ(hpc.b[1], 0x08);  // kind 1 in bits 15-11
    EXPECT_EQ(hpc.b[4], 36);
    EXPECT_EQ(hpc.b[5], 0);
}

TEST(PcConvert, KindsBeyondTheFormatFailAndEmptyRecordsLeaveTheOutput) {
    ObjectRec out{};
    std::memset(out.b, 0x77, 128);
    const ObjectRec before = out;
    const ObjectRec zero{};
    EXPECT_EQ(xtweak(out, zero), 1);
    EXPECT_EQ(tweak(out, zero), 1);
    EXPECT_EQ(std::memcmp(out.b, before.b, 128), 0);
    for (int kind = 13; kind <= 31; ++kind) {
        ObjectRec pc{};
        pc.b[1] = static_cast<std::uint8_t>(kind << 3);
        EXPECT_EQ(xtweak(out, pc), 0) << kind;
        ObjectRec native{};
        set_rec_kind(native, kind);
        EXPECT_EQ(tweak(out, native), 0) << kind;
    }
    EXPECT_EQ(std::memcmp(out.b, before.b, 128), 0);
    for (int okind = 10; okind <= 15; ++okind) {
        ObjectRec pc{};
        pc.b[1] = 12 << 3;
        pc.b[78] = static_cast<std::uint8_t>(okind);
        EXPECT_EQ(xtweak(out, pc), 0) << okind;
        ObjectRec native{};
        set_rec_kind(native, rk_object);
        set_obj_kind_colour(native, okind, 0);
        EXPECT_EQ(tweak(out, native), 0) << okind;
    }
}

TEST(PcConvert, SettingsTagAndStringsStayInTheirFields) {
    ObjectRec misc{};
    set_rec_kind(misc, 7);
    misc.b[62] = 'X';
    ObjectRec pc{};
    ASSERT_EQ(tweak(pc, misc), 1);
    EXPECT_EQ(pc.b[62], '.');
    EXPECT_EQ(pc.b[63], 0);
    pc.b[62] = 'Q';
    ObjectRec back{};
    ASSERT_EQ(xtweak(back, pc), 1);
    EXPECT_EQ(back.b[62], 'Q');
    EXPECT_EQ(back.b[63], 0);

    // A name with no terminator ends inside its field; the kind word after it is not overrun.
    ObjectRec obj{};
    set_rec_u16(obj, o_word0, live_object_word);
    set_obj_kind_colour(obj, ok_point, 5);
    ObjectRec opc{};
    ASSERT_EQ(tweak(opc, obj), 1);
    std::memset(opc.b + obj::name, 'N', 10);  // runs into bytes 76-77
    opc.b[78] = 7;                            // the point kind again
    ObjectRec o{};
    ASSERT_EQ(xtweak(o, opc), 1);
    EXPECT_EQ(std::strlen(rec_str(o, obj::name)), 7u);
    EXPECT_EQ(obj_kind(o), ok_point);
}

TEST(PcConvert, ByteHelpers) {
    EXPECT_EQ(fixint(static_cast<std::int16_t>(0x0180)), static_cast<std::int16_t>(0x8001));
    EXPECT_EQ(fixbool(0x0100), 0x0001);
    EXPECT_EQ(fixlong(0x01020304), 0x04030201);
    EXPECT_EQ(fixreal(fixreal(1.25)), 1.25);
    std::uint8_t b[5] = {1, 2, 3, 4, 5};
    xswab(b, 4);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[3], 3);
    reverse(b, 5);
    EXPECT_EQ(b[0], 5);
    EXPECT_EQ(b[4], 2);
}

}  // namespace
}  // namespace drav
