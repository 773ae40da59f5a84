// The choice of the two objects of crossing snap: one pick for both, or one
// for each, read in a small command loop of its own.
#pragma once

#include "store/records.h"

namespace drav {

// 1 when crossing snap is now on.
int intr_snap_selected();
// 1 when both objects were found and differ (or the one is a symbol).
int get_two_objects(ObjectRec& record1, ObjectRec& record2);

}  // namespace drav
