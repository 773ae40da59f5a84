// The multi-line (wall) and polygon settings.
#include <algorithm>

#include "base/tool_options.h"
#include "platform/ui/dialogs.h"
#include "shell/multi_line_palette.h"
#include "shell/tool_setting_dialogs.h"
#include "shell/tool_setting_frame.h"
#include "store/geometry.h"
#include "store/settings.h"

namespace drav {

namespace {

// The chosen square of each group while the dialog is open, as item numbers.
int mlinpivot = 9, mlincaps = 13, mlinhand = 18;

constexpr int pivot_first = 9, pivot_last = 11, caps_first = 13, caps_last = 16, hand_first = 18, hand_last = 20;
constexpr int squares_area = 7, width_field = 22, lines_field = 24;

}  // namespace

// The picture of a square: the two faces of a wall and, by group (0 pivot,
// 1 end lines, 2 handle), the line the square stands for.
void draw_wall_square(DialogPtr d, int item, int group, int n) {
    draw_square(d, item, [group, n](plat::Port& port, const plat::Rect& r) {
        const auto h = [&](int dx) { return static_cast<std::int16_t>(r.left + dx); };
        const auto v = [&](int dy) { return static_cast<std::int16_t>(r.top + dy); };
        const int w = r.right - r.left, ht = r.bottom - r.top;
        port.move_to(h(4), v(ht / 4));
        port.line_to(h(w - 5), v(ht / 4));
        port.move_to(h(4), v(3 * ht / 4));
        port.line_to(h(w - 5), v(3 * ht / 4));
        if (group == 0 || group == 2) {
            // The marked line: centre, right face (bottom) or left face (top).
            const int y = n == 0 ? ht / 2 : n == 1 ? 3 * ht / 4 : ht / 4;
            port.paint_rect(plat::Rect{v(y - 2), h(w / 2 - 2), v(y + 3), h(w / 2 + 3)});
        } else if (group == 1) {
            if (n & 1) {
                port.move_to(h(4), v(ht / 4));
                port.line_to(h(4), v(3 * ht / 4));
            }
            if (n & 2) {
                port.move_to(h(w - 5), v(ht / 4));
                port.line_to(h(w - 5), v(3 * ht / 4));
            }
        }
    });
}

void fillmlin(DialogPtr dialog, int item) {
    if (item >= pivot_first && item <= pivot_last) draw_wall_square(dialog, item, 0, item - pivot_first);
    if (item >= caps_first && item <= caps_last) draw_wall_square(dialog, item, 1, item - caps_first);
    if (item >= hand_first && item <= hand_last) draw_wall_square(dialog, item, 2, item - hand_first);
    if (item == mlinpivot || item == mlincaps || item == mlinhand) invert_item(dialog, item);
}

int mlinsetup() {
    SettingsDialog frame(469,
                         {{width_field, FieldKind::length, 0.0, 1e200}, {lines_field, FieldKind::integer, 2, 255}},
                         true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    markbutton(d, 3, 4, objopts->mline_opt1 == 2 ? 4 : 3);
    setvalue(d, 5, mlin_spacing(users_defs));
    setvalue(d, 6, mlin_cut(users_defs));
    mlinpivot = pivot_first + std::clamp<int>(objopts->mline_opt4, 0, 2);
    mlincaps = caps_first + std::clamp<int>(objopts->mline_opt2, 0, 3);
    mlinhand = hand_first + std::clamp<int>(objopts->mline_opt3, 0, 2);
    for (int i = pivot_first; i <= hand_last; ++i)
        if (plat::DItem* it = plat::dialog_item(d, i); it && plat::item_kind(it) == plat::ItemKind::user)
            plat::set_draw_proc(it, [](plat::Dialog* dd, int n) { fillmlin(dd, n); });
    frame.put(width_field, users_defs.wall_width);
    frame.put(lines_field, mlin_count(users_defs));
    frame.show(width_field);
    int item;
    plat::Point where;
    while ((item = frame.next(&where)) != 1 && item != 2) {
        if (item == 3 || item == 4) markbutton(d, 3, 4, item);
        if (item == 5 || item == 6) markbox(d, item);
        if (item == squares_area) {
            const int sq = item_under(d, where, pivot_first, hand_last);
            if (sq >= pivot_first && sq <= pivot_last) choose_square(d, &mlinpivot, sq);
            if (sq >= caps_first && sq <= caps_last) choose_square(d, &mlincaps, sq);
            if (sq >= hand_first && sq <= hand_last) choose_square(d, &mlinhand, sq);
        }
    }
    if (item == 1) {
        objopts->mline_opt1 = static_cast<std::int16_t>(getvalue(d, 4) ? 2 : 1);
        set_mlin_spacing(users_defs, getvalue(d, 5) ? 1 : 0);
        set_mlin_cut(users_defs, getvalue(d, 6) ? 1 : 0);
        objopts->mline_opt4 = static_cast<std::int16_t>(mlinpivot - pivot_first);
        objopts->mline_opt2 = static_cast<std::int16_t>(mlincaps - caps_first);
        objopts->mline_opt3 = static_cast<std::int16_t>(mlinhand - hand_first);
        set_mlin_count(users_defs, static_cast<int>(frame.value(lines_field)));
        users_defs.wall_width = frame.value(width_field);
    }
    refresh_mlin_palette();
    return item == 1;
}

int plysetup() {
    constexpr int sides_field = 4, radius_field = 7;
    SettingsDialog frame(471, {{sides_field, FieldKind::integer, 3, 180}, {radius_field, FieldKind::length, 1e-10, 1e200}},
                         false);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    frame.put(sides_field, objopts->poly_opt1);
    frame.put(radius_field, objopts->poly_value);
    markbutton(d, 5, 6, objopts->poly_opt2 == 2 ? 6 : 5);
    markbutton(d, 8, 9, objopts->poly_opt3 == 1 ? 9 : 8);
    if (getvalue(d, 6) == 0) hide_ditem_range(d, radius_field, radius_field);
    frame.show(sides_field);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
        if (item == 5) {
            markbutton(d, 5, 6, 5);
            hide_ditem_range(d, radius_field, radius_field);
        } else if (item == 6) {
            markbutton(d, 5, 6, 6);
            show_ditem_range(d, radius_field, radius_field);
            frame.select(radius_field);
        } else if (item == 8 || item == 9) {
            markbutton(d, 8, 9, item);
        }
    }
    if (item == 1) {
        objopts->poly_opt1 = static_cast<std::int16_t>(frame.value(sides_field));
        objopts->poly_value = frame.value(radius_field);
        objopts->poly_opt2 = static_cast<std::int16_t>(getvalue(d, 6) ? 2 : 1);
        objopts->poly_opt3 = static_cast<std::int16_t>(getvalue(d, 9) ? 1 : 0);
    }
    return item == 1;
}

}  // namespace drav
