#include "shell/clipboard_menu.h"

#include "base/menu_items.h"
#include "base/messages.h"
#include "dialogs/dialog_helpers.h"
#include "display/clipboard_window.h"
#include "display/screen.h"
#include "shell/blink.h"
#include "shell/window_layers.h"
#include "store/files.h"

namespace drav {

void set_clipboard_item_text(int index) {
    unsigned char text[256];
    GetMyLocalPascalString(text, tbl_misc_prompts, index);
    MySetMenuCommandText(kMyEditMenu, four_cc("EDcp"), text);
}

void ShowClipboard() {
    if (!clipCWindow) return;
    if (plat::window_visible(clipCWindow)) {
        set_clipboard_item_text(str_show_clipboard);
        if (plat::Window* first = firstPallette()) ourSelectWindow(first);
        plat::hide_window(clipCWindow);
        FixActivate();
        return;
    }
    plat::Picture picture;
    if (scrap_picture(&picture)) {
        clipPicHdl = std::make_unique<plat::Picture>(std::move(picture));
    } else {
        // An empty picture: the window shows nothing.
        clipPicHdl = std::make_unique<plat::Picture>();
        clipPicHdl->frame = drawRect;
    }
    set_clipboard_item_text(str_hide_clipboard);
    blink_off();
    plat::show_window(clipCWindow);
    SelectDocument(clipCWindow);
    size_clip_scrolls(clipCWindow);
    plat::invalidate_rect(clipCWindow, plat::window_port(clipCWindow)->port_rect());
    ArrangeFP();
    FixActivate();
    updatewindows();
}

}  // namespace drav
