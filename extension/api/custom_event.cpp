#include "extension/api/custom_event.h"

#include <cstring>

namespace drav {

ModuleEntry module_table[module_count] = {};
std::uint16_t allow_events = 1;
std::uint16_t api_changed_levels = 0;

void custom_event(std::int16_t code, std::int16_t a, std::int16_t b, std::int16_t c, const char* text,
                  const ModuleEventFields* event) {
    CustomEventRec rec{};
    rec.code = code;
    rec.a = a;
    rec.b = b;
    rec.c = c;
    if (text) {
        std::size_t n = 0;
        while (n < sizeof rec.text - 1 && text[n]) ++n;
        std::memcpy(rec.text, text, n);
    }
    if (event) rec.event = *event;
    api_changed_levels = 0;
    if (!allow_events) return;
    for (ModuleEntry entry : module_table)
        if (entry) entry(&rec);
}

void disable_custom_events() { allow_events = 0; }

void enable_custom_events() { allow_events = 1; }

void install_record_events() {
    set_record_announcer([](std::int16_t code, std::int16_t n) { custom_event(code, n, 0, 0, "", nullptr); });
}

}  // namespace drav
