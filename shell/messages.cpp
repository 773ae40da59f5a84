#include "shell/messages.h"

#include <cstdio>
#include <cstring>

#include "platform/core/string_table.h"
#include "platform/core/text.h"
#include "platform/ui/answerer.h"
#include "shell/idle.h"
#include "shell/message_palette.h"
#include "shell/shutdown.h"
#include "store/strings.h"

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

int run_alert(plat::AlertKind kind, const std::string& roman_text) {
    clear_watch();
    // TODO(setvalidrect) the drawing area under the alert is redrawn once the window exists
    plat::AlertRequest r;
    r.kind = kind;
    r.text = plat::macroman_to_utf8(roman_text);
    return plat::ask(r);
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

void mac_pr_message(int table, int index) { DisplayLocalMessage(table, index); }

void mess_clear() { DisplayCFStrMessage(""); }

void pr_addmsg(int n) { mac_pr_message(tbl_draw_prompts, n); }
void pr_modmsg(int n) { mac_pr_message(tbl_modify_prompts, n); }
void pr_constmsg(int n) { mac_pr_message(tbl_construct_prompts, n); }
void pr_miscmsg(int n) { mac_pr_message(tbl_misc_prompts, n); }
void pr_hatmsg(int n) { mac_pr_message(tbl_hatch_prompts, n); }

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
    for (int i = 0; i < 4; ++i) strreplace(text, marks[i], values[i] ? values[i] : "", sizeof text);
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
