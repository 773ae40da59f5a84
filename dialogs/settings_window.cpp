#include "dialogs/settings_window.h"

#include "dialogs/edit_fields.h"
#include "display/screen.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/windows.h"

namespace drav {

void place_over_drawing_window(DialogPtr window) {
    if (!window) return;
    const plat::Rect d = plat::dialog_bounds(window);
    plat::Window* parent = whichdrawWindow();
    const plat::Rect p = parent ? plat::window_bounds(parent) : plat::screen_bounds();
    const int w = d.right - d.left, h = d.bottom - d.top;
    const int left = p.left + ((p.right - p.left) - w) / 2;
    const int top = p.top + ((p.bottom - p.top) - h) / 5;
    plat::move_dialog(window, left, top);
}

int run_settings_window(const char* nib, const char* name, void (*fill)(DialogPtr),
                        bool (*handler)(DialogPtr, std::uint32_t), bool arrow_cursor) {
    DialogPtr window = nullptr;
    const int status = CreateNibWindow(nib, name, &window);
    if (status != 0) return status;
    if (arrow_cursor) dialog_cursor();
    fill(window);
    place_over_drawing_window(window);
    plat::show_dialog(window);
    RunAppModalLoopForWindow(window, handler);
    if (plat::dialog_alive(window)) ourdisposdialog1(window);
    return 0;
}

bool finish_on_ok_cancel(DialogPtr window, std::uint32_t command, void (*harvest)(DialogPtr),
                         std::uint16_t* ok_selected) {
    if (command == cmd_ok) {
        harvest(window);
        *ok_selected = 1;
    } else if (command == cmd_cancel) {
        *ok_selected = 0;
    }
    return command == cmd_ok || command == cmd_cancel;
}

ControlRef control0(DialogPtr window, int id) { return GrabCRef(window, 0, id); }

}  // namespace drav
