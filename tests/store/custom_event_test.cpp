#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "extension/api/custom_event.h"

using namespace drav;

namespace {

struct Seen {
    int module;
    CustomEventRec rec;
};
std::vector<Seen>& seen() {
    static std::vector<Seen> s;
    return s;
}

template <int M>
void module(CustomEventRec* e) {
    seen().push_back({M, *e});
}

// Module 3 answers event 2 with a broadcast of its own, as a module that adds
// objects would.
void nesting_module(CustomEventRec* e) {
    seen().push_back({3, *e});
    if (e->code == 2) custom_event(4, 99, 0, 0, "inner", nullptr);
    EXPECT_EQ(e->a, e->code == 2 ? 7 : 99);  // the outer record is intact afterwards
}

class Broadcast : public testing::Test {
protected:
    void SetUp() override {
        ModuleEntry all[module_count] = {module<0>, module<1>, module<2>, module<3>, module<4>,
                                         module<5>, module<6>, module<7>, module<8>, module<9>};
        std::memcpy(module_table, all, sizeof all);
        seen().clear();
    }
    void TearDown() override {
        for (ModuleEntry& m : module_table) m = nullptr;
        allow_events = 1;
    }
};

}  // namespace

TEST_F(Broadcast, EveryModuleGetsTheRecordOnceInTheFixedOrder) {
    ModuleEventFields ev{1, 0x12345678, 600, -3, 4, 0x0900};
    api_changed_levels = 1;
    custom_event(5, 40, 1, 0x0100, "a file", &ev);
    EXPECT_EQ(api_changed_levels, 0);
    ASSERT_EQ(seen().size(), static_cast<std::size_t>(module_count));
    for (int i = 0; i < module_count; ++i) {
        const CustomEventRec& r = seen()[static_cast<std::size_t>(i)].rec;
        EXPECT_EQ(seen()[static_cast<std::size_t>(i)].module, i);
        const auto* words = reinterpret_cast<const std::int16_t*>(&r);
        EXPECT_EQ(words[0], 5);
        EXPECT_EQ(words[1], 40);
        EXPECT_EQ(words[2], 1);
        EXPECT_EQ(r.c, 0x0100);
        // The record is packed: its 32-bit fields are read by value, never
        // bound to a reference at an odd address.
        EXPECT_EQ(std::uint32_t{r.reserved1}, 0u);
        EXPECT_STREQ(r.text, "a file");
        EXPECT_EQ(std::uint32_t{r.event.message}, 0x12345678u);
        EXPECT_EQ(r.event.where_v, -3);
        EXPECT_EQ(r.event.modifiers, 0x0900);
    }
}

TEST_F(Broadcast, TextIsCutAndAMissingEventIsZeros) {
    const std::string longtext(300, 'x');
    custom_event(9, 0, 1, 0, longtext.c_str(), nullptr);
    custom_event(2, 1, 0, 0, nullptr, nullptr);
    const CustomEventRec& r = seen().front().rec;
    EXPECT_EQ(std::strlen(r.text), 255u);
    EXPECT_EQ(r.event.what, 0);
    EXPECT_EQ(std::uint32_t{r.event.when}, 0u);
    EXPECT_STREQ(seen().back().rec.text, "");
}

TEST_F(Broadcast, ADisabledBroadcastIsDroppedNotQueued) {
    api_changed_levels = 1;
    disable_custom_events();
    custom_event(3, 40, 0, 0, "", nullptr);
    EXPECT_TRUE(seen().empty());
    EXPECT_EQ(api_changed_levels, 0);
    enable_custom_events();
    custom_event(3, 41, 0, 0, "", nullptr);
    ASSERT_EQ(seen().size(), static_cast<std::size_t>(module_count));
    EXPECT_EQ(seen().front().rec.a, 41);
}

TEST_F(Broadcast, NestedBroadcastsHaveTheirOwnRecords) {
    for (ModuleEntry& m : module_table) m = nullptr;
    module_table[3] = nesting_module;
    module_table[4] = module<4>;
    custom_event(2, 7, 0, 0, "", nullptr);
    // Module 3 gets event 2, its own event 4 reaches 3 and 4, then 4 gets event 2.
    ASSERT_EQ(seen().size(), 4u);
    const int order[][2] = {{3, 2}, {3, 4}, {4, 4}, {4, 2}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(seen()[i].module, order[i][0]) << i;
        EXPECT_EQ(seen()[i].rec.code, order[i][1]) << i;
    }
}

TEST(BroadcastTable, StartsEmpty) {
    for (ModuleEntry m : module_table) EXPECT_EQ(m, nullptr);
    EXPECT_EQ(allow_events, 1);
    custom_event(0, 0, 0, 0, "", nullptr);  // reaches nobody, harmlessly
}
