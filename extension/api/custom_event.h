// The broadcast that tells the built-in tool modules what happens in the
// system: one record per event, handed to every module in a fixed order.
#pragma once

#include <cstdint>

#include "store/hooks.h"  // the event codes of the record operations

namespace drav {

#pragma pack(push, 2)
// The platform event that goes with a broadcast, copied field by field.
struct ModuleEventFields {
    std::uint16_t what;
    std::uint32_t message;
    std::uint32_t when;
    std::int16_t where_v;
    std::int16_t where_h;
    std::uint16_t modifiers;
};

// Built afresh for every broadcast; the modules read code, a and b as the
// record's first three 16-bit words.
struct CustomEventRec {
    std::int16_t code;
    std::int16_t a;  // menu id, record index, upper half of a window reference
    std::int16_t b;  // menu item, merge flag, double-click flag, lower half of a window reference
    std::uint32_t reserved1;
    std::int16_t reserved2;
    std::int16_t reserved3;
    std::int16_t c;  // modifier keys of a click
    char text[256];  // a file name or empty, NUL-terminated
    ModuleEventFields event;  // all zero when the sender gives none
};
#pragma pack(pop)
static_assert(sizeof(ModuleEventFields) == 16);
static_assert(sizeof(CustomEventRec) == 288);

using ModuleEntry = void (*)(CustomEventRec* event);

// The ten built-in modules in the order every broadcast reaches them:
// ArchMain, ArchSymbMain, AlignObjMain, AssocMain, UndoMain, TextNotesMain,
// DualDimMain, MechMain, Mech2Main, GeoTolMain. A slot stays empty until its
// module exists.
constexpr int module_count = 10;
extern ModuleEntry module_table[module_count];

extern std::uint16_t allow_events;        // 0: broadcasts are dropped, not queued
extern std::uint16_t api_changed_levels;  // set by the extension calls that change levels

// text may be null (sent as empty); event may be null (zeros). Synchronous:
// every module has returned when it returns. Nested broadcasts each get
// their own record.
void custom_event(std::int16_t code, std::int16_t a, std::int16_t b, std::int16_t c, const char* text,
                  const ModuleEventFields* event);
void disable_custom_events();
// The record operations broadcast through `custom_event`; called at start-up.
void install_record_events();
void enable_custom_events();

}  // namespace drav
