#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "platform/core/forks.h"
#include "tests/support/harness.h"

using namespace plat;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = static_cast<std::uint8_t>(v >> (24 - 8 * k));
}

// A companion as another system writes it: the Finder information longer than
// 32 bytes (extended attributes follow it) and a resource fork after it.
Bytes foreign_companion() {
    const std::size_t info_len = 50, fork_len = 7;
    Bytes b(26 + 2 * 12 + info_len + fork_len, 0);
    put32(b, 0, apple_double_magic);
    put32(b, 4, apple_double_version);
    const char filler[] = "Mac OS X        ";
    std::copy(filler, filler + 16, b.begin() + 8);
    b[25] = 2;
    const std::size_t info_at = 26 + 24, fork_at = info_at + info_len;
    put32(b, 26, ad_finder_info);
    put32(b, 30, static_cast<std::uint32_t>(info_at));
    put32(b, 34, info_len);
    put32(b, 38, ad_resource_fork);
    put32(b, 42, static_cast<std::uint32_t>(fork_at));
    put32(b, 46, fork_len);
    put32(b, info_at, 0x54455854);      // 'TEXT'
    put32(b, info_at + 4, 0x74747874);  // 'ttxt'
    for (std::size_t i = 8; i < info_len; ++i) b[info_at + i] = static_cast<std::uint8_t>(i);
    for (std::size_t i = 0; i < fork_len; ++i) b[fork_at + i] = static_cast<std::uint8_t>(0xF0 + i);
    return b;
}

class Forks : public testing::Test {
protected:
    void SetUp() override {
        dir_ = drav::test::scratch_dir() / testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(dir_);
        file_ = FileRef{dir_ / "drawing"};
        std::ofstream(file_.path) << "data";
    }
    void write_companion_bytes(const Bytes& b) {
        std::ofstream f(companion_ref(file_).path, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    Bytes companion_bytes() {
        std::ifstream f(companion_ref(file_).path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(f), {});
    }
    std::filesystem::path dir_;
    FileRef file_;
};

TEST_F(Forks, CompanionSitsBesideTheFile) {
    EXPECT_EQ(companion_ref(file_).path, dir_ / "._drawing");
}

TEST_F(Forks, TypeAndCreatorRoundTrip) {
    std::uint32_t type = 1, creator = 1;
    EXPECT_EQ(get_type_creator(file_, &type, &creator), fnfErr);
    EXPECT_EQ(type, 0u);
    EXPECT_EQ(creator, 0u);

    ASSERT_EQ(set_type_creator(file_, 0x48415420, 0x44524156), noErr);
    ASSERT_EQ(get_type_creator(file_, &type, &creator), noErr);
    EXPECT_EQ(type, 0x48415420u);
    EXPECT_EQ(creator, 0x44524156u);

    ASSERT_EQ(set_type_creator(file_, 0x54455854, 0x44524156), noErr);
    AppleDouble ad;
    ASSERT_EQ(read_companion(file_, &ad), noErr);
    ASSERT_EQ(ad.entries.size(), 1u);
    EXPECT_EQ(ad.entries[0].data.size(), ad_finder_info_bytes);
    ASSERT_EQ(get_type_creator(file_, &type, &creator), noErr);
    EXPECT_EQ(type, 0x54455854u);
}

TEST_F(Forks, RewritingKeepsEveryOtherByte) {
    const Bytes before = foreign_companion();
    write_companion_bytes(before);
    ASSERT_EQ(set_type_creator(file_, 0x48415420, 0x44524156), noErr);

    // Same layout, only the eight bytes of type and creator changed.
    Bytes expected = before;
    put32(expected, 50, 0x48415420);
    put32(expected, 54, 0x44524156);
    EXPECT_EQ(companion_bytes(), expected);
}

TEST_F(Forks, NoCompanionForAMissingFile) {
    FileRef missing{dir_ / "missing"};
    EXPECT_EQ(set_type_creator(missing, 1, 2), fnfErr);
    EXPECT_FALSE(std::filesystem::exists(companion_ref(missing).path));
}

TEST_F(Forks, MalformedCompanionHasNoTypeAndIsReplaced) {
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    };
    const Case cases[] = {
        {"empty", [](Bytes& b) { b.clear(); }},
        {"header cut", [](Bytes& b) { b.resize(25); }},
        {"wrong magic", [](Bytes& b) { put32(b, 0, 0x00051600); }},
        {"wrong version", [](Bytes& b) { put32(b, 4, 0x00010000); }},
        {"more entries than descriptors fit", [](Bytes& b) { b[24] = 0x7F; }},
        {"entry past the end", [](Bytes& b) { put32(b, 46, 8); }},
        {"offset past the end", [](Bytes& b) { put32(b, 30, 0x7FFFFFF0); }},
        {"offset and length wrap", [](Bytes& b) {
             put32(b, 30, 0xFFFFFFF0);
             put32(b, 34, 0x20);
         }},
        {"finder information too short", [](Bytes& b) { put32(b, 34, 7); }},
        {"no finder information", [](Bytes& b) { put32(b, 26, 5); }},
        {"file cut inside the data", [](Bytes& b) { b.resize(b.size() - 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes b = foreign_companion();
        c.spoil(b);
        write_companion_bytes(b);
        std::uint32_t type = 1, creator = 1;
        EXPECT_NE(get_type_creator(file_, &type, &creator), noErr);
        EXPECT_EQ(type, 0u);
        EXPECT_EQ(creator, 0u);

        ASSERT_EQ(set_type_creator(file_, 0x48415420, 0x44524156), noErr);
        ASSERT_EQ(get_type_creator(file_, &type, &creator), noErr);
        EXPECT_EQ(type, 0x48415420u);
        EXPECT_EQ(creator, 0x44524156u);
    }
}

TEST_F(Forks, RemovingTheCompanion) {
    ASSERT_EQ(set_type_creator(file_, 1, 2), noErr);
    EXPECT_EQ(remove_companion(file_), noErr);
    EXPECT_FALSE(std::filesystem::exists(companion_ref(file_).path));
    EXPECT_EQ(remove_companion(file_), noErr);
}

}  // namespace
