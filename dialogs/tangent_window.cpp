// "Tangent TS": the tangent command's mode, chosen with four drawn buttons.
#include "base/tool_options.h"
#include "dialogs/settings_window.h"
#include "dialogs/tool_setting_windows.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/smooth_image.h"

namespace drav {

std::int32_t curTanToolHighlighted = 0;

namespace {

constexpr int first_button = 4, last_button = 7, label_offset = 10;
constexpr double button_size = 24, circle_radius = 4.25;
// 'Tan4' to 'Tan7': a click on a button or on its label.
constexpr std::uint32_t cmd_button_base = 0x54616E30;  // 'Tan0'

std::uint16_t okSelected = 0;

struct Figure {
    int circles;
    double circle[2][2];
    int lines;
    double line[2][4];
};

// Per mode, in the button's own coordinates, y upward.
constexpr Figure figures[4] = {
    {1, {{7, 8}}, 1, {{4, 11, 14, 21}}},
    {2, {{7, 8}, {17, 18}}, 1, {{3, 10, 14, 21}}},
    {1, {{7, 8}}, 2, {{10, 5, 20, 15}, {12, 13, 21, 22}}},
    {1, {{7, 8}}, 2, {{9, 4, 19, 14}, {14, 19, 23, 10}}},
};

void mark_for_redraw(DialogPtr window, int id) {
    if (ControlRef c = control0(window, id)) plat::invalidate_dialog_rect(window, plat::item_rect(c));
}

void SetInitialValues(DialogPtr window) {
    curTanToolHighlighted = objopts->tangent_opt + 3;
    for (int id = first_button; id <= last_button; ++id)
        plat::set_draw_proc(control0(window, id), [id](plat::Dialog* d, int) { MyDrawControl(d, id); });
}

// A click on a button 4-7 or on its label 14-17.
void MyToolEventHandlerProc(DialogPtr window, int id) {
    if (id >= first_button + label_offset && id <= last_button + label_offset) id -= label_offset;
    if (id >= first_button && id <= last_button) HighlightTanTool(window, id);
}

bool TangentSettingsEventHandlerProc(DialogPtr window, std::uint32_t command) {
    if (command >= cmd_button_base + first_button && command <= cmd_button_base + last_button) {
        MyToolEventHandlerProc(window, static_cast<int>(command - cmd_button_base));
        return false;
    }
    const auto harvest = [](DialogPtr) { objopts->tangent_opt = static_cast<std::int16_t>(curTanToolHighlighted - 3); };
    return finish_on_ok_cancel(window, command, harvest, &okSelected);
}

}  // namespace

void HighlightTanTool(DialogPtr window, int id) {
    if (curTanToolHighlighted > 0) mark_for_redraw(window, curTanToolHighlighted);
    mark_for_redraw(window, id);
    curTanToolHighlighted = id;
}

void MyDrawControl(DialogPtr window, int id) {
    ControlRef button = control0(window, id);
    plat::Port* port = plat::dialog_port(window);
    if (!button || !port || id < first_button || id > last_button) return;
    const plat::Rect r = plat::item_rect(button);
    // Partly transparent fills and circles at fractional centres need the
    // smooth drawing; it starts from what the port holds there.
    // The button's area back in the window's colour, as its corner shows it.
    const plat::RGBColor back = port->back_color();
    port->set_back_color(plat::color_of(port->pixel(0, 0)));
    port->erase_rect(r);
    port->set_back_color(back);
    plat::SmoothImage image(*port, r);
    image.flip_vertical();
    if (id == curTanToolHighlighted)
        image.fill_rect(0, 0, button_size, button_size, plat::SmoothColor{0, 1, 0, 0.2});
    const plat::SmoothColor ink{0, 0, 0, 1};
    const Figure& f = figures[id - first_button];
    for (int i = 0; i < f.circles; ++i) image.stroke_circle(f.circle[i][0], f.circle[i][1], circle_radius, ink);
    for (int i = 0; i < f.lines; ++i) image.stroke_line(f.line[i][0], f.line[i][1], f.line[i][2], f.line[i][3], ink);
    image.copy_to(*port, r.left, r.top);
}

int ShowTangentSettingsWindow() {
    okSelected = 0;
    run_settings_window("drav", "Tangent TS", SetInitialValues, TangentSettingsEventHandlerProc, true);
    return okSelected;
}

}  // namespace drav
