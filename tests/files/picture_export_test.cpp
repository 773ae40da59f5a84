// Picture export: picture files written through the renderer's picture
// target read back as the objects that were drawn, at their pixels taken as
// points; failed writes leave the old file; drawing files carry their
// preview pictures.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "base/messages.h"
#include "base/tool_options.h"
#include "files/drawing_writer.h"
#include "files/file_commands.h"
#include "files/picture_export.h"
#include "files/picture_import.h"
#include "files/preview_pictures.h"
#include "platform/core/forks.h"
#include "store/current_drawing.h"
#include "store/record_ops.h"
#include "store/selection_state.h"
#include "store/strings.h"
#include "tests/files/picture_fixture.h"

namespace drav::test {
namespace {

// World lengths are 10 pixels a unit on this screen; a pixel comes back as a point.
constexpr double px_pt = 10.0 / 72;
constexpr double pt = 1.0 / 72;

PictBytes bytes_of(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int temporaries() {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(scratch_dir()))
        if (e.path().filename().string().find(".saving") != std::string::npos) ++n;
    return n;
}

class PictureExport : public PictureFiles {
protected:
    void SetUp() override {
        PictureFiles::SetUp();
        plat::fail_writes_after(-1);
        savegroup = 0;
        dosfile = 0;
        save_before_rename = nullptr;
        GetMyLocalCString(current_drawing.name, tbl_names, 1);
        current_drawing.ref = FSRef{};
        ObjectRec l = line(1, 1, 3, 2);
        l.b[obj::style] = 1;
        line_ = store(l);
        ObjectRec r = object(ok_rect, 5, 2);
        r.b[obj::style] = 1;
        set_rec_f64(r, rect::width, 3);
        set_rec_f64(r, rect::height, 2);
        rect_ = store(r);
    }
    void TearDown() override {
        plat::fail_writes_after(-1);
        PictureFiles::TearDown();
    }
    int line_ = 0, rect_ = 0;
};

TEST_F(PictureExport, AnExportedFileReadsBackAsTheSameLinesAndRectangles) {
    ASSERT_EQ(save_pict(FSRef{scratch_dir()}, "out.pict", 0), 1);
    const PictBytes file = bytes_of(path("out.pict"));
    ASSERT_GT(file.size(), plat::pict_file_header_bytes);
    EXPECT_EQ(PictBytes(file.begin(), file.begin() + 512), PictBytes(512, 0));
    std::uint32_t type = 0, creator = 0;
    EXPECT_EQ(plat::get_type_creator(FSRef{path("out.pict")}, &type, &creator), plat::noErr);
    EXPECT_EQ(type, four_cc("PICT"));
    EXPECT_EQ(creator, four_cc("MDRW"));
    EXPECT_EQ(temporaries(), 0);
    plat::Picture p;
    ASSERT_EQ(plat::read_picture(std::span(file).subspan(512), &p), 1);
    ASSERT_GE(p.ops.size(), 2u);
    EXPECT_EQ(p.ops.front(), (plat::PictOp{plat::pict::op_short_comment, words({130})}));
    EXPECT_EQ(p.ops.back(), (plat::PictOp{plat::pict::op_short_comment, words({131})}));

    const std::int16_t first = number_of_objects;
    ASSERT_EQ(open_pict(FSRef{path("out.pict")}, 0, 0, "out.pict", 1), 1);
    const auto objs = live_from(first);
    ASSERT_EQ(objs.size(), 2u);
    // The line from (1, 1) by (3, 2): pixels (10, 90) to (40, 70).
    EXPECT_EQ(obj_kind(objs[0]), ok_line);
    EXPECT_NEAR(rec_f64(objs[0], obj::ref_x), 1 * px_pt, 1e-9);
    EXPECT_NEAR(rec_f64(objs[0], obj::ref_y), 1 * px_pt, 1e-9);
    EXPECT_NEAR(rec_f64(objs[0], line::dx), 3 * px_pt, 1e-9);
    EXPECT_NEAR(rec_f64(objs[0], line::dy), 2 * px_pt, 1e-9);
    // The rectangle (5, 2) 3 x 2: framed on pixels 50..80 and 60..80 down, the
    // frame's right and bottom one past its last pixels.
    EXPECT_EQ(obj_kind(objs[1]), ok_rect);
    EXPECT_NEAR(rec_f64(objs[1], obj::ref_x), 50 * pt, 1e-9);
    EXPECT_NEAR(rec_f64(objs[1], obj::ref_y), 40 * pt, 1e-9);
    EXPECT_NEAR(rec_f64(objs[1], rect::width), 31 * pt, 1e-9);
    EXPECT_NEAR(rec_f64(objs[1], rect::height), -21 * pt, 1e-9);
}

TEST_F(PictureExport, TheGroupOnlyHoldsTheGroup) {
    put_in_group(rect_, 1);
    ASSERT_EQ(save_pict(FSRef{scratch_dir()}, "group.pict", 1), 1);
    const std::int16_t first = number_of_objects;
    ASSERT_EQ(open_pict(FSRef{path("group.pict")}, 0, 0, "group.pict", 1), 1);
    const auto objs = live_from(first);
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_EQ(obj_kind(objs[0]), ok_rect);
}

TEST_F(PictureExport, AFailedWriteIsReportedAndLeavesTheOldFile) {
    std::ofstream(path("out.pict"), std::ios::binary) << "old picture";
    answers().expect("The picture was not saved: the disk is full");
    plat::fail_writes_after(100);
    EXPECT_EQ(save_pict(FSRef{scratch_dir()}, "out.pict", 0), 0);
    plat::fail_writes_after(-1);
    EXPECT_EQ(bytes_of(path("out.pict")), (PictBytes{'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}));
    EXPECT_FALSE(plat::file_exists(plat::companion_ref(FSRef{path("out.pict")})));
    EXPECT_EQ(temporaries(), 0);
    answers().expect("the folder was not found");
    EXPECT_EQ(save_pict(FSRef{scratch_dir() / "gone"}, "out.pict", 0), 0);
}

// Counts the black bits of a preview's bitmap (one row-packed or unpacked op).
int black_bits(const plat::Picture& p) {
    int bits = 0;
    for (const plat::PictOp& op : p.ops) {
        if (op.opcode != plat::pict::op_pack_bits_rect) continue;
        const auto& d = op.data;
        const std::size_t row_bytes = static_cast<std::size_t>(d[0] << 8 | d[1]);
        const int rows = static_cast<std::int16_t>(d[6] << 8 | d[7]);
        std::size_t at = 28;
        for (int r = 0; r < rows; ++r) {
            std::vector<std::uint8_t> row;
            if (row_bytes < 8) {
                row.assign(d.begin() + static_cast<long>(at), d.begin() + static_cast<long>(at + row_bytes));
                at += row_bytes;
            } else {
                std::size_t n = row_bytes > 250 ? static_cast<std::size_t>(d[at] << 8 | d[at + 1]) : d[at];
                at += row_bytes > 250 ? 2 : 1;
                for (const std::size_t end = at + n; at < end;) {
                    const int c = static_cast<std::int8_t>(d[at++]);
                    if (c >= 0) {
                        for (int i = 0; i <= c; ++i) row.push_back(d[at++]);
                    } else {
                        row.insert(row.end(), static_cast<std::size_t>(1 - c), d[at++]);
                    }
                }
            }
            for (std::uint8_t b : row) bits += __builtin_popcount(b);
        }
    }
    return bits;
}

const plat::Resource* preview(const plat::ResourceFork& fork, std::int16_t id, plat::Picture* out) {
    const plat::Resource* r = fork.find(four_cc("PICT"), id);
    if (r) {
        EXPECT_EQ(plat::read_picture(r->data, out), 1);
    }
    return r;
}

TEST_F(PictureExport, ASaveWithThePreviewOptionStoresBothPreviewsAndTheDrawingReadsBack) {
    opts_.save_preview = 1;
    const std::vector<ObjectRec> before = objects();
    FSRef file;
    ASSERT_EQ(save(FSRef{scratch_dir()}, "plan.drw", &file), 1);
    plat::ResourceFork fork;
    ASSERT_EQ(fork.load(FSRef{path("plan.drw")}), plat::noErr);
    EXPECT_TRUE(fork.find(levels_resource_type, levels_resource_id));
    plat::Picture small, large;
    const plat::Resource* s = preview(fork, small_preview_id, &small);
    const plat::Resource* l = preview(fork, large_preview_id, &large);
    ASSERT_TRUE(s);
    ASSERT_TRUE(l);
    EXPECT_EQ(s->name, "smallpict");
    EXPECT_EQ(l->name, "largepict");
    // Item 17 of dialog 443 is 120 x 80; the large one is the drawing area.
    EXPECT_EQ(small.frame, (plat::Rect{0, 0, 80, 120}));
    EXPECT_EQ(large.frame, (plat::Rect{0, 0, static_cast<std::int16_t>(drawRect.bottom - drawRect.top),
                                       static_cast<std::int16_t>(drawRect.right - drawRect.left)}));
    EXPECT_GT(black_bits(small), 0);
    EXPECT_GT(black_bits(large), black_bits(small));

    closesegs();
    ASSERT_EQ(open_raw(path("plan.drw"), false), 1);
    const std::vector<ObjectRec> after = objects();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) EXPECT_TRUE(same(after[i], before[i])) << i;
}

TEST_F(PictureExport, WithoutTheOptionOnlyTheSmallPreviewAndAGroupShowsItsMembers) {
    opts_.save_preview = 0;
    put_in_group(line_, 1);
    savegroup = 1;
    FSRef file;
    ASSERT_EQ(save(FSRef{scratch_dir()}, "part.drw", &file), 1);
    savegroup = 0;
    plat::ResourceFork fork;
    ASSERT_EQ(fork.load(FSRef{path("part.drw")}), plat::noErr);
    plat::Picture small;
    ASSERT_TRUE(preview(fork, small_preview_id, &small));
    EXPECT_FALSE(fork.find(four_cc("PICT"), large_preview_id));
    const int group_bits = black_bits(small);
    EXPECT_GT(group_bits, 0);
    // The whole drawing's preview holds more: the rectangle too.
    EXPECT_GT(black_bits(preview_picture(small.frame, 0)), group_bits);
}

}  // namespace
}  // namespace drav::test
