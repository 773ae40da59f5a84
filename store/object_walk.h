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
// The next index from n + 1 that passes `o_k`, wrapping to the first valid
// one at the end; stored in n and returned.
int move_forward(std::int16_t* n);
// The previous index below n that passes `o_k`, wrapping to the last valid
// one at the start; stored in n and returned.
int move_backward(std::int16_t* n);
// Counts the group into `objs_in_grp`; in group mode an empty group loses its
// handle and pivot.
void set_group_limits();

// The kind filter of picking and fences: one flag per object kind 0-9.
extern std::uint16_t objs_valid[10];
void set_valid_objects();
void clear_valid_objects();
// k >= 0 allows kind k, k < 0 forbids kind -k.
void chge_valid_objects(int k);
std::int16_t valid_object(int kind);

}  // namespace drav
