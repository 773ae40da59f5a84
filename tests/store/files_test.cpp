#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/command_loop.h"
#include "platform/core/files.h"
#include "platform/core/forks.h"
#include "platform/core/memory.h"
#include "store/files.h"
#include "tests/support/harness.h"

using namespace drav;
using drav::test::answers;

namespace {

constexpr OSType hat = four_cc("HAT "), drav_creator = four_cc("DRAV"), text = four_cc("TEXT");

class Files : public testing::Test {
protected:
    void SetUp() override {
        dir_ = drav::test::scratch_dir() / testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(dir_);
        vol_ = plat::the_volume;
        dirid_ = plat::folder_id(dir_);
    }
    void TearDown() override {
        for (std::int16_t r : open_) plat::close_file(r);
        EXPECT_TRUE(answers().done());
    }
    std::filesystem::path write(const std::string& name, const std::string& bytes) {
        std::ofstream f(dir_ / name, std::ios::binary | std::ios::trunc);
        f << bytes;
        return dir_ / name;
    }
    std::string contents(const std::string& name) {
        std::ifstream f(dir_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    std::int16_t open(const std::string& name, plat::Perm perm = plat::Perm::read_write) {
        std::int16_t r = 0;
        EXPECT_EQ(plat::open_file({dir_ / name}, perm, &r), plat::noErr);
        open_.push_back(r);
        return r;
    }
    std::filesystem::path dir_;
    std::int16_t vol_ = 0;
    std::int32_t dirid_ = 0;
    std::vector<std::int16_t> open_;
};

TEST(BitSets, WordAndMaskOfABit) {
    struct Case {
        int bit, word;
        std::uint16_t mask;
    } const cases[] = {{0, 0, 1}, {15, 0, 32768}, {16, 1, 1}, {17, 1, 2}, {47, 2, 32768}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bit);
        std::uint16_t set[4] = {};
        put_boolean(set, c.bit, 7);
        for (int w = 0; w < 4; ++w) EXPECT_EQ(set[w], w == c.word ? c.mask : 0);
        EXPECT_EQ(get_boolean(set, c.bit), 1);
        EXPECT_EQ(get_boolean(set, c.bit ^ 1), 0);
        set[c.word] = 0xFFFF;
        put_boolean(set, c.bit, 0);
        EXPECT_EQ(set[c.word], 0xFFFF & ~c.mask);
        EXPECT_EQ(get_boolean(set, c.bit), 0);
    }
    std::uint16_t set[1] = {0xFFFF};
    EXPECT_EQ(get_boolean(set, -1), 0);
    put_boolean(set, -1, 0);
    EXPECT_EQ(set[0], 0xFFFF);
}

struct LineCase {
    const char* what;
    std::string file;
    bool old_form;  // getln instead of FSRef_getln
    int max, keep;
    std::vector<std::pair<std::uint16_t, std::string>> lines;  // results until the end
};

TEST_F(Files, ReadingLines) {
    const LineCase cases[] = {
        {"CR LF is one line end", "AB\r\nC", false, 10, 0, {{2, "AB"}, {1, "C"}, {65535, ""}}},
        {"a last CR ends no line", "\r\r", false, 10, 0, {{0, ""}, {65535, ""}}},
        {"CR then a byte reads it again", "A\rB\n", false, 10, 0, {{1, "A"}, {1, "B"}, {65535, ""}}},
        {"LF alone", "\n\nX", false, 10, 0, {{0, ""}, {0, ""}, {1, "X"}, {65535, ""}}},
        {"control byte dropped", "A\tB\x01\r", false, 10, 0, {{2, "AB"}, {65535, ""}}},
        {"control byte kept", "A\tB\r", false, 10, 1, {{3, "A\tB"}, {65535, ""}}},
        {"upper half is text", "\xA1\xD0\r", false, 10, 0, {{2, "\xA1\xD0"}, {65535, ""}}},
        {"a long line goes on", "12345\r6", false, 3, 0, {{3, "123"}, {2, "45"}, {1, "6"}, {65535, ""}}},
        {"a full line takes its end", "123\r\nX", false, 3, 0, {{3, "123"}, {1, "X"}, {65535, ""}}},
        {"old form stores the end under keep", "AB\r\nC", true, 10, 1, {{3, "AB\r"}, {1, "C"}, {65535, ""}}},
        {"old form without keep", "AB\r\nC", true, 10, 0, {{2, "AB"}, {1, "C"}, {65535, ""}}},
        {"old form, long line under keep", "ABC\r", true, 2, 1, {{2, "AB"}, {2, "C\r"}, {65535, ""}}},
        {"empty file", "", false, 10, 0, {{65535, ""}}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.what);
        write("lines", c.file);
        std::int16_t ref = open("lines", plat::Perm::read);
        for (const auto& [result, line] : c.lines) {
            char buf[16];
            std::memset(buf, 'Z', sizeof buf);
            std::uint16_t got = c.old_form ? getln(ref, buf, static_cast<std::int16_t>(c.max), c.keep)
                                           : FSRef_getln(ref, buf, static_cast<std::int16_t>(c.max), c.keep);
            EXPECT_EQ(got, result);
            EXPECT_EQ(std::string(buf), line);
        }
    }
}

TEST_F(Files, LineReaderRefusesBadBuffers) {
    write("lines", "ABC\r");
    std::int16_t ref = open("lines", plat::Perm::read);
    char buf[4] = "xy";
    EXPECT_EQ(FSRef_getln(ref, nullptr, 3, 0), 65535);
    EXPECT_EQ(FSRef_getln(ref, buf, -1, 0), 65535);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(FSRef_getln(ref, buf, 3, 0), 3);  // nothing was consumed
}

TEST_F(Files, PutlnAndGet) {
    write("out", "");
    std::int16_t ref = open("out");
    EXPECT_EQ(putln(ref, "AB"), 3);
    EXPECT_EQ(putln(ref, ""), 1);
    EXPECT_EQ(contents("out"), "AB\r\r");

    char buf[8] = {};
    EXPECT_EQ(getputfpos(ref, 0, 0), 0);
    EXPECT_EQ(get(ref, buf, 3), 3);
    EXPECT_EQ(std::string(buf, 3), "AB\r");
    EXPECT_EQ(get(ref, buf, 2), 65535);  // one byte left

    std::int16_t ro = open("out", plat::Perm::read);
    EXPECT_EQ(put(ro, "x", 1), 65535);
    EXPECT_EQ(putln(ro, "x"), 65535);
}

TEST_F(Files, MarkPositions) {
    write("f", std::string(100, 'a'));
    std::int16_t ref = open("f");
    struct Case {
        std::int32_t pos;
        int mode;
        std::int32_t mark;
    } const cases[] = {{10, 0, 10}, {5, 1, 15}, {-20, 2, 80}, {200, 0, 100}, {0, 3, -1}};
    for (const Case& c : cases) EXPECT_EQ(getputfpos(ref, c.pos, c.mode), c.mark) << c.pos << "," << c.mode;
    EXPECT_EQ(filerecs(ref, 30), 3);
    EXPECT_EQ(fileposition(ref, 30), 3);
    EXPECT_EQ(filerecs(ref, 0), -1);
    EXPECT_EQ(getputfpos(999, 0, 0), -1);
}

TEST_F(Files, RseekExtendsAShortFile) {
    write("recs", std::string(4 * 128, 'r'));
    std::int16_t ref = open("recs");
    EXPECT_EQ(rseek(ref, 128, 2), 2);
    EXPECT_EQ(filerecs(ref, 128), 4);
    EXPECT_EQ(rseek(ref, 128, 10), 10);
    EXPECT_EQ(std::filesystem::file_size(dir_ / "recs"), 1280u);
    EXPECT_EQ(fileposition(ref, 128), 10);
    EXPECT_EQ(rseek(ref, 128, -1), -1);
    EXPECT_EQ(rseek(ref, 0, 1), -1);
}

TEST_F(Files, BlockReadsAtTheEnd) {
    struct Case {
        std::size_t file_bytes;
        std::int16_t n;
        std::int16_t by_fork, by_ref;  // FSRef_blockread, blockread
    } const cases[] = {
        {1024, 3, 2, 2},    // two whole blocks of three
        {1280, 3, 2, -1},   // a partial block
        {1536, 2, 2, 2},
        {100, 1, 0, -1},
        {0, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file_bytes);
        write("blocks", std::string(c.file_bytes, 'b'));
        std::int16_t ref = open("blocks", plat::Perm::read);
        std::vector<char> buf(std::size_t(c.n) * block_bytes);
        EXPECT_EQ(FSRef_blockread(ref, buf.data(), c.n, 0), c.by_fork);
        EXPECT_EQ(blockread(ref, buf.data(), c.n, 0), c.by_ref);
    }
}

TEST_F(Files, BlockWritesAtLargeOffsets) {
    write("big", "");
    std::int16_t ref = open("big");
    std::vector<char> block(block_bytes, 'w'), back(block_bytes);
    // Block 4,200,000 lies past 2 GB.
    ASSERT_EQ(FSRef_blockwrite(ref, block.data(), 1, 4200000), 1);
    EXPECT_EQ(std::filesystem::file_size(dir_ / "big"), 4200001ull * block_bytes);
    EXPECT_EQ(FSRef_blockread(ref, back.data(), 1, 4200000), 1);
    EXPECT_EQ(back, block);
    EXPECT_EQ(write_a_block(ref, 1, block.data()), 1);
    EXPECT_EQ(read_a_block(ref, 1, back.data()), 1);
    EXPECT_EQ(FSRef_blockread(ref, back.data(), 1, -1), 0);
    EXPECT_EQ(blockwrite(ref, block.data(), -1, 0), -1);

    std::int16_t ro = open("big", plat::Perm::read);
    EXPECT_EQ(FSRef_blockwrite(ro, block.data(), 1, 0), 0);
    EXPECT_EQ(blockwrite(ro, block.data(), 1, 0), -1);
}

TEST_F(Files, CopyFileToFile) {
    std::string src(1300, 0);
    for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<char>(i * 7);
    write("src", src);
    write("dst", "");
    std::int32_t blocks = -1, written = -1, extra = -1;
    copy_file_to_file(open("src", plat::Perm::read), open("dst"), 0, 0, &blocks, &written, &extra);
    EXPECT_EQ(blocks, 2);
    EXPECT_EQ(written, 2);
    EXPECT_EQ(extra, 276);
    EXPECT_EQ(contents("dst"), src);
}

TEST_F(Files, CopyOntoALaterPartOfTheSameFileEnds) {
    write("same", std::string(1024, 's'));
    std::int16_t ref = open("same");
    std::int32_t blocks = -1, written = -1, extra = -1;
    copy_file_to_file(ref, ref, 0, 1, &blocks, &written, &extra);
    EXPECT_EQ(blocks, 2);
    EXPECT_EQ(extra, 0);
    EXPECT_EQ(std::filesystem::file_size(dir_ / "same"), 1536u);
}

TEST_F(Files, CreateMyFileEmptiesAnExistingFile) {
    write("scratch", std::string(3000, 'x'));
    ASSERT_EQ(CreateMyFile(vol_, dirid_, "scratch", 2, drav_creator, hat), 1);
    EXPECT_EQ(contents("scratch"), std::string(1024, '\0'));
    std::uint32_t type = 0, creator = 0;
    ASSERT_EQ(plat::get_type_creator({dir_ / "scratch"}, &type, &creator), plat::noErr);
    EXPECT_EQ(type, hat);
    EXPECT_EQ(creator, drav_creator);

    EXPECT_EQ(CreateMyFile(vol_, 9999, "scratch", 1, drav_creator, hat), 0);
    EXPECT_EQ(CreateMyFile(vol_, dirid_, "..", 1, drav_creator, hat), 0);
    EXPECT_EQ(CreateMyFile(vol_, dirid_, "neg", -1, drav_creator, hat), 0);
}

TEST_F(Files, FSRefCreateTakesAnExistingFile) {
    FSRef made;
    ASSERT_EQ(FSRef_CreateMyFile({dir_}, "work", 2048, drav_creator, text, &made), 1);
    EXPECT_EQ(made.path, dir_ / "work");
    EXPECT_EQ(std::filesystem::file_size(made.path), 2048u);

    std::int16_t fork = 0;
    ASSERT_EQ(FSRef_OpenMyFileWithPermission(made, fsRdWrPerm, &fork), plat::noErr);
    EXPECT_EQ(FSRef_blockwrite(fork, std::string(block_bytes, 'k').data(), 1, 0), 1);
    EXPECT_EQ(FSRef_CloseMyFile(&fork), plat::noErr);
    EXPECT_EQ(fork, -1);
    EXPECT_EQ(FSRef_CloseMyFile(&fork), 0);

    ASSERT_EQ(FSRef_CreateMyFile({dir_}, "work", 4096, drav_creator, hat, &made), 1);
    EXPECT_EQ(std::filesystem::file_size(made.path), 4096u);
    EXPECT_EQ(contents("work").substr(0, block_bytes), std::string(block_bytes, 'k'));
    std::uint32_t type = 0, creator = 0;
    plat::get_type_creator(made, &type, &creator);
    EXPECT_EQ(type, hat);
}

TEST_F(Files, OpenPresentCloseRemove) {
    ASSERT_EQ(CreateMyFile(vol_, dirid_, "lib", 0, drav_creator, text), 1);
    EXPECT_EQ(IsMyFilePresent(vol_, dirid_, "lib"), 1);
    EXPECT_EQ(FSRef_IsMyFilePresent({dir_}, "lib"), 1);
    EXPECT_EQ(IsMyFilePresent(vol_, dirid_, "nothing"), 0);

    std::int16_t ref = 0;
    EXPECT_EQ(OpenMyFile(vol_, dirid_, "nothing", &ref), plat::fnfErr);
    EXPECT_EQ(IsMyFileOpen(ref), 0);
    EXPECT_EQ(OpenMyFileWithPermission(vol_, dirid_, "lib", 9, &ref), plat::paramErr);
    ASSERT_EQ(OpenMyFile(vol_, dirid_, "lib", &ref), plat::noErr);
    EXPECT_EQ(IsMyFileOpen(ref), 1);
    EXPECT_EQ(CloseMyFile(&ref), plat::noErr);
    EXPECT_EQ(ref, -1);
    EXPECT_EQ(CloseMyFile(&ref), 0);

    EXPECT_EQ(RemoveMyFile(vol_, dirid_, "lib"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "lib"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "._lib"));
    EXPECT_EQ(RemoveMyFile(vol_, dirid_, "lib"), 0);

    ASSERT_EQ(FSRef_CreateMyFile({dir_}, "lib2", 0, drav_creator, text, nullptr), 1);
    EXPECT_EQ(FSRef_RemoveMyFile({dir_}, "lib2"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "._lib2"));
}

TEST_F(Files, FindTypeAndCreatorInNameOrder) {
    // "1/2 scale" is stored as "1:2 scale" on the desktop.
    for (const char* name : {"d", "1/2 scale", "b"})
        ASSERT_EQ(CreateMyFile(vol_, dirid_, name, 0, drav_creator, hat), 1);
    ASSERT_EQ(CreateMyFile(vol_, dirid_, "c", 0, drav_creator, text), 1);
    write("a", "no companion");
    std::filesystem::create_directories(dir_ / "aa folder");
    EXPECT_TRUE(std::filesystem::exists(dir_ / "1:2 scale"));

    for (bool by_ref : {false, true}) {
        SCOPED_TRACE(by_ref);
        init_findTCFile();
        std::vector<std::string> found;
        char name[file_name_bytes];
        while ((by_ref ? FSRef_FindTCMyFile({dir_}, name, hat, drav_creator)
                       : FindTCMyFile(vol_, dirid_, name, hat, drav_creator)) == 0)
            found.push_back(name);
        EXPECT_EQ(found, (std::vector<std::string>{"1/2 scale", "b", "d"}));
    }
    EXPECT_NE(FindTCMyFile(vol_, 9999, nullptr, hat, drav_creator), 0);
}

TEST_F(Files, FindMyFile) {
    write("there", "x");
    std::int16_t vol = vol_;
    std::int32_t dir = dirid_;
    EXPECT_EQ(FindMyFile(nullptr, &vol, &dir, "there", 1, 1), 1);
    EXPECT_EQ(FSRef_FindMyFile(nullptr, {dir_ / "there"}, 1, 1), 1);

    answers().expect("");
    EXPECT_EQ(FindMyFile(nullptr, &vol, &dir, "gone", 1, 1), 0);
    answers().expect("");
    EXPECT_EQ(FSRef_FindMyFile(nullptr, {dir_ / "gone"}, 1, 1), 0);
    EXPECT_EQ(answers().shown().size(), 2u);
}

TEST(Memory, AllocationAndRelease) {
    auto* p = static_cast<char*>(getmemory(64));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[63], 0);
    xfree(&p);
    EXPECT_EQ(p, nullptr);
    xfree(&p);

