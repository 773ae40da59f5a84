#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/core/files.h"
#include "store/files.h"
#include "store/record_store.h"
#include "tests/support/harness.h"

using namespace drav;
using drav::test::answers;
using drav::test::exit_status_of;

namespace {

// A real workfile of `records` records; record i carries i at byte 2.
class RecordStore : public testing::Test {
protected:
    void open_workfile(int records, plat::Perm perm = plat::Perm::read_write) {
        path_ = drav::test::scratch_dir() / "workfile";
        {
            std::ofstream f(path_, std::ios::binary | std::ios::trunc);
            for (int i = 0; i < records; ++i) {
                ObjectRec r{};
                set_rec_i16(r, 2, static_cast<std::int16_t>(i));
                f.write(reinterpret_cast<const char*>(r.b), 128);
            }
        }
        ASSERT_EQ(plat::open_file({path_}, perm, &workfileRefNum), plat::noErr);
        worksize = static_cast<std::uint16_t>(records);
        ASSERT_EQ(init_record_store(), 1);
        plat::reset_io_stats();
    }
    void TearDown() override {
        if (workfileRefNum > 0) plat::close_file(workfileRefNum);
        workfileRefNum = -1;
        free_record_store();
        EXPECT_TRUE(answers().done());
    }
    static ObjectRec on_file(int n, const std::filesystem::path& p) {
        ObjectRec r{};
        std::ifstream f(p, std::ios::binary);
        f.seekg(n * 128);
        f.read(reinterpret_cast<char*>(r.b), 128);
        return r;
    }
    ObjectRec on_file(int n) const { return on_file(n, path_); }
    static std::uint64_t reads() { return plat::io_stats().reads; }
    static std::uint64_t writes() { return plat::io_stats().writes; }

    std::filesystem::path path_;
};

}  // namespace

TEST_F(RecordStore, GetInfoReadsEachBlockOnceAndWritesBackOnlyChangedRecords) {
    open_workfile(48);
    get_info(13);
    EXPECT_EQ(rec_i16(info, 2), 13);
    EXPECT_EQ(reads(), 1u);
    get_info(13);  // unchanged: nothing happens
    get_info(23);  // same block
    get_info(12);
    EXPECT_EQ(reads(), 1u);
    EXPECT_EQ(prev_index, 12);

    get_info(13);
    set_rec_i16(info, 2, 999);
    modified = 1;
    get_info(13);  // written back and re-read: same record, same block, no file traffic
    EXPECT_EQ(rec_i16(info, 2), 999);
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(block_modified, 1);
    EXPECT_EQ(reads(), 1u);
    EXPECT_EQ(writes(), 0u);
    EXPECT_EQ(rec_i16(on_file(13), 2), 13);  // still only in the cache

    get_info(40);  // another block: the dirty one goes out first
    EXPECT_EQ(writes(), 1u);
    EXPECT_EQ(reads(), 2u);
    EXPECT_EQ(rec_i16(on_file(13), 2), 999);
}

TEST_F(RecordStore, PutInfoAlwaysSetsNeedToSave) {
    open_workfile(24);
    get_info(5);
    needtosave = 0;
    put_info(5);  // same bytes as on file
    EXPECT_EQ(needtosave, 1);
    EXPECT_EQ(block_modified, 1);
    EXPECT_EQ(prev_index, 5);
}

TEST_F(RecordStore, NomoreInfoFlushesOnceAndKeepsInfo) {
    open_workfile(24);
    get_info(3);
    set_rec_i16(info, 2, 77);
    modified = 1;
    nomore_info();
    EXPECT_EQ(writes(), 1u);
    EXPECT_EQ(rec_i16(on_file(3), 2), 77);
    EXPECT_EQ(cur_buff_num, -1);
    EXPECT_EQ(prev_index, 3);
    EXPECT_EQ(rec_i16(info, 2), 77);
    nomore_info();
    EXPECT_EQ(writes(), 1u);
}

TEST_F(RecordStore, NomoreInfoWithNoCachedBlockStillWritesAChangedInfo) {
    open_workfile(24);
    get_info(15);
    nomore_info();
    set_rec_i16(info, 2, -5);
    modified = 1;
    nomore_info();
    EXPECT_EQ(rec_i16(on_file(15), 2), -5);
    EXPECT_EQ(modified, 0);
}

TEST_F(RecordStore, DirPutInfoFillsWithoutReading) {
    open_workfile(36);
    for (int n = 12; n < 24; ++n) {
        ObjectRec r{};
        set_rec_i16(r, 2, static_cast<std::int16_t>(1000 + n));
        dir_put_info(static_cast<std::int16_t>(n), r);
    }
    EXPECT_EQ(reads(), 0u);
    EXPECT_EQ(prev_index, -1);
    nomore_info();
    EXPECT_EQ(rec_i16(on_file(20), 2), 1020);
}

TEST_F(RecordStore, GetCopyInfoUsesItsOwnCacheAndSeesTheMainCache) {
    open_workfile(48);
    tbuf_num = -1;
    ObjectRec r{};
    get_copy_info(30, r);
    EXPECT_EQ(rec_i16(r, 2), 30);
    get_copy_info(31, r);
    EXPECT_EQ(reads(), 1u);

    // A block held by the main cache is copied whole, with records not yet on file.
    get_info(2);
    set_rec_i16(info, 2, 222);
    put_info(2);
    get_copy_info(2, r);
    EXPECT_EQ(rec_i16(r, 2), 222);
    EXPECT_EQ(reads(), 2u);
    EXPECT_EQ(tbuf_num, 0);

    // The copy cache is not invalidated by later writes.
    get_info(3);
    set_rec_i16(info, 2, 333);
    put_info(3);
    get_copy_info(3, r);
    EXPECT_EQ(rec_i16(r, 2), 3);
}

TEST_F(RecordStore, BadRecordNumbersEndTheProgram) {
    struct Case {
        std::int16_t n;
        int error;
        const char* text;
    };
    // 48 records on file, but the workfile claims 24: block 2 reads, then is out of range.
    const Case cases[] = {{-1, 4, "record that does not exist"},
                          {-13, 2, "could not be read"},
                          {30, 3, "outside its size"},
                          {60, 2, "could not be read"}};
    for (const Case& c : cases) {
        for (int op = 0; op < 3; ++op) {
            SCOPED_TRACE(testing::Message() << "record " << c.n << ", operation " << op);
            open_workfile(48);
            worksize = 24;
            get_info(1);
            set_rec_i16(info, 2, 4242);
            modified = 1;
            answers().expect(c.text);
            ObjectRec r{};
            tbuf_num = -1;
            std::optional<int> status = exit_status_of([&] {
                if (op == 0) get_info(c.n);
                if (op == 1) put_info(c.n);
                if (op == 2) get_copy_info(c.n, r);
            });
            EXPECT_EQ(status, std::optional<int>(-1));
            // Shut-down flushed what was changed before the failure.
            if (op == 0) {
                EXPECT_EQ(rec_i16(on_file(1), 2), 4242);
            }
            TearDown();
        }
    }
}

TEST_F(RecordStore, AFailingBlockWriteIsReportedAndTheStoreGoesOn) {
    open_workfile(24, plat::Perm::read);
    get_info(1);
    set_rec_i16(info, 2, 5);
    modified = 1;
    answers().expect("could not be written to the work file (block 0)");
    testing::internal::CaptureStdout();
    get_info(13);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "DRAV: Blockwrite in LocateInfo crash");
    EXPECT_EQ(block_modified, 0);
    EXPECT_EQ(rec_i16(info, 2), 13);
}
