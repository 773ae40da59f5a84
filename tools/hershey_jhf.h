// Reading the Hershey fonts' .jhf glyph files (one glyph a line: a 5-column
// glyph number, a 3-column vertex count, then that many coordinate pairs,
// each coordinate a character offset from 'R'; the first pair is the
// glyph's left and right bound and " R" lifts the pen). Shared by the
// stroke-font generator and its tests, so every check lives in one place.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace drav::jhf {

// Hershey units: x to the right, y downwards, the base line at y = 9.
struct Point {
    int x;
    int y;
};

struct Glyph {
    int left = 0;
    int right = 0;
    std::vector<std::vector<Point>> lines;  // pen-down polylines
};

// A font file holds one glyph for each of ASCII 32 to 127.
inline constexpr std::size_t kGlyphsPerFile = 96;

namespace detail {

inline bool coordinate_char(char c) { return c >= '!' && c <= '~'; }

// A right-aligned number in a fixed field: spaces, then at least one digit.
inline bool fixed_number(std::string_view field, int& value) {
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    if (i == field.size()) return false;
    value = 0;
    for (; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9') return false;
        value = value * 10 + (field[i] - '0');
    }
    return true;
}

inline std::string hex_byte(char c) {
    static const char digits[] = "0123456789abcdef";
    const auto b = static_cast<unsigned char>(c);
    return std::string("0x") + digits[b >> 4] + digits[b & 15];
}

inline bool parse_line(std::string_view line, Glyph& glyph, std::string& error) {
    if (line.size() < 10) {
        error = "too short for a glyph (" + std::to_string(line.size()) + " characters)";
        return false;
    }
    int number = 0;
    int count = 0;
    if (!fixed_number(line.substr(0, 5), number)) {
        error = "columns 1-5 are not a glyph number";
        return false;
    }
    if (!fixed_number(line.substr(5, 3), count) || count < 1) {
        error = "columns 6-8 are not a vertex count of at least 1";
        return false;
    }
    const std::size_t expected = 8 + 2 * static_cast<std::size_t>(count);
    if (line.size() != expected) {
        error = "vertex count " + std::to_string(count) + " needs " + std::to_string(expected) +
                " characters, the line has " + std::to_string(line.size());
        return false;
    }
    glyph = Glyph{};
    bool pen_up = true;
    for (std::size_t col = 8; col < line.size(); col += 2) {
        const char a = line[col];
        const char b = line[col + 1];
        if (col > 8 && a == ' ' && b == 'R') {
            pen_up = true;
            continue;
        }
        for (std::size_t k : {col, col + 1}) {
            if (!coordinate_char(line[k])) {
                error = "bad coordinate character " + hex_byte(line[k]) + " in column " +
                        std::to_string(k + 1);
                return false;
            }
        }
        const Point p{a - 'R', b - 'R'};
        if (col == 8) {
            glyph.left = p.x;
            glyph.right = p.y;
            if (glyph.left > glyph.right) {
                error = "left bound lies right of the right bound";
                return false;
            }
            continue;
        }
        if (pen_up) glyph.lines.emplace_back();
        glyph.lines.back().push_back(p);
        pen_up = false;
    }
    return true;
}

}  // namespace detail

// Parses a whole file; on failure says why in `error`, naming the line.
inline bool parse(std::string_view text, std::vector<Glyph>& glyphs, std::string& error) {
    glyphs.clear();
    std::size_t line_no = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++line_no;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        Glyph g;
        std::string why;
        if (!detail::parse_line(line, g, why)) {
            error = "line " + std::to_string(line_no) + ": " + why;
            return false;
        }
        if (glyphs.size() == kGlyphsPerFile) {
            error = "line " + std::to_string(line_no) + ": more than " +
                    std::to_string(kGlyphsPerFile) + " glyphs";
            return false;
        }
        glyphs.push_back(std::move(g));
    }
    if (glyphs.size() != kGlyphsPerFile) {
        error = "holds " + std::to_string(glyphs.size()) + " glyphs, not " +
                std::to_string(kGlyphsPerFile);
        return false;
    }
    return true;
}

}  // namespace drav::jhf
