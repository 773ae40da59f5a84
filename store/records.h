// The 128-byte record: raw big-endian bytes exactly as in the workfile and on
// disk. Fields are read and written through these accessors at named
// offsets; a record is never cast to a native struct.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace drav {

struct ObjectRec {
    std::uint8_t b[128];
};
static_assert(sizeof(ObjectRec) == 128);

// Big-endian access to any byte buffer; reals sit at unaligned offsets, so
// everything is moved byte by byte.
inline std::uint16_t be_u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}
inline std::uint32_t be_u32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
inline std::uint64_t be_u64(const std::uint8_t* p) {
    return std::uint64_t(be_u32(p)) << 32 | be_u32(p + 4);
}
// Stores are turned and copied whole: the compiler does not merge byte
// stores into one as it merges the loads above.
inline void put_be_u16(std::uint8_t* p, std::uint16_t v) {
    if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap16(v);
    std::memcpy(p, &v, sizeof v);
}
inline void put_be_u32(std::uint8_t* p, std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap32(v);
    std::memcpy(p, &v, sizeof v);
}
inline void put_be_u64(std::uint8_t* p, std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
    std::memcpy(p, &v, sizeof v);
}

inline std::uint8_t rec_u8(const ObjectRec& r, int off) { return r.b[off]; }
inline std::uint16_t rec_u16(const ObjectRec& r, int off) { return be_u16(r.b + off); }
inline std::int16_t rec_i16(const ObjectRec& r, int off) { return static_cast<std::int16_t>(rec_u16(r, off)); }
inline std::uint32_t rec_u32(const ObjectRec& r, int off) { return be_u32(r.b + off); }
inline std::int32_t rec_i32(const ObjectRec& r, int off) { return static_cast<std::int32_t>(rec_u32(r, off)); }
inline float rec_f32(const ObjectRec& r, int off) { return std::bit_cast<float>(rec_u32(r, off)); }
inline double rec_f64(const ObjectRec& r, int off) { return std::bit_cast<double>(be_u64(r.b + off)); }
// A NUL-terminated string field of n bytes; the last byte is never read past.
inline const char* rec_str(const ObjectRec& r, int off) { return reinterpret_cast<const char*>(r.b + off); }

inline void set_rec_u8(ObjectRec& r, int off, std::uint8_t v) { r.b[off] = v; }
inline void set_rec_u16(ObjectRec& r, int off, std::uint16_t v) { put_be_u16(r.b + off, v); }
inline void set_rec_i16(ObjectRec& r, int off, std::int16_t v) { set_rec_u16(r, off, static_cast<std::uint16_t>(v)); }
inline void set_rec_u32(ObjectRec& r, int off, std::uint32_t v) { put_be_u32(r.b + off, v); }
inline void set_rec_i32(ObjectRec& r, int off, std::int32_t v) { set_rec_u32(r, off, static_cast<std::uint32_t>(v)); }
inline void set_rec_f32(ObjectRec& r, int off, float v) { set_rec_u32(r, off, std::bit_cast<std::uint32_t>(v)); }
inline void set_rec_f64(ObjectRec& r, int off, double v) { put_be_u64(r.b + off, std::bit_cast<std::uint64_t>(v)); }
// Copies at most size - 1 bytes of s and NUL-fills the rest of the field.
inline void set_rec_str(ObjectRec& r, int off, int size, const char* s) {
    int n = 0;
    while (n < size - 1 && s[n]) ++n;
    std::memcpy(r.b + off, s, static_cast<std::size_t>(n));
    std::memset(r.b + off + n, 0, static_cast<std::size_t>(size - n));
}

// ---- Word 0 of every record ----
constexpr int o_word0 = 0;
constexpr std::uint16_t w0_kind_mask = 0x001F;     // bits 4-0
constexpr std::uint16_t w0_live = 0x0020;          // bit 5
constexpr std::uint16_t w0_first_piece = 0x0040;   // bit 6: first piece of a library symbol
constexpr std::uint16_t w0_template = 0x0080;      // bit 7
constexpr std::uint16_t w0_in_library = 0x0100;    // bit 8
constexpr std::uint16_t w0_handle_mask = 0x3E00;   // bits 13-9: handle location
constexpr int w0_handle_shift = 9;
constexpr std::uint16_t w0_begmark_mask = 0xC000;  // bits 15-14
constexpr int w0_begmark_shift = 14;

