#include "display/selection_display.h"

#include <cmath>

#include "base/idle.h"
#include "base/tool_options.h"
#include "base/window_areas.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "platform/core/raster.h"
#include "store/handles.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_hooks.h"
#include "store/selection_state.h"

namespace drav {

std::int16_t currentitem = 0;
std::int16_t groupitem = 0;
double ohandx = 0, ohandy = 0;
double pivotx = 0, pivoty = 0;
double ghandx = 0, ghandy = 0;
double gpivotx = 0, gpivoty = 0;
plat::Rect handRect{};
plat::Rect pivotRect{};

namespace {

std::int16_t highlight() { return objopts ? objopts->highlight_colour : colour_black; }
std::int16_t marker_colour() { return objopts ? objopts->handle_colour : colour_black; }

bool has_selection() { return macgroup ? groupitem >= 1 : currentitem >= 1; }

void complete_text(std::int16_t index) {
    if (is_live_object(info) && obj_kind(info) == ok_text) cumstgs(index);
}

// The handle and pivot of the object in `info`.
void object_handle_pivot(double* hx, double* hy, double* px, double* py) {
    const double rx = rec_f64(info, obj::ref_x), ry = rec_f64(info, obj::ref_y);
    double hdx = 0, hdy = 0, pdx = 0, pdy = 0;
    new_handle(info, 0, &hdx, &hdy);
    new_pivot(info, 0, &pdx, &pdy);
    *hx = rx + hdx;
    *hy = ry + hdy;
    *px = rx + pdx;
    *py = ry + pdy;
}

// The group takes its handle and pivot from its first member, held in `info`:
// the handle is the member's reference point itself.
void group_from_member(std::int16_t index) {
    double hx = 0, hy = 0, px = 0, py = 0;
    object_handle_pivot(&hx, &hy, &px, &py);
    groupitem = index;
    ghandx = rec_f64(info, obj::ref_x);
    ghandy = rec_f64(info, obj::ref_y);
    gpivotx = px;
    gpivoty = py;
    set_oghandle(ghandx, ghandy);
    set_ogpivot(gpivotx, gpivoty);
}

void show_markers_at_stored() {
    double x = 0, y = 0;
    get_oghandle(&x, &y);
    change_hp(0, x, y);
    get_ogpivot(&x, &y);
    change_hp(1, x, y);
}

plat::Rect marker_rect(double x, double y) {
    world_screen(&x, &y);
    const double px = x - viewport.xl, py = viewport.yt - y;
    auto t = [](double v) { return static_cast<std::int16_t>(std::trunc(v)); };
    return plat::Rect{t(py - 3), t(px - 3), t(py + 3), t(px + 3)};
}

// Draws (on) or erases one marker in the window, clipped to the drawing area.
void marker(const plat::Rect& r, bool oval, std::int16_t on) {
    if (on && !has_selection()) return;
    plat::Window* window = whichdrawWindow();
    if (!window || !drawCWindow) return;
    plat::PortSaver saver(drawCWindow);
    cur_stop();
    const plat::PenState pen = drawCWindow->pen_state();
    const plat::RGBColor fore = drawCWindow->fore_color();
    drawCWindow->set_clip(drawRect);
    if (on) {
        drawCWindow->pen_normal();
        const std::int16_t c = marker_colour();
        drawCWindow->set_fore_color(dravColors[c >= 0 && c < colour_count ? c : colour_black]);
        plat::validate_rect(window, r);
        if (oval)
            drawCWindow->paint_oval(r);
        else
            drawCWindow->paint_rect(r);
    } else {
        drawCWindow->erase_rect(r);
        plat::invalidate_rect(window, r);
    }
    drawCWindow->set_clip(drawCWindow->port_rect());
    drawCWindow->set_pen_state(pen);
    drawCWindow->set_fore_color(fore);
    cur_go();
}

}  // namespace

int ohp_isnull() { return currentitem < 1 ? 1 : 0; }
int ghp_isnull() { return groupitem < 1 ? 1 : 0; }

void get_oghandle(double* x, double* y) {
    *x = macgroup ? ghandx : ohandx;
    *y = macgroup ? ghandy : ohandy;
}

void get_ogpivot(double* x, double* y) {
    *x = macgroup ? gpivotx : pivotx;
    *y = macgroup ? gpivoty : pivoty;
}

void set_oghandle(double x, double y) {
    (macgroup ? ghandx : ohandx) = x;
    (macgroup ? ghandy : ohandy) = y;
    handRect = marker_rect(x, y);
}

void set_ogpivot(double x, double y) {
    (macgroup ? gpivotx : pivotx) = x;
    (macgroup ? gpivoty : pivoty) = y;
    pivotRect = marker_rect(x, y);
}

void show_oghandle(std::int16_t on) { marker(handRect, false, on); }
void show_ogpivot(std::int16_t on) { marker(pivotRect, true, on); }

void change_hp(std::int16_t which, double x, double y) {
    if (!has_selection()) return;
    const plat::Rect old = which ? pivotRect : handRect;
    if (which)
        set_ogpivot(x, y);
    else
        set_oghandle(x, y);
    const plat::Rect now = which ? pivotRect : handRect;
    // An unchanged marker is drawn over itself, without a flicker.
    if (!(now == old)) marker(old, which != 0, 0);
    marker(now, which != 0, 1);
}

void nullohp() {
    currentitem = 0;
    show_oghandle(0);
    show_ogpivot(0);
}

void nullghp() {
    groupitem = 0;
    show_oghandle(0);
    show_ogpivot(0);
}

void setgroupitem(std::int16_t index) { groupitem = index; }

int grp_get_and_check(std::int16_t index) {
    if (!get_in_group(index) || index < first_object_slot || index >= number_of_objects) return 0;
    get_info(index);
    if (!is_live_object(info) || !levelok(info)) return 0;
    complete_text(index);
    return 1;
}

void chngecolor(std::int16_t index, std::int16_t colour, std::int16_t flag) {
    if (obj_kind(info) == ok_symbol && !flag) {
        show(mode_draw, &info);
    } else if (listavail()) {
        colorseg(index, colour);
        showseg(mode_draw, index);
    } else {
        show(mode_draw, &info);
    }
    setvalidrect(whichdrawWindow(), drawRect, 0);
}

void showonoff(std::int16_t index, std::int16_t on) {
    std::int16_t copy = index;
    if (!okindx(&copy)) return;
    const std::int16_t mode = gdrawmode, pat = gdrawpat;
    cur_stop();
    get_info(copy);
    complete_text(copy);
    if (on) {
        setdrawmode(mode_draw);
        setdrawpat(0);
        chngecolor(copy, highlight(), 1);
        if (!macgroup) {
            if (currentitem >= 1 && currentitem == copy) {
                show_markers_at_stored();
            } else {
                currentitem = copy;
                double hx = 0, hy = 0, px = 0, py = 0;
                object_handle_pivot(&hx, &hy, &px, &py);
                change_hp(0, hx, hy);
                change_hp(1, px, py);
            }
        } else if (groupitem < 1 && grp_get_and_check(copy)) {
            group_from_member(copy);
            show_markers_at_stored();
        }
    } else {
        chngecolor(copy, static_cast<std::int16_t>(obj_colour(info)), 0);
        show_oghandle(0);
        show_ogpivot(0);
    }
    setdrawmode(mode);
    setdrawpat(pat);
    cur_go();
}

void showcurrent(std::int16_t index) {
    plat::PortSaver saver;
    cur_stop();
    if (!macgroup && currentitem >= 1 && currentitem != index && currentitem < number_of_objects) {
        get_info(currentitem);
        if (rec_word0(info) & 32) {
            complete_text(currentitem);
            chngecolor(currentitem, static_cast<std::int16_t>(obj_colour(info)), 0);
        }
    }
    std::int16_t copy = index;
    if (okindx(&copy)) {
        get_info(copy);
        complete_text(copy);
        const std::int16_t mode = gdrawmode, pat = gdrawpat;
        setdrawmode(mode_draw);
        setdrawpat(0);
        chngecolor(copy, highlight(), 1);
        setdrawmode(mode);
        setdrawpat(pat);
        if (!macgroup && copy != currentitem) {
            currentitem = copy;
            double hx = 0, hy = 0, px = 0, py = 0;
            object_handle_pivot(&hx, &hy, &px, &py);
            change_hp(0, hx, hy);
            change_hp(1, px, py);
        } else if (!macgroup) {
            currentitem = copy;
            show_markers_at_stored();
        } else {
            if (groupitem < 1 && grp_get_and_check(copy)) group_from_member(copy);
            show_markers_at_stored();
        }
    } else {
        show_oghandle(0);
        show_ogpivot(0);
    }
    cur_go();
}

void showgroup(std::int16_t on) {
    plat::PortSaver saver(drawCWindow ? drawCWindow : plat::current_port());
    const std::int16_t mode = gdrawmode, pat = gdrawpat;
    if (on) {
        setdrawmode(mode_draw);
        setdrawpat(0);
    }
    for (int i = first_object_slot; i < number_of_objects; ++i) {
        const auto n = static_cast<std::int16_t>(i);
        if (!grp_get_and_check(n)) continue;
        if (on) {
            if (groupitem < 1) group_from_member(n);
            chngecolor(n, highlight(), 1);
        } else {
            chngecolor(n, static_cast<std::int16_t>(obj_colour(info)), 0);
        }
    }
    setdrawmode(mode);
    setdrawpat(pat);
    if (on) {
        show_markers_at_stored();
    } else {
        show_ogpivot(0);
        show_oghandle(0);
    }
    okindx(&indx);
}

void showobjonly(std::int16_t index, std::int16_t on) {
    std::int16_t copy = index;
    if (!okindx(&copy)) return;
    const std::int16_t mode = gdrawmode, pat = gdrawpat;
    cur_stop();
    get_info(copy);
    complete_text(copy);
    if (on) {
        setdrawmode(mode_draw);
        setdrawpat(0);
        chngecolor(copy, highlight(), 1);
    } else {
        chngecolor(copy, static_cast<std::int16_t>(obj_colour(info)), 0);
    }
    setdrawmode(mode);
    setdrawpat(pat);
    cur_go();
}

void macshow(std::int16_t mode, std::int16_t index) {
    if (index < first_object_slot || index >= number_of_objects) return;
    get_info(index);
    if (mode == mode_draw) {
        show(mode_draw, &info);
        if (macgroup && grp_get_and_check(index)) showonoff(index, 1);
    } else if (mode == mode_erase) {
        show_oghandle(0);
        show_ogpivot(0);
        show(mode_erase, &info);
    }
}

void install_selection_hooks() {
    SelectionDisplay d;
    d.showonoff = showonoff;
    d.showcurrent = showcurrent;
    d.nullohp = nullohp;
    d.nullghp = nullghp;
    d.get_oghandle = get_oghandle;
    set_selection_display(d);
}

}  // namespace drav
