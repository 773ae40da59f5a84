// The option dialogs of the construct palette's commands.
#include <algorithm>

#include "base/tool_options.h"
#include "platform/ui/dialogs.h"
#include "shell/construct_palette.h"
#include "shell/tool_setting_frame.h"
#include "store/geometry.h"
#include "store/settings.h"

namespace drav {

namespace {

// Marks the button of `value` in the radio group first..last (value + base);
// a stored value outside the group shows as its nearest button.
void mark_value(DialogPtr d, int first, int last, int base, int value) {
    markbutton(d, first, last, std::clamp(value + base, first, last));
}

std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }

// The break dialog's items that follow the command chosen in items 3-5.
void break_command_chosen(DialogPtr d, int item) {
    if (item == 3) {
        hide_ditem_range(d, 10, 15);
        markbutton(d, 3, 5, 3);
        show_ditem_range(d, 6, 9);
        return;
    }
    hide_ditem_range(d, 6, 9);
    markbutton(d, 3, 5, item);
    if (item == 4) {
        hide_ditem_range(d, 10, 11);
        show_ditem_range(d, 12, 13);
        if (getvalue(d, 13))
            show_ditem_range(d, 14, 15);
        else
            hide_ditem_range(d, 14, 15);
    } else {
        hide_ditem_range(d, 12, 13);
        show_ditem_range(d, 10, 11);
        hide_ditem_range(d, 14, 15);
    }
}

// Item 5 of the parallel dialog: several copies show the count instead of
// the arc direction.
void parallel_copies_shown(DialogPtr d) {
    if (getvalue(d, 5)) {
        hide_ditem_range(d, 6, 6);
        show_ditem_range(d, 7, 8);
    } else {
        show_ditem_range(d, 6, 6);
        hide_ditem_range(d, 7, 8);
    }
}

}  // namespace

int extsetup() {
    SettingsDialog frame(487, {}, true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    mark_value(d, 3, 4, 3, objopts->extend_opt1);
    mark_value(d, 5, 6, 5, objopts->extend_opt2);
    if (objopts->extend_opt1 != 0) hide_ditem_range(d, 5, 6);
    frame.show(0);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
        if (item == 3) {
            markbutton(d, 3, 4, 3);
            show_ditem_range(d, 5, 6);
        } else if (item == 4) {
            markbutton(d, 3, 4, 4);
            hide_ditem_range(d, 5, 6);
        } else if (item == 5 || item == 6) {
            markbutton(d, 5, 6, item);
        }
    }
    if (item == 1) {
        objopts->extend_opt1 = whichmarked(d, 3, 4, 3);
        objopts->extend_opt2 = whichmarked(d, 5, 6, 5);
    }
    return item == 1;
}

int breaksetup() {
    SettingsDialog frame(488, {}, true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    mark_value(d, 3, 5, 2, objopts->break_opt1);
    mark_value(d, 6, 8, 5, objopts->break_opt2);
    setvalue(d, 9, objopts->break_opt3 ? 1 : 0);
    mark_value(d, 10, 11, 10, objopts->break_opt4);
    mark_value(d, 12, 13, 12, objopts->break_opt5);
    mark_value(d, 14, 15, 14, objopts->break_opt6);
    if (getvalue(d, 3)) {
        hide_ditem_range(d, 10, 15);
        if (getvalue(d, 6)) hide_ditem_range(d, 9, 9);
    } else if (getvalue(d, 4)) {
        hide_ditem_range(d, 6, 11);
        if (!getvalue(d, 13)) hide_ditem_range(d, 14, 15);
    } else {
        hide_ditem_range(d, 6, 9);
        hide_ditem_range(d, 12, 15);
    }
    // The running break command keeps its kind.
    if (inconbreak)
        for (int i = 3; i <= 5; ++i)
            if (!getvalue(d, i)) buttonOff(d, i);
    frame.show(0);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
        switch (item) {
        case 3:
        case 4:
        case 5: break_command_chosen(d, item); break;
        case 6:
            hide_ditem_range(d, 9, 9);
            markbutton(d, 6, 8, 6);
            break;
        case 7:
        case 8:
            show_ditem_range(d, 9, 9);
            markbutton(d, 6, 8, item);
            break;
        case 9: markbox(d, 9); break;
        case 10:
        case 11: markbutton(d, 10, 11, item); break;
        case 12:
        case 13:
            markbutton(d, 12, 13, item);
            if (getvalue(d, 13))
                show_ditem_range(d, 14, 15);
            else
                hide_ditem_range(d, 14, 15);
            break;
        case 14:
        case 15: markbutton(d, 14, 15, item); break;
        default: break;
        }
    }
    if (item == 1) {
        objopts->break_opt1 = whichmarked(d, 3, 5, 2);
        objopts->break_opt2 = whichmarked(d, 6, 8, 5);
        objopts->break_opt3 = i16(getvalue(d, 9) ? 1 : 0);
        objopts->break_opt4 = whichmarked(d, 10, 11, 10);
        objopts->break_opt5 = whichmarked(d, 12, 13, 12);
        objopts->break_opt6 = whichmarked(d, 14, 15, 14);
    }
    return item == 1;
}

