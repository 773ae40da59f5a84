// The four application events: open application, open documents, print
// documents and quit.
#pragma once

#include <cstdint>

#include "platform/ui/events.h"

namespace drav {

constexpr std::int16_t errAEDescNotFound = -1701;
constexpr std::int16_t errAEEventNotHandled = -1708;
constexpr std::int16_t errAEParamMissed = -1715;

constexpr std::uint32_t ae_print_documents = 0x70646F63;  // 'pdoc'

using AppleEventHandler = std::int16_t (*)(const plat::EventRecord& event);

void init_macevents();
// Runs the handler installed for the event's id; errAEEventNotHandled when none is.
std::int16_t AEProcessAppleEvent(const plat::EventRecord& event);

std::int16_t doOpenAppEvent(const plat::EventRecord& event);
std::int16_t doOpenDocsEvent(const plat::EventRecord& event);
std::int16_t doPrintDocEvent(const plat::EventRecord& event);
std::int16_t doQuitAppEvent(const plat::EventRecord& event);

}  // namespace drav
