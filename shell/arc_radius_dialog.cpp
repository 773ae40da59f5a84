#include "shell/arc_radius_dialog.h"

#include "commands/draw/arc.h"
#include "shell/tool_setting_frame.h"
#include "store/geometry.h"
#include "store/number_text.h"

namespace drav {

int arc_radius_dialog(double minimum, double* radius) {
    constexpr int smallest = 5, field = 7;
    // The field's range refuses a radius too short for the chord with the
    // out-of-range alert, and keeps the user in the field.
    SettingsDialog frame(452, {{field, FieldKind::length, minimum, bigrnum, true}}, true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    char text[number_text_size];
    real_to_string(minimum, text, 1);
    set_item(d, smallest, text);
    frame.put(field, minimum);
    frame.show(field);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
    }
    if (item != 1) return 0;
    const double r = frame.value(field);
    // The range check allows for rounding; a radius that still falls short
    // would only bring the dialog straight back.
    *radius = r < minimum ? minimum : r;
    return 1;
}

void install_arc_radius_dialog() { set_radius_dialog(arc_radius_dialog); }

}  // namespace drav
