// The object renderer: it draws one record through the graphics unit.
#pragma once

#include "store/records.h"

namespace drav {

// The working copy of the record being drawn; the kind routines and the clip
// tests read it.
extern ObjectRec sinfo;

}  // namespace drav
