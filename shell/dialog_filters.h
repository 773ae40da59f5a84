// The filters of old-style modal dialogs: Return and Enter press item 1 with
// a visible flash, Escape is ignored, the clipboard commands work in text
// fields; and the key filters that answer yes, no and cancel questions.
#pragma once

#include <cstdint>

#include "dialogs/dialog_helpers.h"
#include "platform/ui/events.h"

namespace drav {

// The letters that answer yes and no, from entries 413/6 to 413/9.
extern char yes_char, yes_Char, no_char, no_Char;
// A click landed in a text field: the next key hides the cursor.
extern std::uint16_t wasDown;

// Reads the answer letters; start-up calls it.
void init_answer_chars();

// Each sets *item to 0, copies the event into myEvent and answers true
// when it handled the event (*item then names the item to report).
bool dlgFilter(DialogPtr dialog, plat::EventRecord* event, std::int16_t* item);
bool yncFilter(DialogPtr dialog, plat::EventRecord* event, std::int16_t* item);
bool ycFilter(DialogPtr dialog, plat::EventRecord* event, std::int16_t* item);

// Hilites the item's control for 3 ticks.
void flash_item(DialogPtr dialog, int item);

// Runs the dialog modally with the filter; the item hit.
std::int16_t ModalDialog(DialogPtr dialog, bool (*filter)(DialogPtr, plat::EventRecord*, std::int16_t*));

}  // namespace drav
