#include <gtest/gtest.h>

#include "base/idle.h"
#include "store/object_walk.h"
#include "tests/store/drawing_fixture.h"

namespace drav {
namespace {

class Idle : public test::Drawing {
protected:
    // Three lines at 36, 37 and 38, all drawn in the window.
    void three_lines(int level_of_last) {
        for (int i = 0; i < 3; ++i) {
            ObjectRec r = line(i, 0, 1, 1);
            if (i == 2) r.b[obj::level] = static_cast<std::uint8_t>(level_of_last);
            ASSERT_EQ(store(r), first_object_slot + i);
            put_on_screen(first_object_slot + i, 1);
        }
        set_LevelVisible(2, 1);
    }
};

TEST_F(Idle, OkindxMovesOffObjectsThatCannotBePicked) {
    three_lines(2);
    set_LevelLocked(2, 1);
    std::int16_t n = 38;
    EXPECT_EQ(okindx(&n), 1);
    EXPECT_EQ(n, 37);           // the last valid one
    EXPECT_EQ(prev_index, 37);  // the accepted record is left loaded
    n = 80;                     // beyond the drawing, as after an erase at the end
    EXPECT_EQ(okindx(&n), 1);
    EXPECT_EQ(n, 37);           // the last valid one
}

TEST_F(Idle, OkindxWithNothingPickableKeepsTheIndexInRange) {
    three_lines(1);
    set_LevelLocked(1, 1);
    std::int16_t n = 37;
    EXPECT_EQ(okindx(&n), 0);
    EXPECT_GE(n, 36);
    EXPECT_LT(n, number_of_objects);
    for (int i = 36; i < 39; ++i) put_on_screen(i, 0);  // none drawn in the window
    n = 500;
    EXPECT_EQ(okindx(&n), 0);
    EXPECT_EQ(n, 36);
}

TEST_F(Idle, TheWatchCounterNeverGoesBelowZero) {
    watch_on();
    watch_on();
    watch_off();
    EXPECT_EQ(watchon, 1);
    watch_off();
    watch_off();
    EXPECT_EQ(watch_counter, 0);
    EXPECT_EQ(watchon, 0);
    watch_on();
    clear_watch();
    EXPECT_EQ(watch_counter, 0);
}

}  // namespace
}  // namespace drav
