// A fresh program state travels through the workfile whole: start values,
// level sets in the settings slots, level names in the companion file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "shell/startup.h"
#include "shell/tool_options.h"
#include "store/levels.h"
#include "store/record_store.h"
#include "store/settings.h"
#include "store/workfile.h"
#include "tests/support/harness.h"
#include "tests/support/workfile.h"

using namespace drav;

namespace {

class FreshState : public testing::Test {
protected:
    void SetUp() override {
        folder_ = drav::test::use_data_folder();
        objopts = new ObjOptsRec{};
        init_objopts();
        set_work_sizes(15000, 10000, 5000);
        init_variables();
        ASSERT_EQ(setup_workfile(), 1);
        init_levels();
    }
    void TearDown() override {
        drav::test::close_workfile();
        term_levels();
        delete objopts;
        objopts = nullptr;
        EXPECT_TRUE(drav::test::answers().done());
    }
    std::filesystem::path folder_;
};

}  // namespace

TEST_F(FreshState, StartValuesComeBackFromTheSlots) {
    EXPECT_EQ(std::filesystem::file_size(folder_ / "workfile"), 15036u / 4 * 512);
    EXPECT_EQ(std::filesystem::file_size(folder_ / "worklibrary"), 15012u / 4 * 512);
    const GridRec g = grid_data;
    const UnitsRec u = units_defs;
    const OutputRec o = output_defs;
    const PropsRec p = props_defs;
    const UsersRec us = users_defs;
    const std::uint16_t sw = swaper;
    grid_data = {};
    units_defs = {};
    output_defs = {};
    props_defs = {};
    users_defs = {};
    swaper = 0;
    ASSERT_EQ(read_sav_rec(), 1);
    EXPECT_EQ(std::memcmp(&grid_data, &g, sizeof g), 0);
    EXPECT_EQ(std::memcmp(&units_defs, &u, sizeof u), 0);
    EXPECT_EQ(std::memcmp(&output_defs, &o, sizeof o), 0);
    EXPECT_EQ(std::memcmp(&props_defs, &p, sizeof p), 0);
    EXPECT_EQ(std::memcmp(&users_defs, &us, sizeof us), 0);
    EXPECT_EQ(swaper, sw);
}

TEST_F(FreshState, LevelSetsTravelInSlotsThreeAndFourAndNamesInTheCompanion) {
    set_LevelVisible(2, 1);
    set_LevelVisible(250, 1);
    set_LevelLocked(7, 1);
    char name[] = "Walls";
    set_LevelName(2, name);
    write_sav_rec();
    ASSERT_EQ(FSRef_put_levelinfo(workfileFSRef), 1);

    init_levels();  // back to the defaults
    EXPECT_EQ(get_LevelVisible(2), 0);
    ASSERT_EQ(read_sav_rec(), 1);
    EXPECT_EQ(get_LevelVisible(2), 1);
    EXPECT_EQ(get_LevelVisible(250), 1);
    EXPECT_EQ(get_LevelLocked(7), 1);
    EXPECT_EQ(LevelEditable(7), 0);
    char buf[level_name_bytes];
    EXPECT_STRNE(get_LevelName(2, buf), "Walls");
    ASSERT_EQ(FSRef_get_levelinfo(workfileFSRef), 1);
    EXPECT_STREQ(get_LevelName(2, buf), "Walls");
    EXPECT_STREQ(get_LevelName(3, buf), "Level 3");
}
