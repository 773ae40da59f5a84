#include "shell/tool_setting_frame.h"

#include <string>

#include "base/messages.h"
#include "dialogs/edit_fields.h"
#include "platform/core/text.h"
#include "platform/ui/dialogs.h"
#include "shell/blink.h"
#include "shell/dialog_filters.h"
#include "store/number_text.h"
#include "store/parse.h"

namespace drav {

namespace {

std::string text_of(double v, FieldKind kind) {
    char text[number_text_size];
    switch (kind) {
    case FieldKind::integer: itoa(static_cast<int>(v), text); break;
    case FieldKind::plain:
    case FieldKind::angle: real_to_string(v, text, 0); break;
    case FieldKind::length: real_to_string(v, text, 1); break;
    case FieldKind::paper: real_to_string(v, text, 2); break;
    }
    return plat::macroman_to_utf8(text);
}

}  // namespace

SettingsDialog::SettingsDialog(int resource, std::vector<SettingField> fields, bool modal_filter)
    : fields_(std::move(fields)), filter_(modal_filter) {
    blink_off();
    d_ = open_dialog(resource);
    if (d_) plat::set_default_item(d_, 1);
}

SettingsDialog::~SettingsDialog() {
    if (d_) ourdisposdialog2(d_);
}

const SettingField* SettingsDialog::spec(int item) const {
    for (const auto& f : fields_)
        if (f.item == item) return &f;
    return nullptr;
}

void SettingsDialog::put(int item, double value) {
    const SettingField* f = spec(item);
    if (!f || !d_) return;
    values_[item] = value;
    shown_[item] = text_of(value, f->kind);
    plat::set_item_text(plat::dialog_item(d_, item), shown_[item]);
}

double SettingsDialog::value(int item) const {
    const auto it = values_.find(item);
    return it == values_.end() ? 0.0 : it->second;
}

void SettingsDialog::show(int first) {
    if (!d_) return;
    setup_dialog(d_);
    plat::show_dialog(d_);
    select(first);
}

void SettingsDialog::select(int item) {
    current_ = item;
    select_text(d_, item);
}

bool SettingsDialog::edited(int item) const {
    const auto it = shown_.find(item);
    return it == shown_.end() || plat::item_text(plat::dialog_item(d_, item)) != it->second;
}

bool SettingsDialog::check(int item) {
    const SettingField* f = spec(item);
    if (!f) return true;
    double v = 0;
    bool ok = false;
    switch (f->kind) {
    case FieldKind::integer: {
        std::int16_t n = 0;
        ok = check_integer(d_, item, &n, static_cast<int>(f->min), static_cast<int>(f->max));
        v = n;
        break;
    }
    case FieldKind::plain: ok = check_real(d_, item, &v, f->min, f->max, unit_real); break;
    case FieldKind::length: ok = check_real(d_, item, &v, f->min, f->max, unit_length); break;
    case FieldKind::angle: ok = check_real(d_, item, &v, f->min, f->max, unit_angle); break;
    case FieldKind::paper: ok = output_check_real(d_, item, &v, f->min, f->max, unit_length); break;
    }
    if (ok && f->positive && !(v > 0)) {
        pr_alert(alert_out_of_range, alert_standard);
        select_text(d_, item);
        ok = false;
    }
    if (!ok) {
        current_ = item;
        return false;
    }
    if (keep_typed_) {
        values_[item] = v;
        shown_[item] = plat::item_text(plat::dialog_item(d_, item));
    } else {
        put(item, v);
    }
    return true;
}

int SettingsDialog::next(plat::Point* where) {
    for (;;) {
        std::int16_t item = 0;
        plat::EventRecord hit;
        plat::ModalFilter f;
        if (filter_) f = [](plat::Dialog* d, plat::EventRecord* e, std::int16_t* it) { return dlgFilter(d, e, it); };
        plat::modal_dialog(d_, f, &item, &hit);
        if (item == 2) return 2;
        if (item <= 0) continue;
        // A field not typed into still holds what the program wrote there.
        if (item != current_ && spec(current_) && edited(current_) && !check(current_)) continue;
        if (item == 1) {
            // Fields the user typed into without leaving them are checked too.
            bool all = true;
            for (const auto& field : fields_)
                if (plat::item_visible(plat::dialog_item(d_, field.item)) && edited(field.item) && !check(field.item)) {
                    all = false;
                    break;
                }
            if (!all) continue;
            return 1;
        }
        if (spec(item)) current_ = item;
        if (where) *where = hit.where;
        return item;
    }
}

namespace {

void invalidate_item(DialogPtr d, int item) {
    if (plat::DItem* it = plat::dialog_item(d, item)) plat::invalidate_dialog_rect(d, plat::item_rect(it));
}

}  // namespace

void choose_square(DialogPtr dialog, int* chosen, int item) {
    if (*chosen == item) return;
    invalidate_item(dialog, *chosen);
    invalidate_item(dialog, item);
    *chosen = item;
}

void draw_square(DialogPtr dialog, int item, const std::function<void(plat::Port&, const plat::Rect&)>& picture) {
    plat::DItem* it = plat::dialog_item(dialog, item);
    plat::Port* port = plat::dialog_port(dialog);
    if (!it || !port) return;
    const plat::Rect r = plat::item_rect(it);
    plat::PortSaver saver(port);
    port->pen_normal();
    port->set_fore_color(plat::RGBColor{0xFFFF, 0xFFFF, 0xFFFF});
    port->paint_rect(r);
    port->set_fore_color(plat::RGBColor{0, 0, 0});
    port->frame_rect(r);
    picture(*port, r);
}

int item_under(DialogPtr dialog, plat::Point global, int first, int last) {
    const plat::Rect b = plat::dialog_bounds(dialog);
    const int h = global.h - b.left, v = global.v - b.top;
    for (int i = first; i <= last; ++i) {
        plat::DItem* it = plat::dialog_item(dialog, i);
        if (!it || plat::item_kind(it) != plat::ItemKind::user || !plat::item_visible(it)) continue;
        const plat::Rect r = plat::item_rect(it);
        if (h >= r.left && h < r.right && v >= r.top && v < r.bottom) return i;
    }
    return 0;
}

}  // namespace drav
