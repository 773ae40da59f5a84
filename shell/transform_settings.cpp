// The copy, scale and explode settings.
#include "base/tool_options.h"
#include "platform/ui/dialogs.h"
#include "shell/tool_setting_dialogs.h"
#include "shell/tool_setting_frame.h"

namespace drav {

std::uint16_t inmodcopy = 0;

namespace {

constexpr int count_field = 9, cols_field = 12, rows_field = 13, angle_field = 17, circ_count_field = 18,
              rotation_field = 19;

}  // namespace

void showcopy(DialogPtr dialog, int mode) {
    switch (mode) {
    case 1: hide_ditem_range(dialog, 8, 19); break;
    case 2:
        hide_ditem_range(dialog, 10, 19);
        show_ditem_range(dialog, 8, 9);
        select_text(dialog, count_field);
        break;
    case 3:
        hide_ditem_range(dialog, 8, 9);
        hide_ditem_range(dialog, 14, 19);
        show_ditem_range(dialog, 10, 13);
        select_text(dialog, cols_field);
        break;
    case 4:
        hide_ditem_range(dialog, 8, 13);
        show_ditem_range(dialog, 14, 19);
        select_text(dialog, angle_field);
        break;
    default: break;
    }
    // The mode cannot change under a running copy.
    if (inmodcopy)
        for (int i = 4; i <= 7; ++i) buttonOff(dialog, i);
}

int copysetup() {
    SettingsDialog frame(480,
                         {{count_field, FieldKind::integer, 1, 32767},
                          {cols_field, FieldKind::integer, 1, 32767},
                          {rows_field, FieldKind::integer, 1, 32767},
                          {angle_field, FieldKind::angle, 0.0, 360.0},
                          {circ_count_field, FieldKind::integer, 1, 32767},
                          {rotation_field, FieldKind::angle, 0.0, 360.0}},
                         true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    const int mode = objopts->copy_mode >= 1 && objopts->copy_mode <= 4 ? objopts->copy_mode : 1;
    markbutton(d, 4, 7, mode + 3);
    frame.put(count_field, objopts->copy_count);
    frame.put(cols_field, objopts->copy2_count1);
    frame.put(rows_field, objopts->copy2_count2);
    frame.put(circ_count_field, objopts->circ_count);
    frame.put(angle_field, objopts->circ_value1);
    frame.put(rotation_field, objopts->circ_value2);
    frame.show(count_field);
    showcopy(d, mode);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
        if (item >= 4 && item <= 7) {
            markbutton(d, 4, 7, item);
            showcopy(d, item - 3);
            const int first[] = {0, count_field, cols_field, angle_field};
            if (item > 4) frame.select(first[item - 4]);
        }
    }
    if (item == 1) {
        objopts->copy_mode = whichmarked(d, 4, 7, 3);
        objopts->copy_count = static_cast<std::int16_t>(frame.value(count_field));
        objopts->copy2_count1 = static_cast<std::int16_t>(frame.value(cols_field));
        objopts->copy2_count2 = static_cast<std::int16_t>(frame.value(rows_field));
        objopts->circ_count = static_cast<std::int16_t>(frame.value(circ_count_field));
        objopts->circ_value1 = frame.value(angle_field);
        objopts->circ_value2 = frame.value(rotation_field);
    }
    return item == 1;
}

int sclsetup(int group) {
    constexpr int factor_field = 10, fx_field = 13, fy_field = 14;
    // Undoing a scale divides by its factors: a factor must be above 0.
    constexpr double least_factor = 1e-10;
    SettingsDialog frame(group ? 483 : 482,
                         {{factor_field, FieldKind::plain, least_factor, 1e200, true},
                          {fx_field, FieldKind::plain, least_factor, 1e200, true},
                          {fy_field, FieldKind::plain, least_factor, 1e200, true}},
                         true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    markbutton(d, 3, 4, objopts->scale_opt1 == 2 ? 4 : 3);
    markbutton(d, 5, 6, objopts->scale_opt2 == 1 ? 5 : 6);
    markbutton(d, 7, 8, objopts->scale_opt3 == 1 ? 7 : 8);
    frame.put(factor_field, objopts->scale_value1);
    frame.put(fx_field, objopts->scale_value2);
    frame.put(fy_field, objopts->scale_value3);
    if (group) {
        if (objopts->scale_opt5 && objopts->scale_opt4) {
            markbutton(d, 15, 17, 17);
        } else {
            markbutton(d, 15, 17, 0);
            setvalue(d, 15, objopts->scale_opt5 ? 1 : 0);
            setvalue(d, 16, objopts->scale_opt4 ? 1 : 0);
        }
    }
    int first = factor_field;
    if (getvalue(d, 3)) {
        hide_ditem_range(d, 7, 14);
    } else {
        hide_ditem_range(d, 5, 6);
        if (getvalue(d, 7)) {
            hide_ditem_range(d, 11, 14);
        } else {
            hide_ditem_range(d, 9, 10);
            first = fx_field;
        }
    }
    frame.show(first);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
        if (getvalue(d, item) != 0 && item >= 3 && item <= 17) continue;  // already chosen
        switch (item) {
        case 3:
            hide_ditem_range(d, 7, 14);
            show_ditem_range(d, 5, 6);
            markbutton(d, 3, 4, 3);
            break;
        case 4:
            hide_ditem_range(d, 5, 6);
            show_ditem_range(d, 7, 8);
            if (getvalue(d, 7)) {
                show_ditem_range(d, 9, 10);
                frame.select(factor_field);
            } else {
                show_ditem_range(d, 11, 14);
                frame.select(fx_field);
            }
            markbutton(d, 3, 4, 4);
            break;
        case 5:
        case 6: markbutton(d, 5, 6, item); break;
        case 7:
            hide_ditem_range(d, 11, 14);
            show_ditem_range(d, 9, 10);
            markbutton(d, 7, 8, 7);
            frame.select(factor_field);
            break;
        case 8:
            hide_ditem_range(d, 9, 10);
            show_ditem_range(d, 11, 14);
            markbutton(d, 7, 8, 8);
            frame.select(fx_field);
            break;
        case 15:
        case 16:
        case 17:
            if (group) markbutton(d, 15, 17, item);
            break;
        default: break;
        }
    }
    if (item == 1) {
        objopts->scale_opt1 = static_cast<std::int16_t>(getvalue(d, 4) ? 2 : 1);
        objopts->scale_opt2 = static_cast<std::int16_t>(getvalue(d, 5) ? 1 : 0);
        objopts->scale_opt3 = static_cast<std::int16_t>(getvalue(d, 7) ? 1 : 0);
        objopts->scale_value1 = frame.value(factor_field);
        objopts->scale_value2 = frame.value(fx_field);
        objopts->scale_value3 = frame.value(fy_field);
        if (group) {
            if (getvalue(d, 17)) {
                objopts->scale_opt5 = 1;
                objopts->scale_opt4 = 1;
            } else {
                objopts->scale_opt5 = static_cast<std::int16_t>(getvalue(d, 15) ? 1 : 0);
                objopts->scale_opt4 = static_cast<std::int16_t>(getvalue(d, 16) ? 1 : 0);
            }
        }
    }
    return item == 1;
}

int explsetup() {
    constexpr int parts_field = 4;
    SettingsDialog frame(481, {{parts_field, FieldKind::integer, 2, 1000}}, true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    frame.put(parts_field, objopts->explode_opt);
    frame.show(parts_field);
    const double shown = frame.value(parts_field);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
    }
    // The frame checked the field only when it was typed into; untouched, it
    // still holds the value shown, and nothing is stored.
    if (item == 1 && frame.value(parts_field) != shown)
        objopts->explode_opt = static_cast<std::int16_t>(frame.value(parts_field));
    return item == 1;
}

}  // namespace drav
