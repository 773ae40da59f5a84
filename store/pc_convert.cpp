#include "store/pc_convert.h"

#include <cstring>
#include <utility>

#include "platform/core/files.h"

namespace drav {

std::uint16_t dosfile = 0;
std::int16_t bad_seg_count = 0;

namespace {

enum class Ft : std::uint8_t { i16, boolean, u32, f32, f64, str, byte, unit16, unit8 };

// A field of a bit-field unit by its native bits, highest first.
struct Bits {
    std::uint8_t hi, lo;
};
struct Unit {
    int n;
    Bits f[16];
};

struct Field {
    Ft t;
    std::int16_t off;     // native offset
    std::int16_t pc_off;  // PC offset (differs only in the symbol reference)
    std::int16_t size;    // strings: the field's bytes
    const Unit* unit = nullptr;
};

constexpr Field num(Ft t, int off) {
    return {t, static_cast<std::int16_t>(off), static_cast<std::int16_t>(off), 0, nullptr};
}
constexpr Field str(int off, int size) {
    return {Ft::str, static_cast<std::int16_t>(off), static_cast<std::int16_t>(off), static_cast<std::int16_t>(size),
            nullptr};
}
constexpr Field unit16(int off, const Unit* u) {
    return {Ft::unit16, static_cast<std::int16_t>(off), static_cast<std::int16_t>(off), 0, u};
}

// ---- Bit-field units ----
constexpr Unit u_kind_only = {1, {{4, 0}}};
constexpr Unit u_object_word0 = {7, {{15, 14}, {13, 9}, {8, 8}, {7, 7}, {6, 6}, {5, 5}, {4, 0}}};
constexpr Unit u_density_marks = {3, {{7, 4}, {3, 2}, {1, 0}}};
constexpr Unit u_kind_colour = {2, {{15, 12}, {11, 0}}};
constexpr Unit u_swaper = {15,
                           {{15, 15}, {14, 14}, {13, 13}, {12, 12}, {11, 11}, {10, 10}, {9, 9}, {8, 8}, {7, 7},
                            {6, 6}, {5, 5}, {4, 3}, {2, 2}, {1, 1}, {0, 0}}};
constexpr Unit u_output_flags = {7, {{8, 8}, {7, 7}, {6, 6}, {5, 5}, {4, 4}, {3, 3}, {2, 0}}};
constexpr Unit u_users116 = {6, {{15, 15}, {14, 14}, {13, 10}, {9, 6}, {5, 3}, {2, 0}}};
constexpr Unit u_users118 = {7, {{15, 15}, {14, 14}, {13, 6}, {3, 3}, {2, 2}, {1, 1}, {0, 0}}};
constexpr Unit u_users120 = {12,
                             {{15, 15}, {14, 14}, {13, 12}, {11, 10}, {9, 8}, {7, 6}, {5, 5}, {4, 4}, {3, 3},
                              {2, 2}, {1, 1}, {0, 0}}};
constexpr Unit u_users122 = {4, {{14, 7}, {6, 6}, {5, 3}, {2, 0}}};
constexpr Unit u_users124 = {3, {{8, 6}, {5, 3}, {2, 0}}};
constexpr Unit u_line98 = {1, {{0, 0}}};
constexpr Unit u_ell114 = {2, {{1, 1}, {0, 0}}};
constexpr Unit u_text96 = {3, {{15, 8}, {7, 1}, {0, 0}}};
constexpr Unit u_ldim120 = {7, {{9, 6}, {5, 5}, {4, 4}, {3, 3}, {2, 2}, {1, 1}, {0, 0}}};
constexpr Unit u_symnum = {2, {{15, 15}, {14, 0}}};
constexpr Unit u_adim124 = {6, {{7, 7}, {6, 4}, {3, 3}, {2, 2}, {1, 1}, {0, 0}}};

using F = Ft;

// ---- Records 1 to 11, after word 0 ----
const Field k1[] = {num(F::i16, 2), num(F::i16, 4), num(F::i16, 6), num(F::i16, 8), num(F::i16, 10),
                    num(F::i16, 12), num(F::u32, 14), str(18, 11), str(29, 11), str(40, 88)};
const Field k2[] = {num(F::f64, 2), num(F::f64, 10), num(F::f64, 18), num(F::f64, 26),
                    num(F::f64, 34), num(F::f64, 42), num(F::f64, 50), num(F::f64, 58)};
const Field k3[] = {num(F::f64, 2),  num(F::f64, 10), num(F::i16, 18), num(F::f64, 20), num(F::f64, 28),
                    num(F::i16, 36), num(F::f64, 38), num(F::f64, 46), num(F::f64, 54), num(F::f64, 62),
                    num(F::i16, 70), num(F::i16, 72), num(F::i16, 74), num(F::i16, 76), num(F::f64, 78),
                    str(86, 8),      str(94, 4)};
const Field k4[] = {unit16(2, &u_swaper),
                    num(F::i16, 4), num(F::i16, 6), num(F::i16, 8), num(F::i16, 10), num(F::i16, 12),
                    num(F::i16, 14), num(F::i16, 16), num(F::i16, 18), num(F::i16, 20), num(F::i16, 22),
                    num(F::i16, 24), num(F::i16, 26), num(F::i16, 28), num(F::i16, 30), num(F::i16, 32),
                    num(F::i16, 34), num(F::f64, 36), num(F::i16, 44), unit16(46, &u_output_flags),
                    num(F::f64, 48), num(F::f64, 56), num(F::f64, 64), num(F::f64, 72), num(F::f64, 80),
                    num(F::f64, 88), num(F::f64, 96), num(F::f64, 104), num(F::f64, 112), num(F::f64, 120)};
const Field k5[] = {num(F::i16, 2),  num(F::i16, 4),  num(F::i16, 6),  num(F::i16, 8),  num(F::i16, 10),
                    num(F::i16, 12), num(F::i16, 14), num(F::i16, 16), num(F::f32, 18), num(F::f32, 22),
                    num(F::f64, 26), num(F::f64, 34), num(F::f64, 42), num(F::f64, 50), str(58, 8),
                    num(F::i16, 66), num(F::i16, 68), num(F::i16, 70), num(F::i16, 72), num(F::i16, 74),
                    num(F::i16, 76), num(F::i16, 78), num(F::i16, 80), num(F::i16, 82), num(F::i16, 84),
                    num(F::i16, 86), num(F::i16, 88), num(F::i16, 90), num(F::i16, 92), num(F::i16, 94),
                    num(F::i16, 96)};
const Field k6[] = {num(F::f64, 2),   num(F::f64, 10),  num(F::f64, 18),  num(F::i16, 26),
                    num(F::i16, 28),  num(F::i16, 30),  num(F::f64, 32),  num(F::f64, 40),
                    num(F::f64, 48),  num(F::f64, 56),  num(F::f64, 64),  num(F::f64, 72),
                    num(F::f64, 80),  num(F::f64, 88),  num(F::f64, 96),  num(F::f64, 104),
                    num(F::i16, 112), num(F::i16, 114), unit16(116, &u_users116), unit16(118, &u_users118),
                    unit16(120, &u_users120), unit16(122, &u_users122), unit16(124, &u_users124)};
const Field k7[] = {num(F::i16, 2),  num(F::i16, 4),  num(F::f64, 6),  num(F::f64, 14), num(F::f64, 22),
                    num(F::f64, 30), num(F::f64, 38), num(F::f64, 46), num(F::f64, 54)};
const Field k7_tag[] = {str(62, 2)};
const Field k8[] = {str(2, 126)};
const Field k9[] = {num(F::f64, 2), num(F::f64, 10), num(F::f64, 18), num(F::f64, 26), str(34, 94)};
const Field k10[] = {num(F::f64, 2),  num(F::f64, 10), num(F::f64, 18), num(F::f64, 26), num(F::f64, 34),
                     num(F::f64, 42), num(F::f64, 50), num(F::f64, 58), str(66, 8)};
const Field k11[] = {str(2, 9),       str(11, 9),      num(F::i16, 20), num(F::i16, 22), num(F::i16, 24),
                     num(F::f64, 26), num(F::f64, 34), num(F::f64, 42), num(F::f64, 50), num(F::i16, 58),
                     num(F::i16, 60), num(F::boolean, 62), num(F::boolean, 64), num(F::i16, 66),
                     num(F::i16, 68), num(F::f64, 70)};

// ---- Drawing objects ----
const Field common[] = {num(F::u32, 8),  num(F::u32, 12), num(F::u32, 16), num(F::f32, 20), num(F::f32, 24),
                        num(F::f64, 28), num(F::f64, 36), num(F::f64, 44), num(F::f64, 52), num(F::f64, 60),
                        str(68, 8)};
const Field common_bits[] = {unit16(0, &u_object_word0),
                             num(F::byte, 2),
                             {Ft::unit8, 3, 3, 0, &u_density_marks},
                             num(F::byte, 4),
                             num(F::byte, 5),
                             num(F::byte, 6),
                             num(F::byte, 7),
                             unit16(78, &u_kind_colour)};
const Field o1[] = {num(F::f64, 80), num(F::f64, 88), num(F::i16, 96), unit16(98, &u_line98)};
const Field o2[] = {num(F::f64, 80), num(F::f64, 88)};
const Field o3[] = {num(F::f64, 80), num(F::f64, 88), num(F::f64, 96), num(F::f64, 104), num(F::i16, 112),
                    unit16(114, &u_ell114)};
const Field o4[] = {num(F::f32, 80), num(F::f32, 84), num(F::f32, 88), num(F::f32, 92), unit16(96, &u_text96),
                    str(98, 30)};
const Field o5[] = {num(F::f64, 80), num(F::f64, 88), num(F::f64, 96), num(F::f64, 104), num(F::f64, 112),
                    unit16(120, &u_ldim120)};
const Field o6[] = {num(F::f64, 80), num(F::f64, 88), num(F::f64, 96), num(F::f64, 104), num(F::f64, 112),
                    num(F::f64, 120)};
const Field o8[] = {str(80, 9),
                    unit16(89, &u_symnum),
                    {Ft::f64, 92, 91, 0, nullptr},
                    {Ft::f64, 100, 99, 0, nullptr},
                    {Ft::f64, 108, 107, 0, nullptr},
                    {Ft::f64, 116, 115, 0, nullptr},
                    {Ft::i16, 124, 123, 0, nullptr}};
const Field o9[] = {num(F::f64, 80),  num(F::f64, 88),  num(F::f64, 96),  num(F::f64, 104),
                    num(F::f32, 112), num(F::f32, 116), num(F::f32, 120), {Ft::unit16, 124, 124, 0, &u_adim124}};

struct Table {
    const Field* f;
    int n;
};
template <std::size_t N>
constexpr Table table(const Field (&f)[N]) {
    return {f, static_cast<int>(N)};
}
const Table record_tables[12] = {{nullptr, 0}, table(k1), table(k2), table(k3), table(k4), table(k5),
                                 table(k6),    table(k7), table(k8), table(k9), table(k10), table(k11)};
const Table object_tables[10] = {{nullptr, 0}, table(o1), table(o2), table(o3), table(o4),
                                 table(o5),    table(o6), {nullptr, 0}, table(o8), table(o9)};

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
void put_le16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

int width_of(Ft t) {
    switch (t) {
    case Ft::i16:
    case Ft::boolean: return 2;
    case Ft::u32:
    case Ft::f32: return 4;
    case Ft::f64: return 8;
    default: return 0;
    }
}

// Moves each field of a unit from its position in src's layout to its
// position in dst's; bits of no field keep what dst held.
void move_unit(const Unit& u, int bits, const std::uint8_t* src, std::uint8_t* dst, bool to_native) {
    std::uint16_t s, d;
    if (bits == 16) {
        s = to_native ? le16(src) : be_u16(src);
        d = to_native ? be_u16(dst) : le16(dst);
    } else {
        s = src[0];
        d = dst[0];
    }
    for (int i = 0; i < u.n; ++i) {
        const int lo = u.f[i].lo, w = u.f[i].hi - u.f[i].lo + 1;
        const int mirrored = bits - lo - w;
        const int from = to_native ? mirrored : lo, to = to_native ? lo : mirrored;
        const unsigned mask = (1u << w) - 1;
        const unsigned v = (s >> from) & mask;
        d = static_cast<std::uint16_t>((d & ~(mask << to)) | (v << to));
    }
    if (bits == 16) {
        if (to_native) put_be_u16(dst, d); else put_le16(dst, d);
    } else {
        dst[0] = static_cast<std::uint8_t>(d);
    }
}

void convert_fields(const Table& t, const std::uint8_t* src, std::uint8_t* dst, bool to_native) {
    for (int i = 0; i < t.n; ++i) {
        const Field& f = t.f[i];
        const int so = to_native ? f.pc_off : f.off, dof = to_native ? f.off : f.pc_off;
        switch (f.t) {
        case Ft::str: {
            // Up to and including the terminating zero, never past the field.
            int k = 0;
            while (k < f.size && src[so + k]) {
                dst[dof + k] = src[so + k];
                ++k;
            }
            if (k < f.size) dst[dof + k] = 0;
            else dst[dof + f.size - 1] = 0;
            break;
        }
        case Ft::byte: dst[dof] = src[so]; break;
        case Ft::unit16: move_unit(*f.unit, 16, src + so, dst + dof, to_native); break;
        case Ft::unit8: move_unit(*f.unit, 8, src + so, dst + dof, to_native); break;
        default: {
            const int w = width_of(f.t);
            for (int k = 0; k < w; ++k) dst[dof + k] = src[so + w - 1 - k];
            break;
        }
        }
    }
}

int convert(std::uint8_t* dst, const std::uint8_t* src, bool to_native) {
    const int kind = to_native ? le16(src) >> 11 : be_u16(src) & w0_kind_mask;
    if (kind > rk_max) return 0;
    if (kind == rk_empty) return 1;
    if (kind != rk_object) {
        const Field word0[] = {unit16(0, &u_kind_only)};
        convert_fields(table(word0), src, dst, to_native);
        convert_fields(record_tables[kind], src, dst, to_native);
        if (kind == rk_settings_last) {
            if (to_native) {
                convert_fields(table(k7_tag), src, dst, true);
            } else {
                dst[62] = '.';
                dst[63] = 0;
            }
        }
        return 1;
    }
    const int okind = to_native ? le16(src + obj::kind_colour) & 0x0F : be_u16(src + obj::kind_colour) >> 12;
    if (okind > ok_angdim) return 0;
    convert_fields(table(common), src, dst, to_native);
    convert_fields(object_tables[okind], src, dst, to_native);
    convert_fields(table(common_bits), src, dst, to_native);
    return 1;
}

}  // namespace

int xtweak(ObjectRec& native, const ObjectRec& pc) { return convert(native.b, pc.b, true); }
int tweak(ObjectRec& pc, const ObjectRec& native) { return convert(pc.b, native.b, false); }

int FSRef_convget(std::int16_t fork, ObjectRec& rec) {
    std::int64_t got = 0;
    if (!dosfile) {
        zero_info(rec);
        const std::int16_t e = plat::read(fork, rec.b, 128, &got);
        return e == plat::noErr && got == 128 ? conv_read : conv_short;
    }
    ObjectRec scratch{};
    const std::int16_t e = plat::read(fork, scratch.b, 128, &got);
    zero_info(rec);
    if (e != plat::noErr || got != 128) return conv_short;
    if (!xtweak(rec, scratch)) {
        ++bad_seg_count;
        zero_info(rec);
        return conv_failed;
    }
    return conv_read;
}

int FSRef_convput(std::int16_t fork, const ObjectRec& rec) {
    std::int64_t done = 0;
    if (!dosfile) return plat::write(fork, rec.b, 128, &done) == plat::noErr && done == 128 ? 1 : 0;
    ObjectRec scratch{};
    tweak(scratch, rec);
    return plat::write(fork, scratch.b, 128, &done) == plat::noErr && done == 128 ? 1 : 0;
}

void reverse(std::uint8_t* p, int n) {
    for (int i = 0, j = n - 1; i < j; ++i, --j) std::swap(p[i], p[j]);
}

void xswab(std::uint8_t* p, int n) {
    for (int i = 0; i + 1 < n; i += 2) std::swap(p[i], p[i + 1]);
}

namespace {
template <class T>
T reversed(T v) {
    auto* p = reinterpret_cast<std::uint8_t*>(&v);
    reverse(p, sizeof v);
    return v;
}
}  // namespace

std::int16_t fixint(std::int16_t v) { return reversed(v); }
std::uint16_t fixbool(std::uint16_t v) { return reversed(v); }
std::int32_t fixlong(std::int32_t v) { return reversed(v); }
float fixsreal(float v) { return reversed(v); }
double fixreal(double v) { return reversed(v); }

}  // namespace drav
