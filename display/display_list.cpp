#include "display/display_list.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/command_loop.h"
#include "base/messages.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/list_view.h"
#include "display/pan_canvas.h"
#include "display/screen.h"
#include "platform/core/memory.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/records.h"

namespace drav {

std::uint16_t genlist = 0;
std::uint16_t segclipped = 0;
std::uint32_t list_edits = 0;
std::int32_t Hulv_Error = -14;
std::int16_t shiftforHulv = 16375;

namespace {

std::uint8_t* chandles[seg_ctrl_blocks] = {};
std::uint8_t* handles[seg_max_blocks] = {};
// Bytes past a block's last record that the line recorder's 16-byte
// stores may write.
constexpr int record_store_slack = 6;
int lblockcnt = 0;  // blocks in use
// Blocks got so far, in use or kept from the last emptying: a whole redraw
// fills them again, so it neither allocates nor zeroes 16 KB a block.
int lblockkept = 0;
int lreccnt = 0;    // records used in the last one
std::uint16_t linstalled = 0;
std::uint16_t lavail = 0;

// The segment being recorded.
std::uint16_t segfirst = 0, segcnt = 0, segblock = 0, segrec = 0, segclass = 0;
// The segment's pixel limits; its primitives' corners are whole pixels.
// Kept as the vector recorder keeps them, lanes x y x y: the least in
// seglo, the most in seghi; a limit is the better of its two lanes. Lanes
// 4-7 are not used.
alignas(16) std::int16_t seglo[8] = {32767, 32767, 32767, 32767};
alignas(16) std::int16_t seghi[8] = {-32767, -32767, -32767, -32767};
// The piece announced by `begseg`.
std::uint16_t objclass = 0, objscolor = 0, objlstyle = 0, objglevel = 0, objstrokes = 0, objfirst = 0;
// The reader's cursor.
std::uint16_t inqpage = 0, inqbegrec = 0, inqlength = 0;

// A new block when the last one is full; false (and the list switched off)
// when none can be had. Only the step that switches the list off speaks:
// later calls find it off and stay quiet.
bool room_slow();

inline bool room() { return (lblockcnt > 0 && lreccnt < seg_recs_per_block) || room_slow(); }

bool room_slow() {
    if (lblockcnt > 0 && lreccnt < seg_recs_per_block) return true;
    if (!lavail) return false;
    if (lblockcnt >= seg_max_blocks) {
        lavail = 0;
        zoommsg(msg_list_memory);
        quit = 1;
        return false;
    }
    if (lblockcnt < lblockkept) {
        ++lblockcnt;
        lreccnt = 0;
        return true;
    }
    // The allocator itself reports a failure, sets `quit` and empties the list.
    auto* block = static_cast<std::uint8_t*>(getmemory(seg_block_bytes + record_store_slack));
    if (!block) {
        lavail = 0;
        return false;
    }
    handles[lblockcnt++] = block;
    lblockkept = lblockcnt;
    lreccnt = 0;
    return true;
}

// The next free record; only after room() said yes.
[[gnu::always_inline]] inline std::uint8_t* next_record() {
    std::uint8_t* p = handles[lblockcnt - 1] + lreccnt * 10;
    ++lreccnt;
    ++segcnt;
    return p;
}

// A word as it lies in memory in big-endian order.
constexpr std::uint16_t big16(int v) {
    const auto u = static_cast<std::uint16_t>(v);
    if constexpr (std::endian::native == std::endian::big) return u;
    return static_cast<std::uint16_t>(u << 8 | u >> 8);
}

// Four words, big-endian, at p. On a little-endian machine they go out as
// one 64-bit value put together in a register: written as 16-bit stores,
// a later 8-byte load of them would stall.
[[gnu::always_inline]] inline void put_words(std::uint8_t* p, int w0, int w1, int w2, int w3) {
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t v = std::uint64_t{big16(w0)} | std::uint64_t{big16(w1)} << 16 |
                                std::uint64_t{big16(w2)} << 32 | std::uint64_t{big16(w3)} << 48;
        std::memcpy(p, &v, 8);
    } else {
        const std::uint16_t words[4] = {big16(w0), big16(w1), big16(w2), big16(w3)};
        std::memcpy(p, words, 8);
    }
}

[[gnu::always_inline]] inline void put_prim(std::uint8_t* p, int type, int w1, int w2, int w3, int w4) {
    // Bits 15-4 of word 0 are not used; they are written as 0.
    put_words(p, type, w1, w2, w3);
    const std::uint16_t last = big16(w4);
    std::memcpy(p + 8, &last, 2);
}

// Canvas pixels: the clip keeps points on the canvas, where rounding half
// away from zero needs none of iround's range checks.
inline std::int16_t canvas_pixel(double v) {
    if (!(std::fabs(v) < 32767.0)) [[unlikely]]
        return iround(v);
    return static_cast<std::int16_t>(static_cast<int>(v + std::copysign(0.5, v)));
}

// The limits record and the attribute record that open a segment and a
// piece, written before the piece's first primitive.
[[gnu::noinline]] void grow_heads() {
    if (segfirst) {
        if (room()) {
            segblock = static_cast<std::uint16_t>(lblockcnt - 1);
            segrec = static_cast<std::uint16_t>(lreccnt);
            put_prim(next_record(), seg_limits, 0, 0, 0, 0);
        }
        segfirst = 0;
    }
    if (lavail && objfirst) {
        if (room()) {
            const int w1 = (objstrokes >= 3 ? 0x1000 : 0) | (objclass & 15) << 8 | (objglevel & 0xFF);
            const int w2 = (objlstyle & 0xFF) << 8 | (objscolor & 0xFF);
            put_prim(next_record(), seg_attr, w1, w2, 0, 0);
        }
        objfirst = 0;
    }
}

// The limits taken out to (x1, y1) and (x2, y2).
inline void widen_limits(int x1, int y1, int x2, int y2) {
    seglo[0] = static_cast<std::int16_t>(std::min<int>(seglo[0], std::min(x1, x2)));
    seglo[1] = static_cast<std::int16_t>(std::min<int>(seglo[1], std::min(y1, y2)));
    seghi[0] = static_cast<std::int16_t>(std::max<int>(seghi[0], std::max(x1, x2)));
    seghi[1] = static_cast<std::int16_t>(std::max<int>(seghi[1], std::max(y1, y2)));
}

// The steps before one record is written: the segment's and the piece's
// heads where due, then room in the block. False when the list takes no
// more (it is then given up).
[[gnu::always_inline]] inline bool ready_to_grow() {
    if (!listing) return false;
    if (segfirst | objfirst) [[unlikely]] {
        grow_heads();
        if (!listing) return false;
    }
    if (!room()) [[unlikely]] {
        listing = 0;
        return false;
    }
    return true;
}

[[gnu::always_inline]] inline void grow(int type, double x1, double y1, double x2, double y2) {
    if (!ready_to_grow()) return;
    const int px1 = canvas_pixel(x1 * pwvxm + pwvxa), py1 = canvas_pixel(y1 * pwvym + pwvya);
    const int px2 = canvas_pixel(x2 * pwvxm + pwvxa), py2 = canvas_pixel(y2 * pwvym + pwvya);
    if (type == seg_line)
        put_prim(next_record(), seg_line, px1, py1, px2, py2);
    else
        put_prim(next_record(), type, px1, px2, py1, py2);
    widen_limits(px1, py1, px2, py2);
}

void clear_entry(SegCtrlRec* e) {
    if (e) std::memset(e->b, 0, sizeof e->b);
}

}  // namespace

