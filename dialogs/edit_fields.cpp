#include "dialogs/edit_fields.h"

#include <bitset>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/core/process.h"

#include "base/messages.h"
#include "platform/core/text.h"
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

// The character sets of the key filters, from the data file keyfilters.txt.
struct KeySets {
    std::map<std::string, std::bitset<256>> sets;
    bool loaded = false;
};

bool parse_code(const std::string& word, int* code) {
    if (word.empty() || word.size() > 3) return false;
    int v = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > 255) return false;
    *code = v;
    return true;
}

KeySets read_key_sets() {
    KeySets k;
    std::ifstream f(plat::bundle_dir() / "keyfilters.txt", std::ios::binary);
    if (!f) return k;
    std::string line;
    int lines = 0;
    while (std::getline(f, line) && ++lines <= 1000) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) continue;
        std::bitset<256> set;
        std::istringstream words(line.substr(tab + 1));
        std::string w;
        bool ok = true;
        while (ok && words >> w) {
            const std::size_t dash = w.find('-');
            int from = 0, to = 0;
            if (auto named = k.sets.find(w); named != k.sets.end()) {
                set |= named->second;
            } else if (dash != std::string::npos && parse_code(w.substr(0, dash), &from) &&
                       parse_code(w.substr(dash + 1), &to) && from <= to) {
                for (int c = from; c <= to; ++c) set.set(static_cast<std::size_t>(c));
            } else if (parse_code(w, &from)) {
                set.set(static_cast<std::size_t>(from));
            } else {
                ok = false;  // a line that cannot be read is left out whole
            }
        }
        if (ok) k.sets[line.substr(0, tab)] = set;
    }
    k.loaded = true;
    return k;
}

// Code 0 is never a character of a number. Without the table every other
// key goes through: the value checks still refuse a bad text.
bool lets_through(const char* filter, std::uint8_t ch) {
    // Read once for the bundle folder in use.
    static std::filesystem::path read_from = plat::bundle_dir();
    static KeySets keys = read_key_sets();
    if (plat::bundle_dir() != read_from) {
        read_from = plat::bundle_dir();
        keys = read_key_sets();
    }
    if (ch == 0) return false;
    const auto it = keys.sets.find(filter);
    if (it == keys.sets.end()) return true;
    return it->second.test(ch);
}

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
    // The formatter's kind 2 is a paper length: an angle is written as a
    // plain number of degrees, which the angle parser reads back.
    real_to_string(value, text, kind == unit_angle ? unit_real : kind);
    return set_text(control, text);
}

bool SetIntegerValueInEditTextControl(ControlRef control, int value) {
    char text[16];
    itoa(value, text);
    return set_text(control, text);
}

bool ClearValueInEditTextControl(ControlRef control) { return set_text(control, ""); }

bool FilterRealValues(ControlRef, std::uint8_t ch) { return lets_through("real", ch); }

bool FilterAngleValues(ControlRef, std::uint8_t ch) { return lets_through("angle", ch); }

bool FilterIntValues(ControlRef, std::uint8_t ch) { return lets_through("integer", ch); }

void install_key_filter(ControlRef control, bool (*filter)(ControlRef, std::uint8_t)) {
    if (!filter) {
        plat::set_key_filter(control, nullptr);
        return;
    }
    plat::set_key_filter(control, [filter](plat::DItem* c, std::uint8_t ch) { return filter(c, ch); });
}

}  // namespace drav