// Record kinds.
enum RecKind : std::uint16_t {
    rk_empty = 0,
    rk_header = 1,
    rk_settings_first = 2,  // slots 1-6 hold kinds 2-7
    rk_settings_last = 7,
    rk_text_tail = 8,
    rk_named_window = 9,
    rk_plot_spec = 10,
    rk_symbol_ctrl = 11,
    rk_object = 12,
    rk_max = 12,
};

// Live drawing object: kind 12 plus the live bit.
constexpr std::uint16_t live_object_word = rk_object | w0_live;  // 44

inline std::uint16_t rec_word0(const ObjectRec& r) { return rec_u16(r, o_word0); }
inline int rec_kind(const ObjectRec& r) { return rec_word0(r) & w0_kind_mask; }
inline bool rec_kind_valid(const ObjectRec& r) { return rec_kind(r) <= rk_max; }
// The live-entity test every walk over the drawing uses.
inline bool is_live_object(const ObjectRec& r) { return (rec_word0(r) & 63) == live_object_word; }
inline bool is_template(const ObjectRec& r) { return (rec_word0(r) & w0_template) != 0; }
inline int rec_handle_location(const ObjectRec& r) {
    return (rec_word0(r) & w0_handle_mask) >> w0_handle_shift;
}
inline void set_rec_handle_location(ObjectRec& r, int loc) {
    set_rec_u16(r, o_word0, static_cast<std::uint16_t>((rec_word0(r) & ~w0_handle_mask) |
                                                       ((loc << w0_handle_shift) & w0_handle_mask)));
}
inline int rec_begmark(const ObjectRec& r) { return rec_word0(r) >> w0_begmark_shift; }
inline void set_rec_word0_bits(ObjectRec& r, std::uint16_t mask, bool on) {
    std::uint16_t w = rec_word0(r);
    set_rec_u16(r, o_word0, on ? static_cast<std::uint16_t>(w | mask) : static_cast<std::uint16_t>(w & ~mask));
}
inline void set_rec_kind(ObjectRec& r, int kind) {
    set_rec_u16(r, o_word0, static_cast<std::uint16_t>((rec_word0(r) & ~w0_kind_mask) | (kind & w0_kind_mask)));
}

// Clears a record to an empty slot.
inline void zero_info(ObjectRec& r) { std::memset(r.b, 0, sizeof r.b); }

// ---- Header record (kind 1), record 0 of the workfile, files and libraries ----
namespace hdr {
constexpr int version = 2;        // i16, `twddbrel` in the workfile
constexpr int first_slot = 4;     // i16: 36 in the workfile; settings count in a file
constexpr int object_count = 6;   // i16 `number_of_objects`
constexpr int ctrl_count = 8;     // i16 symbol control records (0 in the workfile)
constexpr int piece_count = 10;   // i16 symbol pieces (0 in the workfile)
constexpr int word12 = 12;        // i16, not written by the workfile code
constexpr int dwg_time = 14;      // u32 accumulated drawing seconds
constexpr int text1 = 18;         // char[11]
constexpr int text2 = 29;         // char[11]
constexpr int text_size = 11;
constexpr int tail_text = 40;     // string to the end of the record
// The same record in a library.
constexpr int lib_rows = 4;       // i16, 10 when it or the columns are 0
constexpr int lib_columns = 6;    // i16
constexpr int lib_lastctrl = 8;   // i16 `lastctrl`
constexpr int lib_lastsymb = 10;  // i16 `lastsymb`
constexpr int lib_maxctrls = 12;  // i16 `maxctrls`
}  // namespace hdr
constexpr std::int16_t twddbrel = 70;

// ---- Text continuation (kind 8) ----
namespace tail {
constexpr int text = 2;       // the whole text, NUL-terminated
constexpr int text_size = 126;
}  // namespace tail

// ---- Named window (kind 9), plot specification (kind 10) ----
namespace nwin {
constexpr int window = 2;  // four f64: x left, x right, y bottom, y top
constexpr int name = 34;
}  // namespace nwin
namespace pspec {
constexpr int window = 2;   // four f64
constexpr int paper = 34;   // four f64
constexpr int name = 66;    // char[8]
constexpr int name_size = 8;
constexpr int screen = 74;  // screen-size window
}  // namespace pspec