SegCtrlRec* seg_entry(int index) {
    const int e = index - first_object_slot;
    if (e < 0 || e >= seg_ctrl_blocks * seg_ctrl_per_block) return nullptr;
    std::uint8_t* block = chandles[e >> 11];
    if (!block) return nullptr;
    return reinterpret_cast<SegCtrlRec*>(block + (e & 2047) * 8);
}

SegPrimRec* seg_record(int block, int rec) {
    if (block < 0 || block >= lblockcnt || rec < 0 || rec >= seg_recs_per_block) return nullptr;
    return reinterpret_cast<SegPrimRec*>(handles[block] + rec * 10);
}

int seg_blocks_used() { return lblockcnt; }
int seg_records_in_last_block() { return lreccnt; }

void ourLockPixels(void*) {}
void ourUnlockPixels(void*) {}

// ---- Recording ----

void _startseg(std::int16_t cls) {
    segcnt = 0;
    segfirst = 1;
    segclass = static_cast<std::uint16_t>(cls);
    listing = 1;
    std::fill(seglo, seglo + 4, std::int16_t{32767});
    std::fill(seghi, seghi + 4, std::int16_t{-32767});
}

void _begseg(std::int16_t cls, std::int16_t colour, std::int16_t style, std::int16_t level,
             std::int16_t strokes) {
    objclass = static_cast<std::uint16_t>(cls);
    objscolor = static_cast<std::uint16_t>(colour);
    objglevel = static_cast<std::uint16_t>(level);
    objstrokes = static_cast<std::uint16_t>(strokes);
    objfirst = 1;
    setlstyle(style);
    // Dashes arrive as separate lines: the record keeps them as solid.
    objlstyle = static_cast<std::uint16_t>(curpat_avail(0) ? 1 : style);
}

