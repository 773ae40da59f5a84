// What is selected and what is on screen: one bit per record index for the
// objects drawn in the window and for the members of the selection group,
// and whether operations apply to the group or to the current object.
#pragma once

#include <cstdint>

namespace drav {

extern std::uint16_t* on_screen;  // drawn inside the window when last shown
extern std::int32_t on_size;      // bytes of `on_screen`
extern std::uint16_t* in_group;   // members of the selection group
extern std::int32_t in_size;      // bytes of `in_group`
extern std::int16_t objs_in_grp;  // members among 36 .. `number_of_objects` - 1
extern std::uint16_t macgroup;    // group mode: operations apply to the whole group
extern std::uint16_t grpdelok;    // the group was deleted as a whole and can be undeleted

// Allocates both bit sets, zero-filled, with one bit for every record index
// below `worksize`. 0 when memory could not be had (error 104 shown).
int init_selection_sets();
void free_selection_sets();

// Bits of records outside the sets read as 0 and are never written.
std::int16_t get_on_screen(int n);
void put_on_screen(int n, int on);
std::int16_t get_in_group(int n);
void put_in_group(int n, int on);

}  // namespace drav

namespace drav {
// Nothing on screen; an empty selection group.
void clear_on_screen();
void clear_group();
}  // namespace drav
