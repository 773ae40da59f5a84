// Stepping and moving the current object's handle and pivot as undoable
// operations 34 and 35.
#pragma once

namespace drav {

// The Handle and Pivot menus' "next location" commands: only between
// commands, outside group mode, with a current object.
void nexthandle();
void nextpivot();
// Moves the handle and pivot by world offsets; after an accepted click
// outside group mode a handle move (pivotop 0) is stored in the object as
// its handle offset.
void hpchangeit(double hdx, double hdy, double pdx, double pdy, int pivotop);
// The handle and pivot points of the current object as they stand.
void current_handle_and_pivot(double* hx, double* hy, double* px, double* py);
// Makes hpchangeit the worker of operations 34 and 35.
void install_handle_moves();

}  // namespace drav
