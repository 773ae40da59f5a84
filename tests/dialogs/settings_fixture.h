// What the settings-window tests share: a tool-options record of their own,
// known settings, the front window's controls and the check that a window
// stored exactly the fields it edits.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/tool_options.h"
#include "dialogs/edit_fields.h"
#include "platform/ui/dialogs.h"
#include "store/settings.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"
#include "tests/support/settings_snapshot.h"

namespace drav::test {

class SettingsWindows : public testing::Test {
protected:
    void SetUp() override {
        opts_ = ObjOptsRec{};
        objopts = &opts_;
        units_defs = UnitsRec{};
        units_defs.increment = 0.5;
        units_defs.rotation_step = 0.25;
        grid_data = GridRec{1.0, 0.0, 2, 1.0, 0.0, 2};
        props_defs = PropsRec{};
        props_defs.group = 5;
        props_defs.text_width = 0.1;
        props_defs.text_height = 0.2;
        props_defs.x_spacing = 0.05;
        props_defs.y_spacing = 0.3;
        props_defs.font = 1;
        users_defs = UsersRec{};
        users_defs.wall_width = 0.25;
        users_defs.spline_band = 1.0;
        users_defs.spline_step = 0.5;
        output_defs = OutputRec{};
        output_defs.plot_scale = 1.0;
        output_defs.paper_units = 1;
        swaper = 0;
    }
    void TearDown() override {
        objopts = nullptr;
        EXPECT_TRUE(answers().done()) << "an expected alert never came: " << answers().next_expected();
    }
    // Runs `open` with `s` feeding it; the fields it changed, sorted.
    template <class F>
    std::vector<std::string> changes(Session& s, F open, int* result) {
        const SettingsSnapshot before = take_snapshot();
        s.drive([&] { *result = open(); });
        auto c = changed_fields(before, take_snapshot());
        std::sort(c.begin(), c.end());
        return c;
    }
    ObjOptsRec opts_;
};

// The front window's control of signature 0 and this id.
inline ControlRef front_control(int id) { return GrabCRef(plat::front_dialog(), 0, id); }

using Names = std::vector<std::string>;

}  // namespace drav::test
