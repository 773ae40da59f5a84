// The open drawing file.
#pragma once

#include <cstdint>

#include "store/files.h"

namespace drav {

extern std::int16_t currentdrawingRefNum;  // 0 when no drawing file is open

// A file the program keeps by name: the open drawing and the current symbol library.
struct FileRefRec {
    std::int16_t vref = 0;
    std::int32_t dirid = 0;
    char name[32] = {};
    FSRef ref;
};
extern FileRefRec current_drawing;
extern FileRefRec current_lib;
extern std::int16_t current_lib_version;

}  // namespace drav