    Handle h = hmalloc(32);
    ASSERT_NE(h, nullptr);
    ASSERT_NE(*h, nullptr);
    EXPECT_EQ((*h)[31], 0);
    hfree(&h);
    EXPECT_EQ(h, nullptr);
    hfree(&h);
}

TEST(Memory, FailureStopsTheCommandAndSaysSo) {
    struct Case {
        const char* what;
        int fail;
        std::int32_t n;
        bool handle;
    } const cases[] = {
        {"getmemory", 1, 10, false},
        {"getmemory, negative size", 0, -1, false},
        {"hmalloc, the block", 1, 10, true},
        {"hmalloc, negative size", 0, -5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        quit = 0;
        answers().expect("not enough memory");
        plat::fail_next_allocations(c.fail);
        void* got = c.handle ? static_cast<void*>(hmalloc(c.n)) : getmemory(c.n);
        EXPECT_EQ(got, nullptr);
        EXPECT_EQ(quit, 1);
        EXPECT_TRUE(answers().done());
    }
    plat::fail_next_allocations(0);
}

TEST(Folders, NoSystemFolder) {
    std::int16_t vol = 5;
    std::int32_t dir = 5;
    EXPECT_EQ(FindSysFolder(&vol, &dir), 0);
    EXPECT_EQ(vol, 0);
    EXPECT_EQ(dir, 0);
}

}  // namespace