// ---- Symbol control record (kind 11) ----
namespace sctl {
constexpr int library = 2;      // char[9]
constexpr int symbol = 11;      // char[9]
constexpr int name_size = 9;
constexpr int number = 20;      // i16, stored 0-based
constexpr int first_piece = 22; // i16
constexpr int piece_count = 24; // i16
constexpr int width = 26;       // f64
constexpr int height = 34;      // f64
constexpr int handle_x = 42;    // f64
constexpr int handle_y = 50;    // f64
constexpr int users = 60;       // i16 user count
constexpr int valid = 62;       // u16 flag: the symbol has users
constexpr int scaling = 64;     // u16: bit 0 unproportional scaling
constexpr int units_code = 66;  // i16
constexpr int real_unit = 68;   // i16
constexpr int units_factor = 70;// f64
}  // namespace sctl

// ---- Drawing object, common part (kind 12) ----
namespace obj {
constexpr int level = 2;         // u8 1-250
constexpr int density_marks = 3; // u8: 7-4 density, 3-2 `endmark`, 1-0 `midmark`
constexpr int width = 4;         // u8
constexpr int pen = 5;           // u8 1-32
constexpr int byte6 = 6;         // u8, copied, not interpreted
constexpr int style = 7;         // u8 line style
constexpr int relateptr = 8;     // u32
constexpr int lint1 = 12;        // u32
constexpr int lint2 = 16;        // u32
constexpr int ztop = 20;         // f32
constexpr int zbottom = 24;      // f32
constexpr int ref_x = 28;        // f64 reference point
constexpr int ref_y = 36;
constexpr int handle_x = 44;     // f64 handle offset, unrotated
constexpr int handle_y = 52;
constexpr int rotation = 60;     // f64 radians
constexpr int name = 68;         // char[8]
constexpr int name_size = 8;
constexpr int kind_colour = 78;  // u16: 15-12 kind, 11-0 colour
constexpr int part = 80;         // the kind part starts here
}  // namespace obj

// Object kinds (bits 15-12 of the word at 78).
enum ObjKind : int {
    ok_line = 1,
    ok_rect = 2,
    ok_ellipse = 3,
    ok_text = 4,
    ok_lindim = 5,
    ok_bezier = 6,
    ok_point = 7,
    ok_symbol = 8,
    ok_angdim = 9,
};
constexpr std::uint16_t kind_mask(int kind) { return static_cast<std::uint16_t>(kind << 12); }

inline int obj_kind(const ObjectRec& r) { return rec_u16(r, obj::kind_colour) >> 12; }
inline bool obj_kind_valid(const ObjectRec& r) { int k = obj_kind(r); return k >= ok_line && k <= ok_angdim; }
inline int obj_colour(const ObjectRec& r) { return rec_u16(r, obj::kind_colour) & 0x0FFF; }
inline void set_obj_kind_colour(ObjectRec& r, int kind, int colour) {
    set_rec_u16(r, obj::kind_colour, static_cast<std::uint16_t>(kind_mask(kind) | (colour & 0x0FFF)));
}
inline int obj_density(const ObjectRec& r) { return r.b[obj::density_marks] >> 4; }
inline int obj_endmark(const ObjectRec& r) { return (r.b[obj::density_marks] >> 2) & 3; }
inline int obj_midmark(const ObjectRec& r) { return r.b[obj::density_marks] & 3; }
inline void set_obj_density_marks(ObjectRec& r, int density, int endmark, int midmark) {
    r.b[obj::density_marks] = static_cast<std::uint8_t>((density & 15) << 4 | (endmark & 3) << 2 | (midmark & 3));
}

