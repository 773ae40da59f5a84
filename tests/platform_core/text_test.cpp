#include <gtest/gtest.h>

#include <string>

#include "platform/core/process.h"
#include "platform/core/string_table.h"
#include "platform/core/text.h"

TEST(MacRoman, EveryByteRoundTrips) {
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        std::string back;
        EXPECT_TRUE(plat::utf8_to_macroman(plat::macroman_to_utf8(one), back)) << b;
        EXPECT_EQ(back, one) << b;
    }
    EXPECT_EQ(plat::macroman_to_utf8("\xA1\xB1\xAF\xBF"), "\xC2\xB0\xC2\xB1\xC3\x98\xC3\xB8");
}

TEST(MacRoman, UnrepresentableAndMalformedTextIsRefused) {
    struct Case {
        const char* utf8;
        const char* roman;
    };
    const Case cases[] = {{"a\xE6\xBC\xA2" "b", "a?b"},   // a CJK character
                          {"\xC3", "?"},                  // cut short
                          {"\xFF\xFE", "??"},             // not UTF-8 at all
                          {"\xF0\x9F\x98\x80", "?"}};     // outside the BMP
    for (const Case& c : cases) {
        std::string out;
        EXPECT_FALSE(plat::utf8_to_macroman(c.utf8, out)) << c.utf8;
        EXPECT_EQ(out, c.roman);
    }
}

TEST(StringTable, ParsesEntriesEscapesAndCommentsAndSkipsBadLines) {
    plat::StringTable t;
    EXPECT_FALSE(t.parse(
        "# comment\n"
        "406,2\tLine one\\nLine two\\t\\\\\r\n"
        "\n"
        "bad line without tab\n"
        "12\tno comma\n"
        "1,x\tbad index\n"
        "1,2\tbad escape \\q\n"
        "410,1\tUntitled\n"
        "410,1\tUntitled again\n"));
    EXPECT_EQ(t.bad_lines(), (std::vector<int>{4, 5, 6, 7}));
    ASSERT_NE(t.find(406, 2), nullptr);
    EXPECT_EQ(*t.find(406, 2), "Line one\nLine two\t\\");
    EXPECT_EQ(*t.find(410, 1), "Untitled again");
    EXPECT_EQ(t.find(999, 1), nullptr);
}

// Every shipped text must reach records and dialogs intact.
TEST(StringTable, ShippedEntriesAreMacRomanAndFit255Bytes) {
    plat::StringTable t;
    ASSERT_TRUE(t.load(plat::bundle_dir() / "strings" / "strings.txt"))
        << "bad lines in strings.txt";
    EXPECT_FALSE(t.entries().empty());
    for (const auto& [key, text] : t.entries()) {
        std::string roman;
        EXPECT_TRUE(plat::utf8_to_macroman(text, roman)) << key.first << "," << key.second;
        EXPECT_LE(roman.size(), 254u) << key.first << "," << key.second;
    }
}
