// A file whose first bytes are kept in memory: reads served from the copy,
// writes and resizes going to the file and into the copy, every transfer counted.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/core/files.h"
#include "tests/support/harness.h"

namespace {

std::string bytes(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

std::string read_str(std::int16_t ref, std::int64_t at, int n, std::int16_t* err = nullptr) {
    std::string s(static_cast<std::size_t>(n), '\0');
    std::int64_t got = 0;
    const std::int16_t e = plat::read_at(ref, at, s.data(), n, &got);
    if (err) *err = e;
    s.resize(static_cast<std::size_t>(got));
    return s;
}

TEST(FileInMemory, ReadsComeFromTheCopyWritesReachBothAndEveryTransferIsCounted) {
    const auto path = drav::test::scratch_dir() / "kept";
    std::ofstream(path, std::ios::binary) << bytes('a', 1024) << bytes('b', 1024);
    std::int16_t ref = 0;
    ASSERT_EQ(plat::open_file({path}, plat::Perm::read_write, &ref), plat::noErr);
    ASSERT_EQ(plat::keep_in_memory(ref, 1024), plat::noErr);
    // Changed behind the program's back: the kept part still reads as it was
    // loaded, the part beyond the limit comes from the file.
    {
        std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(10);
        f << "ZZ";
        f.seekp(1500);
        f << "YY";
    }
    plat::reset_io_stats();
    EXPECT_EQ(read_str(ref, 8, 4), "aaaa");
    EXPECT_EQ(read_str(ref, 1498, 4), "bbYY");
    EXPECT_EQ(read_str(ref, 1020, 8), "aaaabbbb");  // across the limit: from the file
    EXPECT_EQ(plat::io_stats().reads, 3u);
    EXPECT_EQ(plat::io_stats().bytes_read, 16u);

    std::int64_t done = 0;
    ASSERT_EQ(plat::write_at(ref, 100, "hello", 5, &done), plat::noErr);
    EXPECT_EQ(plat::io_stats().writes, 1u);
    EXPECT_EQ(read_str(ref, 99, 7), "ahelloa");
    std::ifstream in(path, std::ios::binary);
    std::string disk((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(disk.substr(100, 5), "hello");

    // A shorter file: what lay beyond its end is gone from the copy too.
    ASSERT_EQ(plat::set_eof(ref, 50), plat::noErr);
    std::int16_t err = 0;
    EXPECT_EQ(read_str(ref, 40, 20, &err), bytes('a', 10));
    EXPECT_EQ(err, plat::eofErr);
    ASSERT_EQ(plat::set_eof(ref, 200), plat::noErr);
    EXPECT_EQ(read_str(ref, 48, 4), std::string("aa\0\0", 4));
    plat::close_file(ref);
}

}  // namespace