void _growseg(double x1, double y1, double x2, double y2) { grow(seg_line, x1, y1, x2, y2); }
void _growrect(double x1, double y1, double x2, double y2) { grow(seg_rect, x1, y1, x2, y2); }
void _growcir(double x1, double y1, double x2, double y2) { grow(seg_circle, x1, y1, x2, y2); }

namespace {

#if defined(__SSE2__)
// The canvas conversion of record_lines, held in registers.
struct LineConv {
    __m128d mul, add;
    __m128i lo, hi;  // lanes x1 y1 x2 y2 of the limits
};

inline LineConv line_conv() {
    LineConv c;
    c.mul = _mm_setr_pd(pwvxm, pwvym);
    c.add = _mm_setr_pd(pwvxa, pwvya);
    c.lo = _mm_load_si128(reinterpret_cast<const __m128i*>(seglo));
    c.hi = _mm_load_si128(reinterpret_cast<const __m128i*>(seghi));
    return c;
}

inline void keep_limits(const LineConv& c) {
    _mm_store_si128(reinterpret_cast<__m128i*>(seglo), c.lo);
    _mm_store_si128(reinterpret_cast<__m128i*>(seghi), c.hi);
}

// The line record from world (x1, y1) to (x2, y2), as pairs: both ends
// converted side by side, the same multiply, add and rounding as
// canvas_pixel's, lane by lane.
// checked false: the caller knows all four lie within the 16-bit range.
template <bool checked = true>
[[gnu::always_inline]] inline void put_line(std::uint8_t* p, __m128d from, __m128d to, LineConv& c) {
    const __m128d sign = _mm_set1_pd(-0.0), half = _mm_set1_pd(0.5), range = _mm_set1_pd(32767.0);
    __m128d a = _mm_add_pd(_mm_mul_pd(from, c.mul), c.add);
    __m128d b = _mm_add_pd(_mm_mul_pd(to, c.mul), c.add);
    __m128i w;
    if (!checked || _mm_movemask_pd(_mm_and_pd(_mm_cmplt_pd(_mm_andnot_pd(sign, a), range),
                                               _mm_cmplt_pd(_mm_andnot_pd(sign, b), range))) == 3) [[likely]] {
        a = _mm_add_pd(a, _mm_or_pd(_mm_and_pd(a, sign), half));
        b = _mm_add_pd(b, _mm_or_pd(_mm_and_pd(b, sign), half));
        w = _mm_packs_epi32(_mm_unpacklo_epi64(_mm_cvttpd_epi32(a), _mm_cvttpd_epi32(b)), _mm_setzero_si128());
    } else {
        w = _mm_setr_epi16(canvas_pixel(_mm_cvtsd_f64(a)), canvas_pixel(_mm_cvtsd_f64(_mm_unpackhi_pd(a, a))),
                           canvas_pixel(_mm_cvtsd_f64(b)), canvas_pixel(_mm_cvtsd_f64(_mm_unpackhi_pd(b, b))), 0, 0,
                           0, 0);
    }
    c.lo = _mm_min_epi16(c.lo, w);
    c.hi = _mm_max_epi16(c.hi, w);
    const __m128i big = _mm_or_si128(_mm_slli_epi16(w, 8), _mm_srli_epi16(w, 8));
    // One 16-byte store: the record, then six zero bytes into the next
    // record's place (not written yet) or the block's slack.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p),
                     _mm_or_si128(_mm_slli_si128(big, 2), _mm_cvtsi32_si128(big16(seg_line))));
}
#endif

