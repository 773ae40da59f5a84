#include <gtest/gtest.h>

#include "platform/core/files.h"

namespace {

TEST(FileNames, ExtensionsCompareInLowerCase) {
    const struct {
        const char* path;
        const char* ext;
    } cases[] = {
        {"/d/Plan.DRW", ".drw"}, {"/d/plan.2D", ".2d"},   {"/d/a.b.PiCt", ".pict"},
        {"/D.X/plan", ""},       {"/d/.Hidden", ""},      {"/d/Été.PCT", ".pct"},
        {"/d/x.ÉB", ".Éb"},  // only ASCII letters change: other bytes are part of a UTF-8 name
    };
    for (const auto& c : cases) EXPECT_EQ(plat::lower_extension({c.path}), c.ext) << c.path;
}

}  // namespace
