// Nib controls that report by themselves: pop-ups and drawn controls send
// their commands, radio groups give the chosen button's value.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QWidget>

#include "platform/ui/dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/windows_qt.h"

using namespace plat;

namespace {

// The next queued record: a command of `d`, or 0.
std::uint32_t next_command(Dialog* d) {
    EventRecord e;
    if (!wait_next_event(everyEvent, &e, 0)) return 0;
    return e.what == app1Evt && e.dialog == d ? e.message : 0;
}

void press(QWidget* w) {
    const QPointF at(3, 3);
    QMouseEvent e(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

TEST(NibControls, APopupSendsItsCommandWhenAnEntryIsChosen) {
    Dialog* d = new_nib_window("pemu", "Circle setup", nullptr);
    ASSERT_NE(d, nullptr);
    flush_events(everyEvent);
    auto* combo = dialog_widget(d)->findChild<QComboBox*>("mode");
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(next_command(d), 0x43547267u);  // 'CTrg'
    EXPECT_EQ(item_value(find_control(d, 0, 3)), 3);
    // A pop-up without a command reports nothing.
    Dialog* arc = new_nib_window("pemu", "Arc setup", nullptr);
    auto* direction = dialog_widget(arc)->findChild<QComboBox*>("dir");
    emit direction->activated(1);
    EXPECT_EQ(next_command(arc), 0u);
    dispose_dialog(arc);
    dispose_dialog(d);
}

TEST(NibControls, ADrawnControlOrLabelWithACommandSendsItWhenClicked) {
    Dialog* d = new_nib_window("drav", "Tangent TS", nullptr);
    ASSERT_NE(d, nullptr);
    show_dialog(d);
    flush_events(everyEvent);
    press(dialog_widget(d)->findChild<QWidget*>("mode3"));
    EXPECT_EQ(next_command(d), 0x54616E36u);  // 'Tan6'
    press(dialog_widget(d)->findChild<QLabel*>("label2"));
    EXPECT_EQ(next_command(d), 0x54616E35u);  // 'Tan5'
    set_item_hilite(find_control(d, 0, 4), 255);  // inactive: no command
    press(dialog_widget(d)->findChild<QWidget*>("mode1"));
    EXPECT_EQ(next_command(d), 0u);
    dispose_dialog(d);
}

TEST(NibControls, ARadioGroupIsValuedByItsChosenButton) {
    const struct {
        const char* nib;
        const char* name;
        const char* second;
        int first_value;
    } groups[] = {{"drav", "Intersection TS", "two", 1}, {"pemu", "Find setup", "long", 0}};
    for (const auto& g : groups) {
        Dialog* d = new_nib_window(g.nib, g.name, nullptr);
        ASSERT_NE(d, nullptr);
        DItem* group = find_control(d, 0, 3);
        EXPECT_EQ(item_kind(group), ItemKind::radio_group);
        EXPECT_EQ(item_value(group), g.first_value - 1);  // none chosen
        set_item_value(group, g.first_value);
        EXPECT_EQ(item_value(group), g.first_value);
        dialog_widget(d)->findChild<QRadioButton*>(g.second)->click();  // a person's click
        EXPECT_EQ(item_value(group), g.first_value + 1);
        set_item_value(group, g.first_value + 5);  // no such button: none
        EXPECT_EQ(item_value(group), g.first_value - 1);
        dispose_dialog(d);
    }
}
