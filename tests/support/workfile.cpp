#include "tests/support/workfile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/paths.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "store/workfile.h"
#include "tests/support/harness.h"

namespace drav::test {

std::filesystem::path use_data_folder() {
    const auto folder = scratch_dir() / "data" / "Dravelin";
    std::filesystem::create_directories(folder);
    UserAppSupportFSRef = FSRef{folder};
    return folder;
}

void start_small_drawing(int units_code) {
    EXPECT_EQ(init_record_store(), 1);
    number_of_objects = first_object_slot;
    set_work_sizes(100, 50, 20);
    units_defs.units_code = static_cast<std::int16_t>(units_code);
    units_defs.unit_size = 1;
    units_defs.increment = 1.0 / 64;
    users_defs.hatch_spacing = 0.25;
    std::strcpy(units_defs.abbrev, "in");
    remember_start_settings();
}

void close_workfile() {
    nomore_info();
    FSRef_CloseMyFile(&workfileRefNum);
    FSRef_CloseMyFile(&worklibRefNum);
    free_record_store();
}

}  // namespace drav::test
