#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "store/geometry.h"
#include "tests/store/drawing_fixture.h"

using namespace drav;
using drav::test::answers;
using drav::test::SeenEvent;
using drav::test::seen_events;

namespace {

using RecordOps = drav::test::Drawing;

constexpr const char* full_alert = "drawing is full";
constexpr const char* no_size_alert = "no size";

}  // namespace

TEST_F(RecordOps, StoringChecksRoomAndValidity) {
    struct Case {
        const char* what;
        int (*store)();
        int count_from_end;  // number_of_objects = worksize - this; 0 keeps 36
        double dx;
        bool fremove;
        const char* alert;
        int result;
        int quit;
    };
    const Case cases[] = {
        {"a line", save_object, 0, 1, false, nullptr, 1, 0},
        {"the last slot", save_object, 7, 1, false, nullptr, 1, 0},
        {"past the last slot", save_object, 6, 1, false, full_alert, 0, 1},
        {"bulk, the last slot", obj_save, 7, 1, false, nullptr, 1, 0},
        {"bulk, past the last slot", obj_save, 6, 1, false, full_alert, 0, 1},
        {"a line of 1e-7", save_object, 0, 1e-7, false, no_size_alert, 0, 0},
        {"a line of 2e-7", save_object, 0, 2e-7, false, nullptr, 1, 0},
        {"silently refused while breaking", save_object, 0, 0, true, nullptr, 0, 0},
        {"bulk adds do not test the geometry", obj_save, 0, 0, false, nullptr, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        number_of_objects = static_cast<std::int16_t>(c.count_from_end ? worksize - c.count_from_end : 36);
        const std::int16_t n = number_of_objects;
        quit = 0;
        fremove = c.fremove;
        if (c.alert) answers().expect(c.alert);
        get_info(n);
        info = line(1, 1, c.dx, 0);
        EXPECT_EQ(c.store(), c.result);
        EXPECT_EQ(number_of_objects, n + c.result);
        EXPECT_EQ(quit, c.quit);
        EXPECT_TRUE(answers().done());
        nomore_info();
        get_info(n);
        EXPECT_EQ(is_live_object(info), c.result == 1);
        if (c.result) {
            set_rec_u16(info, o_word0, 0);  // leave the slot empty for the next case
            modified = 1;
        }
    }
}

TEST_F(RecordOps, StoringStampsTheCurrentPropertiesAndAnnouncesTheObject) {
    struct Case {
        int kind;
        bool stamped;  // name, pen and density; symbols keep their own
    };
    for (const Case c : {Case{ok_line, true}, Case{ok_symbol, false}}) {
        ObjectRec r = c.kind == ok_line ? line(1, 2, 3, 4) : object(ok_symbol, 1, 2);
        set_rec_u16(r, o_word0, static_cast<std::uint16_t>(w0_template | 0x1F));  // a wrong kind
        r.b[obj::level] = 7;
        set_obj_kind_colour(r, c.kind, 33);
        set_obj_density_marks(r, 10, 2, 1);
        r.b[obj::width] = 6;
        r.b[obj::pen] = 11;
        r.b[obj::style] = 5;
        set_rec_str(r, obj::name, obj::name_size, "OWN");
        seen_events().clear();
        const int n = store(r);
        ASSERT_GE(n, 36);
        EXPECT_EQ(indx, n);
        EXPECT_EQ(seen_events(), (std::vector<SeenEvent>{{ev_object_added, n}}));
        const ObjectRec s = record(n);
        EXPECT_EQ(rec_word0(s), w0_template | live_object_word);
        EXPECT_EQ(rec_f32(s, obj::ztop), 2.5f);
        EXPECT_EQ(rec_f32(s, obj::zbottom), -1.5f);
        EXPECT_EQ(s.b[obj::level], 7);  // the command's own
        EXPECT_EQ(obj_colour(s), 33);
        EXPECT_EQ(s.b[obj::width], 6);
        EXPECT_EQ(s.b[obj::style], 5);
        EXPECT_EQ(obj_endmark(s), 2);
        EXPECT_EQ(obj_midmark(s), 1);
        EXPECT_STREQ(rec_str(s, obj::name), c.stamped ? "PROPS" : "OWN");
        EXPECT_EQ(s.b[obj::pen], c.stamped ? 3 : 11);
        EXPECT_EQ(obj_density(s), c.stamped ? 5 : 10);
    }
}

TEST_F(RecordOps, ANewObjectNeverOverwritesTheRecordThatWasLoaded) {
    const int first = store(line(0, 0, 1, 1));
    const ObjectRec before = record(first);
    info = line(5, 5, 1, 0);  // built over the loaded record
    modified = 1;
    ASSERT_EQ(save_object(), 1);
    EXPECT_TRUE(same(record(first), before));
    EXPECT_EQ(rec_f64(record(first + 1), obj::ref_x), 5);
}

TEST_F(RecordOps, ValidityByKind) {
    struct Case {
        int kind;
        double v80, v88;
        int valid;
    };
    const Case cases[] = {
        {ok_rect, 1, 0, 0},    {ok_rect, 1, 2, 1},    {ok_ellipse, 0, 2, 0},  {ok_ellipse, 1, 1, 1},
        {ok_text, 1, 0, 0},    {ok_text, 1, 2, 1},    {ok_lindim, 0, 2, 1},   {ok_lindim, 0, 0, 0},
        {ok_angdim, 3, 0, 1},  {ok_angdim, 0, 0, 0},  {ok_bezier, 0, 0, 0},   {ok_bezier, 0, 1e-9, 1},
        {ok_point, 0, 0, 1},   {ok_symbol, 0, 0, 1},  {0, 1, 1, 0},           {10, 1, 1, 0},
        {15, 1, 1, 0},
    };
    for (const Case& c : cases) {
        ObjectRec r = object(c.kind);
        if (c.kind == ok_text) {
            set_rec_f32(r, text::char_width, static_cast<float>(c.v80));
            set_rec_f32(r, text::char_height, static_cast<float>(c.v88));
        } else {
            set_rec_f64(r, obj::part, c.v80);
            set_rec_f64(r, c.kind == ok_bezier ? bez::endy : obj::part + 8, c.v88);
        }
        EXPECT_EQ(xobj_valid(r), c.valid) << c.kind << " " << c.v80 << " " << c.v88;
    }
}

TEST_F(RecordOps, LongTextsTakeAContinuationThatIsCopiedAndDeletedWithThem) {
    struct Case {
        int length;
        int slots;
    };
    for (const Case c : {Case{29, 1}, Case{30, 2}, Case{125, 2}}) {
        SCOPED_TRACE(c.length);
        const std::string s(static_cast<std::size_t>(c.length), 'a');
        const int n = store(text_object(1, 1), s.c_str());
        ASSERT_EQ(number_of_objects, n + c.slots);
        const ObjectRec t = record(n);
        EXPECT_EQ(text_count(t), c.length);
        EXPECT_EQ(text_continued(t), c.slots == 2);
        if (c.slots == 2) {
            EXPECT_EQ(rec_kind(record(n + 1)), rk_text_tail);
        }

        // The whole string comes back without disturbing the current record.
        get_info(static_cast<std::int16_t>(n));
        textline[0] = '\0';
        cumstgs(static_cast<std::int16_t>(n));
        EXPECT_EQ(std::string(textline), s);
        EXPECT_EQ(prev_index, n);
        EXPECT_TRUE(same(info, t));

        // A copy takes the same slots and its own continuation.
        textline[0] = '\0';
        const int copy = number_of_objects;
        ASSERT_EQ(make_copy(static_cast<std::int16_t>(n)), 1);
        EXPECT_EQ(number_of_objects, copy + c.slots);
        EXPECT_EQ(std::string(textline), s);
        get_info(static_cast<std::int16_t>(copy));
        cumstgs(static_cast<std::int16_t>(copy));
        EXPECT_EQ(std::string(textline), s);

        // A permanent delete empties both slots.
        get_info(static_cast<std::int16_t>(n));
        delete_object(static_cast<std::int16_t>(n), 1);
        nomore_info();
        for (int i = n; i < n + c.slots; ++i) EXPECT_EQ(rec_kind(record(i)), rk_empty) << i;
        if (c.slots == 2) {
            EXPECT_EQ(rec_kind(record(copy + 1)), rk_text_tail);  // the copy's stays
        }

        // Taking back the last object of a command gives back both slots.
        ASSERT_EQ(erase_one_object(first_object_slot, first_object_slot, 0), 1);
        EXPECT_EQ(number_of_objects, copy);
    }
}

TEST_F(RecordOps, DeleteAndUndeleteChangeOnlyTheLiveBit) {
    const int n = store(line(1, 2, 3, 4));
    put_on_screen(n, 1);
    const ObjectRec before = record(n);
    seen_events().clear();
    delete_object(static_cast<std::int16_t>(n), 0);
    nomore_info();
    ObjectRec after = record(n);
    EXPECT_EQ(rec_word0(after), rec_word0(before) & ~w0_live);
    set_rec_u16(after, o_word0, rec_word0(before));
    EXPECT_TRUE(same(after, before));
    EXPECT_EQ(objdeleted, 1);
    EXPECT_EQ(get_on_screen(n), 0);

    undel_object(static_cast<std::int16_t>(n), 1);
    nomore_info();
    EXPECT_TRUE(same(record(n), before));
    EXPECT_EQ(objdeleted, 0);
    EXPECT_EQ(seen_events(), (std::vector<SeenEvent>{{ev_object_deleted, n}, {ev_object_undeleted, n}}));
}

TEST_F(RecordOps, ErasingGivesBackTheSlotsAtTheEnd) {
    const int a = store(line(0, 0, 1, 0));
    const int b = store(text_object(0, 0), std::string(40, 'x').c_str());
    const int c = store(line(0, 0, 0, 1));
    seen_events().clear();
    erase_many_objects(static_cast<std::int16_t>(b));
    EXPECT_EQ(number_of_objects, b);
    EXPECT_EQ(seen_events(), (std::vector<SeenEvent>{{ev_object_deleted, c}, {ev_object_deleted, b}}));
    nomore_info();
    EXPECT_TRUE(is_live_object(record(a)));
    for (int i = b; i <= c; ++i) EXPECT_EQ(rec_kind(record(i)), rk_empty) << i;
    erase_many_objects(static_cast<std::int16_t>(b));  // nothing above: nothing happens
    EXPECT_EQ(number_of_objects, b);
}

TEST_F(RecordOps, EraseOneObjectLeavesTheTemplateInTheFreeSlot) {
    struct Case {
        int keepchain;
        int stored;     // objects the command stored
        int template_x; // reference x of the record left in `info`
    };
    // Lines i start at x = 10 i; the record before the command starts at 99.
    const Case cases[] = {
        {0, 2, 10},  // the removed line itself
        {1, 2, 0},   // the line before it
        {1, 1, 99},  // back at the command's first record
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.keepchain << "/" << c.stored);
        number_of_objects = first_object_slot;
        const int first = store(line(99, 0, 1, 0));
        const std::int16_t stop = number_of_objects;
        for (int i = 0; i < c.stored; ++i) store(line(10.0 * i, 0, 1, 0));
        ASSERT_EQ(erase_one_object(static_cast<std::int16_t>(first), stop, c.keepchain), 1);
        EXPECT_EQ(number_of_objects, stop + c.stored - 1);
        EXPECT_EQ(prev_index, number_of_objects);
        EXPECT_EQ(rec_f64(info, obj::ref_x), c.template_x);
        nomore_info();
        EXPECT_TRUE(is_live_object(record(first)));
    }
    // Nothing above stop: nothing changes.
    const std::int16_t count = number_of_objects;
    EXPECT_EQ(erase_one_object(first_object_slot, count, 1), 0);
    EXPECT_EQ(number_of_objects, count);
}

