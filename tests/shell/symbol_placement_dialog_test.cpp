// The symbol placement settings: what OK stores, that Cancel stores nothing,
// a bad scale that keeps the user in its field, and the clean-up button.
#include <gtest/gtest.h>

#include "base/idle.h"
#include "base/tool_options.h"
#include "platform/ui/dialogs.h"
#include "shell/symbol_placement_dialog.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/number_text.h"
#include "store/settings.h"
#include "store/symbol_library.h"
#include "tests/dialogs/settings_fixture.h"

using namespace drav;
using namespace drav::test;

namespace {

using Names = std::vector<std::string>;

DialogPtr front() { return plat::front_dialog(); }
bool visible(int item) { return plat::item_visible(plat::dialog_item(front(), item)); }
bool focused(int item) { return plat::focus_item(front()) == plat::dialog_item(front(), item); }
int value(int item) { return plat::item_value(plat::dialog_item(front(), item)); }
std::string text(int item) { return plat::item_text(plat::dialog_item(front(), item)); }
// A number as the program writes it into these fields.
std::string shown(double v) {
    char t[number_text_size];
    real_to_string(v, t, 0);
    return t;
}

class SymbolPlacementDialog : public SettingsWindows {
protected:
    Names run(Session& s) {
        int result = 0;
        return changes(s, [] {
            psymbolsetup();
            return 0;
        }, &result);
    }
};

TEST_F(SymbolPlacementDialog, OkStoresEveryOptionAndBothScales) {
    objopts->sym_opt2 = 1;
    Session s;
    s.then([] {
        // Without a fixed scale its fields and labels are hidden.
        for (int item = 9; item <= 12; ++item) EXPECT_FALSE(visible(item)) << item;
        EXPECT_EQ(value(3), 0);
        EXPECT_EQ(value(4), 1);
        EXPECT_EQ(text(9), shown(1));
        EXPECT_EQ(plat::item_hilite(plat::dialog_item(front(), 5)), 255);  // breaking lines waits for the fence cut
        EXPECT_EQ(getidle(), 0);
    });
    s.hit(3).hit(4).hit(6).hit(7).hit(8);
    s.then([] {
        for (int item = 9; item <= 12; ++item) EXPECT_TRUE(visible(item)) << item;
        EXPECT_TRUE(focused(9));
    });
    s.type(9, "2.5").hit(10).type(10, "0.75").hit(1).ends();
    EXPECT_EQ(run(s), (Names{"objopts.sym_opt1", "objopts.sym_opt2", "objopts.sym_opt4", "objopts.sym_value1",
                             "objopts.sym_value2", "objopts.sym_values_on", "swaper"}));
    EXPECT_EQ(objopts->sym_opt1, 1);
    EXPECT_EQ(objopts->sym_opt2, 0);
    EXPECT_EQ(objopts->sym_opt3, 0);
    EXPECT_EQ(objopts->sym_opt4, 1);
    EXPECT_EQ(objopts->sym_values_on, 1);
    EXPECT_EQ(objopts->sym_value1, 2.5);
    EXPECT_EQ(objopts->sym_value2, 0.75);
    EXPECT_EQ(swaper, sw_marked_pieces);
    EXPECT_EQ(front(), nullptr);
}

TEST_F(SymbolPlacementDialog, CancelStoresNothing) {
    swaper = sw_marked_pieces;
    Session s;
    s.hit(3).hit(6).hit(8).type(9, "4").hit(10).hit(2).ends();
    EXPECT_EQ(run(s), Names{});
    EXPECT_EQ(swaper, sw_marked_pieces);
}

TEST_F(SymbolPlacementDialog, ABadScaleKeepsTheUserInItsFieldAndTheClickIsIgnored) {
    objopts->sym_values_on = 1;
    objopts->sym_value1 = 3;
    Session s;
    s.then([] { EXPECT_TRUE(focused(9)); });
    s.type(9, "0").hit(3);
    s.then([] {
        EXPECT_TRUE(focused(9));
        EXPECT_EQ(value(3), 0);
    });
    s.type(9, "2x").hit(8);
    s.then([] {
        EXPECT_TRUE(focused(9));
        EXPECT_TRUE(visible(9));
    });
    s.type(9, ".5").hit(10);
    s.then([] { EXPECT_EQ(text(9), shown(0.5)); });  // shown again in the program's own form
    s.hit(1).ends();
    answers().expect("out of range");
    answers().expect("can't be read");
    EXPECT_EQ(run(s), Names{"objopts.sym_value1"});
    EXPECT_EQ(objopts->sym_value1, 0.5);
}

TEST_F(SymbolPlacementDialog, TheCleanUpButtonOffersToCompactTheCurrentLibrary) {
    FSRef lib;
    ASSERT_EQ(make_library(FSRef{scratch_dir()}, "Kept", 50, &lib), 1);
    makelibactive(lib, "Kept");
    Session s;
    s.hit(14);
    s.then([] { EXPECT_NE(front(), nullptr); });  // back in the dialog afterwards
    s.hit(2).ends();
    answers().expect("Compact the symbol library", 2);
    EXPECT_EQ(run(s), Names{});
    if (currentlibRefNum > 0) FSRef_CloseMyFile(&currentlibRefNum);
    currentlibRefNum = 0;
    current_lib = FileRefRec{};
}

}  // namespace
