#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QUiLoader>
#include <QLayout>
#include <QMenuBar>
#include <QWidget>
#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "base/menu_items.h"
#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "platform/ui/menus_qt.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"
#include "tests/support/harness.h"

// What the toolkit's own key simulation uses to offer a key to the shortcuts.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

using namespace plat;
using namespace drav;

namespace {

// A four-character command code.
std::uint32_t cc(const char* s) {
    return std::uint32_t(std::uint8_t(s[0])) << 24 | std::uint32_t(std::uint8_t(s[1])) << 16 |
           std::uint32_t(std::uint8_t(s[2])) << 8 | std::uint32_t(std::uint8_t(s[3]));
}

struct Entry {
    int menu;
    const char* code;
};

// Every command the menu handler knows, in the menu that carries it.
const Entry kCommands[] = {
    {1, "new "}, {1, "open"}, {1, "clos"}, {1, "save"}, {1, "svas"}, {1, "FMrg"}, {1, "LBnw"},
    {1, "LBop"}, {1, "page"}, {1, "prnt"}, {1, "GIsv"}, {1, "GIcr"}, {1, "abou"}, {1, "pref"},
    {1, "ahlp"},
    {2, "undo"}, {2, "cut "}, {2, "copy"}, {2, "past"}, {2, "clea"}, {2, "OBud"}, {2, "OBdp"},
    {2, "sall"}, {2, "EDcp"}, {2, "OBpp"}, {2, "OBgm"}, {2, "EDrl"}, {2, "EDrr"},
    {13, "EHcy"}, {13, "EHdf"}, {13, "EHsp"}, {14, "EPcy"}, {14, "EPdf"}, {14, "EPsh"},
    {3, "GPun"}, {3, "GPiv"}, {3, "GPpp"}, {3, "GPfn"}, {3, "GPob"},
    {4, "PLtl"}, {4, "PLco"}, {4, "PLcn"}, {4, "PLcs"}, {4, "PLdm"}, {4, "PLms"}, {4, "PLpp"},
    {4, "PLin"}, {4, "PLlb"}, {4, "PLht"},
    {5, "STun"}, {5, "STou"}, {5, "STlv"}, {5, "STdo"}, {5, "STdg"}, {5, "STbe"}, {5, "STdc"},
    {5, "STpa"},
    {6, "ARls"}, {6, "ARbl"}, {6, "ARts"}, {6, "ARdw"}, {6, "ARsr"}, {6, "ARed"}, {6, "ARdd"},
    {6, "ARdo"}, {6, "ARtn"}, {6, "ARal"}, {6, "ARas"}, {6, "ARae"}, {6, "ARun"},
    {7, "MCls"}, {7, "MCbl"}, {7, "MCts"}, {7, "MCsy"}, {7, "MCgt"}, {7, "MCcl"}, {7, "MCed"},
    {7, "MCdd"}, {7, "MCdo"}, {7, "MCtn"}, {7, "MCal"}, {7, "MCas"}, {7, "MCae"}, {7, "MCun"},
};
const int kMenuIds[] = {1, 2, 3, 4, 5, 6, 7, 8, 13, 14};

std::vector<EventRecord> take_queued() {
    std::vector<EventRecord> got;
    EventRecord r;
    while (wait_next_event(app1Mask | highLevelEventMask, &r, 0)) got.push_back(r);
    return got;
}

class Menus : public testing::Test {
protected:
    void SetUp() override {
        WindowSpec desc;
        desc.main = true;
        desc.visible = true;
        desc.bounds = Rect{80, 50, 380, 450};
        window_ = new_window(desc);
        ASSERT_TRUE(load_menu_bar((bundle_dir() / "ui" / "Menu" / "MenuBar.ui").string()));
        flush_events(everyEvent);
    }
    void TearDown() override {
        clear_menu_bar();
        dispose_window(window_);
        flush_events(everyEvent);
    }
    QAction* action(std::uint32_t code) {
        QMenuBar* bar = qobject_cast<QMenuBar*>(content_widget(window_)->parentWidget()->layout()->menuBar());
        if (!bar) return nullptr;
        for (QAction* a : bar->findChildren<QAction*>()) {
            const QByteArray c = a->property("command").toString().toLatin1();
            if (c.size() == 4 && cc(c.constData()) == code) return a;
        }
        return nullptr;
    }
    Window* window_ = nullptr;
};

TEST_F(Menus, EveryMenuAndEveryCommandIsThereOnce) {
    std::vector<std::uint32_t> all;
    for (int id : kMenuIds) {
        EXPECT_TRUE(menu_exists(id)) << id;
        const auto codes = menu_commands(id);
        all.insert(all.end(), codes.begin(), codes.end());
    }
    for (const Entry& e : kCommands) {
        EXPECT_TRUE(menu_item_exists(e.menu, cc(e.code))) << e.menu << " " << e.code;
        EXPECT_EQ(std::count(all.begin(), all.end(), cc(e.code)), 1) << e.code;
    }
    EXPECT_EQ(std::size(kCommands), 84u);
}

TEST_F(Menus, TheBarTakesItsPlaceWithoutMovingTheContent) {
    EXPECT_EQ(window_bounds(window_), (Rect{80, 50, 380, 450}));
    EXPECT_EQ(window_port(window_)->width(), 400);
}

TEST_F(Menus, AnItemWorksOnlyOnceItsCommandIsBuilt) {
    const std::uint32_t code = cc("GPiv");
    MyEnableMenuItem(kMyGroupMenu, code);
    EXPECT_FALSE(menu_item_enabled(3, code));
    EXPECT_FALSE(choose_menu_item(3, code));
    EXPECT_TRUE(take_queued().empty());

    register_command(code);
    EXPECT_TRUE(menu_item_enabled(3, code));
    MyDisableMenuItem(kMyGroupMenu, code);
    EXPECT_FALSE(menu_item_enabled(3, code));
    EXPECT_FALSE(choose_menu_item(3, code));
    MyEnableMenuItem(kMyGroupMenu, code);
    EXPECT_TRUE(choose_menu_item(3, code));
    const auto got = take_queued();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].what, app1Evt);
    EXPECT_EQ(got[0].message, code);
    EXPECT_EQ(got[0].menu_id, 3);
}

