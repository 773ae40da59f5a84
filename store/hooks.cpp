#include "store/hooks.h"

namespace drav {

namespace {
StoreDisplay g_display;
RecordAnnouncer g_announce = nullptr;
}  // namespace

void set_store_display(const StoreDisplay& display) { g_display = display; }
void set_record_announcer(RecordAnnouncer f) { g_announce = f; }

int show_record(std::int16_t mode, const ObjectRec* rec, bool at_once) {
    return g_display.show ? g_display.show(mode, rec, at_once) : 0;
}

void store_cursor_stop() {
    if (g_display.cursor_stop) g_display.cursor_stop();
}

void store_cursor_go() {
    if (g_display.cursor_go) g_display.cursor_go();
}

void settings_were_read() {
    if (g_display.settings_read) g_display.settings_read();
}

void announce_record(std::int16_t code, std::int16_t n) {
    if (g_announce) g_announce(code, n);
}

}  // namespace drav
