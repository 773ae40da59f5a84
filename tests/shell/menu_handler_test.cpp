// Chosen menu items: every code of the menu bar reaches the command handler
// and is either served or kept disabled; Do_command hands the choice on.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "base/menu_items.h"
#include "extension/api/custom_event.h"
#include "platform/core/process.h"
#include "platform/ui/menus.h"
#include "shell/menu_handler.h"
#include "shell/message_palette.h"
#include "shell/tool_palette.h"
#include "store/files.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

std::string code_text(std::uint32_t c) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>((c >> (24 - 8 * i)) & 0xFF);
    return s;
}

// The command codes the menu bar's layout file carries, read from the data file itself.
std::vector<std::string> layout_codes() {
    std::ifstream in(plat::bundle_dir() / "ui" / "Menu" / "MenuBar.ui");
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string text = ss.str();
    const std::regex re(R"re(name="command"[^>]*>\s*<string>([^<]*)</string>)re");
    std::vector<std::string> codes;
    for (auto i = std::sregex_iterator(text.begin(), text.end(), re); i != std::sregex_iterator(); ++i)
        codes.push_back((*i)[1]);
    return codes;
}

// What the modules were told last.
std::vector<CustomEventRec> g_heard;
void listening_module(CustomEventRec* rec) {
    if (rec->code == 1) g_heard.push_back(*rec);
}

}  // namespace

TEST(MenuHandler, ServesEveryCodeOfTheMenuBarButQuitSubmenusAndTheWindowMenu) {
    const std::vector<std::string> codes = layout_codes();
    ASSERT_EQ(codes.size(), 91u);
    // Not the handler's: the quit event, the three submenu entries and the desktop's Window menu.
    const std::set<std::string> others = {"quit", "OBrt", "OBhn", "OBpv", "mini", "zoom", "frnt"};
    std::set<std::string> expected;
    for (const std::string& c : codes)
        if (!others.count(c)) expected.insert(c);
    std::set<std::string> served;
    for (int i = 0; i < menu_command_count(); ++i) served.insert(code_text(menu_command_code(i)));
    EXPECT_EQ(menu_command_count(), 84);
    EXPECT_EQ(served, expected);
}

TEST(MenuHandler, EachCommandIsEnabledOnlyWhenItsHandlerIsBuilt) {
    // Hand-listed: the commands that exist today. Each later command joins this list.
    const std::set<std::string> built = {"undo", "PLtl", "PLms", "new ", "open", "clos", "save", "svas", "FMrg",
                                         "STpa", "PLco", "PLin", "PLcs", "PLdm", "PLcn", "EHcy", "EPcy",
                                         "EHdf", "EPdf", "cut ", "copy", "past", "clea", "EDcp",
                                         "LBnw", "LBop", "PLlb"};
    Session s;
    s.then([&] {
        for (int i = 0; i < menu_command_count(); ++i) {
            const std::uint32_t code = menu_command_code(i);
            const std::string name = code_text(code);
            EXPECT_EQ(menu_command_built(code), built.count(name) == 1) << name;
            EXPECT_EQ(plat::command_registered(code), built.count(name) == 1) << name;
            if (built.count(name)) continue;
            // An unbuilt command can't be chosen in any menu.
            for (int menu : {1, 2, 3, 4, 5, 6, 7, 13, 14}) {
                if (!plat::menu_item_exists(menu, code)) continue;
                EXPECT_FALSE(plat::menu_item_enabled(menu, code)) << name;
                EXPECT_FALSE(plat::choose_menu_item(menu, code)) << name;
            }
        }
        // The module menus' undo items stay disabled until a module undo exists.
        plat::enable_menu_item(6, four_cc("ARun"), true);
        EXPECT_FALSE(plat::menu_item_enabled(6, four_cc("ARun")));
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(MenuHandler, AlwaysLeavesTheChoiceToDoCommand) {
    plat::EventRecord e;
    e.what = plat::app1Evt;
    for (const char* c : {"undo", "abou", "zzzz"}) {
        e.message = (std::uint32_t(c[0]) << 24) | (std::uint32_t(c[1]) << 16) | (std::uint32_t(c[2]) << 8) | std::uint32_t(c[3]);
        EXPECT_EQ(MyMenuEventHandlerProc(e), -9874) << c;
    }
}

TEST(DoCommand, PassesOrdinaryMenusToTheModulesAsEventOneAndKeepsTheOldSubmenus) {
    module_table[0] = listening_module;
    g_heard.clear();
    Do_command((3 << 16) | 5);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].a, 3);
    EXPECT_EQ(g_heard[0].b, 5);
    // The item is signed.
    Do_command((6 << 16) | 0xFFFE);
    ASSERT_EQ(g_heard.size(), 2u);
    EXPECT_EQ(g_heard[1].a, 6);
    EXPECT_EQ(g_heard[1].b, -2);
    // Menus 65 to 68 are served here, never passed on; a zero half passes nothing.
    for (std::int32_t choice : {(65 << 16) | 1, (66 << 16) | 2, (67 << 16) | 3, (68 << 16) | 1, 5, 4 << 16})
        Do_command(choice);
    EXPECT_EQ(g_heard.size(), 2u);
    module_table[0] = nullptr;
}

TEST(DoCommand, AChosenItemReachesItsHandlerAndThenTheModules) {
    Session s;
    s.then([] {
        module_table[0] = listening_module;
        g_heard.clear();
        ASSERT_NE(addDPtr, nullptr);  // start-up opened the tool palette
    });
    s.then([] { ASSERT_NE(windMessage, nullptr); });
    s.menu(4, "PLms");
    s.then([] {
        EXPECT_EQ(windMessage, nullptr);  // the message palette toggled
        g_heard.clear();
    });
    s.menu(4, "PLtl");
    s.then([] {
        EXPECT_EQ(addDPtr, nullptr);  // the handler closed it
        ASSERT_EQ(g_heard.size(), 1u);
        EXPECT_EQ(g_heard[0].a, 4);
        EXPECT_EQ(g_heard[0].b, 1);  // the Palette menu's first item
        module_table[0] = nullptr;
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(MenuMnemonics, TitlesUnderlineTheirDataLetterUnlessAKeyEquivalentHoldsIt) {
    Session s;
    s.then([] {
        // From MenuBar.ui: File F, Edit E, Group G, Palettes P, Settings S.
        EXPECT_EQ(plat::menu_mnemonic(1), 'F');
        EXPECT_EQ(plat::menu_mnemonic(2), 'E');
        EXPECT_EQ(plat::menu_mnemonic(4), 'P');
        EXPECT_EQ(plat::menu_mnemonic(5), 'S');
        EXPECT_EQ(plat::menu_mnemonic(13), 0);  // a submenu has none
        // Decided when the bar is loaded: a claimed Alt+E leaves Edit plain.
        plat::reserve_alt_letters("e");
        ASSERT_TRUE(plat::load_menu_bar((plat::bundle_dir() / "ui" / "Menu" / "MenuBar.ui").string()));
        EXPECT_EQ(plat::menu_mnemonic(2), 0);
        EXPECT_EQ(plat::menu_mnemonic(1), 'F');
        plat::reserve_alt_letters("");
        // F10 opens the first menu.
        EXPECT_EQ(plat::open_first_menu(), 1);
    });
    EXPECT_EQ(s.run(), 0);
}