TEST_F(Menus, ChoosingAnItemQueuesItsCodeAndMenu) {
    const Entry cases[] = {{1, "open"}, {2, "EDrl"}, {6, "ARun"}, {7, "MCgt"}};
    for (const Entry& e : cases) {
        const std::uint32_t code = cc(e.code);
        register_command(code);
        EXPECT_TRUE(choose_menu_item(e.menu, code)) << e.code;
        const auto got = take_queued();
        ASSERT_EQ(got.size(), 1u) << e.code;
        EXPECT_EQ(got[0].what, app1Evt);
        EXPECT_EQ(got[0].message, code);
        EXPECT_EQ(got[0].menu_id, e.menu) << e.code;
    }
}

TEST_F(Menus, QuitQueuesTheQuitEvent) {
    EXPECT_TRUE(choose_menu_item(1, cc("quit")));
    const auto got = take_queued();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].what, kHighLevelEvent);
    EXPECT_EQ(got[0].message, ae_quit);
}

TEST_F(Menus, AKeyEquivalentChoosesOnlyABuiltItem) {
    QWidget* top = content_widget(window_)->window();
    top->activateWindow();
    QApplication::processEvents();
    const auto press = [&](int key, Qt::KeyboardModifiers mods) {
        qt_sendShortcutOverrideEvent(top, 0, key, mods, QString(), false, 1);
        return take_queued();
    };
    EXPECT_TRUE(press(Qt::Key_S, Qt::ControlModifier).empty());  // Save not built yet
    register_command(cc("save"));
    register_command(cc("svas"));
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
        std::uint32_t code;
    } keys[] = {{Qt::Key_S, Qt::ControlModifier, cc("save")},
                {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, cc("svas")}};
    for (const auto& k : keys) {
        const auto got = press(k.key, k.mods);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].message, k.code);
        EXPECT_EQ(got[0].menu_id, 1);
    }
}

TEST_F(Menus, AKeyFindsTheItemWhoseShortcutItIs) {
    const struct {
        std::uint8_t ch;
        std::uint16_t mods;
        int menu;
        const char* code;
    } found[] = {{'s', cmdKey, 1, "save"}, {'S', cmdKey, 1, "save"}, {'S', cmdKey | shiftKey, 1, "svas"},
                 {'q', cmdKey, 1, "quit"}, {'z', cmdKey, 2, "undo"}};
    for (const auto& f : found) {
        int menu = 0;
        std::uint32_t code = 0;
        ASSERT_TRUE(menu_key(f.ch, f.mods, &menu, &code)) << f.code;
        EXPECT_EQ(menu, f.menu) << f.code;
        EXPECT_EQ(code, cc(f.code)) << f.code;
    }
    int menu = 0;
    std::uint32_t code = 0;
    EXPECT_FALSE(menu_key('s', 0, &menu, &code));
    EXPECT_FALSE(menu_key('s', optionKey, &menu, &code));
    EXPECT_FALSE(menu_key('.', cmdKey, &menu, &code));
    EXPECT_FALSE(menu_key(27, cmdKey, &menu, &code));
}

