// Picture files: the drawing, or the selection group, written as a picture
// file (a 512-byte header, then the picture) through the renderer's picture
// target.
#pragma once

#include <cstdint>
#include <vector>

#include "store/files.h"

namespace drav {

// The bytes of the picture file: every live object (group: every member of
// the selection group) between comments 130 and 131, bracketed as the
// export brackets them.
std::vector<std::uint8_t> pict_file_bytes(int group);
// Writes `name` (Mac Roman) in `folder` with type 'PICT' and creator 'MDRW':
// into a temporary file beside it, flushed, then renamed over it. 1 when
// written; 0 when it failed (the user was told, a file of that name is as
// it was).
int save_pict(const FSRef& folder, const char* name, int group);

}  // namespace drav
