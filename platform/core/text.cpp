#include "platform/core/text.h"

#include <cstdint>
#include <cstring>

namespace plat {

namespace {

// Unicode of the bytes 0x80-0xFF.
constexpr char16_t high_half[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4,
    0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF,
    0x00F1, 0x00F3, 0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020,
    0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4,
    0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202,
    0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1,
    0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3,
    0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A,
    0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC,
    0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC, 0x00AF,
    0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

void put_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Next code point of s from i, or -1 when malformed (i still advances).
long next_code_point(std::string_view s, std::size_t& i) {
    auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int extra = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
    if (extra < 0 || b >= 0xF8) return -1;
    long c = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size()) return -1;
        auto n = static_cast<unsigned char>(s[i]);
        if ((n & 0xC0) != 0x80) return -1;
        c = (c << 6) | (n & 0x3F);
        ++i;
    }
    return c;
}

Script g_script = Script::roman;

bool sjis_lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

std::string macroman_to_utf8(std::string_view roman) {
    std::string out;
    out.reserve(roman.size() + roman.size() / 4);
    for (char ch : roman) {
        auto b = static_cast<unsigned char>(ch);
        put_utf8(out, b < 0x80 ? char32_t(b) : char32_t(high_half[b - 0x80]));
    }
    return out;
}

bool utf8_to_macroman(std::string_view utf8, std::string& out) {
    out.clear();
    bool ok = true;
    std::size_t i = 0;
    while (i < utf8.size()) {
        long c = next_code_point(utf8, i);
        if (c >= 0 && c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        int found = -1;
        for (int k = 0; k < 128 && c >= 0; ++k)
            if (high_half[k] == c) found = k;
        if (found < 0) {
            ok = false;
            out += '?';
        } else {
            out += static_cast<char>(0x80 + found);
        }
    }
    return ok;
}

void set_script(Script s) { g_script = s; }
Script script() { return g_script; }

ByteKind byte_kind(const char* s, int i) {
    if (g_script == Script::roman || i < 0) return ByteKind::single;
    // Walk from the start: a lead byte and its follower form one character.
    int k = 0;
    const int n = static_cast<int>(std::strlen(s));
    while (k < n) {
        bool two = sjis_lead(static_cast<unsigned char>(s[k])) && k + 1 < n;
        if (k == i) return two ? ByteKind::first : ByteKind::single;
        if (two && k + 1 == i) return ByteKind::last;
        k += two ? 2 : 1;
    }
    return ByteKind::single;
}

}  // namespace plat
