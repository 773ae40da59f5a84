// Symbol-library files.
#pragma once

#include <cstdint>

#include "store/files.h"
#include "store/records.h"

namespace drav {

// Makes `ref` an empty library: sized to `bytes` when non-zero, a header for
// `nctrl` control records, three empty records and, with `withctrls`, the
// empty control records. Error 120 when it cannot be opened. 1 on success.
int FSRef_init_library(const FSRef& ref, std::int64_t bytes, std::int16_t nctrl, int withctrls);

// Repairs control record n of the open library `file`, held in `ctrl`,
// against the symbol-users table: its user count, and with it its valid flag
// and the live bit of its pieces. Error 48 first. 1 when every write went
// through.
int fix_symbol(std::int16_t file, std::int16_t n, ObjectRec& ctrl);

}  // namespace drav
