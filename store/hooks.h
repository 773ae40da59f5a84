// What the store asks of the floors above it: the display draws what the
// store stores; the modules hear of changed records.
// The display and the modules install these at start-up. A hook not
// installed does nothing: the store alone needs no window.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

// Event codes sent by the record operations.
constexpr std::int16_t ev_object_added = 2;
constexpr std::int16_t ev_object_deleted = 3;
constexpr std::int16_t ev_object_undeleted = 4;

struct StoreDisplay {
    // Traces (0), draws (1) or erases (2) `rec` in the offscreen copy, with
    // `at_once` also straight into the window; 1 when some part of it lies
    // in the view.
    int (*show)(std::int16_t mode, const ObjectRec* rec, bool at_once) = nullptr;
    // Hide and show again the drawn cross-hair around a run of erasing.
    void (*cursor_stop)() = nullptr;
    void (*cursor_go)() = nullptr;
    // The settings records were read: the line-style length and the view
    // follow them, and the screen cursor goes to the view's lower left.
    void (*settings_read)() = nullptr;
};
void set_store_display(const StoreDisplay& display);

using RecordAnnouncer = void (*)(std::int16_t code, std::int16_t n);
void set_record_announcer(RecordAnnouncer f);

// The store's calls through the hooks. show_record gives 0 when nothing
// draws.
int show_record(std::int16_t mode, const ObjectRec* rec, bool at_once = false);
void store_cursor_stop();
void store_cursor_go();
void settings_were_read();
void announce_record(std::int16_t code, std::int16_t n);

}  // namespace drav
