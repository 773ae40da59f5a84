#include <gtest/gtest.h>

#include "shell/apple_events.h"
#include "shell/main_loop.h"

namespace drav {
namespace {

TEST(AppleEvents, EachEventReachesItsHandler) {
    init_macevents();
    struct Case {
        std::uint32_t id;
        std::int16_t result;
    };
    const Case cases[] = {
        {plat::ae_open_application, 0},
        {plat::ae_open_documents, 0},  // an empty list opens nothing
        {ae_print_documents, errAEEventNotHandled},
        {0x7A7A7A7A, errAEEventNotHandled},  // not an event of ours
    };
    for (const Case& c : cases) {
        plat::EventRecord e;
        e.what = plat::kHighLevelEvent;
        e.message = c.id;
        EXPECT_EQ(AEProcessAppleEvent(e), c.result) << c.id;
    }
    globalch = 0;
    plat::EventRecord quit;
    quit.what = plat::kHighLevelEvent;
    quit.message = plat::ae_quit;
    EXPECT_EQ(AEProcessAppleEvent(quit), 0);
    EXPECT_EQ(globalch, 'Q');  // nothing changed: no question
}

}  // namespace
}  // namespace drav
