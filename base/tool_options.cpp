#include "base/tool_options.h"

namespace drav {

ObjOptsRec* objopts = nullptr;

void init_objopts() {
    if (objopts) *objopts = ObjOptsRec{};
}

}  // namespace drav
