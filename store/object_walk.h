// Which records count as pickable objects, and the walk over them.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

// 1 when the object in `record` may be picked and changed for its level.
int levelok(const ObjectRec& record);
// Repairs `*index` in place; 1 when it then names a pickable object, which is
// left loaded in `info`.
int okindx(std::int16_t* index);
void checkpht();

// Loads record n; 1 when it is a live object on an editable level that is
// not a hidden template (a text's string lands in `textline`).
int o_k(std::int16_t n);
// 1 when some object is drawn in the window.
int there_are_objects();
int first_valid_indx();
int last_valid_indx();

}  // namespace drav