// m lines that all fit the current block, recorded with the recorder's
// state in locals: what grow would write for each, in turn.
void record_lines(const double* q, int m) {
    std::uint8_t* p = handles[lblockcnt - 1] + lreccnt * 10;
#if defined(__SSE2__)
    LineConv c = line_conv();
    for (const double* end = q + 4 * m; q != end; q += 4, p += 10)
        put_line(p, _mm_loadu_pd(q), _mm_loadu_pd(q + 2), c);
    keep_limits(c);
#else
    const double xm = pwvxm, xa = pwvxa, ym = pwvym, ya = pwvya;
    for (const double* end = q + 4 * m; q != end; q += 4, p += 10) {
        const int px1 = canvas_pixel(q[0] * xm + xa), py1 = canvas_pixel(q[1] * ym + ya);
        const int px2 = canvas_pixel(q[2] * xm + xa), py2 = canvas_pixel(q[3] * ym + ya);
        put_prim(p, seg_line, px1, py1, px2, py2);
        widen_limits(px1, py1, px2, py2);
    }
#endif
    lreccnt += m;
    segcnt = static_cast<std::uint16_t>(segcnt + m);
}

}  // namespace

void growseg_now(double x1, double y1, double x2, double y2) {
    if (listdriver.growseg != _growseg) {
        growseg(x1, y1, x2, y2);
        return;
    }
#if defined(__SSE2__)
    // grow's steps, the line written as the run recorder writes it.
    if (!ready_to_grow()) return;
    LineConv c = line_conv();
    put_line(next_record(), _mm_setr_pd(x1, y1), _mm_setr_pd(x2, y2), c);
    keep_limits(c);
#else
    grow(seg_line, x1, y1, x2, y2);
#endif
}

int growsegs(const double* xy, int n) {
    if (listdriver.growseg != _growseg) {
        for (int i = 0; i < n; ++i, xy += 4) {
            if (!listing) return i;
            growseg(xy[0], xy[1], xy[2], xy[3]);
        }
        return n;
    }
    // grow's steps for each line, the lines that fit a block taken together.
    int i = 0;
    while (i < n) {
        if (!listing) return i;
        if (segfirst | objfirst) grow_heads();
        if (!room()) {
            // This line is lost with the list; the caller draws the rest.
            listing = 0;
            return i + 1;
        }
        const int m = std::min(n - i, seg_recs_per_block - lreccnt);
        record_lines(xy + 4 * i, m);
        i += m;
    }
    return n;
}

