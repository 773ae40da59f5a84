#include "files/symbol_editing.h"

#include "base/idle.h"
#include "base/messages.h"
#include "base/questions.h"
#include "display/screen.h"
#include "files/symbol_adder.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/symbol_library.h"

namespace drav {

namespace {
constexpr int ask_delete = 23;
}  // namespace

void symbols(int choice, std::int16_t slot) {
    const std::uint16_t was_drawing = drawtoscreen, was_idle = getidle();
    drawtoscreen = 1;
    setidle(0);
    switch (choice) {
    case 1:
        symbadd(slot);
        break;
    case 2:
        symbdelete(slot);
        break;
    case 3:
        // TODO(symbol_detail)
        break;
    case 4:
        // TODO(symbhandle)
        break;
    default:
        break;
    }
    drawtoscreen = was_drawing;
    setidle(was_idle);
}

void symbdelete(std::int16_t slot) {
    if (!open_default_library(2) || !valid_lib_symbol(slot)) return;
    std::int16_t start = 0, len = 0;
    get_startlen(slot, &start, &len);
    clear_watch();
    if (ask_yes_cancel(tbl_alerts, ask_delete) != reply_yes) return;
    del_update_ctrl_block(slot);
    mark_symbol_invalid(start, len);
}

int symbinwork(std::int16_t n) {
    const std::uint16_t was_idle = getidle();
    int used = 0;
    if (open_default_library(0) && valid_lib_symbol(static_cast<std::int16_t>(n - 1))) {
        stop_symbolscan();
        std::int16_t index = 0;
        used = find_symb_indx(current_lib.name, static_cast<std::int16_t>(n - 1), &index);
        start_symbolscan();
    }
    setidle(was_idle);
    return used;
}

}  // namespace drav
