// The point command: one point object per click, turned by the restraint.
#pragma once

#include "base/tool_options.h"

namespace drav {

void add_point(ObjOptsRec& opts);
void pt_key_options(int key);

}  // namespace drav
