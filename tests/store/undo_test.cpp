#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/idle.h"
#include "store/geometry.h"
#include "store/object_walk.h"
#include "tests/store/drawing_fixture.h"

using namespace drav;
using drav::test::answers;
using drav::test::SeenEvent;
using drav::test::seen_events;

namespace {

using Undo = drav::test::Drawing;

std::string item() { return undo_item_text(); }

// The geometry that a transform changes, as absolute numbers.
std::vector<double> geometry(int n) {
    get_info(static_cast<std::int16_t>(n));
    std::vector<double> g;
    for (int off : {obj::ref_x, obj::ref_y, obj::handle_x, obj::handle_y, obj::rotation, 80, 88, 96, 104, 112, 120})
        g.push_back(rec_f64(info, off));
    return g;
}

void expect_near(const std::vector<double>& a, const std::vector<double>& b, double tol) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        double d = std::fabs(a[i] - b[i]);
        if (i == 4) d = std::fmin(d, std::fabs(d - two_pie));  // a rotation may come back a full turn less
        EXPECT_LE(d, tol) << "value " << i << ": " << a[i] << " vs " << b[i];
    }
}

}  // namespace

TEST_F(Undo, AddedObjectsAreUndoneAndRedoneByteForByte) {
    // A command that registers once and stores several objects.
    const int first = store(line(0, 0, 1, 0));
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(item(), "Undo Drawing");
    EXPECT_EQ(undo_item_enabled(), 1);
    const int a = store(line(1, 1, 2, 2));
    const int t = store(text_object(3, 3), std::string(50, 'q').c_str());
    const int count = number_of_objects;
    std::vector<ObjectRec> made;
    for (int i = a; i < count; ++i) made.push_back(record(i));
    const ObjectRec kept = record(first);

    seen_events().clear();
    do_undo();
    EXPECT_EQ(number_of_objects, a);
    EXPECT_EQ(item(), "Redo Drawing");
    EXPECT_EQ(seen_events(), (std::vector<SeenEvent>{{ev_object_deleted, a}, {ev_object_deleted, t}}));
    nomore_info();
    for (int i = a; i < count; ++i) EXPECT_FALSE(is_live_object(record(i))) << i;
    EXPECT_TRUE(same(record(first), kept));

    do_undo();
    EXPECT_EQ(number_of_objects, count);
    EXPECT_EQ(item(), "Undo Drawing");
    nomore_info();
    for (int i = a; i < count; ++i) EXPECT_TRUE(same(record(i), made[static_cast<std::size_t>(i - a)])) << i;
    EXPECT_EQ(objdeleted, 0);
}

TEST_F(Undo, EachLineOfALineCommandIsItsOwnOperation) {
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    const int a = store(line(0, 0, 1, 0));
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    const int b = store(line(1, 0, 1, 0));
    do_undo();
    EXPECT_EQ(number_of_objects, b);
    EXPECT_TRUE(is_live_object(record(a)));
    do_undo();
    EXPECT_EQ(number_of_objects, b + 1);
    EXPECT_TRUE(is_live_object(record(b)));
}

namespace {

// A record as the table below expects it: whether it is counted, its state
// (live, deleted in place, or an empty slot) and fields worked out by hand.
enum class State { live, deleted, empty };
struct Look {
    bool counted;
    State state;
    std::vector<std::pair<int, double>> f64;  // (offset, value)
    std::vector<std::pair<int, int>> bytes = {};  // (offset, value)
};

void expect_look(int n, const Look& want, const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(number_of_objects, want.counted ? n + 1 : n);
    get_info(static_cast<std::int16_t>(n));
    const std::uint16_t w0 = rec_u16(info, o_word0);
    switch (want.state) {
    case State::live: EXPECT_EQ(w0 & 63, live_object_word); break;
    case State::deleted: EXPECT_EQ(w0 & 63, rk_object); break;
    case State::empty: EXPECT_EQ(w0 & w0_kind_mask, rk_empty); break;
    }
    for (const auto& [offset, value] : want.f64)
        EXPECT_NEAR(rec_f64(info, offset), value, 1e-12) << "f64 at " << offset;
    for (const auto& [offset, value] : want.bytes) EXPECT_EQ(info.b[offset], value) << "byte at " << offset;
}

// When the object the operation works on is stored.
enum class Stored { before, before_deleted, after, never };

}  // namespace

