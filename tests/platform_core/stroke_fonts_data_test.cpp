// The stroke fonts the build makes from the Hershey fonts: the reader of the
// .jhf sources, the font list, the stroke files' layout and the promises of
// their scaling (everything inside one advance and below the cell's top).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/process.h"
#include "platform/core/string_table.h"
#include "tools/hershey_jhf.h"

namespace {

// ---- the .jhf reader ----

// A file of 96 glyphs whose first line is `first`.
std::string jhf_file(const std::string& first, int glyphs = 96, const char* eol = "\n") {
    std::string text = first + eol;
    for (int i = 1; i < glyphs; ++i) text += std::string("12345  1JZ") + eol;
    return text;
}

TEST(HersheyReader, ReadsBoundsPolylinesAndPenUps) {
    for (const char* eol : {"\n", "\r\n"}) {
        std::vector<drav::jhf::Glyph> glyphs;
        std::string error;
        ASSERT_TRUE(drav::jhf::parse(jhf_file("  508  6JZRFRT RRYSZ", 96, eol), glyphs, error))
            << error;
        ASSERT_EQ(glyphs.size(), 96u);
        const auto& g = glyphs[0];
        EXPECT_EQ(g.left, -8);
        EXPECT_EQ(g.right, 8);
        ASSERT_EQ(g.lines.size(), 2u);
        ASSERT_EQ(g.lines[0].size(), 2u);
        EXPECT_EQ(g.lines[0][1].y, 2);
        ASSERT_EQ(g.lines[1].size(), 2u);
        EXPECT_EQ(g.lines[1][1].x, 1);
        EXPECT_EQ(g.lines[1][1].y, 8);
        EXPECT_TRUE(glyphs[1].lines.empty());
    }
}

TEST(HersheyReader, RejectsMalformedFilesNamingTheLine) {
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {jhf_file("12345  5JZRFRT RR"), "line 1: vertex count 5 needs 18"},
        {jhf_file("12345  4JZRFRT RRYQ"), "line 1: vertex count 4 needs 16"},
        {jhf_file("12x45  1JZ"), "line 1: columns 1-5"},
        {jhf_file("       1JZ"), "line 1: columns 1-5"},
        {jhf_file("12345  0JZ"), "line 1: columns 6-8"},
        {jhf_file("12345 -1JZ"), "line 1: columns 6-8"},
        {jhf_file("12345  2JZR\x7f"), "line 1: bad coordinate character 0x7f in column 12"},
        {jhf_file("12345  2JZ\x80R"), "line 1: bad coordinate character 0x80 in column 11"},
        {jhf_file("12345  2 RRF"), "line 1: bad coordinate character 0x20 in column 9"},
        {jhf_file("12345  1ZJ"), "line 1: left bound"},
        {jhf_file("12345"), "line 1: too short"},
        {jhf_file("12345  1JZ\n"), "line 2: too short"},
        {jhf_file("12345  1JZ", 95), "holds 95 glyphs"},
        {jhf_file("12345  1JZ", 97), "line 97: more than 96 glyphs"},
        {"", "holds 0 glyphs"},
    };
    for (const auto& c : cases) {
        std::vector<drav::jhf::Glyph> glyphs;
        std::string error;
        EXPECT_FALSE(drav::jhf::parse(c.text, glyphs, error)) << c.error;
        EXPECT_NE(error.find(c.error), std::string::npos) << "got: " << error;
    }
}

// ---- the generated fonts ----

// The fifteen stroke fonts the bundle ships.
const std::set<std::string> kFontNames = {
    "Block",   "DGreek", "Duplex", "English", "Gothic", "IDuplex", "ITriplex", "Math",
    "Round",   "SGreek", "Sign",   "Simplex", "Slant",  "Stick",   "Triplex"};

constexpr int kAdvance = 63;      // 1.5 cells of 42
constexpr int kCellTop = 63;
constexpr int kLowest = -31;      // descenders stay within half a cell
constexpr int kMaxStrokes = 16383;

std::string read_all(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct FontLine {
    int number;
    std::string screen_flag, screen, plot_flag, plot;
};

// Read as the font engine reads it: the number with "%hd", the screen
// columns with "%*d%s%s", the plot columns with "%*d%*s%*s%s%s".
std::vector<FontLine> font_list(std::string& why) {
    std::vector<FontLine> out;
    std::istringstream in(read_all(plat::bundle_dir() / "DRAVfonts.txt"));
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > 256) {
            why = "line longer than 256 characters: " + line;
            return {};
        }
        short number = 0;
        char a[257] = {}, b[257] = {}, c[257] = {}, d[257] = {};
        if (std::sscanf(line.c_str(), "%hd", &number) != 1 ||
            std::sscanf(line.c_str(), "%*d%256s%256s", a, b) != 2 ||
            std::sscanf(line.c_str(), "%*d%*s%*s%256s%256s", c, d) != 2) {
            why = "not five fields: " + line;
            return {};
        }
        out.push_back({number, a, b, c, d});
    }
    return out;
}

TEST(StrokeFontList, NamesTheFifteenFontsByNumber) {
    std::string why;
    const auto list = font_list(why);
    ASSERT_TRUE(why.empty()) << why;
    std::set<int> numbers;
    std::set<std::string> names;
    for (const auto& l : list) {
        SCOPED_TRACE(l.screen);
        EXPECT_TRUE(numbers.insert(l.number).second) << "number listed twice";
        EXPECT_GE(l.number, 1);
        EXPECT_LE(l.number, 255);
        EXPECT_NE(l.screen_flag[0], 'h');
        EXPECT_NE(l.plot_flag[0], 'h');
        EXPECT_EQ(l.screen, l.plot);
        EXPECT_TRUE(std::filesystem::is_regular_file(plat::bundle_dir() / l.screen));
        names.insert(l.screen);
    }
    EXPECT_EQ(list.size(), 15u);
    EXPECT_EQ(names, kFontNames);
}

