#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "base/messages.h"
#include "platform/core/process.h"
#include "platform/core/string_table.h"
#include "tests/support/harness.h"

using namespace drav;
using drav::test::answers;

namespace {

// A data folder of the test's own, holding only the given string table.
class Messages : public testing::Test {
protected:
    void use_strings(const std::string& text) {
        const auto dir = drav::test::scratch_dir() / "bundle";
        std::filesystem::create_directories(dir / "strings");
        std::ofstream(dir / "strings" / "strings.txt", std::ios::binary | std::ios::trunc) << text;
        setenv("DRAVELIN_DATA", dir.c_str(), 1);
        plat::reload_strings();
    }
    void TearDown() override {
        unsetenv("DRAVELIN_DATA");
        plat::reload_strings();
        EXPECT_TRUE(answers().done());
    }
};

}  // namespace

TEST_F(Messages, LookupsGiveTheEntryOrTheKeyText) {
    use_strings("410,1\tUntitled\n412,5\tCaf\xC3\xA9 \xC2\xB0\n");
    char c[256];
    EXPECT_STREQ(GetMyLocalCString(c, 410, 1), "Untitled");
    EXPECT_STREQ(GetMyLocalCString(c, 999, 1), "999,1");
    EXPECT_STREQ(GetMyLocalCString(c, 412, 5), "Caf\x8E \xA1");  // Mac Roman bytes
    unsigned char p[256];
    GetMyLocalPascalString(p, 999, 12);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(p + 1), p[0]), "999,12");
    EXPECT_EQ(GetMyLocalCFString(412, 5), "Caf\xC3\xA9 \xC2\xB0");
    EXPECT_EQ(GetMyLocalCFString(406, 12), "406,12");
}

TEST_F(Messages, AnEntryThatCannotBeConvertedShowsItsKey) {
    use_strings("412,1\t" + std::string(300, 'a') + "\n412,2\tkanji \xE6\xBC\xA2\n");
    char c[256];
    for (int index : {1, 2}) {
        const std::string key = "412," + std::to_string(index);
        answers().expect(key);
        EXPECT_EQ(std::string(GetMyLocalCString(c, 412, index)), key);
    }
}

TEST_F(Messages, ShowInsertErrorFillsPlaceholdersInOrder) {
    use_strings(
        "406,20\tCannot open ^0 on level ^1.\n"
        "406,21\tNo placeholders here.\n"
        "406,22\t^1 and ^1 and ^0\n"
        "406,23\t^3^2^1^0\n");
    struct Case {
        int n;
        const char* s[4];
        const char* shown;
    };
    const Case cases[] = {
        {20, {"plan.2d", "12", "x", "y"}, "Cannot open plan.2d on level 12."},
        {21, {"a", "b", "c", "d"}, "No placeholders here."},
        {22, {"Z", "one", "", ""}, "one and ^1 and Z"},  // only the first ^1 is filled
        {23, {"a", "b", "c", "d"}, "dcba"},
        {99, {"a", "b", "c", "d"}, "406,99"},
    };
    for (const Case& c : cases) {
        answers().expect(c.shown);
        show_insert_error(c.n, 0, c.s[0], c.s[1], c.s[2], c.s[3]);
        ASSERT_FALSE(answers().shown().empty());
        EXPECT_EQ(answers().shown().back(), c.shown);
    }
}

TEST_F(Messages, LongInsertedValuesNeverOverflow) {
    use_strings("406,30\t^0^0^1^2^3 end\n");
    const std::string big(250, 'v');
    answers().expect("");
    show_insert_error(30, 0, big.c_str(), big.c_str(), big.c_str(), big.c_str());
    EXPECT_GE(answers().shown().back().size(), 1000u);
}

TEST_F(Messages, AFatalErrorEndsTheProgramAfterItsAlert) {
    use_strings("406,7\tBroken.\n");
    answers().expect("Broken.");
    EXPECT_EQ(drav::test::exit_status_of([] { show_error(7, 1); }), std::optional<int>(-1));
    answers().expect("Broken.");
    EXPECT_EQ(drav::test::exit_status_of([] { show_error(7, 0); }), std::nullopt);
}

TEST_F(Messages, AlertsAndPromptsWithNoPalette) {
    use_strings("405,34\tThat is not a number.\n");
    answers().expect("That is not a number.", 1);
    EXPECT_EQ(pr_alert(34, alert_standard), 1);
    pr_addmsg(3);  // no message palette: nothing shown, nothing fails
    mess_clear();
    EXPECT_EQ(answers().shown().size(), 1u);
}
