// The text tool driven through the running program: the text dialog, the
// drag into place and the stored records.
#include <gtest/gtest.h>

#include <memory>
#include <numbers>
#include <string>

#include "commands/draw/text.h"
#include "platform/core/text.h"
#include "platform/ui/dialogs.h"
#include "store/record_ops.h"
#include "tests/commands/draw/curve_steps.h"

using namespace drav;
using namespace drav::shape_test;
using namespace drav::curve_test;
using drav::test::answers;
using drav::test::Session;

namespace {

constexpr int field = 4;

void text_options(std::int16_t auto_feed) {
    objopts->text_opt = auto_feed;
    objopts->lock_mode = 0;
    props_defs.y_spacing = 2 * u;
}

// One line typed and confirmed in the text dialog.
void typed(Session& s, const std::string& utf8) { s.type(field, utf8).hit(1); }

std::string field_text() { return plat::item_text(plat::dialog_item(plat::front_dialog(), field)); }

// The text of a stored text record and its continuation, as bytes.
std::string chars_of(int n) {
    const ObjectRec r = stored(n);
    EXPECT_EQ(obj_kind(r), ok_text) << "record " << n;
    if (!text_continued(r)) return rec_str(r, text::chars);
    const ObjectRec keep = info;
    const std::int16_t was = prev_index;
    get_info(static_cast<std::int16_t>(n + 1));
    const ObjectRec tail = info;
    if (was >= 0) get_info(was);
    info = keep;
    modified = 1;
    EXPECT_EQ(rec_kind(tail), rk_text_tail) << "record " << n + 1;
    return rec_str(tail, tail::text);
}

void expect_at(int n, double x, double y) {
    const ObjectRec r = stored(n);
    EXPECT_NEAR((rec_f64(r, obj::ref_x) - gx(0)) / u, x, 1e-9) << "record " << n;
    EXPECT_NEAR((rec_f64(r, obj::ref_y) - gy(0)) / u, y, 1e-9) << "record " << n;
}

}  // namespace

TEST(TextCommand, AutoFeedDragsTheFirstLineAndSetsTheOthersOneSpacingBelow) {
    Session s;
    s.then([] { text_options(1); });
    start(s, tool_text);
    s.then([] { EXPECT_EQ(field_text(), ""); });
    typed(s, "One");
    s.then([] { EXPECT_EQ(message(), prompt(39)); });
    hover(s, p(4, 4));
    s.click(p(5, 6));
    count_is(s, 1);
    typed(s, "Two");
    count_is(s, 2);
    typed(s, "Three");
    typed(s, "");  // an empty line ends the command, keeping the lines
    count_is(s, 3);
    ended(s);
    s.then([] {
        expect_at(n0, 5, 6);
        expect_at(n0 + 1, 5, 4);
        expect_at(n0 + 2, 5, 2);
        EXPECT_EQ(chars_of(n0), "One");
        EXPECT_EQ(chars_of(n0 + 1), "Two");
        EXPECT_EQ(chars_of(n0 + 2), "Three");
        EXPECT_EQ(text_count(stored(n0 + 2)), 5);
        EXPECT_EQ(typing_gtext, 0);
    });
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(TextCommand, TheVerticalRestraintTurnsTheTextAQuarter) {
    Session s;
    s.then([] {
        text_options(0);
        objopts->lock_mode = 2;
    });
    start(s, tool_text);
    typed(s, "Up");
    s.click(p(5, 5));
    typed(s, "");
    count_is(s, 1);
    s.then([] {
        EXPECT_DOUBLE_EQ(rec_f64(stored(n0), obj::rotation), std::numbers::pi / 2);
        objopts->lock_mode = 0;
    });
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(TextCommand, CancelRemovesTheLinesOfTheCommand) {
    Session s;
    auto before = snapshot_after(s, [] { text_options(0); });
    start(s, tool_text);
    typed(s, "Gone");
    s.click(p(5, 5));
    count_is(s, 1);
    s.hit(2);
    count_is(s, 0);
    ended_as_before(s, before);
    EXPECT_EQ(s.run(), 0);
}

TEST(TextCommand, UndoWhilePlacingOpensTheDialogWithTheSameText) {
    Session s;
    auto bare = std::make_shared<std::vector<std::uint32_t>>();
    s.then([bare] {
        text_options(0);
        *bare = drawCWindow->pixels();
    });
    start(s, tool_text);
    typed(s, "Hello");
    hover(s, p(3, 3));
    hover(s, p(4, 3));  // the image moves with the pointer
    s.then([bare] { EXPECT_FALSE(drawCWindow->pixels() == *bare); });
    key(s, 'U');
    s.then([bare] {
        EXPECT_TRUE(drawCWindow->pixels() == *bare);  // taken off the window
        ASSERT_NE(plat::front_dialog(), nullptr);
        EXPECT_EQ(field_text(), "Hello");
        EXPECT_EQ(number_of_objects, n0);
    });
    s.hit(1);
    s.click(p(6, 2));
    count_is(s, 1);
    s.then([] {
        expect_at(n0, 6, 2);
        EXPECT_EQ(chars_of(n0), "Hello");
    });
    typed(s, "");
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(TextCommand, FortyCharactersGoIntoAContinuationRecord) {
    const std::string forty(40, 'x');
    Session s;
    s.then([] { text_options(0); });
    start(s, tool_text);
    typed(s, forty);
    s.click(p(2, 2));
    count_is(s, 2);
    s.then([forty] {
        const ObjectRec r = stored(n0);
        EXPECT_TRUE(text_continued(r));
        EXPECT_EQ(text_count(r), 40);
        EXPECT_EQ(chars_of(n0), forty);
    });
    typed(s, "");
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(TextCommand, SeventyThreeCharactersAreTooLongAndTheDialogStays) {
    Session s;
    s.then([] { text_options(0); });
    start(s, tool_text);
    s.then([] { answers().expect("at most 72 characters"); });
    typed(s, std::string(73, 'y'));
    s.then([] {
        EXPECT_TRUE(answers().done());
        ASSERT_NE(plat::front_dialog(), nullptr);
    });
    typed(s, std::string(72, 'y'));
    s.click(p(2, 2));
    count_is(s, 2);
    s.then([] { EXPECT_EQ(chars_of(n0), std::string(72, 'y')); });
    typed(s, "");
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(TextCommand, AccentedLatinRoundTripsThroughTheRecordAndOtherScriptsAreRefused) {
    Session s;
    s.then([] { text_options(0); });
    start(s, tool_text);
    s.then([] { answers().expect("cannot store"); });
    typed(s, "Tokyo \xE6\x9D\xB1\xE4\xBA\xAC");
    s.then([] {
        EXPECT_TRUE(answers().done());
        ASSERT_NE(plat::front_dialog(), nullptr);
    });
    typed(s, "Caf\xC3\xA9 \xC3\xBC" "ber \xE2\x80\x93 \xC3\x85");
    s.click(p(2, 2));
    count_is(s, 1);
    s.then([] {
        const std::string bytes = chars_of(n0);
        // Mac Roman: e acute 0x8E, u diaeresis 0x9F, en dash 0xD0, A ring 0x81.
        EXPECT_EQ(bytes, "Caf\x8E \x9F" "ber \xD0 \x81");
        EXPECT_EQ(plat::macroman_to_utf8(bytes), "Caf\xC3\xA9 \xC3\xBC" "ber \xE2\x80\x93 \xC3\x85");
    });
    typed(s, "");
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}
