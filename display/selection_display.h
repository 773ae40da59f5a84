// What is selected, on screen: the current object or the selection group in
// the highlight colour, with the handle marker (a filled square) and the
// pivot marker (a filled circle) drawn straight into the drawing window.
#pragma once

#include <cstdint>

#include "platform/core/qd_types.h"

namespace drav {

extern std::int16_t currentitem;  // the current object; below 1 none
extern std::int16_t groupitem;    // the member that gave the group its handle and pivot; below 1 none
extern double ohandx, ohandy;     // handle of the current object, world
extern double pivotx, pivoty;     // pivot of the current object
extern double ghandx, ghandy;     // handle of the group
extern double gpivotx, gpivoty;   // pivot of the group
extern plat::Rect handRect;       // the handle marker, window pixels
extern plat::Rect pivotRect;      // the pivot marker

void showonoff(std::int16_t index, std::int16_t on);
void showcurrent(std::int16_t index);
void showgroup(std::int16_t on);
void showobjonly(std::int16_t index, std::int16_t on);
void macshow(std::int16_t mode, std::int16_t index);
// Redraws object index, held in `info`, in colour; flag 0 gives a symbol
// its pieces' own colours back.
void chngecolor(std::int16_t index, std::int16_t colour, std::int16_t flag);
int grp_get_and_check(std::int16_t index);
void setgroupitem(std::int16_t index);

// The handle and pivot of the group in group mode, else of the current object.
void get_oghandle(double* x, double* y);
void get_ogpivot(double* x, double* y);
void set_oghandle(double x, double y);
void set_ogpivot(double x, double y);
void show_oghandle(std::int16_t on);
void show_ogpivot(std::int16_t on);
// which 0 moves the handle, else the pivot.
void change_hp(std::int16_t which, double x, double y);
int ohp_isnull();
int ghp_isnull();
void nullohp();
void nullghp();

// Installs the store's hooks into the selection display.
void install_selection_hooks();

}  // namespace drav
