#include "shell/dialog_filters.h"

#include "base/messages.h"
#include "platform/core/clock.h"
#include "platform/ui/cursors.h"
#include "shell/event_pump.h"

namespace drav {

char yes_char = 'y', yes_Char = 'Y', no_char = 'n', no_Char = 'N';
std::uint16_t wasDown = 0;

namespace {

constexpr std::uint8_t key_return = 13, key_enter = 3, key_escape = 27;
constexpr std::uint32_t flash_ticks = 3;

bool is_key(const plat::EventRecord* e) { return e->what == plat::keyDown || e->what == plat::autoKey; }

char first_char(int index) {
    char text[256];
    GetMyLocalCString(text, tbl_startup, index);
    return text[0];
}

// The edit-text item under the global point, if any.
bool over_field(DialogPtr dialog, plat::Point global) {
    const plat::Rect b = plat::dialog_bounds(dialog);
    const int h = global.h - b.left, v = global.v - b.top;
    for (int i = 1; i <= plat::item_count(dialog); ++i) {
        plat::DItem* it = plat::dialog_item(dialog, i);
        if (!it || plat::item_kind(it) != plat::ItemKind::edit_text || !plat::item_visible(it)) continue;
        const plat::Rect r = plat::item_rect(it);
        if (h >= r.left && h < r.right && v >= r.top && v < r.bottom) return true;
    }
    return false;
}

bool answer_keys(DialogPtr dialog, plat::EventRecord* event, std::int16_t* item, bool with_no) {
    *item = 0;
    myEvent = *event;
    if (!is_key(event)) return false;
    const char ch = static_cast<char>(event->message & 0xFF);
    int answer = 0;
    if (event->modifiers & plat::cmdKey) {
        if (ch == '.') answer = 2;
    } else if (ch == yes_Char || ch == yes_char || ch == key_return || ch == key_enter) {
        answer = 1;
    } else if (with_no && (ch == no_Char || ch == no_char)) {
        answer = 3;
    }
    if (!answer) return false;
    flash_item(dialog, answer);
    *item = static_cast<std::int16_t>(answer);
    return true;
}

}  // namespace

void init_answer_chars() {
    yes_char = first_char(6);
    yes_Char = first_char(7);
    no_char = first_char(8);
    no_Char = first_char(9);
}

void flash_item(DialogPtr dialog, int item) {
    plat::DItem* it = plat::dialog_item(dialog, item);
    if (!it) return;
    plat::set_item_hilite(it, 1);
    const std::uint32_t start = plat::ticks();
    while (plat::ticks() - start < flash_ticks) plat::busy_wait_step();
    plat::set_item_hilite(it, 0);
}

bool dlgFilter(DialogPtr dialog, plat::EventRecord* event, std::int16_t* item) {
    *item = 0;
    myEvent = *event;
    switch (event->what) {
    case plat::nullEvent:
    case plat::updateEvt:
        plat::set_cursor(over_field(dialog, plat::mouse_global()) ? plat::Cursor::ibeam : plat::Cursor::arrow);
        break;
    case plat::mouseDown: {
        plat::DItem* it = plat::dialog_item(dialog, event->item);
        if (it && plat::item_kind(it) == plat::ItemKind::edit_text) wasDown = 1;
        break;
    }
    case plat::keyDown:
    case plat::autoKey: {
        if (wasDown) {
            plat::obscure_cursor();  // until the mouse moves
            wasDown = 0;
        }
        const char ch = static_cast<char>(event->message & 0xFF);
        if (!(event->modifiers & plat::cmdKey)) {
            if (ch == key_return || ch == key_enter) {
                flash_item(dialog, 1);
                *item = 1;
                return true;
            }
            if (ch == key_escape) event->what = plat::nullEvent;
            break;
        }
        if (!plat::focus_item(dialog)) break;
        bool edited = false;
        if (ch == 'C' || ch == 'c') edited = plat::edit_focused(dialog, plat::EditCommand::copy);
        if (ch == 'X' || ch == 'x') edited = plat::edit_focused(dialog, plat::EditCommand::cut);
        if (ch == 'V' || ch == 'v') edited = plat::edit_focused(dialog, plat::EditCommand::paste);
        if (edited) event->what = plat::nullEvent;
        break;
    }
    default:
        break;
    }
    return plat::standard_filter(dialog, event, item);
}

bool yncFilter(DialogPtr dialog, plat::EventRecord* event, std::int16_t* item) {
    return answer_keys(dialog, event, item, true);
}

bool ycFilter(DialogPtr dialog, plat::EventRecord* event, std::int16_t* item) {
    return answer_keys(dialog, event, item, false);
}

std::int16_t ModalDialog(DialogPtr dialog, bool (*filter)(DialogPtr, plat::EventRecord*, std::int16_t*)) {
    std::int16_t item = 0;
    if (!dialog) return 0;
    plat::ModalFilter f;
    if (filter) f = [filter](plat::Dialog* d, plat::EventRecord* e, std::int16_t* it) { return filter(d, e, it); };
    plat::modal_dialog(dialog, f, &item);
    return item;
}

}  // namespace drav
