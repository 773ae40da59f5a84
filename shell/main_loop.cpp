#include "shell/main_loop.h"

#include "base/command_loop.h"
#include "base/menu_items.h"
#include "files/file_commands.h"
#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "shell/menu_handler.h"
#include "shell/preferences.h"
#include "store/record_store.h"
#include "store/settings.h"

namespace drav {

char globalch = 0;

void do_quit_app() {
    quit = 1;
    plat::flush_events(plat::everyEvent & ~plat::highLevelEventMask);
    if (needtosave) {
        write_sav_rec();
        want_exit(&globalch);
    } else {
        globalch = 'Q';
    }
    aborted = 0;
}

int LoadMenus() {
    plat::clear_menu_bar();
    // TODO(KEYS) plat::reserve_alt_letters with the Alt letters the key-equivalent table claims
    if (!plat::load_menu_bar((plat::bundle_dir() / "ui" / "Menu" / "MenuBar.ui").string())) return -1;
    register_menu_commands();
    UpdateMenus();
    return 0;
}

void UpdateMenus() {
    PrefsRec prefs{};
    getprefs(&prefs);
    plat::show_menu(static_cast<int>(kMyArchMenu), prefs.architect_on_menu != 0);
    plat::show_menu(static_cast<int>(kMyMechMenu), prefs.mechanical_on_menu != 0);
}

int open_selected_doc() { return 0; }

}  // namespace drav
