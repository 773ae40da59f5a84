#include "display/stroke_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "platform/core/files.h"
#include "platform/core/memory.h"
#include "platform/core/process.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/records.h"
#include "store/settings.h"
#include "tests/display/display_fixture.h"
#include "tests/support/pixels.h"
#include "tests/support/workfile.h"

namespace drav {
namespace {

namespace fs = std::filesystem;
using test::pixel_rows;
using test::rows;

struct Stroke {
    int dx, dy;
    bool up;
};

std::uint16_t x_word(const Stroke& s) {
    return static_cast<std::uint16_t>((s.up ? 0x8000 : 0) | (s.dx < 0 ? 0x4000 : 0) | std::abs(s.dx));
}
std::uint16_t y_word(const Stroke& s) {
    return static_cast<std::uint16_t>((s.dy < 0 ? 0x8000 : 0) | std::abs(s.dy));
}

void put16(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v >> 8);
    b[at + 1] = static_cast<char>(v);
}

// A stroke file from raw words: index entries (entry 0 = the count N) and
// stroke words, x then y.
std::string font_file(const std::map<int, int>& index, const std::vector<std::uint16_t>& words) {
    std::string b(512 + 2 * words.size(), '\0');
    for (auto [c, v] : index) put16(b, 2 * std::size_t(c), static_cast<std::uint16_t>(v));
    for (std::size_t i = 0; i < words.size(); ++i) put16(b, 512 + 2 * i, words[i]);
    return b;
}

// A well-formed stroke file of whole glyphs; every other character is empty.
std::string glyph_font(const std::map<int, std::vector<Stroke>>& glyphs) {
    std::map<int, int> index;
    std::vector<std::uint16_t> words;
    int n = 0;
    for (int c = 1; c < 256; ++c) {
        index[c] = n;
        if (auto g = glyphs.find(c); g != glyphs.end())
            for (const Stroke& s : g->second) {
                words.push_back(x_word(s));
                words.push_back(y_word(s));
                ++n;
            }
    }
    index[0] = n;
    return font_file(index, words);
}

void write_data_file(const std::string& name, const std::string& bytes) {
    std::ofstream(plat::user_data_dir() / name, std::ios::binary) << bytes;
}

void decode_all(std::int16_t count, std::vector<Stroke>& out) {
    out.clear();
    for (int k = 0; k < count; ++k) {
        double dx, dy;
        std::int16_t up;
        getstk(&dx, &dy, &up);
        out.push_back({int(dx), int(dy), up != 0});
    }
}

bool operator==(const Stroke& a, const Stroke& b) { return a.dx == b.dx && a.dy == b.dy && a.up == b.up; }

const std::vector<Stroke> kQuestionMark = {{20, 0, true},  {0, 8, false},  {0, 8, true},  {0, 16, false},
                                           {20, 0, false}, {0, 28, false}, {-40, 0, false}};

// A screen of 160 x 160 pixels showing world 0-160 on both axes: world
// (x, y) is port pixel (x, 160 - y). The program's folder is this test's own.
class StrokeText : public testing::Test {
protected:
    void SetUp() override {
        test::open_display("160x160");
        change_window(0, 160, 0, 1.0, 0);
        test::use_data_folder();
        swaper = sw_stroke_text;
        setdrawmode(mode_draw);
        setscreencolor(colour_black);
    }
    void TearDown() override {
        closestk();
        delete objopts;
        objopts = nullptr;
    }

