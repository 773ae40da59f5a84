// Building the selection group object by object: what the fence selection
// and the other group builders change in the group's membership.
#pragma once

#include <cstdint>

namespace drav {

extern std::uint16_t adding;      // 1: builders add to the group, 0: they remove
extern std::uint16_t grpchanged;  // a membership changed since the builder started

// When matches is set and record index is a live object on an editable
// level, its group bit becomes `adding` (a continued text's next record too).
void adjust_group(std::int16_t index, std::int16_t matches);

}  // namespace drav
