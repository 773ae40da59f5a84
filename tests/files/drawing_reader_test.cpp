// Opening and merging drawing files written by the test's own builder.
#include "tests/files/reader_fixture.h"

#include <cmath>
#include <fstream>
#include <limits>

#include "platform/ui/events.h"
#include "store/levels.h"
#include "store/rescale.h"

namespace drav::test {
namespace {

constexpr double inch_mm = 25.40005;

TEST_F(Reader, AnEmptyDrawingOpensWithItsSettingsAndTime) {
    store(line(1, 1, 2, 2));
    DrawingFile d;
    d.default_settings(8, 1);
    d.time = 4321;
    ASSERT_EQ(open(d), 1);
    EXPECT_EQ(number_of_objects, 36);
    EXPECT_EQ(units_defs.units_code, 8);
    EXPECT_EQ(total_dwg_time, 4321u);
    EXPECT_EQ(cur_win.xr, 30);
    EXPECT_EQ(cur_win.yt, 20);
    const ObjectRec head = record(0);
    EXPECT_EQ(rec_i16(head, hdr::version), 70);
    EXPECT_EQ(rec_i16(head, hdr::first_slot), 36);
    EXPECT_EQ(rec_i16(head, hdr::object_count), 36);
    // The file stays open as the current drawing's, and the drawing-opened event is queued.
    EXPECT_GT(currentdrawingRefNum, 0);
    EXPECT_EQ(plat::open_file_ref(currentdrawingRefNum).path, path());
    plat::EventRecord e;
    ASSERT_TRUE(plat::event_avail(plat::highLevelEventMask, &e));
    EXPECT_EQ(e.message, drawing_opened_event);
    EXPECT_EQ(didsomething, 0);
}

TEST_F(Reader, EveryKindReadsTheSameFromNativeAndPcFiles) {
    DrawingFile d = every_kind_drawing();
    ASSERT_EQ(open(d), 1);
    const std::vector<ObjectRec> native = objects();
    ASSERT_EQ(native.size(), d.objects.size());
    // Everything but the symbol reference as it stood in the file.
    for (std::size_t i = 0; i + 1 < native.size(); ++i) EXPECT_TRUE(same(native[i], d.objects[i])) << i;
    // The reference now names the work library's control record, which has one user and live pieces.
    EXPECT_EQ(rec_i16(native.back(), sym::ctrl), 4);
    const ObjectRec ctrl = worklib(4);
    EXPECT_EQ(rec_kind(ctrl), rk_symbol_ctrl);
    EXPECT_EQ(rec_i16(ctrl, sctl::users), 1);
    EXPECT_EQ(rec_u16(ctrl, sctl::valid), 1);
    EXPECT_EQ(rec_i16(ctrl, sctl::first_piece), ctrlsize + 4);
    EXPECT_EQ(rec_i16(ctrl, sctl::piece_count), 2);
    EXPECT_TRUE(is_live_object(worklib(ctrlsize + 4)));
    EXPECT_EQ(rec_f64(worklib(ctrlsize + 5), line::dy), 1);
    // The named window and plot specification are in their slots.
    EXPECT_STREQ(rec_str(record(7), nwin::name), "Plan");
    EXPECT_STREQ(rec_str(record(8), pspec::name), "A4");
    EXPECT_EQ(rec_kind(record(9)), rk_empty);

    d.pc = true;
    ASSERT_EQ(open(d, 0, 0, "plan-pc.2d"), 1);
    const std::vector<ObjectRec> pc = objects();
    ASSERT_EQ(pc.size(), native.size());
    for (std::size_t i = 0; i < pc.size(); ++i) EXPECT_TRUE(same(pc[i], native[i])) << i;
    EXPECT_EQ(didsomething, 1);  // a PC file needs saving in the native form
}

TEST_F(Reader, OldVersionsAreConverted) {
    DrawingFile d;
    d.default_settings(3);
    d.version = 54;
    ObjectRec t = object_record(ok_text, 1, 1);
    set_rec_f64(t, text::char_width, 2.5);
    set_rec_f64(t, text::char_height, 1.25);
    set_text_info(t, 0, 2, false);
    std::memcpy(t.b + text::chars, "AB", 3);
    d.objects.push_back(t);
    ASSERT_EQ(open(d), 1);
    ObjectRec r = record(36);
    EXPECT_EQ(rec_f32(r, text::char_width), 2.5f);
    EXPECT_EQ(rec_f32(r, text::char_height), 1.25f);
    EXPECT_EQ(swaper & sw_wide_strokes, 0);

    // The same from a PC file, whose doubles are whole little-endian doubles.
    DrawingFile pc = d;
    pc.pc = true;
    std::vector<std::uint8_t> b = pc.bytes();
    for (int off : {text::char_width, text::char_height})
        for (int k = 0; k < 8; ++k) b[7 * 128 + off + k] = t.b[off + 7 - k];
    {
        std::ofstream f(path("old.2d"), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    ASSERT_EQ(open_raw(path("old.2d"), true), 1);
    r = record(36);
    EXPECT_EQ(rec_f32(r, text::char_width), 2.5f);
    EXPECT_EQ(rec_f32(r, text::char_height), 1.25f);

    d.version = 52;
    set_rec_u16(d.settings[4], 120, 0x0121);
    set_rec_u16(d.settings[4], 122, 0x0057);
    d.settings[5].b[62] = 'x';
    d.settings[5].b[63] = 'y';
    ASSERT_EQ(open(d), 1);
    r = record(36);
    EXPECT_EQ(rec_f32(r, text::char_width), 2.5f);
    EXPECT_EQ(rec_i16(record(0), hdr::version), 70);
    EXPECT_NE(rec_u16(record(3), 2) & sw_wide_strokes, 0);
    EXPECT_NE(swaper & sw_wide_strokes, 0);
    EXPECT_EQ(rec_u16(record(5), 120), 0x0100);
    EXPECT_EQ(rec_u16(record(5), 122), 0x0010);
    EXPECT_EQ(record(6).b[62], '.');
    EXPECT_EQ(record(6).b[63], 0);
    EXPECT_EQ(didsomething, 1);
}

TEST_F(Reader, MergingASymbolAlreadyThereRaisesItsUsers) {
    DrawingFile d = every_kind_drawing();
    ASSERT_EQ(open(d), 1);
    const int first_count = number_of_objects;
    ASSERT_EQ(open(d, 1), 1);
    EXPECT_EQ(number_of_objects, first_count + (first_count - 36));
    EXPECT_EQ(rec_i16(worklib(0), hdr::lib_lastctrl), 5);  // still one control record
    EXPECT_EQ(rec_i16(worklib(4), sctl::users), 2);
    EXPECT_EQ(rec_i16(record(number_of_objects - 1), sym::ctrl), 4);
}

TEST_F(Reader, MergingInchesIntoMillimetresRescales) {
    DrawingFile mm;
    mm.default_settings(8);
    ASSERT_EQ(open(mm), 1);
    DrawingFile d = every_kind_drawing(3);
    ASSERT_EQ(open(d, 1, 1, "inch.drw"), 1);
    EXPECT_EQ(units_defs.units_code, 8);  // a merge keeps the drawing's units
    const ObjectRec l = record(36);
    EXPECT_NEAR(rec_f64(l, obj::ref_x), inch_mm, 1e-9);
    EXPECT_NEAR(rec_f64(l, line::dx), 3 * inch_mm, 1e-9);
    EXPECT_NEAR(rec_f64(l, line::dy), 2 * inch_mm, 1e-9);
    EXPECT_NEAR(rec_f64(record(7), nwin::window + 8), 10 * inch_mm, 1e-9);
    EXPECT_NEAR(rec_f64(record(8), pspec::window + 8), 20 * inch_mm, 1e-9);
    // The placed symbol takes its size from the converted control record: 2 x 1 inches.
    const ObjectRec s = record(number_of_objects - 1);
    EXPECT_NEAR(rec_f64(s, obj::ref_x), 10 * inch_mm, 1e-9);
    EXPECT_NEAR(rec_f64(s, sym::width), 2 * inch_mm, 1e-9);
    EXPECT_NEAR(rec_f64(s, sym::height), inch_mm, 1e-9);
    EXPECT_EQ(rec_f64(s, sym::scale_x), 1);
    EXPECT_NEAR(rec_f64(worklib(ctrlsize + 4), line::dx), 2 * inch_mm, 1e-9);
    // z bottom is not overwritten.
    EXPECT_EQ(rec_f32(s, obj::zbottom), 0);
}

TEST_F(Reader, MergeModeTwoGroupsExactlyTheMergedObjects) {
    store(line(0, 0, 1, 1));
    store(line(0, 0, 2, 1));
    DrawingFile d;
    d.default_settings(3);
    for (int i = 0; i < 3; ++i) d.objects.push_back(line_record(i, 0, 1, 1));
    ASSERT_EQ(open(d, 2), 1);
    EXPECT_EQ(number_of_objects, 41);
    for (int n = 36; n < 41; ++n) EXPECT_EQ(get_in_group(n), n >= 38 ? 1 : 0) << n;
    EXPECT_EQ(objs_in_grp, 3);
}

TEST_F(Reader, MergedNamedWindowsFillFreeSlotsOnly) {
    for (int s = 7; s <= 34; ++s) {
        get_info(static_cast<std::int16_t>(s));
        info = named_window(("W" + std::to_string(s)).c_str(), 0, 1, 0, 1);
        modified = 1;
    }
    DrawingFile d;
    d.default_settings(3);
    d.views = {named_window("W7", 0, 5, 0, 5), named_window("New1", 0, 2, 0, 2), named_window("New2", 0, 3, 0, 3)};
    ASSERT_EQ(open(d, 1), 1);
    EXPECT_EQ(rec_f64(record(7), nwin::window + 8), 1);  // the same name was skipped
    EXPECT_STREQ(rec_str(record(35), nwin::name), "New1");
    int windows = 0;
    for (int s = 7; s <= 35; ++s) windows += rec_kind(record(s)) == rk_named_window;
    EXPECT_EQ(windows, 29);  // New2 found no slot
}

TEST_F(Reader, LevelNamesComeFromTheCompanion) {
    DrawingFile d;
    d.default_settings(3);
    d.write(path());
    char name[] = "WALLS";
    set_LevelName(5, name);
    ASSERT_EQ(FSRef_put_levelinfo(FSRef{path()}), 1);
    init_levels();
    char buf[level_name_bytes];
    ASSERT_STRNE(get_LevelName(5, buf), "WALLS");
    ASSERT_EQ(open_raw(path(), false), 1);
    EXPECT_STREQ(get_LevelName(5, buf), "WALLS");

    // A PC file has none: default names, and the visible levels the file gives.
    d.pc = true;
    set_rec_u16(d.settings[2], 4, 0x0004);  // level 2 only
    ASSERT_EQ(open(d, 0, 0, "levels.2d"), 1);
    EXPECT_STRNE(get_LevelName(5, buf), "WALLS");
    EXPECT_EQ(get_LevelVisible(1), 0);
    EXPECT_EQ(get_LevelVisible(2), 1);
}

TEST_F(Reader, RefusedFilesLeaveTheDrawingAsItWas) {
    DrawingFile good;
    good.default_settings(3);
    good.objects.push_back(line_record(1, 1, 1, 1));
    ASSERT_EQ(open(good), 1);
    store(line(0, 0, 1, 1));
    const std::int16_t held = currentdrawingRefNum;
    const Snapshot before = snapshot();

    struct Case {
        const char* what;
        const char* alert;
        DrawingFile file;
    };
    std::vector<Case> cases;
    for (int v : {53, 61, 71}) {
        DrawingFile d = every_kind_drawing();
        d.version = v;
        cases.push_back({"version", "cannot read", d});
    }
    {
        DrawingFile d;
        d.default_settings(3);
        for (int i = 0; i < 110; ++i) d.objects.push_back(line_record(i, 0, 1, 1));
        cases.push_back({"objects", "room for 115 objects", d});
    }
    {
        DrawingFile d;
        d.default_settings(3);
        for (int i = 0; i < 21; ++i) d.add_symbol("LIB", i, {line_record(0, 0, 1, 0)}, 3);
        cases.push_back({"controls", "room for 21 symbol definitions", d});
    }
    {
        DrawingFile d;
        d.default_settings(3);
        d.add_symbol("LIB", 1, std::vector<ObjectRec>(60, line_record(0, 0, 1, 0)), 3);
        cases.push_back({"pieces", "room for 65 symbol pieces", d});
    }
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        answers().expect(c.alert);
        EXPECT_EQ(open(c.file, 0, 0, "refused.drw"), 0);
        EXPECT_TRUE(answers().done());
        EXPECT_TRUE(snapshot() == before);
        EXPECT_EQ(currentdrawingRefNum, held);
        EXPECT_TRUE(plat::is_open(held));
    }
    // A file that cannot be opened at all.
    answers().expect("could not be opened");
    EXPECT_EQ(open_raw(scratch_dir() / "missing.drw", false), 0);
    EXPECT_TRUE(snapshot() == before);
}

TEST_F(Reader, ReferencesToMissingSymbolsAreCountedAndNeverUsed) {
    DrawingFile d;
    d.default_settings(3);
    d.objects.push_back(symbol_ref(5, 1, 1));  // no control record 5
    answers().expect("1 bad symbols");
    ASSERT_EQ(open(d), 1);
    EXPECT_EQ(rec_i16(record(36), sym::ctrl), -1);
    EXPECT_EQ(last_read.bad_symbols, 1);
}

}  // namespace
}  // namespace drav::test