int growdashes(std::uint16_t* any) {
#if defined(__SSE2__)
    LineStkRec* pat = curlpat;
    if (listdriver.growseg != _growseg || !pat || pat->scale != sclpatlen) return -1;
    // getlinstk_down's steps (a ring is scaled whole, so every element's
    // scaled length is good), each pen-down piece written as growsegs
    // writes it, the cutter's and the recorder's state in locals.
    DashCut s{pat, linedist, leftover, unitdist, pieces_cut};
    const __m128d u = _mm_setr_pd(ux, uy), fin = _mm_setr_pd(x_final, y_final);
    __m128d at = _mm_setr_pd(x_current, y_current);
    LineConv c = line_conv();
    // Records are written at p up to end, in the block that starts at
    // base; none yet.
    std::uint8_t *p = nullptr, *end = nullptr, *base = nullptr;
    const auto flush = [&] {
        const int written = static_cast<int>((p - base) / 10);
        lreccnt += written;
        segcnt = static_cast<std::uint16_t>(segcnt + written);
        base = p;
    };
    // Ends on the canvas with a pixel to spare, and an offset far below
    // where rounding over 65536 pieces could reach a pixel: every piece
    // cut between them lies on the canvas too.
    bool on_canvas;
    {
        const __m128d sign = _mm_set1_pd(-0.0), spare = _mm_set1_pd(32766.0);
        const __m128d a = _mm_add_pd(_mm_mul_pd(at, c.mul), c.add), b = _mm_add_pd(_mm_mul_pd(fin, c.mul), c.add);
        on_canvas = _mm_movemask_pd(_mm_and_pd(
                        _mm_and_pd(_mm_cmplt_pd(_mm_andnot_pd(sign, a), spare),
                                   _mm_cmplt_pd(_mm_andnot_pd(sign, b), spare)),
                        _mm_cmplt_pd(_mm_andnot_pd(sign, c.add), _mm_set1_pd(1e9)))) == 3;
    }
    // The common steps, the 16-bit range asked of each piece or (checked
    // false) of none.
    const auto common_steps = [&](auto checked) __attribute__((always_inline)) {
        while (s.pat && s.cut < max_pieces_per_segment) {
            const double piece = s.pat->scaled;
            if (!(piece < s.dist)) break;
            const __m128d from = at;
            if (std::signbit(s.pat->length)) {
                ++s.cut;
                s.unit = piece;
                s.dist -= piece;
                s.pat = s.pat->next;
                at = _mm_add_pd(at, _mm_mul_pd(_mm_set1_pd(piece), u));
            } else {
                if (p == end) break;
                ++s.cut;
                s.unit = piece;
                s.dist -= piece;
                s.pat = s.pat->next;
                at = _mm_add_pd(at, _mm_mul_pd(_mm_set1_pd(piece), u));
                put_line<decltype(checked)::value>(p, from, at, c);
                p += 10;
            }
            // What is left is above nothing: no need of its magnitude.
            if (!(s.dist > small_tol)) break;
        }
    };
    int result = 1;
    bool down_met = false;
    while (std::fabs(s.dist) > small_tol) {
        // The common step on its own: an element started afresh that ends
        // inside the segment, with the piece limit not reached and, for a
        // pen-down piece, room in the block. Nothing carried over changes
        // on the way, so that is asked once. A pen-down piece only finds
        // room after the general step met one, so that one said so.
        if (!(s.left >= small_tol)) {
            if (on_canvas)
                common_steps(std::false_type{});
            else
                common_steps(std::true_type{});
            if (!(std::fabs(s.dist) > small_tol)) break;
        }
        // Any other step, as getlinstk_down takes it.
        const __m128d from = at;
        const DashCut before = s;
        __m128d to = fin;
        double piece = 0;
        bool down = true;
        if (cut_piece(s, &piece, &down)) {
            at = _mm_add_pd(at, _mm_mul_pd(_mm_set1_pd(piece), u));
            to = at;
        }
        if (!down) continue;
        down_met = true;
        if (p == end) [[unlikely]] {
            flush();
            if (!listing) {
                // The piece is given back uncut: the caller draws it and the rest.
                at = from;
                s = before;
                result = 0;
                break;
            }
            if (segfirst | objfirst) grow_heads();
            if (!room()) {
                // This piece is lost with the list; the caller draws the rest.
                listing = 0;
                result = 0;
                break;
            }
            p = base = handles[lblockcnt - 1] + lreccnt * 10;
            end = p + 10 * (seg_recs_per_block - lreccnt);
        }
        put_line(p, from, to, c);
        p += 10;
    }
    flush();
    keep_limits(c);
    if (down_met) *any = 1;
    curlpat = s.pat;
    linedist = s.dist;
    leftover = s.left;
    unitdist = s.unit;
    pieces_cut = s.cut;
    x_current = _mm_cvtsd_f64(at);
    y_current = _mm_cvtsd_f64(_mm_unpackhi_pd(at, at));
    return result;
#else
    (void)any;
    return -1;
#endif
}

void _stopseg(std::int16_t index) {
    ++list_edits;
    if (lavail) {
        if (SegCtrlRec* e = seg_entry(index)) {
            if (segcnt > 0) {
                put_words(e->b, 0x8000 | (segclass & 15) << 11, segblock, segrec, segcnt);
                if (SegPrimRec* lim = seg_record(segblock, segrec)) {
#if defined(__SSE2__)
                    // The better of each limit's two lanes, in the order xl xr yb yt, byte-swapped.
                    const __m128i lo = _mm_load_si128(reinterpret_cast<const __m128i*>(seglo));
                    const __m128i hi = _mm_load_si128(reinterpret_cast<const __m128i*>(seghi));
                    const __m128i w = _mm_unpacklo_epi16(_mm_min_epi16(lo, _mm_srli_si128(lo, 4)),
                                                         _mm_max_epi16(hi, _mm_srli_si128(hi, 4)));
                    _mm_storel_epi64(reinterpret_cast<__m128i*>(lim->b + 2),
                                     _mm_or_si128(_mm_slli_epi16(w, 8), _mm_srli_epi16(w, 8)));
#else
                    put_words(lim->b + 2, std::min(seglo[0], seglo[2]), std::max(seghi[0], seghi[2]),
                              std::min(seglo[1], seglo[3]), std::max(seghi[1], seghi[3]));
#endif
                }
            } else {
                clear_entry(e);
            }
        }
        if (genlist)
            clipped = 1;
        else
            showseg(mode_draw, index);
    }
    segcnt = 0;
    segfirst = 0;
    listing = 0;
}

