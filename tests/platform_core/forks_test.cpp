#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
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


// ---- Resource forks ----

constexpr std::uint32_t levl = 0x4C45564C, str_ = 0x53545220, icon = 0x49434E23;

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v >> 8);
    b[at + 1] = static_cast<std::uint8_t>(v);
}

// A companion holding Finder information, a comment entry and the given fork.
AppleDouble companion_with_fork(const Bytes& fork) {
    AppleDouble ad;
    Bytes info(ad_finder_info_bytes, 0);
    put32(info, 0, 0x48415420);  // 'HAT '
    put32(info, 4, 0x44524156);  // 'DRAV'
    info[8] = 0x41;
    ad.entries.push_back({ad_finder_info, info});
    ad.entries.push_back({4, {'n', 'o', 't', 'e'}});
    ad.entries.push_back({ad_resource_fork, fork});
    return ad;
}

// Three types, names shared and absent, an empty resource and a negative id.
ResourceFork sample_fork() {
    ResourceFork f;
    EXPECT_TRUE(f.put(levl, 128, "levels", Bytes(4016, 0x4C)));
    EXPECT_TRUE(f.put(str_, -1, "", {'h', 'i'}));
    EXPECT_TRUE(f.put(icon, 32767, std::string(255, 'n'), {}));
    EXPECT_TRUE(f.put(str_, 200, "Caf\x8E", {1, 2, 3, 4, 5}));
    EXPECT_TRUE(f.put(levl, 129, "levels", {9}));
    return f;
}

void expect_same_resources(const ResourceFork& got, const ResourceFork& want) {
    ASSERT_EQ(got.resources().size(), want.resources().size());
    for (const Resource& w : want.resources()) {
        SCOPED_TRACE(w.id);
        const Resource* g = got.find(w.type, w.id);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->name, w.name);
        EXPECT_EQ(g->attributes, w.attributes);
        EXPECT_EQ(g->data, w.data);
    }
}

TEST(ResourceForkLayout, OneResourceInTheClassicLayout) {
    ResourceFork f;
    ASSERT_TRUE(f.put(levl, 128, "levels", {1, 2, 3}));
    Bytes got;
    ASSERT_TRUE(f.format(&got));

    Bytes want(320, 0);
    put32(want, 0, 256);  // data offset
    put32(want, 4, 263);  // map offset
    put32(want, 8, 7);    // data length
    put32(want, 12, 57);  // map length
    const Bytes data = {0, 0, 0, 3, 1, 2, 3};
    std::copy(data.begin(), data.end(), want.begin() + 256);
    std::copy(want.begin(), want.begin() + 16, want.begin() + 263);  // header copy
    put16(want, 263 + 24, 28);  // type list
    put16(want, 263 + 26, 50);  // name list
    put16(want, 263 + 28, 0);   // one type
    put32(want, 263 + 30, levl);
    put16(want, 263 + 34, 0);   // one resource
    put16(want, 263 + 36, 10);  // its reference list, from the type list
    put16(want, 263 + 38, 128);
    put16(want, 263 + 40, 0);  // name offset; attributes and data offset 0
    const char name[] = "\x06levels";
    std::copy(name, name + 7, want.begin() + 263 + 50);
    EXPECT_EQ(got, want);

    ResourceFork back;
    ASSERT_EQ(back.parse(want), noErr);
    expect_same_resources(back, f);
}

TEST(ResourceForkLayout, AnEmptyForkHasNoTypes) {
    Bytes b;
    ASSERT_TRUE(ResourceFork{}.format(&b));
    ASSERT_EQ(b.size(), 256u + 30u);
    EXPECT_EQ(b[256 + 28], 0xFF);  // type count - 1
    EXPECT_EQ(b[256 + 29], 0xFF);
    ResourceFork f;
    f.put(levl, 1, "", {1});
    EXPECT_EQ(f.parse(b), noErr);
    EXPECT_TRUE(f.resources().empty());
    EXPECT_EQ(f.parse({}), noErr);
}