TEST(StrokeFontList, HoldsTheDefaultFont) {
    const std::string* start = plat::strings().find(417, 6);
    ASSERT_NE(start, nullptr) << "no start value 417,6 for the default font";
    std::string why;
    const auto list = font_list(why);
    ASSERT_TRUE(why.empty()) << why;
    bool found = false;
    for (const auto& l : list) found |= std::to_string(l.number) == *start;
    EXPECT_TRUE(found) << "default font " << *start << " is not in DRAVfonts.txt";
}

struct Stroke {
    int dx, dy;
    bool up;
};

struct StrokeFont {
    std::int16_t index[256];
    std::vector<Stroke> strokes;
};

int be16(const std::string& b, std::size_t at) {
    return (static_cast<unsigned char>(b[at]) << 8) | static_cast<unsigned char>(b[at + 1]);
}

// The layout the font engine trusts: an index of 256 entries, entry 0 the
// stroke count N, the file exactly as long as the index and N strokes, every
// entry within 0 to N and the characters' ranges in order.
bool parse_font(const std::string& bytes, StrokeFont& f, std::string& why) {
    if (bytes.size() < 512) {
        why = "shorter than its index";
        return false;
    }
    for (int c = 0; c < 256; ++c) f.index[c] = static_cast<std::int16_t>(be16(bytes, 2 * c));
    const int n = f.index[0];
    if (n < 0 || n > kMaxStrokes || bytes.size() != 512 + 4 * std::size_t(n)) {
        why = "length does not match its stroke count " + std::to_string(n);
        return false;
    }
    for (int c = 1; c < 256; ++c) {
        if (f.index[c] < 0 || f.index[c] > n || (c > 1 && f.index[c] < f.index[c - 1])) {
            why = "index entry " + std::to_string(c) + " out of range or order";
            return false;
        }
    }
    f.strokes.clear();
    for (int i = 0; i < n; ++i) {
        const int x = be16(bytes, 512 + 4 * i);
        const int y = be16(bytes, 514 + 4 * i);
        f.strokes.push_back({(x & 0x4000) ? -(x & 0x3FFF) : (x & 0x3FFF),
                             (y & 0x8000) ? -(y & 0x7FFF) : (y & 0x7FFF), (x & 0x8000) != 0});
    }
    return true;
}

class StrokeFontFile : public testing::TestWithParam<std::string> {};

TEST_P(StrokeFontFile, ParsesAndKeepsEveryGlyphInItsCell) {
    StrokeFont f;
    std::string why;
    ASSERT_TRUE(parse_font(read_all(plat::bundle_dir() / GetParam()), f, why)) << why;

    // Printable ASCII and the Mac Roman signs drawings need: degree,
    // plus-minus and both diameter signs.
    std::set<int> drawn;
    for (int c = '!'; c <= '~'; ++c) drawn.insert(c);
    drawn.insert({0xA1, 0xB1, 0xAF, 0xBF});
    for (int c = 1; c < 255; ++c) {
        SCOPED_TRACE("character " + std::to_string(c));
        const int a = f.index[c];
        const int b = f.index[c + 1];
        if (!drawn.count(c)) {
            EXPECT_EQ(a, b) << "only the listed characters have strokes";
            continue;
        }
        int x = 0, y = 0, left = 0, right = 0, low = 0, high = 0;
        bool ink = false;
        for (int i = a; i < b; ++i) {
            x += f.strokes[i].dx;
            y += f.strokes[i].dy;
            ink |= !f.strokes[i].up;
            left = std::min(left, x);
            right = std::max(right, x);
            low = std::min(low, y);
            high = std::max(high, y);
        }
        EXPECT_TRUE(ink);
        EXPECT_GE(left, 0);
        EXPECT_LE(right, kAdvance);
        EXPECT_GE(low, kLowest);
        EXPECT_LE(high, kCellTop);
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, StrokeFontFile, testing::ValuesIn(kFontNames),
                         [](const auto& info) { return info.param; });

class LetterFont : public testing::TestWithParam<std::string> {};

// Caps stand on the base line and take about two thirds of the cell.
TEST_P(LetterFont, CapitalHStandsOnTheBaseLine) {
    StrokeFont f;
    std::string why;
    ASSERT_TRUE(parse_font(read_all(plat::bundle_dir() / GetParam()), f, why)) << why;
    int y = 0, low = 0, high = 0;
    for (int i = f.index['H']; i < f.index['H' + 1]; ++i) {
        y += f.strokes[i].dy;
        low = std::min(low, y);
        high = std::max(high, y);
    }
    EXPECT_EQ(low, 0);
    EXPECT_GE(high, 38);
    EXPECT_LE(high, 44);
}

// Sign's H is a symbol.
INSTANTIATE_TEST_SUITE_P(Fonts, LetterFont,
                         testing::Values("Block", "DGreek", "Duplex", "English", "Gothic",
                                         "IDuplex", "ITriplex", "Math", "Round", "SGreek",
                                         "Simplex", "Slant", "Stick", "Triplex"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
