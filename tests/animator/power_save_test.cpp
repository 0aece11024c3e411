#include "animator/animator.h"
#include "animator/power_policy.h"
#include "animator/power_save.h"
#include "platform/loaded_module.h"
#include "tests/animator/test_scenery.h"
#include "tests/support/system_double.h"

#include <cstdio>
#include <gtest/gtest.h>

TEST(PowerSaveRule, DefaultsSwitchOnOnceAThirdOfTheTimeoutHasPassed) {
    const PowerSaveSettings defaults{1, 3, 300};
    EXPECT_FALSE(powerSaveDue(600, 0, defaults));
    EXPECT_FALSE(powerSaveDue(600, 200000, defaults));
    EXPECT_TRUE(powerSaveDue(600, 200001, defaults));
}

TEST(PowerSaveRule, TheMaximumCapsALongTimeout) {
    const PowerSaveSettings defaults{1, 3, 300};
    EXPECT_FALSE(powerSaveDue(1200, 300000, defaults));
    EXPECT_TRUE(powerSaveDue(1200, 300001, defaults));
}

TEST(PowerSaveRule, MaximumZeroMeansNoCap) {
    const PowerSaveSettings uncapped{1, 3, 0};
    EXPECT_FALSE(powerSaveDue(1200, 300001, uncapped));
    EXPECT_FALSE(powerSaveDue(1200, 400000, uncapped));
    EXPECT_TRUE(powerSaveDue(1200, 400001, uncapped));
}

TEST(PowerSaveRule, TimeoutZeroSwitchesItOffEvenPastTheMaximum) {
    EXPECT_FALSE(powerSaveDue(0, 10'000'000, PowerSaveSettings{1, 3, 300}));
    EXPECT_FALSE(powerSaveDue(0, 10'000'000, PowerSaveSettings{0, 1, 0}));
}

TEST(PowerSaveRule, TimeoutTimesMultiplierDoesNotWrapAt32Bits) {
    // 65536 x 65536 is 2^32: a 32-bit product would give a limit of 0.
    EXPECT_FALSE(powerSaveDue(65536, 1000, PowerSaveSettings{65536, 1, 0}));
}

TEST(PowerSaveRule, NegativeSettingsCountAsLargeUnsignedValues) {
    // A multiplier of -1 is 0xFFFFFFFF: the limit lies far beyond any run.
    EXPECT_FALSE(powerSaveDue(600, 100'000'000, PowerSaveSettings{-1, 3, 0}));
    // A maximum of -1 is never passed; the share still applies.
    EXPECT_FALSE(powerSaveDue(600, 100000, PowerSaveSettings{1, 3, -1}));
    EXPECT_TRUE(powerSaveDue(600, 200001, PowerSaveSettings{1, 3, -1}));
}

TEST(IdleTimeoutForPowerSource, UsesTheIdleTimeoutAndFallsBackToHibernate) {
    POWER_POLICY policy{};
    policy.user.IdleTimeoutAc = 600;
    policy.mach.DozeS4TimeoutAc = 1800;
    policy.user.IdleTimeoutDc = 0;
    policy.mach.DozeS4TimeoutDc = 900;
    EXPECT_EQ(idleTimeoutForPowerSource(1, policy), 600u);
    EXPECT_EQ(idleTimeoutForPowerSource(255, policy), 600u) << "status not reported: mains";
    EXPECT_EQ(idleTimeoutForPowerSource(0, policy), 900u) << "on battery";
    policy.user.IdleTimeoutAc = 0;
    EXPECT_EQ(idleTimeoutForPowerSource(1, policy), 1800u);
    policy.mach.DozeS4TimeoutAc = 0;
    EXPECT_EQ(idleTimeoutForPowerSource(1, policy), 0u);
    policy.user.IdleTimeoutDc = 300;
    EXPECT_EQ(idleTimeoutForPowerSource(0, policy), 300u);
}

// powrprof is loaded from the system folder; the test's stand-in is put there, and the run
// asks for native DLLs first.
class IdleTimeoutQuery : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(installSystemDouble(ORVIK_POWRPROF_DOUBLE_FILE, "powrprof.dll"));
        powrprof = loadSystemLibrary("powrprof.dll");
        callCount = powrprof.find<LONG(WINAPI*)()>("PowerDoubleCallCount");
        ASSERT_NE(callCount, nullptr) << "the test double of powrprof.dll was not loaded";
        SYSTEM_POWER_STATUS status{};
        ASSERT_TRUE(GetSystemPowerStatus(&status));
        onBattery = status.ACLineStatus == 0;
        std::printf("power status: AC line status %u\n", status.ACLineStatus);
    }
    void TearDown() override { setPowerPolicy(""); }

    LoadedModule powrprof;
    LONG(WINAPI* callCount)() = nullptr;
    bool onBattery = false;
};

TEST_F(IdleTimeoutQuery, ReadsThePolicyOfThePowerSource) {
    const LONG callsBefore = callCount();
    setPowerPolicy("600,700,1800,900");
    DWORD seconds = 0;
    ASSERT_TRUE(PowerPolicyReader().queryIdleTimeout(seconds));
    EXPECT_EQ(seconds, onBattery ? 700u : 600u);
    EXPECT_EQ(callCount(), callsBefore + 1);

    setPowerPolicy("0,0,1800,900");
    ASSERT_TRUE(PowerPolicyReader().queryIdleTimeout(seconds));
    EXPECT_EQ(seconds, onBattery ? 900u : 1800u);

    setPowerPolicy("0,0,0,0");
    ASSERT_TRUE(PowerPolicyReader().queryIdleTimeout(seconds));
    EXPECT_EQ(seconds, 0u);
}

TEST_F(IdleTimeoutQuery, FailsWhenThePolicyCannotBeRead) {
    setPowerPolicy("");
    DWORD seconds = 1234;
    EXPECT_FALSE(PowerPolicyReader().queryIdleTimeout(seconds));
    EXPECT_EQ(seconds, 1234u);
}
