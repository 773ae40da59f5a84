#include "shell/apple_events.h"

#include <filesystem>
#include <string>

#include "files/drawing_reader.h"
#include "platform/core/text.h"
#include "shell/main_loop.h"

namespace drav {

namespace {

struct Installed {
    std::uint32_t id;
    AppleEventHandler handler;
};
Installed g_handlers[4] = {};

}  // namespace

void init_macevents() {
    g_handlers[0] = {plat::ae_open_application, doOpenAppEvent};
    g_handlers[1] = {plat::ae_open_documents, doOpenDocsEvent};
    g_handlers[2] = {ae_print_documents, doPrintDocEvent};
    g_handlers[3] = {plat::ae_quit, doQuitAppEvent};
}

std::int16_t AEProcessAppleEvent(const plat::EventRecord& event) {
    for (const Installed& h : g_handlers)
        if (h.handler && h.id == event.message) return h.handler(event);
    return errAEEventNotHandled;
}

std::int16_t doOpenAppEvent(const plat::EventRecord&) { return 0; }

std::int16_t doOpenDocsEvent(const plat::EventRecord& event) {
    // Each file overwrites the one before: the last of the list is opened.
    if (event.files.empty()) return 0;
    const FSRef ref{event.files.back()};
    std::string name;
    plat::utf8_to_macroman(ref.path.filename().string(), name);
    const std::filesystem::path folder = std::filesystem::absolute(ref.path).parent_path();
    open_or_merge_drawing(ref, plat::the_volume, plat::folder_id(folder), name.c_str(), drawing_file_format(ref), 0, 0);
    return 0;
}

std::int16_t doPrintDocEvent(const plat::EventRecord&) { return errAEEventNotHandled; }

std::int16_t doQuitAppEvent(const plat::EventRecord&) {
    do_quit_app();
    return 0;
}

}  // namespace drav
