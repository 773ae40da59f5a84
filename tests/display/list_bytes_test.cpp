// What the recording writes into the display list, pinned byte for byte:
// a drawing of every kind, colour, width, style, marker and arrow, recorded
// at a whole view, a close view and a far one. The values were taken from
// the recording before it was made faster; a faster recording must write
// the very same bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <vector>

#include "display/display_list.h"
#include "display/line_styles.h"
#include "display/list_view.h"
#include "display/redraw.h"
#include "platform/core/process.h"
#include "store/levels.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/units.h"
#include "store/workfile.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/workfile.h"

namespace {

using namespace drav;

// FNV-1a over every control entry and every primitive record written.
std::uint64_t list_hash() {
    std::uint64_t h = 14695981039346656037ull;
    const auto add = [&](const std::uint8_t* p, int n) {
        for (int k = 0; k < n; ++k) h = (h ^ p[k]) * 1099511628211ull;
    };
    for (int i = first_object_slot; i < number_of_objects; ++i)
        if (const SegCtrlRec* e = seg_entry(i)) add(e->b, sizeof e->b);
    const int blocks = seg_blocks_used();
    for (int b = 0; b < blocks; ++b) {
        const int recs = b == blocks - 1 ? seg_records_in_last_block() : seg_recs_per_block;
        for (int r = 0; r < recs; ++r) add(seg_record(b, r)->b, 10);
    }
    return h;
}

class ListBytes : public drav::test::Renderer {
protected:
    void SetUp() override {
        const auto folder = drav::test::use_data_folder();
        drav::test::start_small_drawing(3);
        set_work_sizes(31000, 50, 20);
        ASSERT_EQ(setup_workfile(), 1);
        ASSERT_EQ(init_selection_sets(), 1);
        Renderer::SetUp();
        std::filesystem::copy_file(plat::bundle_dir() / line_styles_file, folder / line_styles_file,
                                   std::filesystem::copy_options::overwrite_existing);
        openlinstk();
        ASSERT_EQ(patopen, 1);
        vmlistinit();
        swaper = sw_wide_strokes | sw_midmarks | sw_templates;
        init_worldunits();
        units_defs.units_code = 1;
        output_defs.plot_scale = 1;
        output_defs.width_size = 0.1;
        output_defs.width_factor = 1;
        initlist();
    }

    struct View {
        double xl, xr, yb;
        std::uint64_t hash;
        int records;
    };
    // Records the stored objects at each view and checks the whole list.
    template <std::size_t N>
    static void record_at(const View (&views)[N]) {
        for (const View& v : views) {
            change_window(v.xl, v.xr, v.yb, aspectratio, 1);
            reset_on_screen = 1;
            show_objects(1, 1, first_object_slot);
            ASSERT_EQ(listavail(), 1);
            const int records = (seg_blocks_used() - 1) * seg_recs_per_block + seg_records_in_last_block();
            EXPECT_EQ(list_hash(), v.hash) << v.xl << " " << v.xr;
            EXPECT_EQ(records, v.records) << v.xl << " " << v.xr;
        }
    }

    void TearDown() override {
        termlist();
        Renderer::TearDown();
    }
};

TEST_F(ListBytes, TheRecordingWritesTheSameBytesAtEveryView) {
    for (const ObjectRec& r : drav::test::mixed_objects(4000, 21)) dir_put_info(number_of_objects++, r);
    nomore_info();
    const View views[] = {
        {0, 20, 0, 0xb1a79486add0c075ull, 65738},     // the whole drawing
        {6, 8.5, 3, 0x0f4b057ebe69c78cull, 102426},   // close: long dashes, most objects cut by the edges
        {-60, 90, -30, 0x2f6ed9438ea0a557ull, 28184}, // far: dashes shorter than a pixel
        {0, 20, 0, 0xb1a79486add0c075ull, 65738},     // back again: nothing kept from the views before
    };
    record_at(views);
}

// The figures drawn as one polyline: turned rectangles, polygons of ten
// sides and more (their vertices computed), circles and arcs seen so close
// that they have more sides than one run holds, wide lines, points and
// arrows drawn as outlines.
std::vector<ObjectRec> outlines(int n, unsigned seed) {
    drav::test::Scatter s(seed);
    std::mt19937& rng = s.rng;
    std::vector<ObjectRec> v;
    for (int i = 0; i < n; ++i) {
        const double x = s.x(), y = s.y();
        ObjectRec r;
        switch (i % 6) {
        case 0: r = drav::test::rect_rec(x, y, s.len(), s.len(), s.angle()); break;
        case 1: r = drav::test::ellipse_rec(x, y, s.size(), s.size(), s.angle(), 0, 0, false, 10 + i % 40); break;
        case 2: r = drav::test::ellipse_rec(x, y, 4 * s.size(), 4 * s.size(), s.angle(), s.angle(), s.angle(), i % 4 == 2); break;
        case 3: r = drav::test::line_rec(x, y, s.len(), s.len()); break;
        case 4:
            r = drav::test::object(ok_point, x, y);
            set_rec_f64(r, obj::rotation, s.angle());
            break;
        default: r = drav::test::bezier_rec(x, y, s.len(), s.len(), s.len(), s.len(), s.len(), s.len()); break;
        }
        set_obj_density_marks(r, 0, rng() % 2, rng() % 2);
        r.b[obj::width] = static_cast<std::uint8_t>(rng() % 3 ? 1 + rng() % 12 : 1);
        set_obj_kind_colour(r, obj_kind(r), static_cast<int>(rng() % 256));
        r.b[obj::style] = static_cast<std::uint8_t>(rng() % 2 ? 1 : 1 + rng() % 9);
        v.push_back(r);
    }
    return v;
}

TEST_F(ListBytes, OutlinesAndManySidedFiguresWriteTheSameBytes) {
    for (const ObjectRec& r : outlines(1200, 5)) dir_put_info(number_of_objects++, r);
    nomore_info();
    const View views[] = {
        {0, 20, 0, 0x7d089ca1f25a3be2ull, 28756},    // the whole drawing
        {9, 9.6, 4, 0xa0a20b4f7c426e0eull, 46339},   // very close: circles of a hundred sides and more
        {-60, 90, -30, 0x46248bdc973a2418ull, 18080}, // far
    };
    record_at(views);
}

}  // namespace