TEST(ResourceForkLayout, PutRefusesNamesOver255Bytes) {
    ResourceFork f;
    EXPECT_FALSE(f.put(levl, 1, std::string(256, 'x'), {1}));
    EXPECT_TRUE(f.resources().empty());
}

TEST_F(Forks, ResourcesRoundTripThroughTheCompanion) {
    ResourceFork none;
    EXPECT_EQ(none.load(file_), fnfErr);
    EXPECT_TRUE(none.resources().empty());
    EXPECT_EQ(ResourceFork{}.save(FileRef{dir_ / "missing"}), fnfErr);

    const ResourceFork want = sample_fork();
    ASSERT_EQ(want.save(file_), noErr);
    ResourceFork got;
    ASSERT_EQ(got.load(file_), noErr);
    expect_same_resources(got, want);
}

TEST_F(Forks, ReplacingAndRemovingResources) {
    ResourceFork f = sample_fork();
    ASSERT_TRUE(f.put(str_, 200, "new", {7}));
    EXPECT_EQ(f.resources().size(), 5u);
    EXPECT_TRUE(f.remove(levl, 129));
    EXPECT_FALSE(f.remove(levl, 129));
    EXPECT_FALSE(f.remove(levl, 130));
    ASSERT_EQ(f.save(file_), noErr);

    ResourceFork got;
    ASSERT_EQ(got.load(file_), noErr);
    EXPECT_EQ(got.resources().size(), 4u);
    EXPECT_EQ(got.find(levl, 129), nullptr);
    const Resource* r = got.find(str_, 200);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->name, "new");
    EXPECT_EQ(r->data, Bytes{7});
    ASSERT_NE(got.find(levl, 128), nullptr);

    // Removing the last one leaves an empty fork, not a broken one.
    const std::vector<Resource> all = got.resources();
    for (const Resource& res : all) EXPECT_TRUE(got.remove(res.type, res.id));
    ASSERT_EQ(got.save(file_), noErr);
    EXPECT_EQ(got.load(file_), noErr);
    EXPECT_TRUE(got.resources().empty());
}

TEST_F(Forks, SavingKeepsTypeCreatorAndOtherEntries) {
    Bytes old;
    ASSERT_TRUE(sample_fork().format(&old));
    const AppleDouble before = companion_with_fork(old);
    write_companion_bytes(format_apple_double(before));

    ResourceFork f;
    ASSERT_EQ(f.load(file_), noErr);
    ASSERT_TRUE(f.put(levl, 128, "levels", {1}));
    ASSERT_EQ(f.save(file_), noErr);

    AppleDouble after;
    ASSERT_EQ(read_companion(file_, &after), noErr);
    ASSERT_EQ(after.entries.size(), 3u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(after.entries[i].id, before.entries[i].id);
        EXPECT_EQ(after.entries[i].data, before.entries[i].data);
    }
    EXPECT_EQ(after.entries[2].id, ad_resource_fork);
    std::uint32_t type = 0, creator = 0;
    ASSERT_EQ(get_type_creator(file_, &type, &creator), noErr);
    EXPECT_EQ(type, 0x48415420u);
    EXPECT_EQ(creator, 0x44524156u);

    // A companion without a fork gets one after its other entries.
    AppleDouble no_fork = before;
    no_fork.entries.pop_back();
    write_companion_bytes(format_apple_double(no_fork));
    ASSERT_EQ(f.load(file_), noErr);
    EXPECT_TRUE(f.resources().empty());
    ASSERT_TRUE(f.put(str_, 5, "five", {5}));
    ASSERT_EQ(f.save(file_), noErr);
    ASSERT_EQ(read_companion(file_, &after), noErr);
    ASSERT_EQ(after.entries.size(), 3u);
    EXPECT_EQ(after.entries[0].data, before.entries[0].data);
    EXPECT_EQ(after.entries[2].id, ad_resource_fork);
}

