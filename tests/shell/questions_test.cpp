// The question windows: answers, their texts, what happens without the
// window, and what the window shows.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "dialogs/edit_fields.h"
#include "platform/ui/answerer.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/windows_qt.h"
#include "shell/questions.h"
#include "tests/support/harness.h"
#include "tests/support/layouts.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::answers;

namespace {

constexpr std::uint32_t cmd_yes = 0x596E7973, cmd_no = 0x596E6E6F, cmd_cancel = 0x6E6F7421;

// The question's window is on screen while the answerer is asked.
void expect_window(const plat::AlertRequest& r, const char* text) {
    ASSERT_NE(r.window, nullptr);
    EXPECT_TRUE(plat::dialog_visible(r.window));
    EXPECT_EQ(plat::item_text(GrabCRef(r.window, 0, 4)), text);
}

}  // namespace

TEST(Questions, EachButtonGivesItsAnswer) {
    const struct {
        bool three;
        int pressed;
        std::int16_t answer;
    } cases[] = {{true, 1, answer_yes}, {true, 2, answer_cancel}, {true, 3, answer_no},
                 {false, 1, answer_yes}, {false, 2, answer_cancel}};
    for (const auto& c : cases) {
        const char* text = c.three ? "Save changes to the drawing?" : "Replace the symbol?";
        answers().expect(text, c.pressed, [text](const plat::AlertRequest& r) { expect_window(r, text); });
        std::int16_t answer = 0;
        const int status = c.three ? ShowYesNoCancelWindow(text, &answer) : ShowYesCancelWindow(text, &answer);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(answer, c.answer) << c.three << " " << c.pressed;
        EXPECT_EQ(retValue, c.answer);
        EXPECT_EQ(plat::front_dialog(), nullptr);  // the window is gone
    }
    EXPECT_TRUE(answers().done());
}

TEST(Questions, TheHandlerTakesOnlyTheWindowsCommands) {
    const struct {
        std::uint32_t command;
        bool taken;
        std::int16_t value;
    } cases[] = {{cmd_yes, true, 1}, {cmd_cancel, true, 2}, {cmd_no, true, 3}, {0x6F6B2020, false, 0}};
    for (const auto& c : cases) {
        DialogPtr w = nullptr;
        ASSERT_EQ(CreateNibWindow("drav", "Yes No Cancel", &w), 0);
        retValue = 0;
        EXPECT_EQ(YesNoCancelEventHandlerProc(w, c.command), c.taken);
        EXPECT_EQ(retValue, c.value);
        EXPECT_EQ(plat::dialog_alive(w), !c.taken);  // a taken command closes the window
        if (plat::dialog_alive(w)) plat::dispose_dialog(w);
    }
}

TEST(Questions, AMissingEntryShowsItsKey) {
    answers().expect("405,999", 2);
    std::int16_t answer = 0;
    EXPECT_EQ(ShowLocalYesCancelWindow(405, 999, &answer), 0);
    EXPECT_EQ(answer, answer_cancel);
    EXPECT_TRUE(answers().done());
}

TEST(Questions, AWindowThatCannotBeMadeAnswersCancel) {
    drav::test::use_test_layouts();
    std::filesystem::remove_all(drav::test::scratch_dir() / "layouts-bundle/ui/drav");
    answers().expect("Yes No Cancel.ui");  // the reason is reported
    std::int16_t answer = answer_yes;      // a stale answer from before
    EXPECT_NE(ShowYesNoCancelWindow("Save changes?", &answer), 0);
    EXPECT_EQ(answer, answer_cancel);
    drav::test::drop_test_layouts();
    EXPECT_TRUE(answers().done());
}

TEST(Questions, TheYesNoCancelWindowShowsItsTextAndButtons) {
    const char* text = "Save changes to the drawing before closing?";
    bool checked = false;
    answers().expect(text, 3, [&](const plat::AlertRequest& r) {
        const QImage image = plat::grab_dialog(r.window);
        ASSERT_FALSE(image.isNull());
        image.save(QString::fromStdString((drav::test::scratch_dir() / "yes-no-cancel.png").string()));
        // The window's background, then ink in each area that should hold text.
        const QRgb background = image.pixel(2, image.height() - 2);
        const auto inked = [&](plat::Rect r, int inset) {
            int count = 0;
            for (int y = r.top + inset; y < r.bottom - inset; ++y)
                for (int x = r.left + inset; x < r.right - inset; ++x)
                    if (image.pixel(x, y) != background) ++count;
            return count;
        };
        const plat::Rect text_area = plat::item_rect(GrabCRef(r.window, 0, 4));
        EXPECT_GT(inked(text_area, 0), 50);
        for (std::uint32_t c : {cmd_yes, cmd_no, cmd_cancel}) {
            const plat::Rect b = plat::item_rect(plat::command_control(r.window, c));
            EXPECT_GT(inked(b, 8), 10) << std::hex << c;  // the label, inside the button's edge
        }
        // Between the text and the buttons nothing is drawn.
        EXPECT_EQ(inked(plat::Rect{94, 20, 98, 380}, 0), 0);
        checked = true;
    });
    std::int16_t answer = 0;
    EXPECT_EQ(ShowYesNoCancelWindow(text, &answer), 0);
    EXPECT_EQ(answer, answer_no);
    EXPECT_TRUE(checked);
}

TEST(Questions, TheScriptCanPressTheWindowsButtons) {
    // Answer 0: the question waits at its window for the script's press.
    answers().expect("Keep the pieces?", 0);
    drav::test::Session s;
    s.press("Ynno");
    std::int16_t answer = 0;
    s.drive([&] { EXPECT_EQ(ShowYesNoCancelWindow("Keep the pieces?", &answer), 0); });
    EXPECT_EQ(answer, answer_no);
    EXPECT_EQ(s.steps_left(), 0u);
    // A script that ends while the question waits cancels it.
    answers().expect("Keep the pieces?", 0);
    drav::test::Session empty;
    answer = answer_yes;
    empty.drive([&] { ShowYesCancelWindow("Keep the pieces?", &answer); });
    EXPECT_EQ(answer, answer_cancel);
    EXPECT_TRUE(answers().done());
}
