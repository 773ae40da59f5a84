#include "files/current_drawing.h"

namespace drav {

std::int16_t currentdrawingRefNum = 0;

}  // namespace drav