namespace {

struct Field {
    int off;
    double before;
    double after;
    bool f32 = false;
};
struct TransformCase {
    const char* what;
    int kind;
    std::uint16_t flags_off;  // a mode word to set, 0 none
    std::uint16_t flags;
    double sx, sy, angle, dx, dy;
    std::vector<Field> fields;
};

double read(const ObjectRec& r, const Field& f) { return f.f32 ? rec_f32(r, f.off) : rec_f64(r, f.off); }

}  // namespace

TEST_F(RecordOps, TransformsOfEveryKind) {
    const double p = pie, h = half_pie;
    const std::vector<TransformCase> cases = {
        {"line: scale, turn, move", ok_line, 0, 0, 2, 3, h, 10, 20,
         {{line::dx, 1, -6}, {line::dy, 2, 2}, {obj::handle_x, 1, -3}, {obj::handle_y, 1, 2}, {obj::ref_x, 1, 11},
          {obj::rotation, 0, 0}}},
        {"rectangle: turns by its rotation", ok_rect, 0, 0, 2, 3, h, 0, 0,
         {{rect::width, 1, 2}, {rect::height, 2, 6}, {obj::rotation, 0.5, 0.5 + h}, {obj::handle_x, 1, 2}}},
        {"rectangle: -1, 1 is 1, -1 and a half turn", ok_rect, 0, 0, -1, 1, 0, 0, 0,
         {{rect::width, 1, 1}, {rect::height, 2, -2}, {obj::rotation, 0, p}}},
        {"ellipse: mirrored arc", ok_ellipse, ell::flags, 0, 1, -2, 0, 0, 0,
         {{ell::radius1, 1, 1}, {ell::radius2, 2, 4}, {ell::begin, 0.5, 2 * p - 0.5}, {ell::end, 2, 2 * p - 2}}},
        {"text: uniform", ok_text, 0, 0, 2, 2, 0, 0, 0,
         {{text::char_width, 1, 2, true}, {text::char_height, 2, 4, true}, {obj::ref_x, 1, 1}}},
        {"text: negative height reads from the far end", ok_text, text::info, 4 << 1, 1, -1, 0, 0, 0,
         {{text::char_width, 1, 1, true}, {text::char_height, 2, 2, true}, {obj::ref_x, 1, 6.5},
          {obj::rotation, 0, p}}},
        {"linear dimension, horizontal", ok_lindim, ldim::mode, ldim::horizontal, 2, 3, 0, 0, 0,
         {{ldim::second_x, 4, 8}, {ldim::offset, 1, 3}, {ldim::half_gap, 1, 2}, {ldim::text_pos, -1, -2}}},
        {"linear dimension, vertical and mirrored", ok_lindim, ldim::mode, ldim::vertical, 2, -3, 0, 0, 0,
         {{ldim::second_y, 4, -12}, {ldim::offset, 1, 2}, {ldim::half_gap, 1, 3}, {ldim::text_pos, 1, 3}}},
        {"linear dimension, aligned", ok_lindim, ldim::mode, 0, 2, 3, 0, 0, 0,
         {{ldim::second_x, 4, 8}, {ldim::second_y, 0, 0}, {ldim::offset, -1, -3}, {ldim::half_gap, 1, 2},
          {ldim::text_pos, 2, 4}}},
        {"Bezier curve: scale and turn", ok_bezier, 0, 0, 2, 1, h, 0, 0,
         {{bez::c1x, 1, 0}, {bez::c1y, 0, 2}, {bez::endx, 0, -1}, {bez::endy, 1, 0}, {obj::rotation, 0, 0}}},
        {"point: only its handle offset", ok_point, 0, 0, 2, 3, 0, 1, 1,
         {{obj::handle_x, 1, 2}, {obj::handle_y, 1, 3}, {obj::ref_x, 1, 2}}},
        {"symbol: extents and scales", ok_symbol, 0, 0, 2, 3, 0, 0, 0,
         {{sym::width, 1, 2}, {sym::height, 1, 3}, {sym::scale_x, 1, 2}, {sym::scale_y, 0.5, 1.5}}},
        {"angular dimension, mirrored", ok_angdim, adim::mode, 0, 1, -1, 0, 0, 0,
         {{adim::second_x, 2, 2}, {adim::second_y, 3, -3}, {adim::vertex_dist, 1, 1}, {adim::angle, 1, 2 * p - 1, true},
          {adim::text_angle, 0.5, 2 * p - 0.5, true}}},
    };
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.what);
        ObjectRec r = object(c.kind);
        if (c.flags_off) set_rec_u16(r, c.flags_off, c.flags);
        for (const Field& f : c.fields) {
            if (f.f32)
                set_rec_f32(r, f.off, static_cast<float>(f.before));
            else
                set_rec_f64(r, f.off, f.before);
        }
        change_object(c.sx, c.sy, c.angle, c.dx, c.dy, r);
        for (const Field& f : c.fields) EXPECT_NEAR(read(r, f), f.after, 1e-6) << "offset " << f.off;
    }
    ObjectRec arc = object(ok_ellipse);
    change_object(1, -1, 0, 0, 0, arc);
    EXPECT_EQ(rec_u16(arc, ell::flags), ell::clockwise);
    ObjectRec adim = object(ok_angdim);
    change_object(1, -1, 0, 0, 0, adim);
    EXPECT_EQ(rec_u16(adim, adim::mode), adim::clockwise);
}

