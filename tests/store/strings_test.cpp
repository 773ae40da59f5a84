#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "platform/core/clock.h"
#include "platform/core/text.h"
#include "store/strings.h"

namespace drav {
namespace {

using plat::Script;

// Sets a script for one scope; the system's own script is Roman.
struct ScriptScope {
    explicit ScriptScope(Script s) { plat::set_script(s); }
    ~ScriptScope() { plat::set_script(Script::roman); }
};

// Two-byte script text: three single-byte and two 2-byte characters.
constexpr const char* kMixed = "a\x82\xa0" "b\x88\x9f" "c";

TEST(Strings, Locate) {
    struct Case {
        const char* s;
        const char* sub;
        int start;
        int expected;
    } cases[] = {
        {"abcabc", "bc", 2, 4},  {"abcabc", "bc", 0, 1},   {"abcabc", "", 0, -1},
        {"abcabc", "bc", 5, -1}, {"abcabc", "bc", 99, -1}, {"abcabc", "bc", -3, 1},
        {"abc", "abcd", 0, -1},  {"abc", "c", 2, 2},       {"", "a", 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(strloc2(c.s, c.sub, c.start), c.expected) << c.s << " " << c.sub << " " << c.start;
    EXPECT_EQ(strloc("abcabc", ""), -1);
    EXPECT_EQ(strloc("abcabc", "ca"), 2);
}

TEST(Strings, InPlaceEdits) {
    struct Case {
        const char* label;
        Script script;
        const char* input;
        void (*op)(char*);
        const char* expected;
    } cases[] = {
        {"delete past end", Script::roman, "abcdef", [](char* s) { strdelete(s, 5, 2); }, "abcdef"},
        {"delete to end", Script::roman, "abcdef", [](char* s) { strdelete(s, 4, 2); }, "abcd"},
        {"delete inside", Script::roman, "abcdef", [](char* s) { strdelete(s, 1, 2); }, "adef"},
        {"delete at -1", Script::roman, "abcdef", [](char* s) { strdelete(s, -1, 2); }, "abcdef"},
        {"delete -1 chars", Script::roman, "abcdef", [](char* s) { strdelete(s, 2, -1); }, "abcdef"},
        {"insert inside", Script::roman, "abcd", [](char* s) { strinsert("XY", s, 2, 64); }, "abXYcd"},
        {"insert at end", Script::roman, "abcd", [](char* s) { strinsert("XY", s, 4, 64); }, "abcdXY"},
        {"insert past end", Script::roman, "abcd", [](char* s) { strinsert("XY", s, 5, 64); }, "abcd"},
        {"insert at -1", Script::roman, "abcd", [](char* s) { strinsert("XY", s, -1, 64); }, "abcd"},
        {"replace first ^0", Script::roman, "Value ^0 of ^0",
         [](char* s) { strreplace(s, "^0", "12", 64); }, "Value 12 of ^0"},
        {"replace absent", Script::roman, "abc", [](char* s) { strreplace(s, "x", "y", 64); }, "abc"},
        {"replace empty", Script::roman, "abc", [](char* s) { strreplace(s, "", "y", 64); }, "abc"},
        {"replace by nothing", Script::roman, "a^1b", [](char* s) { strreplace(s, "^1", "", 64); }, "ab"},
        {"truncate", Script::roman, "abcdef", [](char* s) { strtrunc(s, 3); }, "abc"},
        {"truncate at -1", Script::roman, "abcdef", [](char* s) { strtrunc(s, -1); }, "abcdef"},
        {"exchange at end", Script::roman, "abcdef", [](char* s) { strexch(s, "XY", 4); }, "abcdXY"},
        {"exchange past end", Script::roman, "abcdef", [](char* s) { strexch(s, "XY", 5); }, "abcdef"},
        {"exchange empty", Script::roman, "abcdef", [](char* s) { strexch(s, "", 1); }, "abcdef"},
        {"exchange at -1", Script::roman, "abcdef", [](char* s) { strexch(s, "XY", -1); }, "abcdef"},
        {"extract tail", Script::roman, "", [](char* s) { strextract(s, "abcdef", 4, 10); }, "ef"},
        {"extract middle", Script::roman, "", [](char* s) { strextract(s, "abcdef", 1, 2); }, "bc"},
        {"extract at end", Script::roman, "x", [](char* s) { strextract(s, "abcdef", 6, 2); }, ""},
        {"extract 0", Script::roman, "x", [](char* s) { strextract(s, "abcdef", 1, 0); }, ""},
        {"extract at -1", Script::roman, "x", [](char* s) { strextract(s, "abcdef", -1, 2); }, ""},
        {"copy at most n", Script::roman, "", [](char* s) { strnncpy(s, "abcdef", 3); }, "abc"},
        {"copy short", Script::roman, "", [](char* s) { strnncpy(s, "ab", 5); }, "ab"},
        {"copy -1", Script::roman, "keep", [](char* s) { strnncpy(s, "ab", -1); }, "keep"},
        {"fill", Script::roman, "abcdef", [](char* s) { strnfil(s, '*', 3); }, "***"},
        {"pad 3 to 6", Script::roman, "abcdefgh", [](char* s) { strpad(s, ' ', 3, 6); }, "abc   "},
        {"pad from -2", Script::roman, "abc", [](char* s) { strpad(s, '-', -2, 2); }, "--"},
        {"toggle case", Script::roman, "aB1", [](char* s) { strtotc(s); }, "Ab1"},
        {"lower", Script::roman, "AbC\xC4z", [](char* s) { strtolc(s); }, "abc\xC4z"},
        {"upper", Script::roman, "AbC\xE4z", [](char* s) { strtouc(s); }, "ABC\xE4Z"},
        {"clean", Script::roman, ",a,b,,c,", [](char* s) { strclean(s, ','); }, "abc"},
        {"upper, 2-byte", Script::japanese, "a\x82" "a", [](char* s) { strtouc(s); }, "A\x82" "a"},
        {"clean, 2-byte", Script::japanese, "\x82" "aa", [](char* s) { strclean(s, 'a'); }, "\x82" "a"},
    };
    for (const Case& c : cases) {
        ScriptScope scope(c.script);
        char buf[64];
        std::memset(buf, '#', sizeof buf);
        std::strcpy(buf, c.input);
        c.op(buf);
        EXPECT_STREQ(buf, c.expected) << c.label;
    }
}

// Nothing lands at or past cap; what does not fit is cut, never a
// character in half.
TEST(Strings, GrowingStaysWithinCapacity) {
    struct Case {
        const char* label;
        Script script;
        const char* input;
        int cap;
        void (*op)(char*, int);
        const char* expected;
    } cases[] = {
        {"insert cut", Script::roman, "abcd", 6,
         [](char* s, int cap) { strinsert("XYZ", s, 2, cap); }, "abXYZ"},
        {"insert fits exactly", Script::roman, "abcd", 8,
         [](char* s, int cap) { strinsert("XYZ", s, 2, cap); }, "abXYZcd"},
        {"insert cap 1", Script::roman, "abcd", 1,
         [](char* s, int cap) { strinsert("XYZ", s, 2, cap); }, ""},
        {"insert cap 0", Script::roman, "abcd", 0,
         [](char* s, int cap) { strinsert("XYZ", s, 2, cap); }, "abcd"},
        {"replace cut", Script::roman, "Hello ^0!", 10,
         [](char* s, int cap) { strreplace(s, "^0", "world", cap); }, "Hello wor"},
        {"replace fits exactly", Script::roman, "Hello ^0!", 13,
         [](char* s, int cap) { strreplace(s, "^0", "world", cap); }, "Hello world!"},
        {"insert cut before 2-byte", Script::japanese, "ab", 4,
         [](char* s, int cap) { strinsert("\x82\xa0", s, 2, cap); }, "ab"},
        {"replace cut before 2-byte", Script::japanese, "^0z", 3,
         [](char* s, int cap) { strreplace(s, "^0", "x\x82\xa0", cap); }, "x"},
    };
    for (const Case& c : cases) {
        ScriptScope scope(c.script);
        char buf[32];
        std::memset(buf, '#', sizeof buf);
        std::strcpy(buf, c.input);
        char before[32];
        std::memcpy(before, buf, sizeof buf);
        c.op(buf, c.cap);
        EXPECT_STREQ(buf, c.expected) << c.label;
        for (int i = c.cap; i < static_cast<int>(sizeof buf); ++i)
            ASSERT_EQ(buf[i], before[i]) << c.label << ": byte " << i << " written";
    }
}

TEST(Strings, CharacterCounting) {
    ScriptScope scope(Script::japanese);
    EXPECT_EQ(chr_len(kMixed), 5);
    EXPECT_EQ(chr_len(""), 0);
    EXPECT_EQ(chr_len("ab\x82"), 3);  // a lead byte at the end counts alone
    EXPECT_EQ(chr_size(kMixed, 1), 2);
    EXPECT_EQ(chr_size(kMixed, 2), 0);
    EXPECT_EQ(chr_size(kMixed, 7), 0);
    EXPECT_EQ(chr_size(kMixed, -1), 0);
    // Byte index -> character index.
    const int expected_pos[][2] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 3},
                                   {5, 3}, {6, 4}, {7, -1}, {-1, -1}};
    for (const auto& p : expected_pos) EXPECT_EQ(chr_pos(p[0], kMixed), p[1]) << "byte " << p[0];
}

TEST(Strings, RomanCountsEveryByte) {
    EXPECT_EQ(chr_len(kMixed), 7);
    EXPECT_EQ(chr_pos(2, kMixed), 2);
}

TEST(Characters, Classes) {
    const int cases[][3] = {  // ch, chtoupper, chtolower
        {'a', 'A', 'a'}, {'z', 'Z', 'z'}, {'A', 'A', 'a'}, {'Z', 'Z', 'z'},
        {'1', '1', '1'}, {'@', '@', '@'}, {'[', '[', '['}, {0xE4, 0xE4, 0xE4}};
    for (const auto& c : cases) {
        EXPECT_EQ(chtoupper(c[0]), c[1]) << c[0];
        EXPECT_EQ(chtolower(c[0]), c[2]) << c[0];
    }
    EXPECT_EQ(isshow(31), 0);
    EXPECT_EQ(isshow(32), 1);
    EXPECT_EQ(isshow('\r'), 0);
}

// ---- Time, on the fake clock ----

// Moves the fake clock forward until the time of day is `second`.
void advance_to(std::int32_t second) {
    const std::int32_t ahead = ((second - abstime()) % 86400 + 86400) % 86400;
    plat::advance_fake_clock(static_cast<std::uint32_t>(ahead) * 60);
    ASSERT_EQ(abstime(), second);
}

TEST(TimeOfDay, DeltaWrapsAtMidnight) {
    ASSERT_TRUE(plat::fake_clock());
    struct Case {
        std::int32_t now, t0, expected;
    } cases[] = {{40000, 39900, 100}, {40000, 40000, 0}, {86380, 86390, 86390}, {5, 86390, 15}};
    for (const Case& c : cases) {
        advance_to(c.now);
        EXPECT_EQ(deltatime(c.t0), c.expected) << c.now << " - " << c.t0;
    }
    const std::int32_t now100 = abs100time();
    EXPECT_EQ(now100 / 100, 5);
    EXPECT_EQ(delta100time(8639000), now100 + 1000);
    EXPECT_EQ(delta100time(now100 + 1), 8639999);
    EXPECT_EQ(delta100time(now100 - 300), 300);
}

TEST(TimeOfDay, CurdateOrder) {
    std::uint16_t v[6];
    curdate(v);
    std::int16_t y, mo, d, h, mi, s, hs;
    get_date(&y, &mo, &d);
    get_time(&h, &mi, &s, &hs);
    EXPECT_EQ(v[0], d);
    EXPECT_EQ(v[1], mo);
    EXPECT_EQ(v[2], y);
    EXPECT_EQ(v[3], s);
    EXPECT_EQ(v[4], mi);
    EXPECT_EQ(v[5], h);
    EXPECT_EQ(abstime(), h * 3600 + mi * 60 + s);
}

TEST(TimeOfDay, ElapsedText) {
    struct Case {
        std::int32_t seconds;
        const char* text;
    } cases[] = {
        {3725, "01:02:05"},         {0, "00:00:00"},           {359999, "99:59:59"},
        {360000, "100:00:00"},      {-5, "-00:00:05"},         {INT32_MAX, "596523:14:07"},
        {INT32_MIN, "-596523:14:08"},
    };
    for (const Case& c : cases) {
        char buf[24];
        std::memset(buf, '#', sizeof buf);
        showelapsedtime(buf, c.seconds);
        EXPECT_STREQ(buf, c.text);
        for (int i = 14; i < static_cast<int>(sizeof buf); ++i)
            ASSERT_EQ(buf[i], '#') << c.seconds << ": byte " << i << " written";
    }
}

TEST(TimeOfDay, WaitEndsOnTheFakeClock) {
    ASSERT_TRUE(plat::fake_clock());
    struct Case {
        double seconds;
        std::uint32_t min_hundredths, max_hundredths;
    } cases[] = {
        {0.1, 10, 12}, {1.0, 100, 102}, {0.0, 0, 0}, {-1.0, 0, 0}, {std::nan(""), 0, 0},
        {90000.0, 9000000, 9000002},  // longer than a day: delta100time wraps meanwhile
    };
    for (const Case& c : cases) {
        const std::uint32_t t0 = plat::ticks();
        waittime(c.seconds);
        const std::uint32_t hundredths = (plat::ticks() - t0) * 100 / 60;
        EXPECT_GE(hundredths, c.min_hundredths) << c.seconds;
        EXPECT_LE(hundredths, c.max_hundredths) << c.seconds;
    }
}

}  // namespace
}  // namespace drav
