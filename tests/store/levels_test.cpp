#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/forks.h"
#include "platform/core/memory.h"
#include "platform/core/string_table.h"
#include "store/levels.h"
#include "store/settings.h"
#include "tests/support/harness.h"

using namespace drav;
using drav::test::answers;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string name_of(int n) {
    char buf[level_name_bytes];
    return get_LevelName(n, buf);
}

void set_name(int n, std::string name) { set_LevelName(n, name.data()); }

class Levels : public testing::Test {
protected:
    void SetUp() override {
        dir_ = drav::test::scratch_dir() / testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(dir_);
        file_ = FSRef{dir_ / "drawing"};
        std::ofstream(file_.path) << "data";
        init_levels();
    }
    void TearDown() override {
        term_levels();
        EXPECT_TRUE(answers().done());
    }
    // Every name, both bit sets and both menu maps.
    std::string snapshot() {
        std::string s(*thelevls, level_table_bytes);
        s.append(reinterpret_cast<const char*>(levels_visible), sizeof levels_visible);
        s.append(reinterpret_cast<const char*>(levels_locked), sizeof levels_locked);
        s.append(reinterpret_cast<const char*>(menu_to_level_map), sizeof menu_to_level_map);
        s.append(reinterpret_cast<const char*>(level_to_menu_map), sizeof level_to_menu_map);
        return s;
    }
    void expect_default_names(int first) {
        for (int n = first; n < level_count; ++n) ASSERT_EQ(name_of(n), "Level " + std::to_string(n));
    }
    std::filesystem::path dir_;
    FSRef file_;
};

TEST_F(Levels, AfterInitOnlyLevelOneIsVisible) {
    for (int n = 0; n < level_count; ++n) {
        EXPECT_EQ(get_LevelVisible(n), n == 1 ? 1 : 0) << n;
        EXPECT_EQ(get_LevelLocked(n), 0) << n;
    }
    EXPECT_EQ(levels_visible[0], 2);
    EXPECT_EQ(LevelShowable(2), 0);
    EXPECT_EQ(LevelEditable(2), 0);
    set_LevelVisible(2, 1);
    EXPECT_EQ(LevelShowable(2), 1);
    EXPECT_EQ(LevelEditable(2), 1);
}

TEST_F(Levels, LevelZeroShowsEveryLevelButUnlocksNone) {
    set_LevelVisible(1, 0);
    set_LevelVisible(0, 1);
    set_LevelLocked(5, 1);
    set_LevelLocked(0, 1);  // plays no part
    for (int n = 1; n < level_count; ++n) {
        EXPECT_EQ(LevelShowable(n), 1) << n;
        EXPECT_EQ(LevelEditable(n), n == 5 ? 0 : 1) << n;
    }
    set_LevelVisible(0, 0);
    EXPECT_EQ(LevelShowable(3), 0);
}

