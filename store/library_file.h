// Symbol-library files.
#pragma once

#include <cstdint>

#include "store/files.h"

namespace drav {

// Makes `ref` an empty library: sized to `bytes` when non-zero, a header for
// `nctrl` control records, three empty records and, with `withctrls`, the
// empty control records. Error 120 when it cannot be opened. 1 on success.
int FSRef_init_library(const FSRef& ref, std::int64_t bytes, std::int16_t nctrl, int withctrls);

}  // namespace drav
