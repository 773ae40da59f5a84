// The curve (Bezier chain or b-spline) and text settings.
#include <algorithm>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/tool_options.h"
#include "base/window_areas.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "platform/ui/dialogs.h"
#include "shell/tool_setting_dialogs.h"
#include "shell/tool_setting_frame.h"
#include "store/settings.h"

namespace drav {

std::uint16_t inbezier = 0;

namespace {

// While the curve dialog is open: the chosen type item (3 or 4) and the
// chosen start and end squares. Both rows code the same conditions, 1 to 4:
// tangent, tangent, straight, mirrored.
int button = 3, bezfirst = 14, bezlast = 18;

constexpr int start_first = 14, start_last = 17, end_first = 18, end_last = 21;
constexpr int values_box = 22, band_field = 24, step_field = 26;

// The end condition a square stands for: a curve ending at the square's
// left side, with a tangent (1, 2), straight (3) or mirrored (4) end.
void draw_condition(DialogPtr d, int item) {
    draw_square(d, item, [item](plat::Port& port, const plat::Rect& r) {
        const int mode = item <= start_last ? item - start_first + 1 : item - end_first + 1;
        const auto h = [&](int dx) { return static_cast<std::int16_t>(r.left + dx); };
        const auto v = [&](int dy) { return static_cast<std::int16_t>(r.top + dy); };
        port.paint_rect(plat::Rect{v(12), h(4), v(16), h(8)});  // the end point
        switch (mode) {
        case 1:
        case 2:
            port.move_to(h(6), v(14));
            port.line_to(h(mode == 1 ? 22 : 14), v(mode == 1 ? 6 : 4));
            break;
        case 3:
            port.move_to(h(6), v(14));
            port.line_to(h(23), v(14));
            break;
        default:
            port.move_to(h(6), v(14));
            port.line_to(h(22), v(5));
            port.move_to(h(6), v(14));
            port.line_to(h(22), v(23));
            break;
        }
    });
}

void show_spline_values(SettingsDialog& frame, bool on) {
    if (on) {
        show_ditem_range(frame.dialog(), 23, 26);
        frame.select(band_field);
    } else {
        hide_ditem_range(frame.dialog(), 23, 26);
    }
}

}  // namespace

void fillbez(DialogPtr dialog, int item) {
    if (button != 4) return;
    draw_condition(dialog, item);
    if (item == bezfirst || item == bezlast) invert_item(dialog, item);
}

int bezsetup() {
    SettingsDialog frame(475, {{band_field, FieldKind::length, 1e-10, 1e200}, {step_field, FieldKind::length, 1e-10, 1e200}},
                         true);
    DialogPtr d = frame.dialog();
    if (!d) return 0;
    button = objopts->bez_opt1 == 1 ? 3 : 4;
    markbutton(d, 3, 4, button);
    setvalue(d, 5, objopts->bez_opt5 ? 1 : 0);
    markbutton(d, 6, 7, objopts->bez_opt2 ? 7 : 6);
    bezfirst = start_first + std::clamp<int>(objopts->bez_opt3, 1, 4) - 1;
    bezlast = end_first + std::clamp<int>(objopts->bez_opt4, 1, 4) - 1;
    setvalue(d, values_box, objopts->bez_opt6 ? 1 : 0);
    frame.put(band_field, users_defs.spline_band);
    frame.put(step_field, users_defs.spline_step);
    if (button == 3) {
        hide_ditem_range(d, 9, 26);
    } else {
        hide_ditem_range(d, 5, 7);
        if (!getvalue(d, values_box)) hide_ditem_range(d, 23, 26);
    }
    // The type cannot change under a running curve command.
    if (inbezier) {
        buttonOff(d, 3);
        buttonOff(d, 4);
    }
    for (int i = start_first; i <= end_last; ++i)
        plat::set_draw_proc(plat::dialog_item(d, i), [](plat::Dialog* dd, int n) { fillbez(dd, n); });
    frame.show(band_field);
    int item;
    plat::Point where;
    while ((item = frame.next(&where)) != 1 && item != 2) {
        if (item == 3 && button != 3) {
            markbutton(d, 3, 4, 3);
            hide_ditem_range(d, 9, 26);
            show_ditem_range(d, 5, 7);
            button = 3;
        } else if (item == 4 && button != 4) {
            markbutton(d, 3, 4, 4);
            hide_ditem_range(d, 5, 7);
            button = 4;
            show_ditem_range(d, 9, values_box);
            show_spline_values(frame, getvalue(d, values_box) != 0);
        } else if (item == 5) {
            markbox(d, 5);
        } else if (item == 6 || item == 7) {
            markbutton(d, 6, 7, item);
        } else if (item == 9 || item == 10) {
            const int sq = item_under(d, where, start_first, end_last);
            if (sq >= start_first && sq <= start_last) choose_square(d, &bezfirst, sq);
            if (sq >= end_first && sq <= end_last) choose_square(d, &bezlast, sq);
        } else if (item == values_box) {
            markbox(d, values_box);
            show_spline_values(frame, getvalue(d, values_box) != 0);
        }
    }
    if (item == 1) {
        objopts->bez_opt1 = static_cast<std::int16_t>(button == 3 ? 1 : 2);
        objopts->bez_opt5 = static_cast<std::int16_t>(getvalue(d, 5));
        objopts->bez_opt2 = static_cast<std::int16_t>(getvalue(d, 7) ? 1 : 0);
        objopts->bez_opt3 = static_cast<std::int16_t>(bezfirst - start_first + 1);
        objopts->bez_opt4 = static_cast<std::int16_t>(bezlast - end_first + 1);
        objopts->bez_opt6 = static_cast<std::int16_t>(getvalue(d, values_box));
        users_defs.spline_band = frame.value(band_field);
        users_defs.spline_step = frame.value(step_field);
    }
    return item == 1;
}

void setformscale(int paper, double* scale, int* kind) {
    // A plot scale of 0 or less cannot turn paper sizes into drawing units:
    // drawing units are shown then.
    if (paper && output_defs.plot_scale > 0) {
        *scale = output_defs.plot_scale;
        *kind = 2;
    } else {
        *scale = 1.0;
        *kind = 1;
    }
}

namespace {

// The dialog itself; *redraw when a display box changed.
int text_dialog(bool* redraw) {
    constexpr int feed_popup = 3, width_field = 5, height_field = 7, font_field = 9, xsp_field = 11, ysp_field = 13;
    constexpr int stroke_box = 14, upright_box = 15;
    double scale = 1.0;
    int kind = 1;
    setformscale((output_defs.flags & of_text_on_paper) ? 1 : 0, &scale, &kind);
    const FieldKind size = kind == 2 ? FieldKind::paper : FieldKind::length;
    SettingsDialog frame(499,
                         {{width_field, size, -1e200, 1e200},
                          {height_field, size, -1e200, 1e200},
                          {font_field, FieldKind::integer, 1, 255},
                          {xsp_field, size, 0.0, 1e200},
                          {ysp_field, size, 0.0, 1e200}},
                         true);
    DialogPtr d = frame.dialog();
    if (!d) {
        aborted = 1;
        return 0;
    }
    frame.put(width_field, props_defs.text_width * scale);
    frame.put(height_field, props_defs.text_height * scale);
    frame.put(font_field, props_defs.font);
    frame.put(xsp_field, props_defs.x_spacing * scale);
    frame.put(ysp_field, props_defs.y_spacing * scale);
    setvalue(d, feed_popup, objopts->text_opt ? 2 : 1);
    if (!objopts->text_opt) hide_ditem_range(d, 10, 13);
    const int stroke = (swaper & sw_stroke_text) ? 1 : 0, upright = (swaper & sw_text_upright) ? 1 : 0;
    setvalue(d, stroke_box, stroke);
    setvalue(d, upright_box, upright);
    frame.show(width_field);
    int item;
    while ((item = frame.next()) != 1 && item != 2) {
        if (item == feed_popup) {
            if (getvalue(d, feed_popup) == 2)
                show_ditem_range(d, 10, 13);
            else
                hide_ditem_range(d, 10, 13);
        } else if (item == stroke_box || item == upright_box) {
            markbox(d, item);
        }
    }
    if (item == 2) {
        aborted = 1;
        return 0;
    }
    objopts->text_opt = static_cast<std::int16_t>(getvalue(d, feed_popup) == 2 ? 1 : 0);
    props_defs.font = static_cast<std::uint16_t>(frame.value(font_field));
    props_defs.text_width = frame.value(width_field) / scale;
    props_defs.text_height = frame.value(height_field) / scale;
    props_defs.x_spacing = frame.value(xsp_field) / scale;
    props_defs.y_spacing = frame.value(ysp_field) / scale;
    const int new_stroke = getvalue(d, stroke_box) ? 1 : 0, new_upright = getvalue(d, upright_box) ? 1 : 0;
    *redraw = new_stroke != stroke || new_upright != upright;
    if (*redraw) {
        swaper = static_cast<std::uint16_t>(new_stroke ? swaper | sw_stroke_text : swaper & ~sw_stroke_text);
        swaper = static_cast<std::uint16_t>(new_upright ? swaper | sw_text_upright : swaper & ~sw_text_upright);
    }
    return 1;
}

}  // namespace

int textsetup() {
    bool redraw = false;
    const int answer = text_dialog(&redraw);
    if (redraw && graphwasinit) {
        // The whole view again, now that the dialog is gone.
        watch_on();
        SketchWindow();
        drawing_area_valid(0);
        watch_off();
    }
    return answer;
}

}  // namespace drav
