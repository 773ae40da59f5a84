// The tool windows made of one pop-up that shows and stores one option word
// unchanged.
#include "dialogs/settings_window.h"
#include "dialogs/tool_setting_windows.h"
#include "platform/ui/dialogs.h"

namespace drav {

namespace {

constexpr int popup = 3;

// The window being run: its word and result.
std::int16_t* g_word = nullptr;
std::uint16_t* g_ok = nullptr;

void fill(DialogPtr window) { plat::set_item_value(control0(window, popup), *g_word); }

bool handler(DialogPtr window, std::uint32_t command) {
    if (command == cmd_ok) {
        *g_word = static_cast<std::int16_t>(plat::item_value(control0(window, popup)));
        *g_ok = 1;
    } else if (command == cmd_cancel) {
        *g_ok = 0;
    }
    return command == cmd_ok || command == cmd_cancel;
}

}  // namespace

int run_popup_tool_window(const char* name, std::int16_t* word, std::uint16_t* ok_selected) {
    *ok_selected = 0;
    g_word = word;
    g_ok = ok_selected;
    run_settings_window("drav", name, fill, handler, false);
    return *ok_selected;
}

}  // namespace drav
