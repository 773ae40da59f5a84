// The real program, started, driven and ended by a script.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "display/screen.h"
#include "platform/core/lock.h"
#include "platform/ui/windows.h"
#include "shell/idle.h"
#include "shell/startup.h"
#include "store/record_store.h"
#include "store/records.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

TEST(Program, StartsWithAnEmptyDrawingAndQuitsCleanly) {
    Session s;
    std::filesystem::path folder;
    std::string scratch[3];
    s.then([&] {
        folder = UserAppSupportFSRef.path;
        EXPECT_EQ(number_of_objects, 36);
        EXPECT_EQ(getidle(), 1);
        for (int slot = 0; slot <= 6; ++slot) {
            get_info(static_cast<std::int16_t>(slot));
            EXPECT_EQ(rec_kind(info), slot + 1) << slot;
        }
        plat::Window* w = whichdrawWindow();
        EXPECT_TRUE(plat::window_visible(w));
        // No stored place: the default frame inside the 1024 x 768 screen.
        EXPECT_EQ(plat::window_bounds(w), (plat::Rect{43, 54, 733, 1021}));
        EXPECT_EQ(drawRect, (plat::Rect{0, 0, 690 - 15, 967 - 15}));
        // The scratch files named at start are removed at a normal exit.
        for (int i = 0; i < 3; ++i) {
            scratch[i] = dfilenames + i * dfilename_size;
            std::ofstream(folder / scratch[i]) << "x";
        }
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(drav::test::answers().done());
    for (const auto& name : scratch) EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    EXPECT_TRUE(std::filesystem::exists(folder / "workfile"));
    EXPECT_TRUE(std::filesystem::exists(folder / "worklibrary"));
}
