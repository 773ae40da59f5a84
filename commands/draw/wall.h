// The wall command: bands of two to 255 parallel lines drawn segment by
// segment, alone or as a mitred chain, stored as plain line records, and
// optionally cut into the lines, rectangles and polygons they meet.
#pragma once

#include <cstdint>

#include "base/tool_options.h"
#include "store/records.h"

namespace drav {

// One line of a band: start (x1, y1), end (x2, y2).
struct WallLine {
    double x1, y1, x2, y2;
};

// One segment of the wall in hand or stored.
struct WallNodeRec {
    std::uint16_t flags;  // 15 middle marker, 13 spacing mode, 12 detached, 11-0 colour
    std::uint8_t style;   // line style of the screen drawing
    std::uint8_t width;   // width code of the screen drawing
    std::uint8_t count;   // number of lines
    std::uint8_t level;
    std::uint16_t caps;   // end lines: 0 none, 1 start, 2 end, 3 both
    std::int16_t first_rec;  // first stored line record
    std::int16_t rec_count;  // stored line records
    std::int16_t bcut_index;  // start cut: the object deleted, 0 none
    std::int16_t bcut_first;  // start cut: first record it added
    std::int16_t bcut_count;  // start cut: records it added
    WallLine bcut_seg;        // the hit side of the cut object
    WallLine bcut_piece1;     // kept pieces of that side
    WallLine bcut_piece2;
    std::int16_t ecut_index;  // end cut, the same
    std::int16_t ecut_first;
    std::int16_t ecut_count;
    double wall_w;            // distance of the faces
    double pivot_x, pivot_y;  // start of the segment on its pivot line
    WallLine centre, left, right;
    WallNodeRec* next;
    WallNodeRec* prev;
    std::int16_t lock;  // restraint in force for this segment
};

constexpr std::uint16_t wall_spacing_bit = 0x2000;
constexpr std::uint16_t wall_detached_bit = 0x1000;
constexpr std::uint16_t wall_colour_mask = 0x0FFF;

// The segment list: `cwbase` first, `cw` current and last, `pw` the one
// being joined.
extern WallNodeRec* cwbase;
extern WallNodeRec* lastcw;
extern WallNodeRec* cw;
extern WallNodeRec* pw;
extern ObjectRec cwinfo;  // template of the stored lines
extern ObjectRec btinfo;  // the object cut at the start
extern double origx, origy;  // the first point, then each accepted point
extern double pickx, picky;  // the polled point
extern std::int16_t cutindx;  // where the object search for a cut starts
extern double cur_rot;        // constraint angle
// Starts of the centre line, left face and right face before mitring.
extern double tx0, ty0, tx1, ty1, tx2, ty2;
extern std::uint16_t detachit;  // the segment in hand restarts at a new first point
extern std::uint16_t erased;    // 'U' took back a segment
extern ObjOptsRec* wallopts;    // the options the running command reads

// ---- The command (wall.cpp) ----
void add_wall(ObjOptsRec& opts);
int newwall();
void freewalls();
void wall_detach_line();
void calcwall(double x, double y);
void set_the_pivot(double x, double y, const WallNodeRec* node);
void setpivot(double x, double y);
// The wall width of the current settings.
double wall_width_now();
// `cur_rot` for a restraint; other values leave it.
void rot_of_lock(int lock);
// After a segment under restraint `after` (1 or 2) the next takes the other.
void alternate_restraint(int after);

// ---- Geometry (wall_geometry.cpp) ----
void wall_lin_compute(double x, double y);
void wallinfo(double dx, double dy, double off, double span, int left_on, int right_on);
// The offset of the handle line, the span and the moved faces for the
// pivot and handle choices and a wall width w; false for a pivot outside 0-2.
bool wall_offsets(int pivot, int hand, double w, double* off, double* span, int* left_on, int* right_on);
void calcoff(double x1, double y1, double x2, double y2, double t, double* x, double* y);
int countlines();
int valid_wall();
// Inner line i (1 to count - 2) of a node.
WallLine inner_line(const WallNodeRec& node, int i);
// The lines of a node in storing order: start line, left face, inner
// lines, right face, end line. Returns how many (at most 257).
int band_lines(const WallNodeRec& node, WallLine* out);
void adjustprevious();
void trimprevious();

// The kept pieces of a hit side (s1, s2) at faces crossing it in l and r
// with directions dl and dr. Piece 1 starts at l, piece 2 at r; an unused
// piece ends where it starts. Answers which pieces the case keeps: bit 0
// piece 1, bit 1 piece 2.
int kept_pieces(double lx, double ly, double dlx, double dly, double rx, double ry, double drx, double dry,
                const WallLine& s, WallLine* piece1, WallLine* piece2);

// ---- Cutting (wall_cut.cpp) ----
// Index of the traced side of rec that passes near (x, y), -1 for none; the
// sides into *s when one is found.
int chklines(double x, double y, const ObjectRec& rec, WallLine* s, int* segments);
void bcutwall(double x, double y, std::uint16_t* flag);
void adjbtrim(double* lx, double* ly, double* rx, double* ry, double dlx, double dly, double drx, double dry);
// 1 when done, 0 when no room was left (everything it added taken back).
int ecutwall(double* lx, double* ly, double dlx, double dly, double* rx, double* ry, double drx, double dry,
             std::uint16_t* flag);

// ---- Storing and taking back (wall_store.cpp) ----
void savewall(std::uint16_t* flag);
// 1 when appended; 0 when the workfile had no room (nothing written).
int makeline(double x1, double y1, double x2, double y2, const ObjectRec& tmpl);
void chgeprevious();
void chgeline(std::int16_t index, double x1, double y1, double x2, double y2);
// Removes the last record (number_of_objects - 1).
void remove_last_record();
void undeltrim(std::int16_t* index, std::int16_t* first, std::int16_t* count);
int erasewall();
void eraseallwalls();

// ---- Display (wall_display.cpp) ----
void showwall(std::int16_t mode, const WallNodeRec* node, const WallNodeRec* current, const ObjectRec& rec);
int blinkwall();
void dline(double x1, double y1, double x2, double y2, int marker, int style, int colour, std::int16_t mode,
           int width);

}  // namespace drav
