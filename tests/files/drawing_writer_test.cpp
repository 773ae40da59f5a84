// The writer: file layouts worked out by hand, round trips through the
// reader in both byte orders, the group only, and saves that fail part way.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "base/messages.h"
#include "base/shutdown.h"
#include "files/drawing_writer.h"
#include "files/file_commands.h"
#include "platform/core/forks.h"
#include "platform/core/process.h"
#include "store/strings.h"
#include "tests/files/reader_fixture.h"

namespace drav::test {
namespace {

std::vector<std::uint8_t> bytes_of(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ObjectRec file_record(const std::vector<std::uint8_t>& b, int n) {
    ObjectRec r{};
    std::memcpy(r.b, b.data() + n * 128, 128);
    return r;
}

class Writer : public Reader {
protected:
    void SetUp() override {
        Reader::SetUp();
        savegroup = 0;
        dosfile = 0;
        save_before_rename = nullptr;
        plat::fail_writes_after(-1);
        GetMyLocalCString(current_drawing.name, tbl_names, 1);
        current_drawing.ref = FSRef{};
    }
    void TearDown() override {
        save_before_rename = nullptr;
        plat::fail_writes_after(-1);
        Reader::TearDown();
    }

    // every_kind_drawing, with a second symbol placed twice and a third placed never.
    static DrawingFile fixture() {
        DrawingFile d = every_kind_drawing();
        d.objects.push_back(symbol_ref(0, 20, 20));
        d.objects.push_back(symbol_ref(0, 25, 20));
        const int twice = d.add_symbol("LIB", 4, {line_record(0, 0, 1, 1)}, 3);
        d.add_symbol("LIB", 5, {line_record(0, 0, 5, 5)}, 3);
        // The ctrl numbers shift as objects were added after the first symbol's reference.
        const int first_ctrl = d.first_ctrl_record();
        set_rec_i16(d.objects[9], sym::ctrl, static_cast<std::int16_t>(first_ctrl));
        set_rec_i16(d.objects[10], sym::ctrl, static_cast<std::int16_t>(first_ctrl + 1));
        set_rec_i16(d.objects[11], sym::ctrl, static_cast<std::int16_t>(first_ctrl + 1));
        (void)twice;
        return d;
    }

    int save_as(const char* name) {
        FSRef file;
        return save(FSRef{scratch_dir()}, name, &file);
    }
};

TEST_F(Writer, TheFileLayoutIsAsWorkedOutByHand) {
    ASSERT_EQ(open(fixture()), 1);
    const std::vector<ObjectRec> before = objects();
    ASSERT_EQ(save_as("out.drw"), 1);
    const auto b = bytes_of(scratch_dir() / "out.drw");
    // S = header + 6 settings + named window + plot specification = 9; O = 12 records
    // (the text's tail included); K = 2 (the symbol placed never was not kept
    // by the read); P = 2 + 1. 26 records, padded to a multiple of four: 28.
    ASSERT_EQ(b.size(), 28u * 128);
    const ObjectRec head = file_record(b, 0);
    EXPECT_EQ(rec_i16(head, hdr::version), 70);
    EXPECT_EQ(rec_i16(head, hdr::first_slot), 9);
    EXPECT_EQ(rec_i16(head, hdr::object_count), 12);
    EXPECT_EQ(rec_i16(head, hdr::ctrl_count), 2);
    EXPECT_EQ(rec_i16(head, hdr::piece_count), 3);
    EXPECT_STREQ(rec_str(file_record(b, 7), nwin::name), "Plan");
    EXPECT_STREQ(rec_str(file_record(b, 8), pspec::name), "A4");
    // References name the file's control records 21 and 22; those point at
    // pieces 23 and 25 and count their users.
    EXPECT_EQ(rec_i16(file_record(b, 9 + 9), sym::ctrl), 21);
    EXPECT_EQ(rec_i16(file_record(b, 9 + 10), sym::ctrl), 22);
    EXPECT_EQ(rec_i16(file_record(b, 9 + 11), sym::ctrl), 22);
    EXPECT_EQ(rec_i16(file_record(b, 21), sctl::first_piece), 23);
    EXPECT_EQ(rec_i16(file_record(b, 21), sctl::users), 1);
    EXPECT_EQ(rec_i16(file_record(b, 22), sctl::first_piece), 25);
    EXPECT_EQ(rec_i16(file_record(b, 22), sctl::users), 2);
    EXPECT_EQ(rec_word0(file_record(b, 23)) & w0_first_piece, w0_first_piece);
    EXPECT_EQ(rec_word0(file_record(b, 24)) & w0_first_piece, 0);
    EXPECT_EQ(rec_kind(file_record(b, 26)), rk_empty);
    // The workfile kept its own numbers.
    const std::vector<ObjectRec> after = objects();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) EXPECT_TRUE(same(after[i], before[i])) << i;
    EXPECT_EQ(needtosave, 0);
    // A native file is typed and carries the level names.
    std::uint32_t type = 0, creator = 0;
    ASSERT_EQ(plat::get_type_creator(FSRef{scratch_dir() / "out.drw"}, &type, &creator), plat::noErr);
    EXPECT_EQ(type, four_cc("2D  "));
    EXPECT_EQ(creator, four_cc("DRAV"));
    plat::ResourceFork fork;
    ASSERT_EQ(fork.load(FSRef{scratch_dir() / "out.drw"}), plat::noErr);
    EXPECT_NE(fork.find(four_cc("LEVL"), 128), nullptr);
}

TEST_F(Writer, NativeAndPcSavesReopenWithTheSameRecords) {
    struct Case {
        const char* name;
        bool pc;
    };
    for (const Case c : {Case{"round.drw", false}, Case{"round.2d", true}}) {
        ASSERT_EQ(open(fixture()), 1);
        const std::vector<ObjectRec> before = objects();
        std::vector<ObjectRec> views;
        for (int n = 0; n < first_object_slot; ++n) views.push_back(record(n));
        const ObjectRec ctrl4 = worklib(4), ctrl5 = worklib(5);
        dosfile = c.pc;
        ASSERT_EQ(save_as(c.name), 1) << c.name;
        dosfile = 0;
        EXPECT_EQ(plat::file_exists(plat::companion_ref(FSRef{scratch_dir() / c.name})), !c.pc) << c.name;
        EXPECT_EQ(drawing_file_format(FSRef{scratch_dir() / c.name}), c.pc ? format_pc : format_native);
        ASSERT_EQ(open_raw(scratch_dir() / c.name, c.pc), 1) << c.name;
        const std::vector<ObjectRec> after = objects();
        ASSERT_EQ(after.size(), before.size()) << c.name;
        for (std::size_t i = 0; i < after.size(); ++i) EXPECT_TRUE(same(after[i], before[i])) << c.name << " " << i;
        for (int n = 7; n < first_object_slot; ++n) EXPECT_TRUE(same(record(n), views[n])) << c.name << " " << n;
        EXPECT_TRUE(same(worklib(4), ctrl4)) << c.name;
        EXPECT_TRUE(same(worklib(5), ctrl5)) << c.name;
    }
}

TEST_F(Writer, AnEmptyDrawingIsSevenRecordsPaddedToEight) {
    ASSERT_EQ(save_as("empty.drw"), 1);
    const auto b = bytes_of(scratch_dir() / "empty.drw");
    ASSERT_EQ(b.size(), 8u * 128);
    const ObjectRec head = file_record(b, 0);
    EXPECT_EQ(rec_i16(head, hdr::first_slot), 7);
    EXPECT_EQ(rec_i16(head, hdr::object_count), 0);
    EXPECT_EQ(rec_i16(head, hdr::ctrl_count), 0);
    EXPECT_EQ(rec_i16(head, hdr::piece_count), 0);
}

TEST_F(Writer, AValidSymbolNobodyPlacesIsWrittenWithNoUsers) {
    ASSERT_EQ(open(fixture()), 1);
    // The symbol placed twice loses its placements but stays valid.
    for (int n : {46, 47}) {
        get_info(static_cast<std::int16_t>(n));
        ASSERT_EQ(obj_kind(info), ok_symbol);
        set_rec_word0_bits(info, w0_live, false);
        modified = 1;
    }
    nomore_info();
    ObjectRec c = worklib(5);
    set_rec_i16(c, sctl::users, 0);
    ASSERT_EQ(put_ctrlrec(5, c), 1);
    ASSERT_EQ(save_as("unused.drw"), 1);
    const auto b = bytes_of(scratch_dir() / "unused.drw");
    EXPECT_EQ(rec_i16(file_record(b, 0), hdr::ctrl_count), 2);
    EXPECT_EQ(rec_i16(file_record(b, 0), hdr::object_count), 10);
    EXPECT_EQ(rec_i16(file_record(b, 9 + 10 + 1), sctl::users), 0);
}

TEST_F(Writer, TheGroupOnlyHoldsItsObjectsAndTheSymbolsTheyPlace) {
    ASSERT_EQ(open(fixture()), 1);
    // The group: the line, the text (its tail is not marked) and one of the two references.
    for (int n : {36, 39, 46}) put_in_group(n, 1);
    savegroup = 1;
    ASSERT_EQ(save_as("group.drw"), 1);
    savegroup = 0;
    const auto b = bytes_of(scratch_dir() / "group.drw");
    const ObjectRec head = file_record(b, 0);
    EXPECT_EQ(rec_i16(head, hdr::object_count), 4);  // line, text, tail, reference
    EXPECT_EQ(rec_i16(head, hdr::ctrl_count), 1);
    EXPECT_EQ(rec_i16(head, hdr::piece_count), 1);
    EXPECT_EQ(rec_kind(file_record(b, 9 + 2)), rk_text_tail);
    EXPECT_EQ(rec_i16(file_record(b, 9 + 3), sym::ctrl), 13);
    EXPECT_EQ(rec_i16(file_record(b, 13), sctl::number), 4);
    EXPECT_EQ(rec_i16(file_record(b, 13), sctl::users), 1);
    EXPECT_EQ(rec_i16(file_record(b, 13), sctl::first_piece), 14);
    EXPECT_EQ(rec_f64(file_record(b, 14), line::dx), 1);
}

TEST_F(Writer, SavingOverTheOpenFileWorksAndKeepsItOpen) {
    ASSERT_EQ(open(fixture()), 1);
    current_drawing.ref = FSRef{path()};
    std::strcpy(current_drawing.name, "plan.drw");
    store(line(7, 7, 1, 1));
    ASSERT_EQ(save_as("plan.drw"), 1);
    EXPECT_GT(currentdrawingRefNum, 0);
    EXPECT_EQ(plat::open_file_ref(currentdrawingRefNum).path, path());
    const auto b = bytes_of(path());
    EXPECT_EQ(rec_i16(file_record(b, 0), hdr::object_count), 13);
    // No temporary file is left behind.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(scratch_dir()))
        if (e.path().filename().string().find(".saving") != std::string::npos) ++files;
    EXPECT_EQ(files, 0);
}

TEST_F(Writer, APcSaveOverANativeFileTakesItsCompanionAway) {
    ASSERT_EQ(open(fixture()), 1);
    ASSERT_EQ(save_as("both.2d"), 1);
    const FSRef file{scratch_dir() / "both.2d"};
    ASSERT_TRUE(plat::file_exists(plat::companion_ref(file)));
    EXPECT_EQ(drawing_file_format(file), format_native);
    dosfile = 1;
    ASSERT_EQ(save_as("both.2d"), 1);
    dosfile = 0;
    EXPECT_FALSE(plat::file_exists(plat::companion_ref(file)));
    EXPECT_EQ(drawing_file_format(file), format_pc);
}

// Each failure leaves the old file and its companion byte for byte, the
// drawing unsaved, the workfile kept, and the user told.
class FailedSave : public Writer {
protected:
    void SetUp() override {
        Writer::SetUp();
        ASSERT_EQ(open(fixture()), 1);
        current_drawing.ref = FSRef{path()};
        std::strcpy(current_drawing.name, "plan.drw");
        old_data_ = bytes_of(path());
        plat::set_type_creator(FSRef{path()}, four_cc("2D  "), four_cc("DRAV"));
        old_companion_ = bytes_of(plat::companion_ref(FSRef{path()}).path);
        store(line(7, 7, 1, 1));
        ASSERT_EQ(needtosave, 1);
        keep_workfile = 0;
    }
    void expect_untouched() {
        EXPECT_EQ(bytes_of(path()), old_data_);
        EXPECT_EQ(bytes_of(plat::companion_ref(FSRef{path()}).path), old_companion_);
        EXPECT_EQ(needtosave, 1);
    }
    void expect_told_and_kept(int result) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(keep_workfile, 1);
        EXPECT_TRUE(answers().done());
        expect_untouched();
    }
    std::vector<std::uint8_t> old_data_, old_companion_;
};

TEST_F(FailedSave, AFullDiskPartWay) {
    answers().expect("the disk is full");
    plat::fail_writes_after(1000);
    const int result = save_as("plan.drw");
    plat::fail_writes_after(-1);
    expect_told_and_kept(result);
    EXPECT_EQ(last_save_error, plat::dskFulErr);
}

TEST_F(FailedSave, AReadOnlyFolder) {
    const auto folder = scratch_dir();
    bool locked = false;
    if (geteuid() == 0) {
        // Permissions do not stop root; an immutable folder does.
        locked = std::system(("chattr +i '" + folder.string() + "' 2>/dev/null").c_str()) == 0;
    } else {
        locked = ::chmod(folder.c_str(), 0555) == 0;
    }
    if (!locked) GTEST_SKIP() << "this file system cannot make a folder read-only";
    answers().expect("may not change");
    const int result = save_as("plan.drw");
    if (geteuid() == 0) std::system(("chattr -i '" + folder.string() + "'").c_str());
    else ::chmod(folder.c_str(), 0755);
    expect_told_and_kept(result);
}

TEST_F(FailedSave, StoppedBetweenWritingAndRenaming) {
    // The process ends there, as a kill would end it.
    save_before_rename = [] { plat::exit_process(9); };
    const std::optional<int> status = exit_status_of([&] { save_as("plan.drw"); });
    save_before_rename = nullptr;
    EXPECT_EQ(status, 9);
    expect_untouched();
    // What is left is a pair the reader takes: the old drawing.
    closesegs();
    ASSERT_EQ(open_raw(path(), false), 1);
    EXPECT_EQ(number_of_objects, 36 + 12);
}

TEST_F(FailedSave, StoppedInATestIsReportedNeverAsSuccess) {
    answers().expect("stopped before it was complete");
    save_before_rename = [] {};
    expect_told_and_kept(save_as("plan.drw"));
}

}  // namespace
}  // namespace drav::test
