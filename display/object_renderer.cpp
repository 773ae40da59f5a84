#include "display/object_renderer.h"

namespace drav {

ObjectRec sinfo{};

}  // namespace drav