TEST_F(Menus, ASubmenuEntryOpensOnceOneOfItsCommandsIsBuilt) {
    EXPECT_FALSE(menu_item_enabled(2, cc("OBhn")));
    register_command(cc("EHdf"));
    EXPECT_TRUE(menu_item_enabled(2, cc("OBhn")));
    EXPECT_FALSE(menu_item_enabled(2, cc("OBpv")));
    // The entry is the way in: disabled, its items cannot be chosen.
    MyDisableMenuItem(kMyEditMenu, cc("OBhn"));
    EXPECT_FALSE(choose_menu_item(13, cc("EHdf")));
    MyEnableMenuItem(kMyEditMenu, cc("OBhn"));
    EXPECT_TRUE(choose_menu_item(13, cc("EHdf")));
    const auto got = take_queued();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, cc("EHdf"));
    EXPECT_EQ(got[0].menu_id, 13);
}

TEST_F(Menus, AWholeMenuIsDisabledAndHidden) {
    register_command(cc("GPun"));
    MyDisableMenu(kMyGroupMenu);
    EXPECT_FALSE(menu_enabled(3));
    EXPECT_FALSE(menu_item_enabled(3, cc("GPun")));
    EXPECT_FALSE(choose_menu_item(3, cc("GPun")));
    MyEnableMenu(kMyGroupMenu);
    EXPECT_TRUE(menu_item_enabled(3, cc("GPun")));
    EXPECT_FALSE(menu_item_enabled(3, cc("GPpp")));  // enabling the menu builds nothing

    register_command(cc("ARls"));
    show_menu(6, false);
    EXPECT_FALSE(menu_visible(6));
    EXPECT_FALSE(choose_menu_item(6, cc("ARls")));
    show_menu(6, true);
    EXPECT_TRUE(show_menu_item(6, cc("ARls"), false));
    EXPECT_FALSE(choose_menu_item(6, cc("ARls")));
    EXPECT_TRUE(take_queued().empty());
}

TEST_F(Menus, MarksAndTextsShowOnTheItem) {
    const std::uint32_t tools = cc("PLtl");
    register_command(tools);
    MyCheckMenuCommand(kMyPaletteMenu, tools);
    EXPECT_TRUE(action(tools)->isChecked());
    // Choosing leaves the mark to the program.
    EXPECT_TRUE(choose_menu_item(4, tools));
    EXPECT_TRUE(action(tools)->isChecked());
    MyUncheckMenuCommand(kMyPaletteMenu, tools);
    EXPECT_FALSE(action(tools)->isChecked());
    EXPECT_TRUE(choose_menu_item(4, tools));
    EXPECT_FALSE(action(tools)->isChecked());
    take_queued();

    unsigned char mark = 1;
    MySetMenuCommandMark(kMyPaletteMenu, cc("PLht"), 0xA5);
    MyGetMenuCommandMark(kMyPaletteMenu, cc("PLht"), &mark);
    EXPECT_EQ(mark, 0xA5);
    EXPECT_TRUE(action(cc("PLht"))->isChecked());
    MyGetMenuCommandMark(kMyPaletteMenu, cc("none"), &mark);
    EXPECT_EQ(mark, 0);

    // Mac Roman in, UTF-8 on the item; '&' is not taken for a mnemonic.
    const unsigned char text[] = "\x15Undo Move & Caf\x8E Text";
    MySetMenuCommandText(kMyEditMenu, cc("undo"), text);
    EXPECT_EQ(menu_item_text(2, cc("undo")), "Undo Move & Café Text");
    EXPECT_EQ(action(cc("undo"))->text(), QString::fromUtf8("Undo Move && Café Text"));
}

TEST_F(Menus, ItemNumbersCountSeparatorsAsTheModuleMenusDo) {
    const Entry cases[] = {{6, "ARun"}, {6, "ARtn"}, {6, "ARsr"}, {6, "ARal"}, {6, "ARdo"},
                           {7, "MCun"}, {7, "MCtn"}, {7, "MCgt"}, {7, "MCed"}, {7, "MCdo"}};
    const int numbers[] = {1, 7, 9, 11, 17, 1, 7, 9, 15, 18};
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(menu_item_number(cases[i].menu, cc(cases[i].code)), numbers[i]) << cases[i].code;
    EXPECT_EQ(menu_item_number(6, cc("MCtn")), 0);
}

TEST_F(Menus, ABadFileLeavesTheBarAlone) {
    const auto dir = drav::test::scratch_dir();
    const auto write = [&](const char* name, const std::string& body) {
        std::ofstream((dir / name).string()) << body;
        return (dir / name).string();
    };
    EXPECT_FALSE(load_menu_bar((dir / "missing.ui").string()));
    EXPECT_FALSE(load_menu_bar(write("garbage.ui", "not a layout")));
    EXPECT_FALSE(load_menu_bar(write("widget.ui",
                                     "<ui version=\"4.0\"><widget class=\"QWidget\" name=\"w\"/></ui>")));
    EXPECT_TRUE(menu_item_exists(1, cc("save")));
}

