#include "dialogs/modeless_windows.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace drav {

namespace {

std::vector<std::pair<DialogPtr, WindowHandler>>& handlers() {
    static std::vector<std::pair<DialogPtr, WindowHandler>> h;
    return h;
}

}  // namespace

void install_window_handler(DialogPtr window, WindowHandler handler) {
    if (!window || !handler) return;
    handlers().emplace_back(window, handler);
}

bool modeless_window_event(const plat::EventRecord& event) {
    auto& h = handlers();
    // Windows disposed of since are forgotten.
    h.erase(std::remove_if(h.begin(), h.end(), [](const auto& p) { return !plat::dialog_alive(p.first); }), h.end());
    if (!event.dialog) return false;
    const auto found = std::find_if(h.begin(), h.end(), [&](const auto& p) { return p.first == event.dialog; });
    if (found == h.end()) return false;
    if (event.what == plat::app1Evt) {
        const WindowHandler handler = found->second;
        handler(event.dialog, event.message);
        return true;
    }
    if (event.what == plat::keyDown || event.what == plat::autoKey) {
        plat::apply_key(event.dialog, event);
        return true;
    }
    return false;
}

}  // namespace drav
