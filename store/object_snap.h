// Object snap: every cursor point a command loop reads is moved onto the
// nearest 1/64 inch, increment, grid point, characteristic point or outline
// of one chosen object, or crossing of two chosen objects. The lists of an
// object's characteristic points serve the handles and pivots too.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

// Entry 0 is the object's handle point; entries 1 .. count - 1 its snap
// points (count 1 = none, at most 31 points).
struct SnapPointListRec {
    struct Pt {
        double x, y;
    };
    Pt pts[32];
    std::int16_t count = 1;
};

// Snap modes at byte 2 of misc_defs.
constexpr std::int16_t snap_fraction = 0, snap_increment = 1, snap_grid = 2, snap_object = 3,
                       snap_crossing = 4;

extern std::uint16_t snap_eqn;        // mode 3: 0 the object's points, 1 its outline
extern ObjectRec* snap_obj;           // copy of the snap object's record
extern SnapPointListRec msnap_pts;    // the snap object's points
extern std::int16_t snapintr;         // crossing points in objintr for mode 4
extern std::int16_t snapnum;          // the restraints palette's highlighted snap item
extern std::uint16_t movehandle;      // a library symbol's handle is being placed: object snap stays

// Moves the point in place by the snap mode; nothing while snap_on is 0.
void snap_it(double* x, double* y);
// The handle point and the snap points of `record`; (x, y), the pick point,
// chooses a symbol's piece.
void info_setup_snap(ObjectRec& record, SnapPointListRec& list, double x, double y);
void snap_equation(const ObjectRec& record, const SnapPointListRec& list, double* x, double* y);
void msnap_points(double* x, double* y, const SnapPointListRec& list);
void closest_pnt(double* x, double* y, int n);
void orgshift(double sx, double sy, double* ox, double* oy);
double snap_smallest_frac(double v);
int snap_lines(int centre, int first, int last, double* x, double* y, const SnapPointListRec& list);
void line_eqn(const ObjectRec& record, double* x, double* y);
void ellipse_eqn(const ObjectRec& record, const SnapPointListRec& list, double* x, double* y);
void clear_object_snap();
void nomore_object_snap();
int rect_or_poly(const ObjectRec& record);
// The record's outline as drawn, closing vertex included; *n doubles. The
// array is the shared one and lives until the next collection.
const double* setup_poly(const ObjectRec& record, int* n);
int sym_explode(ObjectRec& record, std::int16_t* first, std::int16_t* count, std::int16_t* found, double x,
                double y);
void old_to_new(std::int16_t first, std::int16_t count);

// The palette items of the snap modes (6 fraction, 8 increment, 9 grid).
int snap_item_of_mode(int mode);

// What object snap needs from the floors above: the renderer collects an
// outline, the display list says whether it can pick, and the restraints
// palette shows a changed snap item. Installed at start-up; until then
// nothing is collected, no list is available and no palette redraws.
struct SnapHooks {
    // Traces `rec` collecting its vertices into `out` (at most max doubles);
    // the number of doubles collected.
    int (*collect)(const ObjectRec& rec, double* out, int max) = nullptr;
    int (*list_available)() = nullptr;
    void (*snap_item_moved)(int old_item, int new_item) = nullptr;
    // The display's pick: the object under (x, y) searched on from *n.
    int (*find_object)(std::int16_t* n, double x, double y, int repeat) = nullptr;
};
void set_snap_display(int (*collect)(const ObjectRec&, double*, int), int (*list_available)());
void set_snap_palette(void (*snap_item_moved)(int old_item, int new_item));
void set_snap_finder(int (*find)(std::int16_t* n, double x, double y, int repeat));

}  // namespace drav
