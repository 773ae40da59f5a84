// The open drawing file.
#pragma once

#include <cstdint>

namespace drav {

extern std::int16_t currentdrawingRefNum;  // 0 when no drawing file is open

}  // namespace drav
