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
    void TearDown() override {
        termlist();
        Renderer::TearDown();
    }
};

TEST_F(ListBytes, TheRecordingWritesTheSameBytesAtEveryView) {
    for (const ObjectRec& r : drav::test::mixed_objects(4000, 21)) dir_put_info(number_of_objects++, r);
    nomore_info();
    struct View {
        double xl, xr, yb;
        std::uint64_t hash;
        int records;
    };
    const View views[] = {
        {0, 20, 0, 0xb1a79486add0c075ull, 65738},     // the whole drawing
        {6, 8.5, 3, 0x0f4b057ebe69c78cull, 102426},   // close: long dashes, most objects cut by the edges
        {-60, 90, -30, 0x2f6ed9438ea0a557ull, 28184}, // far: dashes shorter than a pixel
        {0, 20, 0, 0xb1a79486add0c075ull, 65738},     // back again: nothing kept from the views before
    };
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

}  // namespace
