#include "store/current_drawing.h"

namespace drav {

std::int16_t currentdrawingRefNum = 0;
FileRefRec current_drawing;
FileRefRec current_lib;
std::int16_t current_lib_version = 0;

}  // namespace drav
