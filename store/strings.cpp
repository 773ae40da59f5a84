// String and character routines on NUL-terminated Mac Roman byte strings.
// Every routine checks its indexes against the string's length first, so a
// bad index leaves the string as it was instead of touching foreign bytes.
#include "store/strings.h"

#include <cstring>
#include <string>

#include "platform/core/text.h"

namespace drav {

namespace {

int length(const char* s) { return static_cast<int>(std::strlen(s)); }

// chr_size within a string of n bytes: a walk along the string measures it once.
int size_in(const char* s, int n, int i) {
    if (i < 0 || i >= n) return 0;
    switch (plat::byte_kind(s, i)) {
        case plat::ByteKind::single:
            return 1;
        case plat::ByteKind::first:
            switch (plat::byte_kind(s, i + 1)) {
                case plat::ByteKind::last: return 2;
                case plat::ByteKind::middle: return 3;
                default: return 1;  // a lead byte without its follower
            }
        default:
            return 0;
    }
}

// Bytes from i to the next character; at least one, so every walk ends.
int step_in(const char* s, int n, int i) {
    const int k = size_in(s, n, i);
    return k > 0 ? k : 1;
}

// Puts text into s within cap bytes. A result that does not fit is cut to
// cap - 1 bytes, back to the start of the character the cut would split.
void store_bounded(char* s, const std::string& text, int cap) {
    int cut = static_cast<int>(text.size());
    if (cut > cap - 1) {
        cut = cap - 1;
        while (cut > 0) {
            const plat::ByteKind k = plat::byte_kind(text.c_str(), cut);
            if (k != plat::ByteKind::middle && k != plat::ByteKind::last) break;
            --cut;
        }
    }
    std::memcpy(s, text.data(), static_cast<std::size_t>(cut));
    s[cut] = '\0';
}

// Maps the single-byte characters only: the second byte of a two-byte
// character may look like an ASCII letter.
template <class F>
char* map_single_bytes(char* s, F f) {
    const int n = length(s);
    for (int i = 0; i < n;) {
        const int k = size_in(s, n, i);
        if (k == 1) s[i] = static_cast<char>(f(static_cast<unsigned char>(s[i])));
        i += k > 0 ? k : 1;
    }
    return s;
}

int swap_case(int ch) {
    const int up = chtoupper(ch);
    return up != ch ? up : chtolower(ch);
}

}  // namespace

// ---- Strings ----

std::int16_t strloc(const char* s, const char* sub) { return strloc2(s, sub, 0); }

std::int16_t strloc2(const char* s, const char* sub, int start) {
    if (start < 0) start = 0;
    const int n = length(s);
    const int m = length(sub);
    if (m == 0 || start > n - m) return -1;
    const char* p = std::strstr(s + start, sub);
    if (p == nullptr || p - s > INT16_MAX) return -1;
    return static_cast<std::int16_t>(p - s);
}

// An index outside 0..length(s) leaves s unchanged; a result longer than
// cap - 1 bytes is cut (store_bounded).
char* strinsert(const char* src, char* s, int at, int cap) {
    const int n = length(s);
    if (cap <= 0 || at < 0 || at > n) return s;
    std::string text(s, static_cast<std::size_t>(at));
    text += src;
    text += s + at;
    store_bounded(s, text, cap);
    return s;
}

char* strdelete(char* s, int at, int n) {
    const int len = length(s);
    if (at < 0 || n <= 0 || at > len - n) return s;
    std::memmove(s + at, s + at + n, static_cast<std::size_t>(len - at - n + 1));
    return s;
}

char* strtrunc(char* s, int n) {
    if (n >= 0 && n < length(s)) s[n] = '\0';
    return s;
}

char* strextract(char* dst, const char* s, int at, int n) {
    const int len = length(s);
    if (n <= 0 || at < 0 || at >= len) {
        dst[0] = '\0';
        return dst;
    }
    const int k = n < len - at ? n : len - at;
    std::memmove(dst, s + at, static_cast<std::size_t>(k));
    dst[k] = '\0';
    return dst;
}

char* strexch(char* s, const char* r, int at) {
    const int m = length(r);
    if (m == 0 || at < 0 || at > length(s) - m) return s;
    std::memmove(s + at, r, static_cast<std::size_t>(m));
    return s;
}

// Same cut as strinsert when the result does not fit in cap.
char* strreplace(char* s, const char* old_text, const char* new_text, int cap) {
    const int at = strloc(s, old_text);
    if (at < 0 || cap <= 0) return s;
    std::string text(s, static_cast<std::size_t>(at));
    text += new_text;
    text += s + at + length(old_text);
    store_bounded(s, text, cap);
    return s;
}

char* strnncpy(char* dst, const char* src, int n) {
    if (n < 0) return dst;
    std::strncpy(dst, src, static_cast<std::size_t>(n));
    dst[n] = '\0';
    return dst;
}

char* strnfil(char* s, char c, int n) {
    if (n < 0) return s;
    std::memset(s, static_cast<unsigned char>(c), static_cast<std::size_t>(n));
    s[n] = '\0';
    return s;
}

char* strpad(char* s, char c, int from, int to) {
    if (to < 0) return s;
    for (int i = from < 0 ? 0 : from; i < to; ++i) s[i] = c;
    s[to] = '\0';
    return s;
}

char* strtolc(char* s) { return map_single_bytes(s, chtolower); }
char* strtouc(char* s) { return map_single_bytes(s, chtoupper); }
char* strtotc(char* s) { return map_single_bytes(s, swap_case); }

// Only single-byte characters equal to c go; kinds are read from a copy
// because removing bytes shifts what follows.
char* strclean(char* s, char c) {
    const std::string orig(s);
    const char* o = orig.c_str();
    const int n = static_cast<int>(orig.size());
    int w = 0;
    for (int i = 0; i < n;) {
        const int k = step_in(o, n, i);
        if (!(k == 1 && o[i] == c))
            for (int j = i; j < i + k && j < n; ++j) s[w++] = o[j];
        i += k;
    }
    s[w] = '\0';
    return s;
}

// ---- Characters ----

int chtoupper(int ch) { return ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch; }
int chtolower(int ch) { return ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch; }
int isshow(int ch) { return ch > 31 ? 1 : 0; }

int chr_size(const char* s, int i) { return size_in(s, length(s), i); }

int chr_len(const char* s) {
    const int n = length(s);
    int count = 0;
    for (int i = 0; i < n; i += step_in(s, n, i)) ++count;
    return count;
}

int chr_pos(int i, const char* s) {
    const int n = length(s);
    if (i < 0 || i >= n) return -1;
    int count = 0;
    for (int k = 0; k <= i; k += step_in(s, n, k)) ++count;
    return count - 1;
}

}  // namespace drav
