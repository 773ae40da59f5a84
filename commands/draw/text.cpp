#include "commands/draw/text.h"

#include <cstdio>

#include "base/command_loop.h"
#include "base/loop_services.h"
#include "base/messages.h"
#include "commands/draw/draw_frame.h"
#include "display/clip_tests.h"
#include "display/drag_image.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "store/strings.h"

namespace drav {

std::uint16_t typing_gtext = 0;

namespace {

constexpr int prompt_place = 39;

TextDialog g_dialog = nullptr;
// 'U' while placing: the dialog opens again with the same text.
std::uint16_t erased = 0;

// The properties the text in hand takes: level, width, colour, solid
// style, font and both sizes.
void text_properties() {
    set_obj_kind_colour(info, ok_text, props_defs.colour);
    info.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
    info.b[obj::width] = static_cast<std::uint8_t>(props_defs.width);
    info.b[obj::style] = static_cast<std::uint8_t>(solidstyle);
    set_text_info(info, props_defs.font & 0xFF, text_count(info), text_continued(info));
    set_rec_f32(info, text::char_width, static_cast<float>(props_defs.text_width));
    set_rec_f32(info, text::char_height, static_cast<float>(props_defs.text_height));
}

}  // namespace

void set_text_dialog(TextDialog ask) { g_dialog = ask; }

void add_text(ObjOptsRec& opts) {
    text_properties();
    erased = 0;
    aborted = 0;
    quit = 0;
    set_init(last_x, last_y, info);
    double dx = 0, dy = 0;
    // One line up, so that the first line's step down lands on the pointer.
    shift_text(1, &dx, &dy);
    typing_gtext = 1;
    bool first_line = true;
    for (;;) {
        if (!erased) {
            shift_text(-1, &dx, &dy);
            textline[0] = '\0';
            set_text_info(info, text_font(info), 0, text_continued(info));
        }
        erased = 0;
        accepted = 0;
        char text[textline_size];
        std::snprintf(text, sizeof text, "%s", textline);
        if (!g_dialog || !g_dialog(text)) {
            aborted = 1;
        } else if (!text[0]) {
            quit = 1;
            addnum = tool_select_code;
        } else {
            std::snprintf(textline, textline_size, "%s", text);
        }
        if (!aborted && !quit) {
            clipped = 1;
            if (!opts.text_opt || first_line) {
                double x = 0, y = 0;
                move_text(&x, &y, opts);
            } else {
                accepted = 1;
                store_piece();
            }
        }
        if (accepted && !aborted) {
            first_line = false;
            const ObjectRec keep = info;
            get_info(number_of_objects);
            info = keep;
            text_properties();
        }
        if (aborted || quit) break;
    }
    typing_gtext = 0;
    if (aborted) erase_many_objects(save_indx);
}

void move_text(double* x, double* y, ObjOptsRec& opts) {
    set_text();
    float seen_w = rec_f32(info, text::char_width), seen_h = rec_f32(info, text::char_height);
    int seen_font = text_font(info);
    RestraintSeen seen;
    seen.changed(opts);
    makenewrgn = 1;
    set_text_info(info, text_font(info), chr_len(textline) & 0x7F, text_continued(info));
    infoRgn();
    loop_start_blink(blinkrgn);
    pr_addmsg(prompt_place);
    std::int16_t last_h = 0, last_v = 0;
    accepted = 0;
    for (;;) {
        const int key = loop_get_point(x, y, 1);
        if (key) text_key_options(key);
        if (aborted || quit || erased) break;
        set_init(*x, *y, info);
        std::int16_t h = 0, v = 0;
        window_pixel(*x, *y, &h, &v);
        const bool restraint = seen.changed(opts);
        if (restraint || seen_w != static_cast<float>(props_defs.text_width) ||
            seen_h != static_cast<float>(props_defs.text_height) || seen_font != (props_defs.font & 0xFF)) {
            seen_w = static_cast<float>(props_defs.text_width);
            seen_h = static_cast<float>(props_defs.text_height);
            seen_font = props_defs.font & 0xFF;
            loop_blink_off();
            makenewrgn = 1;
            set_text();
        }
        if (accepted) break;
        if (makenewrgn) {
            loop_blink_off();
            infoRgn();
            loop_blink_on();
            makenewrgn = 0;
        } else if (h != last_h || v != last_v) {
            loop_blink_off();
            ouroffsetrgn(static_cast<std::int16_t>(h - last_h), static_cast<std::int16_t>(v - last_v));
            loop_blink_on();
        }
        last_h = h;
        last_v = v;
    }
    loop_stop_blink();
    if (accepted && !aborted && !quit && !erased) store_piece();
}

void set_text() {
    double turn = 0;
    switch (objopts ? objopts->lock_mode : 0) {
    case 2: turn = half_pie; break;
    case 3: turn = units_defs.rotation_step; break;
    default: break;
    }
    set_rotation(turn, info);
    set_rec_f32(info, text::char_width, static_cast<float>(props_defs.text_width));
    set_rec_f32(info, text::char_height, static_cast<float>(props_defs.text_height));
    set_text_info(info, props_defs.font & 0xFF, text_count(info), text_continued(info));
}

void shift_text(int n, double* dx, double* dy) {
    calc_sides(rec_f64(info, obj::rotation) + half_pie, n * props_defs.y_spacing, dx, dy);
    change_object(r_one, r_one, r_zero, *dx, *dy, info);
}

void text_key_options(int key) {
    switch (key) {
    case key_quit:
        loop_blink_off();
        quit = 1;
        addnum = tool_select_code;
        makenewrgn = 1;
        break;
    case key_undo:
        loop_blink_off();
        erased = 1;
        makenewrgn = 1;
        break;
    case key_esc: aborted = 1; break;
    default: break;
    }
}

}  // namespace drav
