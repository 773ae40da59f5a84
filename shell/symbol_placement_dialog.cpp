#include "shell/symbol_placement_dialog.h"

#include "base/idle.h"
#include "base/tool_options.h"
#include "display/screen.h"
#include "files/library_command.h"
#include "platform/ui/dialogs.h"
#include "shell/blink.h"
#include "shell/loop_helpers.h"
#include "shell/tool_setting_frame.h"
#include "store/geometry.h"
#include "store/record_store.h"
#include "store/settings.h"

namespace drav {

namespace {

constexpr int mirror_box = 3, handle_box = 4, break_box = 5, marked_box = 6, props_box = 7, fixed_box = 8,
              x_field = 9, y_field = 10, last_scale_item = 12, clean_up = 14;

void show_scales(SettingsDialog& frame, bool on) {
    DialogPtr d = frame.dialog();
    if (on) {
        show_ditem_range(d, x_field, last_scale_item);
        frame.select(x_field);
    } else {
        hide_ditem_range(d, x_field, last_scale_item);
    }
}

}  // namespace

void psymbolsetup() {
    blink_off();
    const ObjectRec kept = info;
    const std::uint16_t was_idle = getidle();
    setidle(0);
    {
        SettingsDialog frame(634, {{x_field, FieldKind::plain, tinyrnum, bigrnum, true},
                                   {y_field, FieldKind::plain, tinyrnum, bigrnum, true}},
                             true);
        if (DialogPtr d = frame.dialog()) {
            setvalue(d, mirror_box, objopts->sym_opt1 ? 1 : 0);
            setvalue(d, handle_box, objopts->sym_opt2 ? 1 : 0);
            setvalue(d, break_box, objopts->sym_opt3 ? 1 : 0);
            setvalue(d, marked_box, (swaper & sw_marked_pieces) ? 1 : 0);
            setvalue(d, props_box, objopts->sym_opt4 ? 1 : 0);
            setvalue(d, fixed_box, objopts->sym_values_on ? 1 : 0);
            // TODO(link_fence) breaking the lines under a placed symbol comes with the fence cut
            plat::set_item_hilite(plat::dialog_item(d, break_box), 255);
            frame.put(x_field, objopts->sym_value1);
            frame.put(y_field, objopts->sym_value2);
            frame.show(x_field);
            show_scales(frame, objopts->sym_values_on != 0);
            int item;
            while ((item = frame.next()) != 1 && item != 2) {
                switch (item) {
                case mirror_box:
                case handle_box:
                case marked_box:
                case props_box: markbox(d, item); break;
                case fixed_box:
                    markbox(d, fixed_box);
                    show_scales(frame, getvalue(d, fixed_box) != 0);
                    break;
                case clean_up: library(3); break;
                default: break;
                }
            }
            if (item == 1) {
                objopts->sym_opt1 = static_cast<std::int16_t>(getvalue(d, mirror_box));
                objopts->sym_opt2 = static_cast<std::int16_t>(getvalue(d, handle_box));
                objopts->sym_opt3 = static_cast<std::int16_t>(getvalue(d, break_box));
                if (getvalue(d, marked_box))
                    swaper |= sw_marked_pieces;
                else
                    swaper &= static_cast<std::uint16_t>(~sw_marked_pieces);
                objopts->sym_opt4 = static_cast<std::int16_t>(getvalue(d, props_box));
                objopts->sym_values_on = static_cast<std::int16_t>(getvalue(d, fixed_box));
                objopts->sym_value1 = frame.value(x_field);
                objopts->sym_value2 = frame.value(y_field);
            }
        }
    }
    plat::set_port(whichdrawPort());
    info = kept;
    setup_loop();
    setidle(was_idle);
}

}  // namespace drav