TEST_F(RecordOps, ScalingByOneLeavesTheRecordUntouched) {
    ObjectRec r = line(1, 2, 3, 4);
    set_handle(5, 6, r);
    const ObjectRec before = r;
    double angle = 0;
    scaling(1, 1, &angle, r);
    EXPECT_TRUE(same(r, before));
}

TEST_F(RecordOps, MirrorReflectsAboutTheLine) {
    struct Case {
        const char* what;
        ObjectRec rec;
        double angle, x, y;
        std::vector<Field> fields;
    };
    ObjectRec text = text_object(0, 1);
    set_text_info(text, 0, 4, false);
    const std::vector<Case> cases = {
        {"line about the diagonal", line(1, 1, 2, 0), quart_pie, 0, 0,
         {{obj::ref_x, 0, 1}, {obj::ref_y, 0, 1}, {line::dx, 0, 0}, {line::dy, 0, 2}}},
        {"line about x = 5", line(1, 0, 2, 1), half_pie, 5, 0,
         {{obj::ref_x, 0, 9}, {obj::ref_y, 0, 0}, {line::dx, 0, -2}, {line::dy, 0, 1}}},
        // The string (4 characters of width 1: 5.5 long) now reads from its far end, upright.
        {"text about the x axis", text, 0, 0, 0,
         {{obj::ref_x, 0, 5.5}, {obj::ref_y, 0, -1}, {text::char_height, 0, 2, true}, {obj::rotation, 0, pie}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        info = c.rec;
        mirror(c.angle, c.x, c.y);
        for (const Field& f : c.fields) EXPECT_NEAR(read(info, f), f.after, 1e-9) << "offset " << f.off;
    }
    modified = 0;
}

TEST_F(RecordOps, DirectionsArrowsMarkersAndTemplates) {
    ObjectRec r = line(0, 0, 0, 2);
    EXPECT_NEAR(object_rotation(r, 1), 90, 1e-12);
    set_rotation(pie, r);
    EXPECT_NEAR(rec_f64(r, line::dx), -2, 1e-12);
    EXPECT_NEAR(rec_f64(r, line::dy), 0, 1e-12);
    ObjectRec rect = object(ok_rect);
    set_rotation(-half_pie, rect);
    EXPECT_NEAR(object_rotation(rect, 0), 3 * half_pie, 1e-12);

    info = line(0, 0, 1, 0);
    for (int i = 0; i < 2; ++i) {
        arrw_change();
        marker_change();
        templ_change();
        EXPECT_EQ(obj_endmark(info), i == 0 ? 1 : 0);
        EXPECT_EQ(obj_midmark(info), i == 0 ? 1 : 0);
        EXPECT_EQ(is_template(info), i == 0);
        EXPECT_EQ(info.b[obj::style], i == 0 ? dotted_style : props_defs.style);
    }
    info = object(ok_point);
    info.b[obj::style] = 3;
    templ_change();
    EXPECT_EQ(info.b[obj::style], 3);  // points keep their style
}

TEST_F(RecordOps, CopiesAreExactAndNeedRoom) {
    const int n = store(line(1, 2, 3, 4));
    const ObjectRec src = record(n);
    ASSERT_EQ(make_copy(static_cast<std::int16_t>(n)), 1);
    EXPECT_TRUE(same(record(n + 1), src));
    // A record changed after the copy cache last read its block is copied as it is now.
    get_info(static_cast<std::int16_t>(n));
    set_rec_f64(info, obj::ref_x, 50);
    modified = 1;
    ASSERT_EQ(make_copy(static_cast<std::int16_t>(n)), 1);
    EXPECT_EQ(rec_f64(record(n + 2), obj::ref_x), 50);

    number_of_objects = static_cast<std::int16_t>(worksize - 6);
    answers().expect(full_alert);
    EXPECT_EQ(make_copy(static_cast<std::int16_t>(n)), 0);
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(number_of_objects, worksize - 6);
    EXPECT_EQ(rec_kind(record(worksize - 6)), rk_empty);
}

TEST_F(RecordOps, ObjokAcceptsLiveObjectsInTheDrawing) {
    const int n = store(text_object(0, 0), "hello");
    textline[0] = '\0';
    EXPECT_EQ(objok(static_cast<std::int16_t>(n), 1), 1);
    EXPECT_STREQ(textline, "hello");
    for (int bad : {35, n + 1}) EXPECT_EQ(objok(static_cast<std::int16_t>(bad), 0), 0) << bad;
    get_info(static_cast<std::int16_t>(n));
    delete_object(static_cast<std::int16_t>(n), 0);
    EXPECT_EQ(objok(static_cast<std::int16_t>(n), 0), 0);
}