TEST_F(Forks, MalformedForksAreRefused) {
    // Offsets into the formatted sample: map at m; the type list at m + 28
    // with 'LEVL', 'STR ', 'ICN#'; reference lists from m + 54 ('LEVL' 128
    // and 129 first); names from m + 114, the 255-byte one last.
    Bytes good;
    ASSERT_TRUE(sample_fork().format(&good));
    const std::size_t m = 256 + (4 + 4016) + (4 + 2) + 4 + (4 + 5) + (4 + 1);
    ASSERT_EQ(good.size(), m + 114 + 7 + 7 + 5 + 256);
    const std::size_t types = m + 28, refs = m + 54;
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    };
    const Case cases[] = {
        {"header cut", [](Bytes& b) { b.resize(15); }},
        {"fork cut inside the map", [](Bytes& b) { b.resize(b.size() - 1); }},
        {"data area past the end", [](Bytes& b) { put32(b, 8, 0xFFFFFF00); }},
        {"map past the end", [](Bytes& b) { put32(b, 4, 0xFFFFFFF0); }},
        {"map shorter than its header", [](Bytes& b) { put32(b, 12, 29); }},
        {"data and map overlap", [](Bytes& b) { put32(b, 0, 300); }},
        {"type list past the map", [m](Bytes& b) { put16(b, m + 24, 0xFFF0); }},
        {"type list inside the map header", [m](Bytes& b) { put16(b, m + 24, 4); }},
        {"name list past the map", [m](Bytes& b) { put16(b, m + 26, 0xFFF0); }},
        {"more types than the map holds", [types](Bytes& b) { put16(b, types, 0x3000); }},
        {"reference list past the map", [types](Bytes& b) { put16(b, types + 2 + 6, 0xFF00); }},
        {"more resources than the map holds", [types](Bytes& b) { put16(b, types + 2 + 4, 0x2000); }},
        {"name offset past the map", [refs](Bytes& b) { put16(b, refs + 2, 0x4000); }},
        {"name runs past the map",
         [m](Bytes& b) { put32(b, 12, static_cast<std::uint32_t>(b.size() - m - 1)); }},
        {"data offset past the data area", [refs](Bytes& b) { b[refs + 5] = 0x7F; }},
        {"data length past the data area", [](Bytes& b) { put32(b, 256, 5000); }},
        {"one id twice", [refs](Bytes& b) { put16(b, refs + 12, 128); }},
        {"one type twice", [types](Bytes& b) { put32(b, types + 2 + 8, levl); }},
        {"two types share one reference list",
         [types](Bytes& b) { put16(b, types + 2 + 16 + 6, 2 + 3 * 8); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes b = good;
        c.spoil(b);
        write_companion_bytes(format_apple_double(companion_with_fork(b)));
        ResourceFork f;
        f.put(levl, 1, "", {1});
        EXPECT_EQ(f.load(file_), mapReadErr);
        EXPECT_TRUE(f.resources().empty());
        EXPECT_EQ(f.find(levl, 128), nullptr);

        // The damaged fork is replaced; the rest of the companion stays.
        ASSERT_TRUE(f.put(str_, 1, "", {1}));
        ASSERT_EQ(f.save(file_), noErr);
        ASSERT_EQ(f.load(file_), noErr);
        EXPECT_EQ(f.resources().size(), 1u);
        std::uint32_t type = 0;
        EXPECT_EQ(get_type_creator(file_, &type, nullptr), noErr);
        EXPECT_EQ(type, 0x48415420u);
    }

    write_companion_bytes(format_apple_double(companion_with_fork(good)));
    ResourceFork f;
    EXPECT_EQ(f.load(file_), noErr) << "the unspoilt fork reads";
    write_companion_bytes({0, 5, 0x16});
    EXPECT_EQ(f.load(file_), eofErr) << "a malformed companion";
}

}  // namespace
