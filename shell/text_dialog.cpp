#include "shell/text_dialog.h"

#include <cstring>

#include "commands/draw/text.h"
#include "display/graphics_unit.h"
#include "shell/tool_setting_frame.h"
#include "store/record_ops.h"

namespace drav {

namespace {
constexpr int text_dialog_id = 433, field = 4;
}  // namespace

int text_dialog(char* text) {
    SettingsDialog frame(text_dialog_id, {}, true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    // The drawing's cross-hair stays hidden while the dialog is up.
    cur_stop();
    set_item(d, field, text);
    frame.show(field);
    int answer = 0;
    for (;;) {
        const int item = frame.next();
        if (item == 2) break;
        if (item != 1) continue;
        // Only text a drawing can store, and no more than a line holds.
        if (!check_roman_text(d, field) || !check_string_length(d, field, text_line_max)) continue;
        char buffer[256];
        get_item(d, field, buffer);
        std::memcpy(text, buffer, std::strlen(buffer) + 1);
        answer = 1;
        break;
    }
    cur_go();
    return answer;
}

void install_text_dialog() { set_text_dialog(text_dialog); }

}  // namespace drav