TEST_F(Levels, VisibilityAndLockAreBitsOfTheSettingsSets) {
    struct Case {
        int level, word;
        std::uint16_t mask;
    };
    const Case cases[] = {{0, 0, 1}, {15, 0, 0x8000}, {17, 1, 2}, {250, 15, 1 << 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        std::memset(levels_visible, 0, sizeof levels_visible);
        std::memset(levels_locked, 0xFF, sizeof levels_locked);
        set_LevelVisible(c.level, 1);
        set_LevelLocked(c.level, 0);
        for (int w = 0; w < level_set_words; ++w) {
            EXPECT_EQ(levels_visible[w], w == c.word ? c.mask : 0);
            EXPECT_EQ(levels_locked[w], w == c.word ? 0xFFFF ^ c.mask : 0xFFFF);
        }
        EXPECT_EQ(get_LevelVisible(c.level), 1);
        EXPECT_EQ(get_LevelLocked(c.level), 0);
        set_LevelVisible(c.level, 0);
        EXPECT_EQ(get_LevelVisible(c.level), 0);
    }
}

TEST_F(Levels, LevelsOutsideTheTableAreNeverTouched) {
    set_LevelVisible(0, 1);
    const std::string before = snapshot();
    for (int n : {-1, 251, 255, 256, 4000, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(n);
        set_LevelVisible(n, 1);
        set_LevelVisible(n, 0);
        set_LevelLocked(n, 1);
        set_LevelLocked(n, 0);
        set_name(n, "outside");
        EXPECT_EQ(get_LevelVisible(n), 0);
        EXPECT_EQ(get_LevelLocked(n), 1);
        EXPECT_EQ(LevelShowable(n), 0);
        EXPECT_EQ(LevelEditable(n), 0);
        EXPECT_EQ(name_of(n), "");
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(Levels, DefaultNamesAreThePrefixAndTheNumber) {
    EXPECT_EQ(name_of(7), "Level 7");
    expect_default_names(0);
}

TEST_F(Levels, ALongTranslatedPrefixStillShowsTheNumber) {
    const auto bundle = dir_ / "bundle";
    std::filesystem::create_directories(bundle / "strings");
    std::ofstream(bundle / "strings" / "strings.txt") << "413,17\tA very long level prefix \n";
    setenv("DRAVELIN_DATA", bundle.c_str(), 1);
    plat::reload_strings();
    init_levels();
    unsetenv("DRAVELIN_DATA");
    plat::reload_strings();
    EXPECT_EQ(name_of(7), "A very long le7");
    EXPECT_EQ(name_of(250), "A very long 250");
}

TEST_F(Levels, NamesAreCutTo15Characters) {
    struct Case {
        const char* given;
        const char* stored;
    };
    const Case cases[] = {
        {"Walls", "Walls"},
        {"Exactly 15 char", "Exactly 15 char"},
        {"Twenty characters!!!", "Twenty characte"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        char caller[32];
        std::strcpy(caller, c.given);
        set_LevelName(9, caller);
        EXPECT_STREQ(caller, c.stored);  // the caller's string is cut as well
        EXPECT_EQ(name_of(9), c.stored);
    }
    EXPECT_EQ(name_of(8), "Level 8");
    EXPECT_EQ(name_of(10), "Level 10");
}

TEST_F(Levels, FixAllLevels) {
    std::uint16_t set[level_set_words] = {1};
    fix_AllLevels_In(set);
    EXPECT_EQ(set[0], 0xFFFE);
    for (int w = 1; w < level_set_words; ++w) EXPECT_EQ(set[w], 0xFFFF) << w;
    EXPECT_EQ(std::memcmp(savelevels, set, sizeof set), 0);

    // Without bit 0 both leave the set alone.
    std::uint16_t some[level_set_words] = {6, 0, 0, 0x80};
    const std::vector<std::uint16_t> kept(some, some + level_set_words);
    fix_AllLevels_In(some);
    fix_AllLevels_Out(some);
    EXPECT_EQ(std::vector<std::uint16_t>(some, some + level_set_words), kept);

    std::uint16_t out[level_set_words] = {1 | 8};
    savelevels[3] = 0x1234;
    savelevels[0] = 0xFFFF;
    fix_AllLevels_Out(out);
    EXPECT_EQ(out[0], 0xFFFE);
    EXPECT_EQ(out[3], 0x1234);
}

TEST_F(Levels, NamesTravelThroughTheCompanion) {
    set_name(0, "Everything");
    set_name(1, "Walls");
    set_name(250, "Last");
    const std::string names(*thelevls, level_table_bytes);
    ASSERT_EQ(FSRef_put_levelinfo(file_), 1);

    plat::ResourceFork fork;
    ASSERT_EQ(fork.load(file_), plat::noErr);
    const plat::Resource* r = fork.find(levels_resource_type, levels_resource_id);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->name, "levels");
    EXPECT_EQ(std::string(r->data.begin(), r->data.end()), names);
    std::uint32_t type = 0, creator = 0;
    ASSERT_EQ(plat::get_type_creator(file_, &type, &creator), plat::noErr);
    EXPECT_EQ(type, four_cc("2D  "));
    EXPECT_EQ(creator, four_cc("DRAV"));

    init_levels();
    ASSERT_EQ(name_of(1), "Level 1");
    EXPECT_EQ(FSRef_get_levelinfo(file_), 1);
    EXPECT_EQ(std::string(*thelevls, level_table_bytes), names);
    EXPECT_EQ(name_of(250), "Last");
}

TEST_F(Levels, WritingKeepsTheFilesTypeAndOtherResources) {
    ASSERT_EQ(plat::set_type_creator(file_, four_cc("HAT "), four_cc("DRAV")), plat::noErr);
    plat::ResourceFork fork;
    ASSERT_TRUE(fork.put(four_cc("STR "), 1, "other", {1, 2}));
    ASSERT_TRUE(fork.put(levels_resource_type, levels_resource_id, "levels", {9}));
    ASSERT_EQ(fork.save(file_), plat::noErr);

    ASSERT_EQ(FSRef_put_levelinfo(file_), 1);
    ASSERT_EQ(fork.load(file_), plat::noErr);
    EXPECT_EQ(fork.resources().size(), 2u);
    ASSERT_NE(fork.find(four_cc("STR "), 1), nullptr);
    EXPECT_EQ(fork.find(levels_resource_type, levels_resource_id)->data.size(), 4016u);
    std::uint32_t type = 0;
    ASSERT_EQ(plat::get_type_creator(file_, &type, nullptr), plat::noErr);
    EXPECT_EQ(type, four_cc("HAT "));

    EXPECT_EQ(FSRef_put_levelinfo(FSRef{dir_ / "missing"}), 0);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "._missing"));
}

TEST_F(Levels, NoNamesInTheFileGiveTheDefaults) {
    struct Case {
        const char* what;
        std::function<void(const FSRef&)> make;
    };
    const Case cases[] = {
        {"no companion", [](const FSRef& f) { plat::remove_companion(f); }},
        {"companion without a fork",
         [](const FSRef& f) { ASSERT_EQ(plat::set_type_creator(f, 1, 2), plat::noErr); }},
        {"fork without the names",
         [](const FSRef& f) {
             plat::ResourceFork fork;
             fork.put(levels_resource_type, 129, "levels", Bytes(4016, 'x'));
             ASSERT_EQ(fork.save(f), plat::noErr);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plat::remove_companion(file_);
        c.make(file_);
        for (int n = 0; n < level_count; ++n) set_name(n, "Named");
        EXPECT_EQ(FSRef_get_levelinfo(file_), 0);
        EXPECT_EQ(name_of(0), "Named");  // level 0 keeps its name
        expect_default_names(1);
    }
}

TEST_F(Levels, ADamagedCompanionIsReportedAndIgnored) {
    auto write_raw = [](const FSRef& f, const Bytes& b) {
        std::ofstream out(plat::companion_ref(f).path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    };
    auto names_of_size = [](std::size_t n) {
        return [n](const FSRef& f) {
            plat::ResourceFork fork;
            fork.put(levels_resource_type, levels_resource_id, "levels", Bytes(n, 'x'));
            ASSERT_EQ(fork.save(f), plat::noErr);
        };
    };
    struct Case {
        const char* what;
        std::function<void(const FSRef&)> make;
    };
    const Case cases[] = {
        {"not a companion", [&](const FSRef& f) { write_raw(f, {0, 5, 0x16, 7, 0, 2}); }},
        {"malformed fork",
         [&](const FSRef& f) {
             plat::AppleDouble ad;
             ad.entries.push_back({plat::ad_resource_fork, Bytes(40, 0xEE)});
             write_raw(f, plat::format_apple_double(ad));
         }},
        {"names too short", names_of_size(4015)},
        {"names too long", names_of_size(4017)},
        {"names empty", names_of_size(0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make(file_);
        for (int n = 0; n < level_count; ++n) set_name(n, "Named");
        answers().expect("level names saved with this drawing could not be read");
        EXPECT_EQ(FSRef_get_levelinfo(file_), 0);
        EXPECT_TRUE(answers().done());
        EXPECT_EQ(name_of(0), "Named");
        expect_default_names(1);

        // Writing the names again repairs the companion.
        ASSERT_EQ(FSRef_put_levelinfo(file_), 1);
        EXPECT_EQ(FSRef_get_levelinfo(file_), 1);
    }
}

TEST_F(Levels, StoredNamesEndWithinTheirEntry) {
    plat::ResourceFork fork;
    fork.put(levels_resource_type, levels_resource_id, "levels", Bytes(4016, 'A'));
    ASSERT_EQ(fork.save(file_), plat::noErr);
    ASSERT_EQ(FSRef_get_levelinfo(file_), 1);
    EXPECT_EQ(name_of(0), std::string(15, 'A'));
    EXPECT_EQ(name_of(250), std::string(15, 'A'));
}

TEST_F(Levels, WithoutMemoryForTheNamesNothingBreaks) {
    term_levels();
    plat::fail_next_allocations();
    answers().expect("not enough memory");
    init_levels();
    EXPECT_EQ(thelevls, nullptr);
    EXPECT_EQ(get_LevelVisible(1), 1);
    EXPECT_EQ(name_of(7), "Level 7");
    set_name(7, "Walls");
    EXPECT_EQ(FSRef_put_levelinfo(file_), 0);
    EXPECT_EQ(FSRef_get_levelinfo(file_), 0);
}

}  // namespace
