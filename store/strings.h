// NUL-terminated byte strings (Mac Roman), characters of the current
// script, and the time of day.
#pragma once

#include <cstdint>

namespace drav {

// ---- Strings, all in place. Operations that can grow a string take the
// capacity of its buffer (NUL included) and never write past it: a result
// that does not fit is cut to cap - 1 bytes (back to a character start).
// Indexes or lengths out of range leave the string unchanged (strloc2
// searches from 0 for a negative start). ----
std::int16_t strloc(const char* s, const char* sub);
std::int16_t strloc2(const char* s, const char* sub, int start);
char* strinsert(const char* src, char* s, int at, int cap);
char* strdelete(char* s, int at, int n);
char* strtrunc(char* s, int n);
char* strextract(char* dst, const char* s, int at, int n);
char* strexch(char* s, const char* r, int at);
char* strreplace(char* s, const char* old_text, const char* new_text, int cap);
char* strnncpy(char* dst, const char* src, int n);
char* strnfil(char* s, char c, int n);
char* strpad(char* s, char c, int from, int to);
char* strtolc(char* s);
char* strtouc(char* s);
char* strtotc(char* s);
char* strclean(char* s, char c);

// ---- Characters ----
// chr_len and chr_pos step at least one byte, also over a stray byte.
int chtoupper(int ch);
int chtolower(int ch);
int isshow(int ch);
int chr_size(const char* s, int i);
int chr_len(const char* s);
int chr_pos(int i, const char* s);

// ---- Time ----
void get_date(std::int16_t* year, std::int16_t* month, std::int16_t* day);
void get_time(std::int16_t* hour, std::int16_t* minute, std::int16_t* second,
              std::int16_t* hundredths);
void curdate(std::uint16_t v[6]);
std::int32_t abstime();
std::int32_t deltatime(std::int32_t t0);
std::int32_t abs100time();
std::int32_t delta100time(std::int32_t t0);
// Busy wait; returns at once for a zero, negative or NaN time.
void waittime(double seconds);
// "hh:mm:ss", hours as wide as needed, a leading '-' when negative; buf
// needs 14 bytes for every value (INT32_MIN gives "-596523:14:08").
char* showelapsedtime(char* buf, std::int32_t seconds);

}  // namespace drav