TEST_F(Menus, CodesAndIdsOutOfShapeAreNotAddressable) {
    const auto path = drav::test::scratch_dir() / "odd.ui";
    std::ofstream(path.string()) << R"(<ui version="4.0"><widget class="QMenuBar" name="b">
  <widget class="QMenu" name="m1"><property name="menu_id" stdset="0"><number>1</number></property>
   <addaction name="a1"/><addaction name="a2"/><addaction name="a3"/></widget>
  <widget class="QMenu" name="m2"><property name="menu_id" stdset="0"><number>40000</number></property></widget>
  <addaction name="m1"/><addaction name="m2"/>
  <action name="a1"><property name="command" stdset="0"><string>abc</string></property></action>
  <action name="a2"><property name="command" stdset="0"><string>abcde</string></property></action>
  <action name="a3"><property name="command" stdset="0"><string>ok  </string></property></action>
 </widget></ui>)";
    ASSERT_TRUE(load_menu_bar(path.string()));
    EXPECT_EQ(menu_commands(1), std::vector<std::uint32_t>{cc("ok  ")});
    EXPECT_FALSE(menu_exists(40000));
    EXPECT_FALSE(menu_exists(2));
    EXPECT_FALSE(menu_item_exists(1, cc("save")));
}

// A menu tree as text: every entry in order with what a person sees and what
// the program reads from it.
std::string describe(const QWidget* w, int depth = 0) {
    std::string out;
    for (const QAction* a : w->actions()) {
        out += std::string(static_cast<std::size_t>(depth) * 2, ' ');
        if (a->isSeparator()) {
            out += "---\n";
            continue;
        }
        out += a->text().toStdString() + " [" + a->shortcut().toString().toStdString() + "]";
        if (a->isCheckable()) out += a->isChecked() ? " checked" : " checkable";
        const QObject* source = a->menu() ? static_cast<const QObject*>(a->menu()) : a;
        for (const QByteArray& name : source->dynamicPropertyNames())
            out += " " + name.toStdString() + "=" + source->property(name.constData()).toString().toStdString() +
                   ":" + source->property(name.constData()).typeName();
        out += "\n";
        if (const QMenu* m = a->menu()) out += describe(m, depth + 1);
    }
    return out;
}

TEST_F(Menus, OurReaderBuildsTheShippedBarAsTheGenericLoaderDoes) {
    QFile file(QString::fromStdString((bundle_dir() / "ui" / "Menu" / "MenuBar.ui").string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::unique_ptr<QMenuBar> ours(read_menu_bar(&file));
    ASSERT_NE(ours, nullptr);
    file.seek(0);
    QUiLoader loader;
    const std::unique_ptr<QWidget> generic(loader.load(&file, nullptr));
    ASSERT_NE(generic, nullptr);
    const std::string expected = describe(generic.get());
    EXPECT_EQ(describe(ours.get()), expected);
    EXPECT_NE(expected.find("New [Ctrl+N] command=new :QString"), std::string::npos) << expected;
    EXPECT_NE(expected.find("  Rotate"), std::string::npos) << expected;  // a submenu
    EXPECT_NE(expected.find("---"), std::string::npos) << expected;
    EXPECT_NE(expected.find(" checkable"), std::string::npos) << expected;
}

TEST_F(Menus, ALayoutOurReaderDoesNotKnowIsLoadedByTheGenericLoader) {
    const auto path = drav::test::scratch_dir() / "icon.ui";
    const std::string layout = R"(<ui version="4.0"><widget class="QMenuBar" name="b">
  <widget class="QMenu" name="m1"><property name="title"><string>One</string></property>
   <property name="menu_id" stdset="0"><number>1</number></property>
   <addaction name="a1"/></widget>
  <addaction name="m1"/>
  <action name="a1"><property name="toolTip"><string>tip</string></property>
   <property name="text"><string>First</string></property>
   <property name="command" stdset="0"><string>frst</string></property></action>
 </widget></ui>)";
    std::ofstream(path.string()) << layout;
    QFile file(QString::fromStdString(path.string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(std::unique_ptr<QMenuBar>(read_menu_bar(&file)), nullptr);  // toolTip is not its business
    ASSERT_TRUE(load_menu_bar(path.string()));
    EXPECT_EQ(menu_commands(1), std::vector<std::uint32_t>{cc("frst")});
}

}  // namespace
