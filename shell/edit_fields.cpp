#include "shell/edit_fields.h"

#include <cstring>
#include <string>

#include "platform/core/text.h"
#include "shell/messages.h"
#include "store/number_text.h"
#include "store/parse.h"
#include "store/settings.h"

namespace drav {

namespace {

constexpr int max_field_text = 255;

// The field's text as Mac Roman bytes, at most 255 of them.
std::string field_text(ControlRef field) {
    std::string roman;
    plat::utf8_to_macroman(plat::item_text(field), roman);
    if (roman.size() > max_field_text) roman.resize(max_field_text);
    return roman;
}

void refuse(int alert, ControlRef field) {
    pr_alert(alert, alert_standard);
    plat::select_item_text(field, 0, 32767);
}

bool real_of(ControlRef field, double* out, double min, double max, int kind) {
    if (!field) return false;
    double v = 0;
    if (!str_to_unit(field_text(field).c_str(), &v, kind)) {
        refuse(alert_bad_format, field);
        return false;
    }
    if (!check_rrange(v, min, max)) {
        refuse(alert_out_of_range, field);
        return false;
    }
    *out = v;
    return true;
}

bool integer_of(ControlRef field, std::int16_t* out, int min, int max) {
    if (!field) return false;
    std::int16_t v = 0;
    if (!str_to_int(field_text(field).c_str(), &v)) {
        refuse(alert_bad_format, field);
        return false;
    }
    if (!check_irange(v, min, max)) {
        refuse(alert_out_of_range, field);
        return false;
    }
    *out = v;
    return true;
}

bool set_text(ControlRef control, const char* roman) {
    if (!control || plat::item_kind(control) != plat::ItemKind::edit_text) return false;
    plat::set_item_text(control, plat::macroman_to_utf8(roman));
    return true;
}

bool editing_key(std::uint8_t ch) { return ch == 1 || ch == 4 || ch == 8 || (ch >= 28 && ch <= 31) || ch == 127; }
bool digit(std::uint8_t ch) { return ch >= '0' && ch <= '9'; }

}  // namespace

bool check_real(DialogPtr dialog, int item, double* out, double min, double max, int kind) {
    return dialog && real_of(plat::dialog_item(dialog, item), out, min, max, kind);
}

bool check_smreal(DialogPtr dialog, int item, float* out, double min, double max, int kind) {
    double v = 0;
    if (!check_real(dialog, item, &v, min, max, kind)) return false;
    *out = static_cast<float>(v);
    return true;
}

bool output_check_real(DialogPtr dialog, int item, double* out, double min, double max, int kind) {
    const std::int16_t saved = units_defs.units_code;
    units_defs.units_code = output_defs.paper_units;
    const bool ok = check_real(dialog, item, out, min, max, kind);
    units_defs.units_code = saved;
    return ok;
}

bool check_integer(DialogPtr dialog, int item, std::int16_t* out, int min, int max) {
    return dialog && integer_of(plat::dialog_item(dialog, item), out, min, max);
}

bool okstg_real(ControlRef field, double* out, double min, double max, int kind) {
    return real_of(field, out, min, max, kind);
}

bool okstg_smreal(ControlRef field, float* out, double min, double max, int kind) {
    double v = 0;
    if (!real_of(field, &v, min, max, kind)) return false;
    *out = static_cast<float>(v);
    return true;
}

bool okstg_integer(ControlRef field, std::int16_t* out, int min, int max) { return integer_of(field, out, min, max); }

ControlRef GrabCRef(DialogPtr window, std::uint32_t signature, std::int32_t id) {
    return window ? plat::find_control(window, signature, id) : nullptr;
}

bool GetRealValueFromEditTextControl(ControlRef control, double* out, double min, double max, int kind) {
    *out = 0;
    if (!control) return false;
    double v = 0;
    if (!str_to_unit(field_text(control).c_str(), &v, kind) || !check_rrange(v, min, max)) return false;
    *out = v;
    return true;
}

bool GetIntegerValueFromEditTextControl(ControlRef control, std::int16_t* out, int min, int max) {
    *out = static_cast<std::int16_t>(min);
    if (!control) return false;
    std::int16_t v = 0;
    if (!str_to_int(field_text(control).c_str(), &v)) return false;
    if (v < min) return false;
    if (v > max) {
        *out = static_cast<std::int16_t>(max);
        return false;
    }
    *out = v;
    return true;
}

bool GetValueFromCheckBoxControl(ControlRef control, std::int16_t* out) {
    if (control) *out = static_cast<std::int16_t>(plat::item_value(control));
    return false;
}

bool EditTextControlIsEmpty(ControlRef control) { return !control || plat::item_text(control).empty(); }

bool SetRealValueInEditTextControl(ControlRef control, double value, int kind) {
    char text[number_text_size];
    real_to_string(value, text, kind);
    return set_text(control, text);
}

bool SetIntegerValueInEditTextControl(ControlRef control, int value) {
    char text[16];
    itoa(value, text);
    return set_text(control, text);
}

bool ClearValueInEditTextControl(ControlRef control) { return set_text(control, ""); }

bool FilterRealValues(ControlRef, std::uint8_t ch) {
    return digit(ch) || editing_key(ch) || ch == ' ' || ch == '"' || ch == '\'' || ch == '-' || ch == '.' ||
           ch == '/';
}

bool FilterAngleValues(ControlRef control, std::uint8_t ch) {
    if (FilterRealValues(control, ch)) return true;
    return std::strchr("NESWnesw", ch) != nullptr && ch != 0;
}

bool FilterIntValues(ControlRef, std::uint8_t ch) { return digit(ch) || editing_key(ch); }

void install_key_filter(ControlRef control, bool (*filter)(ControlRef, std::uint8_t)) {
    if (!filter) {
        plat::set_key_filter(control, nullptr);
        return;
    }
    plat::set_key_filter(control, [filter](plat::DItem* c, std::uint8_t ch) { return filter(c, ch); });
}

}  // namespace drav
