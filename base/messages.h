// Prompts, alerts and errors by table and index of the localized strings.
#pragma once

#include <string>

namespace drav {

// String tables.
constexpr int tbl_draw_prompts = 402;
constexpr int tbl_modify_prompts = 403;
constexpr int tbl_alerts = 405;
constexpr int tbl_errors = 406;
constexpr int tbl_construct_prompts = 407;
constexpr int tbl_hatch_prompts = 409;
constexpr int tbl_names = 410;
constexpr int tbl_misc_prompts = 412;
constexpr int tbl_startup = 413;

constexpr int alert_standard = 506;

// Error 406 entries raised by the core.
constexpr int err_block_read = 2;
constexpr int err_block_number = 3;
constexpr int err_slot = 4;
constexpr int err_degenerate = 67;
constexpr int err_no_room = 68;
constexpr int err_no_memory = 104;
constexpr int err_block_write = 140;

// Entry (table, index) as Mac Roman bytes, at most 254 and a NUL; a missing
// entry gives its key text ("999,1").
char* GetMyLocalCString(char* dst, int table, int index);
// The same as a length-prefixed string (at most 255 bytes with the length).
unsigned char* GetMyLocalPascalString(unsigned char* dst, int table, int index);
// The entry as UTF-8 text for the desktop.
std::string GetMyLocalCFString(int table, int index);

// The message line the shell installs at start-up (the message palette);
// before that, and while the palette is closed, messages go nowhere.
struct MessageLine {
    void (*show)(int table, int index) = nullptr;
    void (*clear)() = nullptr;
    void (*show_text)(const char* roman) = nullptr;
};
void set_message_line(const MessageLine& line);

// The number at the start of localized entry (table, index); a missing entry
// reads its key text, so it yields the table number.
std::uint16_t get_default_boolean(int table, int index);
std::int16_t get_default_integer(int table, int index);
// 0 when the entry does not start with a number.
double get_default_real(int table, int index);

void mac_pr_message(int table, int index);
void mess_clear();
// A message of Mac Roman text.
void mac_pr_text(const char* roman);
void pr_addmsg(int n);
void pr_modmsg(int n);
void pr_constmsg(int n);
void pr_miscmsg(int n);
void pr_hatmsg(int n);

// Entry n of table 405 in a modal alert; the item pressed.
int pr_alert(int n, int alert);
// Entry n of table 406 with ^0-^3 filled from s0-s3 (Mac Roman); ends the
// program after the alert when fatal is non-zero.
void show_insert_error(int n, int fatal, const char* s0, const char* s1, const char* s2,
                       const char* s3);
void show_error(int n, int fatal);
// The standard stop alert with one text (length-prefixed or C string, Mac Roman).
void ShowPascalAlert(const unsigned char* text);
void ShowCAlert(const char* text);

}  // namespace drav
