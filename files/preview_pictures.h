// The preview pictures a native drawing file carries in its companion: a
// small one always, a large one when the tool option asks for it. Both are
// one-bit pictures of the drawing (or of the saved group).
#pragma once

#include <cstdint>

#include "platform/core/picture.h"
#include "store/files.h"

namespace drav {

constexpr std::int16_t small_preview_id = 257, large_preview_id = 258;

// The small preview's size: item 17 of dialog 443, at (0, 0); empty when the
// layout cannot be had.
plat::Rect small_preview_rect();
// The preview of the drawing (group 0) or of the selection group at `size`.
plat::Picture preview_picture(const plat::Rect& size, int group);

// Writes 'PICT' 257 "smallpict" and, when `objopts` word 199 is set, 'PICT'
// 258 "largepict" (the drawing area's size) into the companion of `file`.
// Nothing is stored without a screen. 1 when every preview wanted was
// stored; else the user was told (error 127
// for a full disk, 129 with the error) and 0. A preview that fails does not
// keep the other from being tried.
int saveDravpict(const FSRef& file, int group);

}  // namespace drav