    static void set_text(double x, double y, double w, double h, double t, int font, const char* s) {
        zero_info(sinfo);
        set_rec_f64(sinfo, obj::ref_x, x);
        set_rec_f64(sinfo, obj::ref_y, y);
        set_rec_f64(sinfo, obj::rotation, t);
        set_rec_f32(sinfo, text::char_width, static_cast<float>(w));
        set_rec_f32(sinfo, text::char_height, static_cast<float>(h));
        set_text_info(sinfo, font, static_cast<int>(std::strlen(s)), false);
        std::snprintf(textline, sizeof textline, "%s", s);
    }
    static plat::Port& port() { return *myCGrafPtr; }
    static std::string picture(int x, int y_top, int width, int height) {
        return pixel_rows(port(), x, 160 - y_top, width, height);
    }
    // World columns that hold ink.
    static std::set<int> ink_columns() {
        std::set<int> out;
        for (int v = 0; v < port().height(); ++v)
            for (int h = 0; h < port().width(); ++h)
                if (port().pixel(h, v) != plat::white_pixel) out.insert(h);
        return out;
    }
};

// ---- The engine ----

TEST_F(StrokeText, DecodesStrokeWordsAndNeverReadsPastTheCharacter) {
    const struct {
        std::uint16_t x, y;
        Stroke expected;
    } cases[] = {
        {0x4028, 0x0000, {-40, 0, false}},
        {0x8014, 0x0000, {20, 0, true}},
        {0x0005, 0x8007, {5, -7, false}},
        {0xFFFF, 0xFFFF, {-16383, -32767, true}},
        {0x3FFF, 0x7FFF, {16383, 32767, false}},
    };
    std::vector<std::uint16_t> words;
    for (const auto& c : cases) words.insert(words.end(), {c.x, c.y});
    const auto n = static_cast<int>(std::size(cases));
    write_data_file("DRAVfonts.txt", "1 s Words s Words\n");
    write_data_file("Words", font_file({{0, n}, {'A', 0}, {'B', n}}, words));
    ASSERT_EQ(loadfont(1, 0, nullptr, nullptr), 0);
    ASSERT_EQ(stkvalid, 1);

    std::int16_t pos = 0, count = 0;
    startstk("A", &pos, &count);
    EXPECT_EQ(pos, 1);
    ASSERT_EQ(count, n);
    for (const auto& c : cases) {
        double dx, dy;
        std::int16_t up;
        getstk(&dx, &dy, &up);
        EXPECT_EQ((Stroke{int(dx), int(dy), up != 0}), c.expected) << std::hex << c.x << " " << c.y;
    }
    double dx = 1, dy = 1;
    std::int16_t up = 0;
    getstk(&dx, &dy, &up);
    EXPECT_EQ((Stroke{int(dx), int(dy), up != 0}), (Stroke{0, 0, true})) << "one stroke too many";
}

// Index entries of a font with N = 120 strokes, stroke i being (i + 1, 0).
TEST_F(StrokeText, SelectsACharactersStrokesOrTheQuestionMark) {
    std::vector<std::uint16_t> words;
    for (int i = 0; i < 120; ++i) words.insert(words.end(), {static_cast<std::uint16_t>(i + 1), 0});
    write_data_file("DRAVfonts.txt", "1 s Index s Index\n");
    write_data_file("Index", font_file({{0, 120},
                                        {'A', 0}, {'B', 2},        // two strokes
                                        {'C', 100}, {'D', 100},    // empty range
                                        {' ', 100}, {'!', 100},    // empty space
                                        {'E', 10}, {'F', 200},     // end beyond N
                                        {'G', -1}, {'H', 5},       // start below 0
                                        {'I', 7}, {'J', 5},        // reversed
                                        {'K', 118}, {'L', 120},    // up to the end
                                        {255, 0}},
                                       words));
    const struct {
        const char* text;
        int count;
        int first_dx;  // of the first stroke; 20 is the question mark's
    } cases[] = {
        {"A", 2, 1}, {"C", 7, 20}, {" ", 0, 0},   {"E", 7, 20},
        {"G", 7, 20}, {"I", 7, 20}, {"K", 2, 119}, {"\xFF", 7, 20},
        {"", 7, 20},  // the terminating zero
    };
    ASSERT_EQ(loadfont(1, 0, nullptr, nullptr), 0);
    for (const auto& c : cases) {
        std::int16_t pos = 0, count = -1;
        startstk(c.text, &pos, &count);
        EXPECT_EQ(pos, 1);
        EXPECT_EQ(count, c.count) << "'" << c.text << "'";
        if (c.count == 0) continue;
        std::vector<Stroke> got;
        decode_all(count, got);
        EXPECT_EQ(got[0].dx, c.first_dx) << "'" << c.text << "'";
        if (c.count == 7) {
            EXPECT_EQ(got, kQuestionMark) << "'" << c.text << "'";
        }
    }

    closestk();
    std::int16_t pos = 0, count = 0;
    startstk("A", &pos, &count);
    EXPECT_EQ(count, 7) << "no font loaded";
}

TEST_F(StrokeText, LooksFontsUpInTheFontList) {
    write_data_file("DRAVfonts.txt",
                    "1 s One s OnePlot\n"
                    "name s Skipped s Skipped\n"
                    "3 h Device s Three\n"
                    "4 s\n"
                    "1 s Later s Later\n"
                    "99999 s Huge s Huge\n");
    write_data_file("One", glyph_font({{'A', {{0, 63, false}}}}));
    write_data_file("OnePlot", glyph_font({{'A', {{0, 63, false}}}}));
    const struct {
        std::int16_t font, plot;
        std::int16_t result, hardware, valid;
        const char* name;
    } cases[] = {
        {1, 0, 0, 0, 1, "One"},       // the first matching line wins
        {1, 1, 0, 0, 1, "OnePlot"},   // the plot columns
        {3, 0, 0, 1, 0, "Device"},    // a device font loads no strokes
        {3, 1, 0, 0, 0, "Three"},     // listed, but no such file
        {4, 0, 1, 0, 0, ""},          // no file name
        {2, 0, 1, 0, 0, ""},          // not listed
        {-31073, 0, 1, 0, 0, ""},     // 99999 is no 16-bit number
    };
    for (const auto& c : cases) {
        std::int16_t hardware = -1;
        char name[stk_name_size] = "junk";
        EXPECT_EQ(loadfont(c.font, c.plot, &hardware, name), c.result) << c.font << "/" << c.plot;
        EXPECT_EQ(hardware, c.hardware) << c.font << "/" << c.plot;
        EXPECT_EQ(stkvalid, c.valid) << c.font << "/" << c.plot;
        EXPECT_STREQ(name, c.name);
    }

    char screen[stk_name_size], plot[stk_name_size];
    EXPECT_EQ(getfontnames(1, screen, plot), 1);
    EXPECT_STREQ(screen, "One");
    EXPECT_STREQ(plot, "OnePlot");
    EXPECT_EQ(getfontnames(2, screen, plot), 0);
    EXPECT_EQ(usenofont, 0);
}

TEST_F(StrokeText, AMissingFontListIsNotLookedForAgain) {
    fs::remove(plat::user_data_dir() / "DRAVfonts.txt");
    EXPECT_EQ(loadfont(1, 0, nullptr, nullptr), 1);
    EXPECT_EQ(usenofont, 1);
    write_data_file("DRAVfonts.txt", "1 s One s One\n");
    write_data_file("One", glyph_font({}));
    plat::reset_io_stats();
    EXPECT_EQ(loadfont(1, 0, nullptr, nullptr), 1);
    EXPECT_EQ(plat::io_stats().reads, 0u);
}

TEST_F(StrokeText, TheSameFontAndUseLoadsOnce) {
    write_data_file("DRAVfonts.txt", "1 s One s Other\n2 s Other s Other\n");
    write_data_file("One", glyph_font({{'A', {{0, 63, false}}}}));
    write_data_file("Other", glyph_font({{'A', {{42, 0, false}}}}));
    const struct {
        std::int16_t font, plot;
        bool reads;
    } steps[] = {{1, 0, true}, {1, 0, false}, {1, 1, true}, {1, 1, false}, {2, 1, true}, {1, 0, true}};
    for (const auto& s : steps) {
        plat::reset_io_stats();
        EXPECT_EQ(loadfont(s.font, s.plot, nullptr, nullptr), 0);
        EXPECT_EQ(plat::io_stats().reads > 0, s.reads) << s.font << "/" << s.plot;
        EXPECT_EQ(stkvalid, 1);
    }

    // Drawing two texts of one font reads it once.
    set_text(10, 10, 14, 21, 0, 2, "AA");
    draw_text(mode_draw, 1);
    plat::reset_io_stats();
    set_text(10, 50, 14, 21, 0, 2, "A");
    draw_text(mode_draw, 1);
    EXPECT_EQ(plat::io_stats().reads, 0u);
}

TEST_F(StrokeText, BrokenStrokeFilesCountAsMissing) {
    const std::string good = glyph_font({{'A', {{0, 63, false}, {42, 0, false}}}});
    std::string lying = good;
    put16(lying, 0, 10);  // promises 10 strokes, holds 2
    std::string negative = good;
    put16(negative, 0, 0xFFFE);
    std::string too_many(512 + 4 * 16384, '\0');
    put16(too_many, 0, 16384);
    const struct {
        const char* what;
        std::string bytes;
        int failing_allocations;
        std::int16_t valid;
    } cases[] = {
        {"good", good, 0, 1},
        {"shorter than its index", good.substr(0, 300), 0, 0},
        {"truncated strokes", good.substr(0, good.size() - 1), 0, 0},
        {"lying count", lying, 0, 0},
        {"negative count", negative, 0, 0},
        {"count beyond 16 bits of bytes", too_many, 0, 0},
        {"no memory", good, 1, 0},
    };
    write_data_file("DRAVfonts.txt", "1 s Font s Font\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        closestk();
        write_data_file("Font", c.bytes);
        if (c.failing_allocations) plat::fail_next_allocations(c.failing_allocations);
        EXPECT_EQ(loadfont(1, 0, nullptr, nullptr), 0) << "the font is current";
        EXPECT_EQ(stkvalid, c.valid);
        plat::fail_next_allocations(0);
        std::int16_t pos = 0, count = 0;
        startstk("A", &pos, &count);
        EXPECT_EQ(count, c.valid ? 2 : 7);
    }
}

TEST(StrokeFontSecondEngine, HasNoFonts) {
    EXPECT_EQ(jpn_stk_xsize(), 0);
    EXPECT_EQ(jpn_stk_ysize(), 0);
    EXPECT_EQ(jpn_loadfont(1, 0, nullptr, nullptr), 0);
    EXPECT_EQ(jpn_getfontnames(1, nullptr, nullptr), 0);
    for (auto f : {subr1, subr2, subr3, subr4}) EXPECT_EQ(f(), 1);
    for (auto f : {subr5, subr6, subr7, subr8}) EXPECT_EQ(f(), 0);
}

// ---- Drawing texts ----

TEST_F(StrokeText, CharactersAdvanceOneAndAHalfWidths) {
    write_data_file("DRAVfonts.txt", "1 s Bars s Bars\n");
    write_data_file("Bars", glyph_font({{'I', {{0, 63, false}}}}));
    set_text(10, 10, 2, 6.3, 0, 1, "IIII");
    draw_text(mode_draw, 1);
    EXPECT_EQ(ink_columns(), (std::set<int>{10, 13, 16, 19}));
    EXPECT_EQ(save_clip, 1);
}

TEST_F(StrokeText, BoxModeDrawsTheTextsBox) {
    const struct {
        std::uint16_t swaper;
        std::int16_t stroke;
        const char* text;
        std::string expected;  // world x 9 to 22, y 14 down to 9
    } cases[] = {
        // 4 characters of width 2: 11 long.
        {0, 1, "IIII", rows({"..............", ".############.", "..............",
                             "..............", ".############.", ".............."})},
        {0, 2, "IIII", rows({"..............", ".############.", ".#..........#.",
                             ".#..........#.", ".############.", ".............."})},
        {sw_stroke_text, 2, "IIII",
         rows({"..............", ".############.", ".#..........#.",
               ".#..........#.", ".############.", ".............."})},
        {0, 2, "", rows({"..............", "..............", "..............", "..............",
                         "..............", ".............."})},
    };
    for (const auto& c : cases) {
        cleargraphics();
        swaper = c.swaper;
        set_text(10, 10, 2, 3, 0, 1, c.text);
        draw_text(mode_draw, c.stroke);
        EXPECT_EQ(picture(9, 14, 14, 6), c.expected) << "swaper " << c.swaper << " stroke " << c.stroke;
    }
}

TEST_F(StrokeText, MissingGlyphsAreQuestionMarksButSpacesStayEmpty) {
    write_data_file("DRAVfonts.txt", "1 s Font s Font\n");
    write_data_file("Font", font_file({{0, 1}, {'A', 0}, {'B', 0}, {' ', 0}, {'!', 0}, {255, 0}},
                                      {0x0000, 0x0001}));
    const std::string question = rows({
        "###########",
        "..........#",
        "..........#",
        "..........#",
        "..........#",
        "..........#",
        "..........#",
        ".....######",
        ".....#.....",
        ".....#.....",
        ".....#.....",
        ".....#.....",
        "...........",
        ".....#.....",
        ".....#.....",
        ".....#.....",
    });
    const struct {
        const char* text;
        int font;
        bool mark;
    } cases[] = {
        {"A", 1, true},      // an empty range
        {"\xFF", 1, true},   // no end entry
        {" ", 1, false},
        {"A", 7, true},      // no such font
        {" ", 7, true},      // nor its space
    };
    for (const auto& c : cases) {
        cleargraphics();
        // A quarter unit a cell unit.
        set_text(10, 10, 10.5, 15.75, 0, c.font, c.text);
        draw_text(mode_draw, 1);
        const std::string got = picture(10, 25, 11, 16);
        if (c.mark)
            EXPECT_EQ(got, question) << "'" << c.text << "' font " << c.font;
        else
            EXPECT_TRUE(test::all_white(port())) << "'" << c.text << "'";
    }
}

TEST_F(StrokeText, UpsideDownTextReadsUprightFromItsFarEnd) {
    write_data_file("DRAVfonts.txt", "1 s Font s Font\n");
    // An L of 12 x 8 pixels at a third of a unit a cell unit.
    write_data_file("Font", glyph_font({{'L', {{0, 36, true}, {0, -36, false}, {24, 0, false}}}}));
    const double len = 14 * (1.5 * 2 - 0.5), h = 21;
    const struct {
        double t;
        bool upright;
        double t_flipped, x_flipped, y_flipped;  // the text turned round from its far corner
        bool flipped;
    } cases[] = {
        {pie, true, 0, 100 - len, 100 - h, true},
        {three_half_pie, true, half_pie, 100 + h, 100 - len, true},
        {pie + 0.5, true, 0.5, 100 - len * std::cos(0.5) + h * std::sin(0.5),
         100 - len * std::sin(0.5) - h * std::cos(0.5), true},
        {half_pie, true, three_half_pie, 100 - h, 100 + len, false},
        {pie, false, 0, 100 - len, 100 - h, false},
    };
    for (const auto& c : cases) {
        swaper = sw_stroke_text;
        cleargraphics();
        set_text(c.x_flipped, c.y_flipped, 14, 21, c.t_flipped, 1, "LL");
        draw_text(mode_draw, 1);
        const std::vector<std::uint32_t> flipped = port().pixels();
        swaper = sw_stroke_text | (c.upright ? sw_text_upright : 0);
        cleargraphics();
        set_text(100, 100, 14, 21, c.t, 1, "LL");
        draw_text(mode_draw, 1);
        EXPECT_EQ(port().pixels() == flipped, c.flipped) << c.t << (c.upright ? " upright" : "");
        EXPECT_FALSE(test::all_white(port()));
    }
}

TEST_F(StrokeText, TraceModeOnlyTellsWhetherTheTextIsInView) {
    write_data_file("DRAVfonts.txt", "1 s Font s Font\n");
    write_data_file("Font", glyph_font({{'I', {{0, 63, false}}}}));
    const struct {
        std::int16_t mode;
        double x, t;
        std::uint16_t visible;
        bool ink;
    } cases[] = {
        {mode_trace, 10, 0, 1, false},
        {mode_trace, 10, 0.3, 1, false},
        {mode_trace, 500, 0, 0, false},
        {mode_draw, 500, 0, 0, false},
        {mode_draw, 500, 0.3, 0, false},
        {mode_draw, 10, 0, 1, true},
    };
    for (const auto& c : cases) {
        cleargraphics();
        setdrawmode(c.mode);
        save_clip = 7;
        set_text(c.x, 10, 10, 20, c.t, 1, "II");
        draw_text(c.mode, 1);
        EXPECT_EQ(save_clip, c.visible) << c.mode << " at " << c.x;
        EXPECT_EQ(!test::all_white(port()), c.ink) << c.mode << " at " << c.x;
    }
}

// ---- The fonts the program ships ----

// Every printable character of every listed font, drawn a cell unit a
// pixel: ink for all but the space, and nothing past one advance from the
// origin or above the cell's top.
TEST_F(StrokeText, ShippedFontsDrawEveryPrintableCharacterInsideItsAdvance) {
    for (const auto& entry : fs::directory_iterator(plat::bundle_dir()))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), plat::user_data_dir() / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
    std::ifstream list(plat::user_data_dir() / "DRAVfonts.txt");
    std::set<int> fonts;
    for (std::string line; std::getline(list, line);) fonts.insert(std::stoi(line));
    EXPECT_EQ(fonts.size(), 15u);

