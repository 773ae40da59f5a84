// Every object's handle (the point it is dragged and placed by) and pivot
// (the centre of turning and scaling). The handle is the stored offset or
// one of the object's snap points chosen by the location in word 0; the
// pivot is one of its snap points chosen by a running index.
#pragma once

#include <cstdint>

#include "store/object_snap.h"
#include "store/records.h"

namespace drav {

extern SnapPointListRec handle_pts;  // the snap points of the object last asked about

// The handle of rec as an offset from its reference point; with step the
// location first moves to the next snap point. The reference point of
// relative input moves to the handle.
void new_handle(ObjectRec& rec, int step, double* dx, double* dy);
void abs_handle(ObjectRec& rec, int step, double* x, double* y);
// The reference point of relative input goes to the stored-offset handle of info.
void get_handle();
// The pivot of rec as an offset from its reference point; without step it
// starts again at the first snap point that is not the handle.
void new_pivot(ObjectRec& rec, int step, double* dx, double* dy);

}  // namespace drav