// ---- Kind parts, all relative to the reference point ----
namespace line {
constexpr int dx = 80, dy = 88;   // f64
constexpr int hatch = 96;         // i16: non-zero on lines made by hatching
constexpr int flags = 98;         // u16, bit 0
}  // namespace line
namespace rect {
constexpr int width = 80, height = 88;  // f64, signed
}  // namespace rect
namespace ell {
constexpr int radius1 = 80, radius2 = 88;    // f64
constexpr int begin = 96, end = 104;         // f64 radians
constexpr int sides = 112;                   // i16
constexpr int flags = 114;                   // u16
constexpr std::uint16_t polygon = 1, clockwise = 2;
}  // namespace ell
namespace text {
constexpr int char_width = 80;   // f32
constexpr int f84 = 84;          // f32
constexpr int char_height = 88;  // f32
constexpr int f92 = 92;          // f32
constexpr int info = 96;         // u16: 15-8 font, 7-1 characters, 0 continued
constexpr int chars = 98;        // char[30]
constexpr int chars_size = 30;
constexpr int max_inline = 29;   // longer texts live in the continuation record
}  // namespace text
namespace ldim {
constexpr int second_x = 80, second_y = 88;  // f64, in the rotated frame
constexpr int offset = 96;                   // f64 signed offset of the dimension line
constexpr int half_gap = 104;                // f64
constexpr int text_pos = 112;                // f64
constexpr int mode = 120;                    // u16
constexpr std::uint16_t horizontal = 1, vertical = 2, ext1 = 4, ext2 = 8, broken = 16,
                        arrows_outside = 32;
constexpr int arrow_shift = 6;               // bits 9-6
constexpr std::uint16_t arrow_mask = 0x03C0;
}  // namespace ldim
namespace bez {
constexpr int c1x = 80, c1y = 88, c2x = 96, c2y = 104, endx = 112, endy = 120;  // f64
}  // namespace bez
namespace sym {
constexpr int library = 80;     // char[9]
constexpr int library_size = 9;
constexpr int number_hi = 89;   // bit 7 a flag, bits 6-0 the high part of the number
constexpr int number_lo = 90;
constexpr int byte91 = 91;
constexpr int width = 92, height = 100;     // f64 extent vectors
constexpr int scale_x = 108, scale_y = 116; // f64
constexpr int ctrl = 124;       // i16 control record in the work library
}  // namespace sym
namespace adim {
constexpr int second_x = 80, second_y = 88;  // f64
constexpr int arc_dist = 96;                 // f64
constexpr int vertex_dist = 104;             // f64
constexpr int angle = 112;                   // f32
constexpr int half_gap = 116;                // f32
constexpr int text_angle = 120;              // f32
constexpr int mode = 124;                    // u16
constexpr std::uint16_t ext1 = 1, ext2 = 2, broken = 4, arrows_outside = 8, clockwise = 128;
constexpr int arrow_shift = 4;               // bits 6-4
constexpr std::uint16_t arrow_mask = 0x0070;
}  // namespace adim

inline int sym_number(const ObjectRec& r) { return (r.b[sym::number_hi] & 0x7F) << 8 | r.b[sym::number_lo]; }
inline bool sym_flag(const ObjectRec& r) { return (r.b[sym::number_hi] & 0x80) != 0; }
inline void set_sym_number(ObjectRec& r, int n) {
    r.b[sym::number_hi] = static_cast<std::uint8_t>((r.b[sym::number_hi] & 0x80) | ((n >> 8) & 0x7F));
    r.b[sym::number_lo] = static_cast<std::uint8_t>(n);
}

inline int text_font(const ObjectRec& r) { return rec_u16(r, text::info) >> 8; }
inline int text_count(const ObjectRec& r) { return (rec_u16(r, text::info) >> 1) & 0x7F; }
inline bool text_continued(const ObjectRec& r) { return (rec_u16(r, text::info) & 1) != 0; }
inline void set_text_info(ObjectRec& r, int font, int count, bool continued) {
    set_rec_u16(r, text::info, static_cast<std::uint16_t>((font & 0xFF) << 8 | (count & 0x7F) << 1 | (continued ? 1 : 0)));
}

// ---- Workfile slots ----
constexpr std::int16_t header_slot = 0;
constexpr std::int16_t first_settings_slot = 1;
constexpr std::int16_t last_settings_slot = 6;
constexpr std::int16_t first_view_slot = 7;
constexpr std::int16_t last_view_slot = 35;
constexpr std::int16_t first_object_slot = 36;

// The next free index: every slot from 36 up to it holds an object, a text
// continuation or an emptied slot; 36 means an empty drawing.
extern std::int16_t number_of_objects;

}  // namespace drav

namespace drav {

// Puts a text string into a text object: up to 29 bytes inside the object,
// longer ones (at most 125 bytes) whole in the continuation record `tail`.
// Returns 1 when `tail` is needed.
int set_text_chars(ObjectRec& obj, ObjectRec& tail, const char* s);
// The whole text of a text object; `tail` is read only when the object says
// it continues. `out` holds at least 126 bytes.
char* text_chars(const ObjectRec& obj, const ObjectRec& tail, char* out);

}  // namespace drav
