// The display list: for every drawing object the pixel primitives of its
// last drawing, recorded on a large fixed pan canvas, so that redraws after a
// pan or zoom, highlighting and picking never walk the workfile. Every use
// goes through the 38-slot driver table `listdriver` and its front functions;
// the engine's own operations carry a leading underscore.
#pragma once

#include <cstdint>

namespace drav {

// One control entry per drawing object, four big-endian words:
// flags (bit 15 has a segment, bits 14-11 the class), block, first record,
// count. Entry e belongs to record 36 + e.
struct SegCtrlRec {
    std::uint8_t b[8];
};
// One recorded primitive: five big-endian words, the type in bits 3-0 of
// word 0 (1 attribute, 2 line, 3 limits, 5 rectangle, 6 circle).
struct SegPrimRec {
    std::uint8_t b[10];
};
static_assert(sizeof(SegCtrlRec) == 8 && sizeof(SegPrimRec) == 10);

constexpr int seg_ctrl_block_bytes = 16384;
constexpr int seg_ctrl_per_block = 2048;
constexpr int seg_ctrl_blocks = 16;
constexpr int seg_block_bytes = 16380;
constexpr int seg_recs_per_block = 1638;
constexpr int seg_max_blocks = 512;

constexpr int seg_attr = 1;
constexpr int seg_line = 2;
constexpr int seg_limits = 3;
constexpr int seg_rect = 5;
constexpr int seg_circle = 6;

// Messages of table 406 the list reports without ending the program.
constexpr int msg_list_memory = 104;
constexpr int msg_zoom_limit = 106;
constexpr int msg_unknown_prim = 107;
constexpr int msg_view_invalid = 110;

extern std::uint16_t genlist;     // a full redraw builds the list: closed segments wait for it
extern std::uint16_t segclipped;  // the last replay drew or hit something
// Bumped by every change of the recorded segments or of the canvas they
// lie on: pixels kept from a replay stay good only while it holds.
extern std::uint32_t list_edits;
// Accelerator state: never present here.
extern std::int32_t Hulv_Error;
extern std::int16_t shiftforHulv;

// ---- The driver table ----
struct ListDriver {
    void (*zoommsg)(std::int16_t n);                                               // 0
    void (*sketchlist)();                                                           // 1
    void (*showseg)(std::int16_t mode, std::int16_t index);                          // 2
    void (*findseg)(std::int16_t* index, double x, double y);                        // 3
    void (*startinq)(std::int16_t index);                                           // 4
    std::int16_t (*inqseg)(std::uint8_t* buffer);                                    // 5
    void (*deleteseg)(std::int16_t index);                                          // 6
    void (*crunchseg)(std::int16_t to, std::int16_t from);                           // 7
    void (*growseg)(double x1, double y1, double x2, double y2);                      // 8
    void (*growrect)(double x1, double y1, double x2, double y2);                    // 9
    void (*growcir)(double x1, double y1, double x2, double y2);                     // 10
    void (*begseg)(std::int16_t cls, std::int16_t colour, std::int16_t style, std::int16_t level,
                   std::int16_t strokes);                                            // 11
    void (*startseg)(std::int16_t cls);                                             // 12
    void (*stopseg)(std::int16_t index);                                            // 13
    void (*statslist)(std::int32_t* a, std::int32_t* b, std::int32_t* c);            // 14
    std::int16_t (*listinstalled)();                                                // 15
    std::int16_t (*listavail)();                                                    // 16
    void (*freelist)();                                                             // 17
    void (*initlist)();                                                             // 18
    void (*termlist)();                                                             // 19
    void (*updatelist)(std::int16_t dx, std::int16_t dy, std::int16_t home, std::int16_t zoomed,
                       std::int16_t centre, std::int16_t hthumb, std::int16_t vthumb);  // 20
    void (*panlist)(std::int16_t dx, std::int16_t dy);                               // 21
    void (*zoomlist)(std::int16_t n);                                               // 22
    void (*cenlist)();                                                              // 23
    void (*homelist)();                                                             // 24
    void (*multlist)();                                                             // 25
    void (*regenlist)();                                                            // 26
    void (*changelist)();                                                           // 27
    void (*fulllist)(double* xl, double* xr, double* yb, double* yt);                // 28
    void (*crunchlist)();                                                           // 29
    void (*visiblelist)();                                                          // 30
    std::int16_t (*has_birdseye)();                                                 // 31
    std::int16_t (*has_fastobj)();                                                  // 32
    std::int16_t (*has_inoutzoom)();                                                // 33
    std::int16_t (*has_inqseg)();                                                   // 34
    std::int16_t (*has_findseg)();                                                  // 35
    std::int16_t (*has_levels)();                                                   // 36
    void (*colorseg)(std::int16_t index, std::int16_t colour);                       // 37
};
constexpr int list_driver_slots = 38;
static_assert(sizeof(ListDriver) == list_driver_slots * sizeof(void (*)()));

extern ListDriver listdriver;
// Fills the table with the built-in engine; nothing is allocated.
void vmlistinit();

// The fronts: each calls its slot. Only after `vmlistinit`.
void zoommsg(std::int16_t n);
void sketchlist();
void showseg(std::int16_t mode, std::int16_t index);
void findseg(std::int16_t* index, double x, double y);
void startinq(std::int16_t index);
std::int16_t inqseg(std::uint8_t* buffer);
void deleteseg(std::int16_t index);
void crunchseg(std::int16_t to, std::int16_t from);
void growseg(double x1, double y1, double x2, double y2);
void growrect(double x1, double y1, double x2, double y2);
void growcir(double x1, double y1, double x2, double y2);
// growseg for n lines (x1 y1 x2 y2 each) in turn, up to the one that finds
// the recording stopped (`listing` 0); returns how many it took.
int growsegs(const double* xy, int n);
// The pen-down pieces of the segment startlinstk set up, cut as
// getlinstk_down cuts them and recorded as growsegs records them, none
// clipped. 1: the segment is used up; 0: the list switched itself off on the
// way and the rest of the segment is the caller's to cut; -1: not taken
// (another engine, or a pattern not scaled yet), nothing done. *any is set
// to 1 when some piece was pen-down.
int growdashes(std::uint16_t* any);
// growseg without the trip through the driver table when the table holds the engine.
void growseg_now(double x1, double y1, double x2, double y2);
void begseg(std::int16_t cls, std::int16_t colour, std::int16_t style, std::int16_t level,
            std::int16_t strokes);
void startseg(std::int16_t cls);
void stopseg(std::int16_t index);
void statslist(std::int32_t* a, std::int32_t* b, std::int32_t* c);
std::int16_t listinstalled();
std::int16_t listavail();
void freelist();
// Empties the list and gives its kept blocks back: the allocator's way out of a shortage.
void release_list_memory();
void initlist();
void termlist();
void updatelist(std::int16_t dx, std::int16_t dy, std::int16_t home, std::int16_t zoomed,
                std::int16_t centre, std::int16_t hthumb, std::int16_t vthumb);
void panlist(std::int16_t dx, std::int16_t dy);
void zoomlist(std::int16_t n);
void cenlist();
void homelist();
void multlist();
void regenlist();
void changelist();
void fulllist(double* xl, double* xr, double* yb, double* yt);
void crunchlist();
void visiblelist();
std::int16_t has_birdseye();
std::int16_t has_fastobj();
std::int16_t has_inoutzoom();
std::int16_t has_inqseg();
std::int16_t has_findseg();
std::int16_t has_levels();
void colorseg(std::int16_t index, std::int16_t colour);

// ---- The engine's operations ----
void _zoommsg(std::int16_t n);
void _startinq(std::int16_t index);
std::int16_t _inqseg(std::uint8_t* buffer);
void _deleteseg(std::int16_t index);
void _crunchseg(std::int16_t to, std::int16_t from);
void _growseg(double x1, double y1, double x2, double y2);
void _growrect(double x1, double y1, double x2, double y2);
void _growcir(double x1, double y1, double x2, double y2);
void _begseg(std::int16_t cls, std::int16_t colour, std::int16_t style, std::int16_t level,
             std::int16_t strokes);
void _startseg(std::int16_t cls);
void _stopseg(std::int16_t index);
void _statslist(std::int32_t* a, std::int32_t* b, std::int32_t* c);
std::int16_t _listinstalled();
std::int16_t _listavail();
void _freelist();
void _initlist();
void _termlist();
void _visiblelist();
std::int16_t _has_birdseye();
std::int16_t _has_fastobj();
std::int16_t _has_inoutzoom();
std::int16_t _has_inqseg();
std::int16_t _has_findseg();
std::int16_t _has_levels();

// The accelerator interface: inert.
std::int16_t InitHulvoran();
std::int16_t HulvActive();
std::int16_t HulvRedraw();
void HulvTerminate();
void panforHulv();

// ---- Reading the list (replay and tests) ----
// The control entry of record index, or null when it has none to hold it.
SegCtrlRec* seg_entry(int index);
// Record rec of primitive block block, or null when that block is not in use.
SegPrimRec* seg_record(int block, int rec);
inline std::uint16_t seg_word(const std::uint8_t* p, int word) {
    return static_cast<std::uint16_t>(p[2 * word] << 8 | p[2 * word + 1]);
}
inline void set_seg_word(std::uint8_t* p, int word, std::uint16_t v) {
    p[2 * word] = static_cast<std::uint8_t>(v >> 8);
    p[2 * word + 1] = static_cast<std::uint8_t>(v);
}
// Blocks in use, and records used in the last of them.
int seg_blocks_used();
int seg_records_in_last_block();

// Locks of the offscreen copy's pixels: nothing to do on our ports, kept so
// that the whole redraw can hold one lock for all.
void ourLockPixels(void* pixmap);
void ourUnlockPixels(void* pixmap);

}  // namespace drav
