#include "base/messages.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <string>

#include "base/idle.h"
#include "base/shutdown.h"
#include "base/window_areas.h"
#include "platform/core/string_table.h"
#include "platform/core/text.h"
#include "platform/ui/answerer.h"
#include "platform/ui/cursors.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/windows.h"

namespace drav {

namespace {

constexpr int max_c_string = 255;  // terminator included

std::string key_text(int table, int index) {
    char key[32];
    std::snprintf(key, sizeof key, "%d,%d", table, index);
    return key;
}

// The entry as Mac Roman bytes; the key text when the entry is missing, and
// also (after telling the user) when it is too long or not representable.
std::string local_roman(int table, int index) {
    const std::string key = key_text(table, index);
    const std::string* entry = plat::strings().find(table, index);
    if (!entry) return key;
    std::string roman;
    if (!plat::utf8_to_macroman(*entry, roman) || roman.size() > max_c_string - 1) {
        ShowCAlert(key.c_str());
        return key;
    }
    return roman;
}

// The first `mark` in the C string `text` (buffer of `cap` bytes) becomes
// `value`; the result is cut to fit.
void replace_first(char* text, const char* mark, const char* value, std::size_t cap) {
    std::string s(text);
    const std::size_t at = s.find(mark);
    if (at == std::string::npos) return;
    s.replace(at, std::strlen(mark), value);
    if (s.size() > cap - 1) s.resize(cap - 1);
    std::memcpy(text, s.c_str(), s.size() + 1);
}

constexpr int alert_text_item = 2;

// The standard alert window (506): its text, and OK as item 1. A person
// answers there; a scripted answer is pressed in it. Without the window the
// answerer's own box stands in, so the message is never lost.
int run_alert(plat::AlertKind kind, const std::string& roman_text) {
    clear_watch();
    // The drawing under the alert is repainted at the next update.
    drawing_area_valid(0);
    plat::AlertRequest r;
    r.kind = kind;
    r.text = plat::macroman_to_utf8(roman_text);
    plat::Dialog* d = plat::new_dialog(alert_standard, nullptr);
    if (!d) return plat::ask(r);
    plat::set_item_text(plat::dialog_item(d, alert_text_item), r.text);
    const plat::Rect s = plat::screen_bounds();
    const plat::Rect b = plat::dialog_bounds(d);
    plat::move_dialog(d, (s.right - s.left) / 2 - (b.right - b.left) / 2, s.top + 40);
    plat::set_cursor(plat::Cursor::arrow);
    show_system_cursor();
    plat::show_dialog(d);
    r.window = d;
    const int pressed = plat::ask(r);
    if (pressed > 0) plat::post_item_hit(d, pressed);
    std::int16_t item = 0;
    for (;;) {
        plat::modal_dialog(d, nullptr, &item);
        // A scripted answer is taken as it comes; a person's click on the text is no answer.
        if (pressed > 0 || item <= 0 || plat::item_kind(plat::dialog_item(d, item)) == plat::ItemKind::button) break;
    }
    // What the alert covered is redrawn by the windows' update events.
    plat::dispose_dialog(d);
    return item > 0 ? item : 1;
}

}  // namespace

char* GetMyLocalCString(char* dst, int table, int index) {
    const std::string s = local_roman(table, index);
    std::memcpy(dst, s.data(), s.size());
    dst[s.size()] = '\0';
    return dst;
}

unsigned char* GetMyLocalPascalString(unsigned char* dst, int table, int index) {
    std::string s = local_roman(table, index);
    if (s.size() > 254) s.resize(254);
    dst[0] = static_cast<unsigned char>(s.size());
    std::memcpy(dst + 1, s.data(), s.size());
    return dst;
}

std::string GetMyLocalCFString(int table, int index) {
    const std::string* entry = plat::strings().find(table, index);
    return entry ? *entry : key_text(table, index);
}

namespace {
MessageLine g_message_line;
}  // namespace

void set_message_line(const MessageLine& line) { g_message_line = line; }

void mac_pr_message(int table, int index) {
    if (g_message_line.show) g_message_line.show(table, index);
}

void mess_clear() {
    if (g_message_line.clear) g_message_line.clear();
}

void mac_pr_text(const char* roman) {
    if (g_message_line.show_text) g_message_line.show_text(roman);
}

void pr_addmsg(int n) { mac_pr_message(tbl_draw_prompts, n); }
void pr_modmsg(int n) { mac_pr_message(tbl_modify_prompts, n); }
void pr_constmsg(int n) { mac_pr_message(tbl_construct_prompts, n); }
void pr_miscmsg(int n) { mac_pr_message(tbl_misc_prompts, n); }
void pr_hatmsg(int n) { mac_pr_message(tbl_hatch_prompts, n); }

namespace {
long long leading_integer(int table, int index) {
    char text[256];
    GetMyLocalCString(text, table, index);
    const long long n = std::strtoll(text, nullptr, 10);
    return n;
}
}  // namespace

std::uint16_t get_default_boolean(int table, int index) {
    return static_cast<std::uint16_t>(leading_integer(table, index));
}

std::int16_t get_default_integer(int table, int index) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(leading_integer(table, index)));
}

double get_default_real(int table, int index) {
    char text[256];
    GetMyLocalCString(text, table, index);
    const double d = std::strtod(text, nullptr);
    return std::isfinite(d) ? d : 0.0;
}


int pr_alert(int n, int alert) {
    (void)alert;  // every alert uses the one standard layout
    return run_alert(plat::AlertKind::caution, local_roman(tbl_alerts, n));
}

void show_insert_error(int n, int fatal, const char* s0, const char* s1, const char* s2,
                       const char* s3) {
    // Room for the entry and four inserted values.
    char text[4 * max_c_string + max_c_string];
    GetMyLocalCString(text, tbl_errors, n);
    const char* values[4] = {s0, s1, s2, s3};
    const char* marks[4] = {"^0", "^1", "^2", "^3"};
    for (int i = 0; i < 4; ++i) replace_first(text, marks[i], values[i] ? values[i] : "", sizeof text);
    run_alert(plat::AlertKind::stop, text);
    if (fatal) leave_program();
}

void show_error(int n, int fatal) { show_insert_error(n, fatal, "", "", "", ""); }

void ShowPascalAlert(const unsigned char* text) {
    std::string s(reinterpret_cast<const char*>(text + 1), text[0]);
    run_alert(plat::AlertKind::stop, s);
}

void ShowCAlert(const char* text) { run_alert(plat::AlertKind::stop, text); }

}  // namespace drav
