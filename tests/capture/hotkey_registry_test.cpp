#include "capture/hotkey_registry.h"
#include "support/capture_fakes.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::FakeWorld;
using Log = std::vector<std::string>;

TEST(HotKeyRegistry, StartRegistersCheckedKeysInAscendingOrder) {
    FakeWorld w;
    registerStartHotKeys(w);
    EXPECT_EQ(w.log,
              (Log{"register 1 0 112", "register 2 0 113", "register 3 0 114", "register 4 0 115",
                   "register 5 0 116", "register 6 0 117", "register 7 0 118", "register 10 0 121",
                   "register 12 0 50", "register 13 0 49", "register 14 0 51", "register 15 2 89",
                   "register 16 0 52"}));
}

TEST(HotKeyRegistry, ClickReevaluatesAllSixteenInPageOrder) {
    FakeWorld w;
    w.enabled[8] = true;  // F8, without Ctrl
    w.enabled[4] = false; // F4 released
    w.enabled[15] = false;
    syncHotKeyRegistrations(w, w);
    EXPECT_EQ(w.log,
              (Log{"register 1 0 112", "register 2 0 113", "register 3 0 114", "unregister 4",
                   "register 5 0 116", "register 6 0 117", "register 7 0 118", "register 8 0 119",
                   "unregister 9", "register 10 0 121", "unregister 11", "register 13 0 49",
                   "register 12 0 50", "register 14 0 51", "unregister 15", "register 16 0 52"}));
}

// Keys another program holds and keys the keyboard lacks are reported in the order tried,
// each with its reason; every other key is still registered, and a key switched off is
// released, not reported.
TEST(HotKeyRegistry, KeysHeldElsewhereAreReported) {
    constexpr auto Taken = HotKeyResult::Taken;
    constexpr auto Missing = HotKeyResult::NoSuchKey;
    FakeWorld w;
    w.heldElsewhere = {4, 8, 15};
    w.missingKeys = {14};
    EXPECT_EQ(registerStartHotKeys(w),
              (std::vector<UnregisteredKey>{{4, Taken}, {14, Missing}, {15, Taken}}));
    EXPECT_EQ(w.log.size(), 13u);
    w.log.clear();
    w.enabled[8] = true;
    w.enabled[15] = false;
    EXPECT_EQ(syncHotKeyRegistrations(w, w),
              (std::vector<UnregisteredKey>{{4, Taken}, {8, Taken}, {14, Missing}}));
    EXPECT_EQ(w.log.size(), 16u);
}

TEST(HotKeyRegistry, ExitReleasesEveryIdentifier) {
    FakeWorld w;
    releaseHotKeys(w);
    ASSERT_EQ(w.log.size(), 16u);
    for (int id = 1; id <= 16; ++id)
        EXPECT_EQ(w.log[static_cast<std::size_t>(id - 1)], "unregister " + std::to_string(id));
}

} // namespace
} // namespace quillet