TEST_F(Undo, EachOperationGivesTheHandWorkedRecordThroughUndoAndRedo) {
    using F = std::vector<std::pair<int, double>>;
    const double rt3 = std::sqrt(3.0);
    struct Case {
        const char* what;
        std::int16_t code;
        double r1, r2, r3, r4;
        std::uint16_t b1, b2;
        Stored stored;
        int kind;
        F fields;  // of the stored object, besides its kind and level
        const char* name;
        Look done, undone;
    };
    const Case cases[] = {
        // (3, 1) - (1, 1) = (2, 0), turned 90 degrees: (0, 2), + (1, 1) = (1, 3). A line turns its
        // vector (2, 0) -> (0, 2) and its handle offset (1, 0) -> (0, 1); its rotation stays 0.
        {"rotate a line 90 degrees about (1, 1)", op_rotate, 1, 1, half_pie, 0, 0, 0, Stored::before, ok_line,
         {{obj::ref_x, 3}, {obj::ref_y, 1}, {line::dx, 2}, {line::dy, 0}, {obj::handle_x, 1}, {obj::handle_y, 0}},
         "Rotate",
         {true, State::live, {{obj::ref_x, 1}, {obj::ref_y, 3}, {line::dx, 0}, {line::dy, 2}, {obj::handle_x, 0},
                              {obj::handle_y, 1}, {obj::rotation, 0}}},
         {true, State::live, {{obj::ref_x, 3}, {obj::ref_y, 1}, {line::dx, 2}, {line::dy, 0}, {obj::handle_x, 1},
                              {obj::handle_y, 0}, {obj::rotation, 0}}}},
        // (4, -1) - (2, -1) = (2, 0), turned 30 degrees: (2 cos 30, 2 sin 30) = (sqrt 3, 1),
        // + (2, -1) = (2 + sqrt 3, 0). The rotation 0.25 gains pi/6: 0.7735987755982988; size and
        // handle offset stay.
        {"rotate a rectangle 30 degrees about (2, -1)", op_rotate, 2, -1, pie / 6, 0, 0, 0, Stored::before, ok_rect,
         {{obj::ref_x, 4}, {obj::ref_y, -1}, {obj::rotation, 0.25}, {rect::width, 3}, {rect::height, 1},
          {obj::handle_x, 0.5}, {obj::handle_y, 0.5}},
         "Rotate",
         {true, State::live, {{obj::ref_x, 2 + rt3}, {obj::ref_y, 0}, {obj::rotation, 0.7735987755982988},
                              {rect::width, 3}, {rect::height, 1}, {obj::handle_x, 0.5}, {obj::handle_y, 0.5}}},
         {true, State::live, {{obj::ref_x, 4}, {obj::ref_y, -1}, {obj::rotation, 0.25}, {rect::width, 3},
                              {rect::height, 1}, {obj::handle_x, 0.5}, {obj::handle_y, 0.5}}}},
        // (3, 2) - (1, 1) = (2, 1), x (2, 4) = (4, 4), + (1, 1) = (5, 5); vector (1, -1) x (2, 4) =
        // (2, -4); handle offset (0.5, -0.25) x (2, 4) = (1, -1). Undo scales by (0.5, 0.25).
        {"scale a line by (2, 4) about (1, 1)", op_scale, 2, 4, 1, 1, 1, 1, Stored::before, ok_line,
         {{obj::ref_x, 3}, {obj::ref_y, 2}, {line::dx, 1}, {line::dy, -1}, {obj::handle_x, 0.5}, {obj::handle_y, -0.25}},
         "Scale",
         {true, State::live, {{obj::ref_x, 5}, {obj::ref_y, 5}, {line::dx, 2}, {line::dy, -4}, {obj::handle_x, 1},
                              {obj::handle_y, -1}}},
         {true, State::live, {{obj::ref_x, 3}, {obj::ref_y, 2}, {line::dx, 1}, {line::dy, -1}, {obj::handle_x, 0.5},
                              {obj::handle_y, -0.25}}}},
        // Turned a quarter turn, the factors act along its own axes: (1, 3) - (1, 1) = (0, 2), turned
        // -90 degrees (x, y) -> (y, -x): (2, 0), x (2, 3) = (4, 0), turned back (x, y) -> (-y, x):
        // (0, 4), + (1, 1) = (1, 5). Width 2 x 2 = 4, height 1 x 3 = 3, handle (0.5, 0.25) -> (1, 0.75).
        {"scale a turned rectangle by (2, 3) about (1, 1)", op_scale, 2, 3, 1, 1, 1, 1, Stored::before, ok_rect,
         {{obj::ref_x, 1}, {obj::ref_y, 3}, {obj::rotation, half_pie}, {rect::width, 2}, {rect::height, 1},
          {obj::handle_x, 0.5}, {obj::handle_y, 0.25}},
         "Scale",
         {true, State::live, {{obj::ref_x, 1}, {obj::ref_y, 5}, {obj::rotation, half_pie}, {rect::width, 4},
                              {rect::height, 3}, {obj::handle_x, 1}, {obj::handle_y, 0.75}}},
         {true, State::live, {{obj::ref_x, 1}, {obj::ref_y, 3}, {obj::rotation, half_pie}, {rect::width, 2},
                              {rect::height, 1}, {obj::handle_x, 0.5}, {obj::handle_y, 0.25}}}},
        // Positions only: (4, 2) x (0.5, 3) = (2, 6) about the origin; the vector stays (1, 1).
        // Undo: (2, 6) x (2, 1/3) = (4, 2).
        {"scale only the position by (0.5, 3)", op_scale, 0.5, 3, 0, 0, 1, 0, Stored::before, ok_line,
         {{obj::ref_x, 4}, {obj::ref_y, 2}, {line::dx, 1}, {line::dy, 1}},
         "Scale",
         {true, State::live, {{obj::ref_x, 2}, {obj::ref_y, 6}, {line::dx, 1}, {line::dy, 1}}},
         {true, State::live, {{obj::ref_x, 4}, {obj::ref_y, 2}, {line::dx, 1}, {line::dy, 1}}}},
        // Sizes only: the reference point (5, 5) stays; width 2 x 3 = 6, height -1 x 0.25 = -0.25.
        {"scale only the size by (3, 0.25)", op_scale, 3, 0.25, 0, 0, 0, 1, Stored::before, ok_rect,
         {{obj::ref_x, 5}, {obj::ref_y, 5}, {rect::width, 2}, {rect::height, -1}},
         "Scale",
         {true, State::live, {{obj::ref_x, 5}, {obj::ref_y, 5}, {rect::width, 6}, {rect::height, -0.25}}},
         {true, State::live, {{obj::ref_x, 5}, {obj::ref_y, 5}, {rect::width, 2}, {rect::height, -1}}}},
        // (-1, 1) is (1, -1) and a half turn: vector (1, 2) -> (1, -2) -> (-1, 2), handle (1, 0) ->
        // (1, 0) -> (-1, 0); the reference point (2, 0) -> (-2, 0). Undo is (-1, 1) again.
        {"scale by (-1, 1) mirrors across the y axis", op_scale, -1, 1, 0, 0, 1, 1, Stored::before, ok_line,
         {{obj::ref_x, 2}, {obj::ref_y, 0}, {line::dx, 1}, {line::dy, 2}, {obj::handle_x, 1}, {obj::handle_y, 0}},
         "Scale",
         {true, State::live, {{obj::ref_x, -2}, {obj::ref_y, 0}, {line::dx, -1}, {line::dy, 2}, {obj::handle_x, -1},
                              {obj::handle_y, 0}}},
         {true, State::live, {{obj::ref_x, 2}, {obj::ref_y, 0}, {line::dx, 1}, {line::dy, 2}, {obj::handle_x, 1},
                              {obj::handle_y, 0}}}},
        // Delete clears the live bit in place; the geometry stays for the undelete.
        {"delete", op_delete, 0, 0, 0, 0, 1, 0, Stored::before, ok_line,
         {{obj::ref_x, 1}, {obj::ref_y, 2}, {line::dx, 3}, {line::dy, 4}},
         "Delete/Undelete",
         {true, State::deleted, {{obj::ref_x, 1}, {obj::ref_y, 2}, {line::dx, 3}, {line::dy, 4}}},
         {true, State::live, {{obj::ref_x, 1}, {obj::ref_y, 2}, {line::dx, 3}, {line::dy, 4}}}},
        {"undelete", op_delete, 0, 0, 0, 0, 0, 0, Stored::before_deleted, ok_line,
         {{obj::ref_x, 1}, {obj::ref_y, 2}, {line::dx, 3}, {line::dy, 4}},
         "Delete/Undelete",
         {true, State::live, {{obj::ref_x, 1}, {obj::ref_y, 2}, {line::dx, 3}, {line::dy, 4}}},
         {true, State::deleted, {{obj::ref_x, 1}, {obj::ref_y, 2}, {line::dx, 3}, {line::dy, 4}}}},
        // Registration only: the command stores its object afterwards. Undo deletes it in place
        // beyond the lowered count, Redo counts it again.
        {"perpendicular", op_perpendicular, 0, 0, 0, 0, 0, 0, Stored::after, ok_line,
         {{obj::ref_x, 1}, {obj::ref_y, 2}, {line::dx, 3}, {line::dy, 4}},
         "Parallel/Perpendicular",
         {true, State::live, {{obj::ref_x, 1}, {obj::ref_y, 2}, {line::dx, 3}, {line::dy, 4}}},
         {false, State::deleted, {{obj::ref_x, 1}, {obj::ref_y, 2}, {line::dx, 3}, {line::dy, 4}}}},
        {"parallel", op_parallel, 0, 0, 0, 0, 0, 0, Stored::after, ok_line,
         {{obj::ref_x, -1}, {obj::ref_y, 0.5}, {line::dx, 0}, {line::dy, 7}},
         "Parallel",
         {true, State::live, {{obj::ref_x, -1}, {obj::ref_y, 0.5}, {line::dx, 0}, {line::dy, 7}}},
         {false, State::deleted, {{obj::ref_x, -1}, {obj::ref_y, 0.5}, {line::dx, 0}, {line::dy, 7}}}},
        {"an added rectangle", op_add, 0, 0, 0, 0, 0, 0, Stored::after, ok_rect,
         {{obj::ref_x, 6}, {obj::ref_y, -2}, {rect::width, 1.5}, {rect::height, 2.5}},
         "Drawing",
         {true, State::live, {{obj::ref_x, 6}, {obj::ref_y, -2}, {rect::width, 1.5}, {rect::height, 2.5}}},
         {false, State::deleted, {{obj::ref_x, 6}, {obj::ref_y, -2}, {rect::width, 1.5}, {rect::height, 2.5}}}},
        // The line from (1, 2) along (3, 4) in the properties' level 1, width 2 and style 4; Undo
        // empties the slot, Redo makes it again.
        {"tangent line", op_tangent, 1, 2, 3, 4, 0, 0, Stored::never, ok_line, {}, "Tangent Line",
         {true, State::live, {{obj::ref_x, 1}, {obj::ref_y, 2}, {line::dx, 3}, {line::dy, 4}},
          {{obj::level, 1}, {obj::width, 2}, {obj::style, 4}}},
         {false, State::empty, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ObjectRec o = object(c.kind);
        for (const auto& [offset, value] : c.fields) set_rec_f64(o, offset, value);
        const int n = number_of_objects;
        if (c.stored == Stored::before || c.stored == Stored::before_deleted) {
            indx = static_cast<std::int16_t>(store(o));
            ASSERT_EQ(indx, n);
            if (c.stored == Stored::before_deleted) {
                get_info(indx);
                delete_object(indx, 0);
            }
        }
        do_operation(c.code, c.r1, c.r2, c.r3, c.r4, c.b1, c.b2);
        if (c.stored == Stored::after) {
            ASSERT_EQ(store(o), n);
        }
        EXPECT_EQ(obj_kind(record(n)), c.kind);
        expect_look(n, c.done, "done");
        EXPECT_EQ(item(), std::string("Undo ") + c.name);
        do_undo();
        expect_look(n, c.undone, "undone");
        EXPECT_EQ(item(), std::string("Redo ") + c.name);
        do_undo();
        expect_look(n, c.done, "redone");
        EXPECT_EQ(item(), std::string("Undo ") + c.name);
        do_undo();
        expect_look(n, c.undone, "undone again");
    }
}

TEST_F(Undo, TransformsAreUndoneByTheirInverse) {
    struct Case {
        const char* what;
        std::int16_t code;
        double r1, r2, r3, r4;
        std::uint16_t b1, b2;
        const char* name;
    };
    const Case cases[] = {
        {"rotate 30 degrees about a pivot", op_rotate, 2, -1, pie / 6, 0, 0, 0, "Rotate"},
        {"rotate a whole turn and more", op_rotate, 0, 0, 7.5, 0, 0, 0, "Rotate"},
        {"scale 2, 4 about a point", op_scale, 2, 4, 1, 1, 1, 1, "Scale"},
        {"scale positions only", op_scale, 0.5, 3, -2, 5, 1, 0, "Scale"},
        {"scale sizes only", op_scale, 3, 0.25, 0, 0, 0, 1, "Scale"},
    };
    const ObjectRec objects[] = {line(1, 2, 3, -4), object(ok_rect, -3, 4), text_object(5, 6)};
    for (const Case& c : cases) {
        for (const ObjectRec& o : objects) {
            SCOPED_TRACE(testing::Message() << c.what << ", kind " << obj_kind(o));
            ObjectRec r = o;
            set_handle(0.5, -0.25, r);
            set_rec_f64(r, obj::rotation, obj_kind(r) == ok_line ? 0 : 0.3);
            set_rec_f64(r, 80, 2);
            set_rec_f64(r, 88, obj_kind(r) == ok_text ? 0 : 1.5);
            if (obj_kind(r) == ok_text) {
                set_rec_f32(r, text::char_width, 1);
                set_rec_f32(r, text::char_height, 2);
            }
            indx = static_cast<std::int16_t>(store(r));
            const std::vector<double> before = geometry(indx);
            do_operation(c.code, c.r1, c.r2, c.r3, c.r4, c.b1, c.b2);
            EXPECT_EQ(item(), std::string("Undo ") + c.name);
            const std::vector<double> done = geometry(indx);
            do_undo();
            EXPECT_EQ(item(), std::string("Redo ") + c.name);
            expect_near(geometry(indx), before, 1e-9);
            do_undo();
            expect_near(geometry(indx), done, 1e-9);
            do_undo();
            expect_near(geometry(indx), before, 1e-9);
        }
    }
}

TEST_F(Undo, DeleteToggles) {
    indx = static_cast<std::int16_t>(store(line(0, 0, 1, 1)));
    const ObjectRec before = record(indx);
    const std::int16_t n = indx;
    do_operation(op_delete, 0, 0, 0, 0, 1, 0);
    EXPECT_EQ(item(), "Undo Delete/Undelete");
    EXPECT_FALSE(is_live_object(record(n)));
    EXPECT_EQ(objdeleted, 1);
    for (int i = 0; i < 2; ++i) {
        do_undo();
        EXPECT_TRUE(same(record(n), before));
        EXPECT_EQ(objdeleted, 0);
        do_undo();
        EXPECT_FALSE(is_live_object(record(n)));
    }
}

TEST_F(Undo, WhileIdleTheCurrentObjectFollowsDeleteAndUndelete) {
    idle = 1;
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(store(line(i, 0, 1, 1)), first_object_slot + i);
        put_on_screen(first_object_slot + i, 1);
    }
    indx = 37;
    do_operation(op_delete, 0, 0, 0, 0, 1, 0);
    EXPECT_EQ(indx, 36);  // the deleted one cannot stay current
    do_undo();
    EXPECT_EQ(indx, 37);  // the undeleted one is current again
    EXPECT_TRUE(is_live_object(record(37)));
    idle = 0;
}

TEST_F(Undo, DeletingTheLastDrawnObjectCanBeUndone) {
    idle = 1;
    const std::int16_t n = static_cast<std::int16_t>(store(line(0, 0, 1, 1)));
    put_on_screen(n, 1);
    indx = n;
    do_operation(op_delete, 0, 0, 0, 0, 1, 0);
    EXPECT_EQ(there_are_objects(), 0);
    EXPECT_TRUE(undo_item_enabled());
    EXPECT_EQ(item(), "Undo Delete/Undelete");
    do_undo();
    EXPECT_TRUE(is_live_object(record(n)));
    EXPECT_EQ(item(), "Redo Delete/Undelete");
    idle = 0;
}

TEST_F(Undo, TheTangentLineIsMadeAgainOnRedo) {
    objopts->new_arrow = 1;
    do_operation(op_tangent, 1, 2, 3, 4, 0, 0);
    const int n = number_of_objects - 1;
    const ObjectRec made = record(n);
    EXPECT_EQ(obj_kind(made), ok_line);
    EXPECT_EQ(rec_f64(made, line::dy), 4);
    EXPECT_EQ(obj_colour(made), props_defs.colour);
    EXPECT_EQ(obj_endmark(made), 1);
    EXPECT_EQ(item(), "Undo Tangent Line");
    do_undo();
    EXPECT_EQ(number_of_objects, n);
    EXPECT_EQ(rec_kind(record(n)), rk_empty);
    do_undo();
    EXPECT_EQ(number_of_objects, n + 1);
    EXPECT_TRUE(same(record(n), made));
}

TEST_F(Undo, ANewOperationLosesTheRedo) {
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    const int a = store(line(0, 0, 1, 0));
    do_undo();
    EXPECT_EQ(item(), "Redo Drawing");
    indx = static_cast<std::int16_t>(store(line(5, 5, 1, 0)));  // lands where the undone line was
    EXPECT_EQ(indx, a);
    const std::vector<double> before = geometry(indx);
    do_operation(op_rotate, 0, 0, 1, 0, 0, 0);
    EXPECT_EQ(item(), "Undo Rotate");
    do_undo();
    do_undo();
    do_undo();  // undo, redo, undo: the rotation, never the add
    expect_near(geometry(indx), before, 1e-9);
    EXPECT_EQ(number_of_objects, a + 1);
}

TEST_F(Undo, OperationsWhoseCommandsDoNotExistAreNotRemembered) {
    indx = static_cast<std::int16_t>(store(line(0, 0, 1, 0)));
    const ObjectRec before = record(indx);
    do_operation(op_rotate, 0, 0, 1, 0, 0, 0);
    const std::int16_t codes[] = {op_move, op_copy, op_mirror, op_explode, op_extend,
                                  op_fillet,     op_isometric, 5, 99};
    for (std::int16_t code : codes) {
        do_operation(code, 1, 1, 1, 1, 1, 1);
        EXPECT_EQ(undo_item_enabled(), 0) << code;
        EXPECT_EQ(item(), "Undo ") << code;
    }
    do_operation(op_scale, 0, 2, 0, 0, 1, 1);  // a zero factor could never be undone
    EXPECT_EQ(undo_item_enabled(), 0);
    do_undo();
    EXPECT_FALSE(same(record(indx), before));  // the rotation stays done
    EXPECT_EQ(number_of_objects, indx + 1);
}

TEST_F(Undo, AStoppedGroupOperationRemembersOnlyWhatItChanged) {
    // Three members; a module ends the loop while the second is deleted.
    macgroup = 1;
    int members[3];
    for (int i = 0; i < 3; ++i) {
        members[i] = store(line(i, 0, 1, 0));
        put_in_group(members[i], 1);
    }
    objs_in_grp = 3;
    module_table[1] = [](CustomEventRec* e) {
        if (e->code == ev_object_deleted && e->a == first_object_slot + 1) quit = 1;
    };
    seen_events().clear();
    do_operation(op_delete, 0, 0, 0, 0, 1, 0);
    module_table[1] = nullptr;
    EXPECT_FALSE(is_live_object(record(members[1])));
    EXPECT_TRUE(is_live_object(record(members[2])));
    EXPECT_EQ(grpdelok, 1);

    seen_events().clear();
    do_undo();
    EXPECT_EQ(seen_events(),
              (std::vector<SeenEvent>{{ev_object_undeleted, members[0]}, {ev_object_undeleted, members[1]}}));
    EXPECT_EQ(grpdelok, 0);
    seen_events().clear();
    do_undo();
    EXPECT_EQ(seen_events(),
              (std::vector<SeenEvent>{{ev_object_deleted, members[0]}, {ev_object_deleted, members[1]}}));
    EXPECT_TRUE(is_live_object(record(members[2])));
}

TEST_F(Undo, AnOperationThatChangedNothingIsForgotten) {
    indx = static_cast<std::int16_t>(store(line(0, 0, 1, 0)));
    get_info(indx);
    delete_object(indx, 0);
    do_operation(op_delete, 0, 0, 0, 0, 1, 0);  // the current object is already gone
    EXPECT_EQ(undo_item_enabled(), 0);
    // An object on a locked level is left alone as well.
    const std::int16_t locked = static_cast<std::int16_t>(store(line(0, 0, 1, 0)));
    get_info(locked);
    info.b[obj::level] = 2;
    modified = 1;
    set_LevelVisible(2, 1);
    set_LevelLocked(2, 1);
    indx = locked;
    do_operation(op_rotate, 0, 0, 1, 0, 0, 0);
    EXPECT_EQ(undo_item_enabled(), 0);
    EXPECT_EQ(rec_f64(record(locked), line::dx), 1);
}

TEST_F(Undo, TheGroupMenuDeletesTheCurrentObjectOrSaysNothingIsSelected) {
    indx = static_cast<std::int16_t>(store(line(0, 0, 1, 0)));
    const std::int16_t n = indx;
    group(7);
    EXPECT_FALSE(is_live_object(record(n)));
    EXPECT_EQ(item(), "Undo Delete/Undelete");
    do_undo();
    EXPECT_TRUE(is_live_object(record(n)));

    macgroup = 1;
    objs_in_grp = 0;
    answers().expect("Nothing is selected");
    group(7);
    EXPECT_TRUE(is_live_object(record(n)));
}