int fillsetup() {
    constexpr int radius_field = 4;
    SettingsDialog frame(489, {{radius_field, FieldKind::length, tinyrnum, bigrnum}}, true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    frame.put(radius_field, users_defs.fillet_radius);
    mark_value(d, 5, 6, 5, objopts->fillet_opt2);
    mark_value(d, 7, 9, 7, objopts->fillet_opt1);
    frame.show(radius_field);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
        if (item == 5 || item == 6) markbutton(d, 5, 6, item);
        if (item >= 7 && item <= 9) markbutton(d, 7, 9, item);
    }
    if (item == 1) {
        users_defs.fillet_radius = frame.value(radius_field);
        objopts->fillet_opt2 = whichmarked(d, 5, 6, 5);
        objopts->fillet_opt1 = whichmarked(d, 7, 9, 7);
    }
    return item == 1;
}

int chamsetup() {
    constexpr int angle_field = 4, distance_field = 6;
    SettingsDialog frame(491,
                         {{angle_field, FieldKind::angle, -bigrnum, bigrnum},
                          {distance_field, FieldKind::length, tinyrnum, bigrnum}},
                         true);
    if (!frame.dialog()) return 0;
    frame.put(angle_field, raddeg(objopts->chamfer_value1));
    frame.put(distance_field, objopts->chamfer_value2);
    frame.show(angle_field);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
    }
    if (item == 1) {
        objopts->chamfer_value1 = adjust_rotation(degrad(frame.value(angle_field)));
        objopts->chamfer_value2 = frame.value(distance_field);
    }
    return item == 1;
}

int normalsetup() {
    constexpr int length_field = 4;
    SettingsDialog frame(490, {{length_field, FieldKind::length, r_zero, bigrnum}}, true);
    if (!frame.dialog()) return 0;
    frame.put(length_field, objopts->normal_value);
    frame.show(length_field);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
    }
    if (item == 1) objopts->normal_value = frame.value(length_field);
    return item == 1;
}

int parallelsetup() {
    constexpr int distance_field = 4, count_field = 8;
    SettingsDialog frame(450,
                         {{distance_field, FieldKind::length, r_zero, bigrnum},
                          {count_field, FieldKind::integer, 1, 32767}},
                         true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    frame.put(distance_field, users_defs.parallel_distance);
    setvalue(d, 5, objopts->par_opt1 ? 1 : 0);
    setvalue(d, 6, objopts->par_opt3 ? 1 : 0);
    frame.put(count_field, objopts->par_opt4);
    parallel_copies_shown(d);
    frame.show(distance_field);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
        if (item == 5) {
            markbox(d, 5);
            parallel_copies_shown(d);
        } else if (item == 6) {
            markbox(d, 6);
        }
    }
    if (item == 1) {
        users_defs.parallel_distance = frame.value(distance_field);
        objopts->par_opt1 = i16(getvalue(d, 5) ? 1 : 0);
        objopts->par_opt3 = i16(getvalue(d, 6) ? 1 : 0);
        objopts->par_opt4 = i16(frame.value(count_field));
    }
    return item == 1;
}

int isosetup() {
    constexpr int angle_field = 9;
    SettingsDialog frame(493, {{angle_field, FieldKind::angle, r_five, 85.0}}, true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    frame.keep_typed_text();
    mark_value(d, 3, 5, 2, objopts->iso_opt1);
    mark_value(d, 6, 7, 6, objopts->iso_opt2);
    frame.put(angle_field, raddeg(users_defs.iso_angle));
    mark_value(d, 10, 11, 10, objopts->iso_opt3);
    frame.show(angle_field);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
        if (item >= 3 && item <= 5) markbutton(d, 3, 5, item);
        if (item == 6 || item == 7) markbutton(d, 6, 7, item);
        if (item == 10 || item == 11) markbutton(d, 10, 11, item);
    }
    if (item == 1) {
        objopts->iso_opt1 = whichmarked(d, 3, 5, 2);
        objopts->iso_opt2 = whichmarked(d, 6, 7, 6);
        users_defs.iso_angle = degrad(frame.value(angle_field));
        objopts->iso_opt3 = whichmarked(d, 10, 11, 10);
    }
    return item == 1;
}

}  // namespace drav