    constexpr int x0 = 40, y0 = 60;
    for (int font : fonts) {
        std::int16_t hardware = 1;
        char name[stk_name_size];
        ASSERT_EQ(loadfont(static_cast<std::int16_t>(font), 0, &hardware, name), 0) << font;
        ASSERT_EQ(stkvalid, 1) << name;
        ASSERT_EQ(hardware, 0) << name;
        for (int c = ' '; c <= '~'; ++c) {
            cleargraphics();
            const char s[2] = {static_cast<char>(c), 0};
            set_text(x0, y0, stk_cell_width, stk_cell_height, 0, font, s);
            draw_text(mode_draw, 1);
            int left = 1000, right = -1000, top = -1000;
            for (int v = 0; v < port().height(); ++v)
                for (int hpx = 0; hpx < port().width(); ++hpx)
                    if (port().pixel(hpx, v) != plat::white_pixel) {
                        left = std::min(left, hpx);
                        right = std::max(right, hpx);
                        top = std::max(top, 160 - v);
                    }
            SCOPED_TRACE(std::string(name) + " '" + s + "'");
            if (c == ' ') {
                EXPECT_EQ(right, -1000) << "a space leaves no ink";
                continue;
            }
            ASSERT_NE(right, -1000) << "no ink";
            EXPECT_GE(left, x0);
            EXPECT_LE(right, x0 + 3 * stk_cell_width / 2);
            EXPECT_LE(top, y0 + stk_cell_height);
        }
    }
}

}  // namespace
}  // namespace drav
