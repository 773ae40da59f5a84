// Copy, Cut and Paste of drawing objects through the desktop's clipboard.
// The program's own flavour is a run of 128-byte object records in drawing
// order, with no header: a text's continuation follows its text, and a
// placed symbol travels as its pieces, mapped into the drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ui/clipboard.h"
#include "store/records.h"

namespace drav {

extern plat::Pasteboard* theClipboard;

constexpr int err_bad_clipboard = 160;       // 406: the records on the clipboard are damaged
constexpr int msg_text_replaced = 60;        // 412: characters became '?'

void InitClipboard();
void ReleaseClipboard();
void DoClipboardCopy();
void DoClipboardCut();
void DoClipboardPaste();

// The records of the selection: the live members of the group in group
// mode, else the current object. Empty when nothing is selected.
std::vector<std::uint8_t> selection_segs();
// A block from the clipboard that can be pasted: whole records, each a
// drawing object other than a placed symbol with values that can be worked
// with, a continuation only right after a text that says it continues. The
// records land in *recs with their strings ended inside their fields.
int segs_sound(const std::uint8_t* data, std::size_t size, std::vector<ObjectRec>* recs);
// Pastes a block relative to the reference point of the command loop; a
// damaged block is refused with error 160 and changes nothing. The number of
// objects stored.
int paste_segs(const std::uint8_t* data, std::size_t size);

}  // namespace drav
