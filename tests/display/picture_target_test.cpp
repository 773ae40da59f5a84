// The renderer's picture target: which objects the export brackets with
// group comments, and what a recorded selection holds.
#include <gtest/gtest.h>

#include <vector>

#include "display/display_list.h"
#include "display/line_styles.h"
#include "display/picture_target.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/workfile.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/workfile.h"

namespace {

using namespace drav;
using namespace drav::test;

TEST(PictureBracket, TheExportBracketsWhatOnePrimitiveCannotCarry) {
    ObjectRec arrow = line_rec(0, 0, 1, 1);
    set_obj_density_marks(arrow, 0, 1, 0);
    ObjectRec dashed = line_rec(0, 0, 1, 1);
    dashed.b[obj::style] = 3;
    const struct {
        const char* what;
        ObjectRec rec;
        int emit, bracketed;
    } cases[] = {
        {"solid line", line_rec(0, 0, 1, 1), 0, 0},
        {"line with an arrowhead", arrow, 0, 1},
        {"dashed line", dashed, 1, 1},
        {"point", object(ok_point, 1, 1), 0, 0},
        {"rectangle at 90", rect_rec(0, 0, 2, 1, half_pie), 0, 0},
        {"rectangle at 30", rect_rec(0, 0, 2, 1, 30 * pie / 180), 1, 1},
        {"circle", ellipse_rec(0, 0, 1, 1, 0.3), 0, 0},
        {"ellipse at 0", ellipse_rec(0, 0, 2, 1), 0, 0},
        {"ellipse at 45", ellipse_rec(0, 0, 2, 1, pie / 4), 1, 1},
        {"hexagon", ellipse_rec(0, 0, 1, 1, 0, 0, 0, false, 6), 1, 1},
        {"circular arc at 45", ellipse_rec(0, 0, 1, 1, pie / 4, 0.2, 1.5), 0, 0},
        {"elliptical arc at 45", ellipse_rec(0, 0, 2, 1, pie / 4, 0.2, 1.5), 1, 1},
        {"elliptical arc at 0", ellipse_rec(0, 0, 2, 1, 0, 0.2, 1.5), 0, 0},
        {"text", text_rec(0, 0, 0.2, 0.3), 1, 1},
    };
    solidstyle = 1;
    for (const auto& c : cases) {
        EXPECT_EQ(emitPICTcomment(c.rec), c.emit) << c.what;
        EXPECT_EQ(pict_bracketed(c.rec), c.bracketed) << c.what;
    }
}

class PictureTarget : public Renderer {
protected:
    void SetUp() override {
        use_data_folder();
        start_small_drawing(3);
        set_work_sizes(31000, 50, 20);
        ASSERT_EQ(setup_workfile(), 1);
        ASSERT_EQ(init_selection_sets(), 1);
        Renderer::SetUp();
        openlinstk();
        change_window(0, 20, 0, aspectratio, 1);
    }
    // Stored and shown, unless `shown` is false.
    static std::int16_t put(const ObjectRec& r, bool shown = true) {
        const std::int16_t n = number_of_objects++;
        dir_put_info(n, r);
        nomore_info();
        put_on_screen(n, shown ? 1 : 0);
        return n;
    }
    // The recorded lines and group comments, in order: "L h1 v1 h2 v2", "<", ">".
    static std::vector<std::string> outline(const plat::Picture& p) {
        std::vector<std::string> out;
        for (const plat::PictOp& op : p.ops) {
            const auto w = [&](int at) {
                return static_cast<std::int16_t>(op.data[at] << 8 | op.data[at + 1]);
            };
            if (op.opcode == plat::pict::op_line)
                out.push_back("L " + std::to_string(w(2)) + " " + std::to_string(w(0)) + " " +
                              std::to_string(w(6)) + " " + std::to_string(w(4)));
            if (op.opcode == plat::pict::op_short_comment && w(0) == pic_group_begin) out.push_back("<");
            if (op.opcode == plat::pict::op_short_comment && w(0) == pic_group_end) out.push_back(">");
        }
        return out;
    }
};

TEST_F(PictureTarget, TheCurrentObjectAloneIsRecordedAtItsPixels) {
    put(line_rec(5, 5, 1, 1));
    indx = put(line_rec(1, 1, 3, 2));
    macgroup = 0;
    const std::vector<std::uint32_t> screen = myCGrafPtr->pixels();
    const plat::Picture p = selection_picture();
    // World (x, y) is pixel (10 x, 100 - 10 y).
    EXPECT_EQ(outline(p), (std::vector<std::string>{"L 10 90 40 70"}));
    EXPECT_EQ(p.frame, offRect);
    EXPECT_TRUE(myCGrafPtr->pixels() == screen);
    EXPECT_EQ(printing, 0);
    EXPECT_EQ(clip_it, 1);
}

TEST_F(PictureTarget, GroupModeRecordsTheGroupWithItsBrackets) {
    const std::int16_t a = put(line_rec(1, 1, 3, 0));
    put(line_rec(5, 5, 1, 1));
    ObjectRec dashed = line_rec(2, 8, 0, -2);
    dashed.b[obj::style] = 3;
    const std::int16_t b = put(dashed);
    put_in_group(a, 1);
    put_in_group(b, 1);
    macgroup = 1;
    const std::vector<std::string> o = outline(selection_picture());
    ASSERT_GE(o.size(), 4u);
    EXPECT_EQ(o[0], "L 10 90 40 90");
    EXPECT_EQ(o[1], "<");
    EXPECT_EQ(o.back(), ">");
    // The dashes lie on the dashed line, nothing else between the brackets.
    for (std::size_t i = 2; i + 1 < o.size(); ++i) EXPECT_EQ(o[i].substr(0, 5), "L 20 ") << o[i];
}

TEST_F(PictureTarget, NothingShownAndAnEmptyGroupGiveAnEmptyPicture) {
    put(line_rec(1, 1, 3, 0), false);
    indx = first_object_slot;
    macgroup = 0;
    EXPECT_TRUE(outline(selection_picture()).empty());
    macgroup = 1;
    EXPECT_TRUE(outline(selection_picture()).empty());
}

}  // namespace