// ---- Segments and their entries ----

void _deleteseg(std::int16_t index) {
    ++list_edits;
    clear_entry(seg_entry(index));
}

void _crunchseg(std::int16_t to, std::int16_t from) {
    ++list_edits;
    SegCtrlRec* t = seg_entry(to);
    const SegCtrlRec* f = seg_entry(from);
    if (t && f) *t = *f;
}

void _startinq(std::int16_t index) {
    inqpage = inqbegrec = inqlength = 0;
    if (const SegCtrlRec* e = seg_entry(index)) {
        inqpage = seg_word(e->b, 1);
        inqbegrec = seg_word(e->b, 2);
        inqlength = seg_word(e->b, 3);
    }
}

std::int16_t _inqseg(std::uint8_t* buffer) {
    if (inqlength == 0) return 0;
    const SegPrimRec* r = seg_record(inqpage, inqbegrec);
    if (!r) {
        inqlength = 0;
        return 0;
    }
    std::memcpy(buffer, r->b, 10);
    --inqlength;
    if (++inqbegrec >= seg_recs_per_block) {
        inqbegrec = 0;
        ++inqpage;
    }
    return 1;
}

void _statslist(std::int32_t* a, std::int32_t* b, std::int32_t* c) {
    *a = 0;
    *b = seg_ctrl_block_bytes + seg_block_bytes;
    *c = 0;
}

// ---- State ----

std::int16_t _listinstalled() { return static_cast<std::int16_t>(linstalled); }
std::int16_t _listavail() { return static_cast<std::int16_t>(lavail); }

void _zoommsg(std::int16_t n) { show_error(n, 0); }

namespace {
void free_blocks() {
    for (int i = 0; i < seg_max_blocks && handles[i]; ++i) {
        plat::raw_free(handles[i]);
        handles[i] = nullptr;
    }
    lblockkept = 0;
}
}  // namespace

// The primitive blocks stay allocated for the next recording: nothing reads
// a record past the last one written, so their old bytes need no clearing.
void _freelist() {
    ++list_edits;
    for (int i = 0; i < seg_ctrl_blocks && chandles[i]; ++i) std::memset(chandles[i], 0, seg_ctrl_block_bytes);
    lblockcnt = 0;
    lreccnt = 0;
    // A list that was never installed stays unavailable.
    lavail = linstalled;
}

void release_list_memory() {
    freelist();
    free_blocks();
}

void _initlist() {
    ++list_edits;
    init_list_view();
    // The accelerator's set-up runs only when it started (`Hulv_Error` 0): never here.
    lavail = linstalled = 0;
    free_blocks();
    lblockcnt = lreccnt = 0;
    linstalled = lavail = 1;
    // The workfile's size is not known yet when the start-up sets the list
    // up, so every control block a workfile can need is got now.
    for (int i = 0; i < seg_ctrl_blocks; ++i) {
        if (!chandles[i]) chandles[i] = static_cast<std::uint8_t*>(plat::raw_alloc(seg_ctrl_block_bytes));
        if (!chandles[i]) {
            linstalled = lavail = 0;
            for (int k = 0; k < seg_ctrl_blocks; ++k) {
                plat::raw_free(chandles[k]);
                chandles[k] = nullptr;
            }
            return;
        }
        std::memset(chandles[i], 0, seg_ctrl_block_bytes);
    }
}

void _termlist() {
    ++list_edits;
    _freelist();
    free_blocks();
    for (int i = 0; i < seg_ctrl_blocks; ++i) {
        plat::raw_free(chandles[i]);
        chandles[i] = nullptr;
    }
    linstalled = lavail = 0;
    if (HulvActive()) HulvTerminate();
}

void _visiblelist() {}
std::int16_t _has_birdseye() { return 0; }
std::int16_t _has_fastobj() { return 1; }
std::int16_t _has_inoutzoom() { return 0; }
std::int16_t _has_inqseg() { return 1; }
std::int16_t _has_findseg() { return 1; }
std::int16_t _has_levels() { return 0; }

std::int16_t InitHulvoran() { return 0; }
std::int16_t HulvActive() { return 0; }
std::int16_t HulvRedraw() { return 0; }
void HulvTerminate() {}
void panforHulv() {}

}  // namespace drav
