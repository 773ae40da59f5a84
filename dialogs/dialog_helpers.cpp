#include "dialogs/dialog_helpers.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "base/tool_options.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "platform/core/raster.h"
#include "platform/core/text.h"
#include "platform/ui/cursors.h"
#include "platform/ui/menus.h"
#include "store/number_text.h"

namespace drav {

std::int32_t syslang = 0;

namespace {

constexpr int max_item_text = 255;
constexpr int err_text_too_long = 84;
constexpr int err_not_roman = 157;

plat::DItem* item_of(DialogPtr dialog, int item) { return dialog ? plat::dialog_item(dialog, item) : nullptr; }

std::string roman_of(const std::string& utf8) {
    std::string roman;
    plat::utf8_to_macroman(utf8, roman);
    return roman;
}

plat::Rect grown(plat::Rect r, int by) {
    return plat::Rect{static_cast<std::int16_t>(r.top - by), static_cast<std::int16_t>(r.left - by),
                      static_cast<std::int16_t>(r.bottom + by), static_cast<std::int16_t>(r.right + by)};
}

// The shadow of a framed box: right edge and bottom edge, 2 pixels in.
void shadow(plat::Port* port, const plat::Rect& r) {
    port->move_to(r.right, static_cast<std::int16_t>(r.top + 2));
    port->line_to(r.right, r.bottom);
    port->line_to(static_cast<std::int16_t>(r.left + 2), r.bottom);
}

// The pop-up record behind each pop-up item (the item's handle).
std::map<std::pair<DialogPtr, int>, PopupMenuRec*>& popup_records() {
    static std::map<std::pair<DialogPtr, int>, PopupMenuRec*> m;
    return m;
}

bool too_long(const std::string& roman, int max, plat::DItem* field) {
    if (static_cast<int>(roman.size()) <= max) return false;
    char digits[16];
    itoa(max, digits);
    show_insert_error(err_text_too_long, 0, digits, "", "", "");
    plat::select_item_text(field, 0, 32767);
    return true;
}

}  // namespace

void setvalue(DialogPtr dialog, int item, int value) { plat::set_item_value(item_of(dialog, item), value); }

int getvalue(DialogPtr dialog, int item) { return plat::item_value(item_of(dialog, item)); }

void markbox(DialogPtr dialog, int item) {
    if (!dialog) return;
    setvalue(dialog, item, getvalue(dialog, item) == 0 ? 1 : 0);
}

void markbutton(DialogPtr dialog, int first, int last, int chosen) {
    if (!dialog) return;
    for (int i = first; i <= last; ++i) setvalue(dialog, i, 0);
    setvalue(dialog, chosen, 1);
}

std::int16_t whichmarked(DialogPtr dialog, int first, int last, int base) {
    if (!dialog) return 0;
    int result = 0;
    for (int i = first; i <= last; ++i)
        if (getvalue(dialog, i) != 0) result = i;
    return static_cast<std::int16_t>(result - base);
}

void buttonOn(DialogPtr dialog, int item) { plat::set_item_hilite(item_of(dialog, item), 0); }

void buttonOff(DialogPtr dialog, int item) { plat::set_item_hilite(item_of(dialog, item), 255); }

void set_item(DialogPtr dialog, int item, const char* text) {
    if (!dialog || !text) return;
    plat::set_item_text(item_of(dialog, item), plat::macroman_to_utf8(text));
}

void pset_item(DialogPtr dialog, int item, const unsigned char* text) {
    if (!dialog || !text) return;
    const std::string s(reinterpret_cast<const char*>(text + 1), text[0]);
    plat::set_item_text(item_of(dialog, item), plat::macroman_to_utf8(s));
}

void get_item(DialogPtr dialog, int item, char* buffer) {
    std::string roman = roman_of(plat::item_text(item_of(dialog, item)));
    if (roman.size() > max_item_text) roman.resize(max_item_text);
    std::memcpy(buffer, roman.data(), roman.size());
    buffer[roman.size()] = '\0';
}

void invert_item(DialogPtr dialog, int item) {
    plat::DItem* it = item_of(dialog, item);
    if (!it) return;
    plat::dialog_port(dialog)->invert_rect(plat::item_rect(it));
    plat::draw_dialog(dialog);
}

void show_ditem_range(DialogPtr dialog, int first, int last) {
    for (int i = first; dialog && i <= last; ++i) plat::set_item_visible(item_of(dialog, i), true);
}

void hide_ditem_range(DialogPtr dialog, int first, int last) {
    for (int i = first; dialog && i <= last; ++i) plat::set_item_visible(item_of(dialog, i), false);
}

void select_text(DialogPtr dialog, int item) { plat::select_item_text(item_of(dialog, item), 0, 32767); }

void reselect_text(DialogPtr dialog) {
    if (!dialog) return;
    if (plat::DItem* f = plat::focus_item(dialog)) plat::select_item_text(f, 0, 32767);
}

bool check_the_string(DialogPtr dialog, int item, const char* text) {
    if (!dialog) return false;
    char buffer[max_item_text + 1];
    get_item(dialog, item, buffer);
    return std::strcmp(buffer, text) == 0;
}

bool check_roman_text(DialogPtr dialog, int item) {
    if (!dialog) return false;
    std::string roman;
    if (plat::utf8_to_macroman(plat::item_text(item_of(dialog, item)), roman)) return true;
    show_error(err_not_roman, 0);
    plat::select_item_text(item_of(dialog, item), 0, 32767);
    return false;
}

bool check_string_length(DialogPtr dialog, int item, int max) {
    if (!dialog) return false;
    char buffer[max_item_text + 1];
    get_item(dialog, item, buffer);
    return !too_long(buffer, max, item_of(dialog, item));
}

bool okstg_string_length(ControlRef field, int max) {
    if (!field) return false;
    return !too_long(roman_of(plat::item_text(field)), max, field);
}

void settcontrol(plat::Control* control, int state) {
    if (!control) return;
    plat::PortSaver saver(plat::window_port(plat::control_window(control)));
    plat::Port* port = plat::current_port();
    port->set_fore_color(plat::RGBColor{0, 0, 0});
    port->set_back_color(plat::RGBColor{0xFFFF, 0xFFFF, 0xFFFF});
    if (state == 0) plat::hide_control(control);
    if (state == 1) plat::show_control(control);
    setbackgnd(objopts ? objopts->background_colour : colour_white);
    setscreencolor(gcolor);
}

DialogPtr open_dialog(int resource_id) {
    std::string error;
    DialogPtr d = plat::new_dialog(resource_id, &error);
    if (!d) {
        std::string roman = roman_of(error);
        if (roman.size() > 254) roman.resize(254);
        ShowCAlert(roman.c_str());
    }
    return d;
}

int CreateNibWindow(const char* nib, const char* name, DialogPtr* out) {
    if (!nib || !name || !out) return nib_window_missing;
    DialogPtr w = plat::new_nib_window(nib, name, nullptr);
    if (!w) return nib_window_missing;
    *out = w;
    return 0;
}

void rect_localtoglobal(plat::Rect* dst, const plat::Rect* src) {
    *dst = *src;
    plat::Port* port = plat::current_port();
    if (!port) return;
    plat::Point offset;
    if (plat::Window* w = plat::window_of_port(port)) {
        const plat::Rect b = plat::window_bounds(w);
        offset = plat::Point{b.top, b.left};
    } else {
        for (DialogPtr d : plat::dialog_list())
            if (plat::dialog_port(d) == port) {
                const plat::Rect b = plat::dialog_bounds(d);
                offset = plat::Point{b.top, b.left};
            }
    }
    const plat::Point origin = port->origin();
    const int dv = offset.v - origin.v, dh = offset.h - origin.h;
    dst->top = static_cast<std::int16_t>(src->top + dv);
    dst->bottom = static_cast<std::int16_t>(src->bottom + dv);
    dst->left = static_cast<std::int16_t>(src->left + dh);
    dst->right = static_cast<std::int16_t>(src->right + dh);
}

void set_Palette_FontAndSize(DialogPtr dialog) {
    if (!dialog) return;
    const bool japanese = syslang == 1;
    const int font = get_default_integer(tbl_startup, japanese ? 40 : 38);
    const int size = get_default_integer(tbl_startup, japanese ? 41 : 39);
    plat::set_dialog_font(dialog, font, size);
}

void RunAppModalLoopForWindow(DialogPtr window, bool (*handler)(DialogPtr, std::uint32_t)) {
    if (!window || !handler) return;
    for (;;) {
        std::int16_t item = 0;
        plat::EventRecord hit;
        plat::modal_dialog(window, nullptr, &item, &hit);
        if (!plat::dialog_alive(window)) return;
        if (hit.what == plat::app1Evt && hit.dialog == window && handler(window, hit.message)) return;
    }
}

void dialog_cursor() {
    plat::set_cursor(plat::Cursor::arrow);
    show_system_cursor();
}

void center_the_dialog(DialogPtr dialog) {
    if (!dialog) return;
    const plat::Rect p = plat::dialog_bounds(dialog);
    const plat::Rect s = plat::screen_bounds();
    const int left = (s.right - s.left) / 2 - (p.right - p.left) / 2;
    plat::move_dialog(dialog, left, s.top + 40);
}

void setup_dialog(DialogPtr dialog) {
    dialog_cursor();
    center_the_dialog(dialog);
}

void setup_dialog_noncentered(DialogPtr) { dialog_cursor(); }

void showmessage(const char* text) { mac_pr_text(text); }

void framesq(DialogPtr dialog, int item) {
    plat::DItem* it = item_of(dialog, item);
    if (!it) return;
    plat::PortSaver saver(plat::dialog_port(dialog));
    plat::Port* port = plat::current_port();
    const plat::Rect r = grown(plat::item_rect(it), 2);
    port->pen_normal();
    port->frame_rect(r);
    port->set_pen_size(2, 2);
    shadow(port, r);
    port->set_pen_size(1, 1);
}

void frameround(DialogPtr dialog, int item) {
    plat::DItem* it = item_of(dialog, item);
    if (!it) return;
    plat::PortSaver saver(plat::dialog_port(dialog));
    plat::Port* port = plat::current_port();
    // A ring of corner diameter 16 with a 3-pixel pen: straight edges, and a
    // quarter oval in each corner.
    const plat::Rect r = grown(plat::item_rect(it), 4);
    port->pen_normal();
    port->set_pen_size(3, 3);
    const std::int16_t t = r.top, l = r.left, b = r.bottom, rt = r.right;
    port->move_to(static_cast<std::int16_t>(l + 8), t);
    port->line_to(static_cast<std::int16_t>(rt - 11), t);
    port->move_to(static_cast<std::int16_t>(l + 8), static_cast<std::int16_t>(b - 3));
    port->line_to(static_cast<std::int16_t>(rt - 11), static_cast<std::int16_t>(b - 3));
    port->move_to(l, static_cast<std::int16_t>(t + 8));
    port->line_to(l, static_cast<std::int16_t>(b - 11));
    port->move_to(static_cast<std::int16_t>(rt - 3), static_cast<std::int16_t>(t + 8));
    port->line_to(static_cast<std::int16_t>(rt - 3), static_cast<std::int16_t>(b - 11));
    const plat::Rect clip = port->clip();
    const plat::Rect corners[4] = {
        {t, l, static_cast<std::int16_t>(t + 16), static_cast<std::int16_t>(l + 16)},
        {t, static_cast<std::int16_t>(rt - 16), static_cast<std::int16_t>(t + 16), rt},
        {static_cast<std::int16_t>(b - 16), l, b, static_cast<std::int16_t>(l + 16)},
        {static_cast<std::int16_t>(b - 16), static_cast<std::int16_t>(rt - 16), b, rt},
    };
    for (const plat::Rect& c : corners) {
        const std::int16_t mid_v = static_cast<std::int16_t>((c.top + c.bottom) / 2);
        const std::int16_t mid_h = static_cast<std::int16_t>((c.left + c.right) / 2);
        port->set_clip(plat::Rect{c.top == t ? t : mid_v, c.left == l ? l : mid_h, c.top == t ? mid_v : b,
                                  c.left == l ? mid_h : rt});
        port->frame_oval(c);
    }
    port->set_clip(clip);
    port->set_pen_size(1, 1);
}

void popup_updater(DialogPtr dialog, int item) {
    auto found = popup_records().find({dialog, item});
    plat::DItem* it = item_of(dialog, item);
    if (found == popup_records().end() || !it) return;
    const PopupMenuRec* rec = found->second;
    if (plat::item_kind(it) == plat::ItemKind::popup) {
        // A pop-up control shows its own label: give it the record's entries.
        if (rec->menu) {
            std::vector<std::string> utf8;
            for (const auto& e : rec->menu->entries) utf8.push_back(plat::macroman_to_utf8(e));
            plat::set_entries(it, utf8);
        }
        plat::set_item_value(it, rec->current);
        return;
    }
    plat::PortSaver saver(plat::dialog_port(dialog));
    plat::Port* port = plat::current_port();
    // TODO(DrawString) the current entry's title, 12 pixels in from the left edge
    const plat::Rect r = grown(plat::item_rect(it), 1);
    port->frame_rect(r);
    shadow(port, r);
}

void framerect(DialogPtr dialog, int item) {
    plat::set_draw_proc(item_of(dialog, item), [](plat::Dialog* d, int n) { framesq(d, n); });
}

PopupMenuHandle get_PopupMenuHandle(const PopupMenuRec* rec) { return rec ? rec->menu : nullptr; }

void set_PopupMenuHandle(PopupMenuRec* rec, PopupMenuHandle menu) {
    if (rec) rec->menu = menu;
}

void get_CurrentPopupMenuItem(const PopupMenuRec* rec, std::int16_t* item) {
    if (rec) *item = rec->current;
}

void set_CurrentPopupMenuItem(PopupMenuRec* rec, std::int16_t item) {
    if (!rec) return;
    PopupMenu* m = rec->menu;
    const auto mark = [m](int entry, std::uint8_t c) {
        if (!m || entry < 1 || entry > static_cast<int>(m->entries.size())) return;
        if (m->marks.size() < m->entries.size()) m->marks.resize(m->entries.size(), plat::noMark);
        m->marks[entry - 1] = c;
    };
    if (rec->current > 0) mark(rec->current, plat::noMark);
    rec->current = item;
    if (item >= 1) mark(item, plat::checkMark);
}

void causePopupItemUpdate(PopupMenuRec* rec) {
    if (!rec || !rec->dialog) return;
    if (plat::DItem* it = item_of(rec->dialog, rec->item))
        plat::invalidate_dialog_rect(rec->dialog, grown(plat::item_rect(it), 2));
}

void DetachPopupFromDialog(PopupMenuRec* rec) {
    if (!rec) return;
    if (rec->dialog) {
        plat::set_draw_proc(item_of(rec->dialog, rec->item), nullptr);
        popup_records().erase({rec->dialog, rec->item});
    }
    rec->dialog = nullptr;
    rec->item = 0;
}

void AttachPopupToDialog(PopupMenuRec* rec, DialogPtr dialog, int item) {
    if (!rec || !dialog) return;
    rec->dialog = dialog;
    rec->item = static_cast<std::int16_t>(item);
    popup_records()[{dialog, item}] = rec;
    plat::set_draw_proc(item_of(dialog, item), [](plat::Dialog* d, int n) { popup_updater(d, n); });
}

bool GetPopupSelection(DialogPtr dialog, int item, std::int16_t* value) {
    plat::DItem* it = item_of(dialog, item);
    if (!it || plat::classic_item_type(plat::item_kind(it)) != 7) return false;
    *value = static_cast<std::int16_t>(plat::item_value(it));
    return true;
}

bool GetPopupMenuHandle(int number, PopupMenuHandle* menu) {
    // Pop-up menus carry their entries in the window layouts; no menu is
    // kept apart from them.
    (void)number;
    (void)menu;
    return false;
}

void pagesetup() {}
void printdoc() {}

void ourdisposdialog1(DialogPtr dialog) {
    if (!dialog) return;
    for (auto it = popup_records().begin(); it != popup_records().end();)
        it = it->first.first == dialog ? popup_records().erase(it) : std::next(it);
    plat::dispose_dialog(dialog);
}

void ourdisposdialog2(DialogPtr dialog) {
    ourdisposdialog1(dialog);
    updatewindows();
}

void ourhidewindow(DialogPtr dialog) {
    if (!dialog) return;
    plat::hide_dialog(dialog);
    updatewindows();
}

void updatewindows() {
    while (loop_pump(plat::updateMask)) {
    }
}

void InitDialogValue(DialogPtr dialog, int item, int value) { setvalue(dialog, item, value); }

void setframerectangle(DialogPtr dialog, int item) {
    plat::set_draw_proc(item_of(dialog, item), [](plat::Dialog* d, int n) { framerectangleHook(d, n); });
}

void framerectangleHook(DialogPtr dialog, int item) {
    plat::DItem* it = item_of(dialog, item);
    if (!it) return;
    plat::PortSaver saver(plat::dialog_port(dialog));
    plat::current_port()->frame_rect(plat::item_rect(it));
    // The dialog's port is presented as drawn: nothing is left to mark valid.
}

}  // namespace drav
