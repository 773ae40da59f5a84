// Cut, Copy, Paste and Clear with an extension palette in front act on its
// text field and the system clipboard, never on the drawing; without one
// they act on the drawing's selection.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "base/menu_items.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "shell/window_layers.h"
#include "store/files.h"
#include "store/object_walk.h"
#include "store/record_store.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

plat::Window* g_palette = nullptr;
plat::TextField* g_field = nullptr;
std::uint16_t g_needtosave = 0;

bool edit_enabled(const char (&code)[5]) { return plat::menu_item_enabled(kMyEditMenu, four_cc(code)); }

}  // namespace

TEST(EditCommands, WorkOnTheTextFieldOfAnExtensionPaletteInFrontAndLeaveTheDrawingAlone) {
    Session s;
    s.then([] {
        // Nothing drawn, nothing selected: only Paste.
        for (std::uint32_t c : {four_cc("cut "), four_cc("copy"), four_cc("clea")})
            EXPECT_FALSE(plat::menu_item_enabled(kMyEditMenu, c)) << c;
        EXPECT_TRUE(edit_enabled("past"));
        // A palette as a tool module opens one.
        plat::WindowSpec spec;
        spec.kind = plat::WindowKind::extension_palette;
        spec.bounds = plat::Rect{100, 500, 140, 700};
        spec.title = "Notes";
        g_palette = plat::new_window(spec);
        g_field = plat::new_text_field(g_palette, plat::Rect{5, 5, 25, 195});
        plat::set_text_field_text(g_field, "hello world");
        plat::show_window(g_palette);
        SelectPallette(g_palette);
        FixActivate();
        plat::select_text_field(g_field, 0, 6);
        QGuiApplication::clipboard()->setText("old");
        g_needtosave = needtosave;
        EXPECT_TRUE(edit_enabled("cut "));
        EXPECT_TRUE(edit_enabled("clea"));
    });
    s.menu(kMyEditMenu, "cut ");
    s.then([] {
        EXPECT_EQ(plat::text_field_text(g_field), "world");
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "hello ");
        plat::select_text_field(g_field, 0, 2);
    });
    s.menu(kMyEditMenu, "copy");
    s.then([] {
        EXPECT_EQ(plat::text_field_text(g_field), "world");
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "wo");
        plat::select_text_field(g_field, 5, 5);
    });
    s.menu(kMyEditMenu, "past");
    s.then([] {
        EXPECT_EQ(plat::text_field_text(g_field), "worldwo");
        plat::select_text_field(g_field, 0, 5);
    });
    s.menu(kMyEditMenu, "clea");
    s.then([] {
        EXPECT_EQ(plat::text_field_text(g_field), "wo");
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "wo");  // Clear leaves it
        // The drawing saw none of it.
        EXPECT_EQ(there_are_objects(), 0);
        EXPECT_EQ(needtosave, g_needtosave);
        // With the palette gone they follow the drawing's selection again.
        plat::dispose_window(g_palette);
        g_palette = nullptr;
        FixActivate();
        for (std::uint32_t c : {four_cc("cut "), four_cc("copy"), four_cc("clea")})
            EXPECT_FALSE(plat::menu_item_enabled(kMyEditMenu, c)) << c;
        EXPECT_TRUE(edit_enabled("past"));
    });
    EXPECT_EQ(s.run(), 0);
}
