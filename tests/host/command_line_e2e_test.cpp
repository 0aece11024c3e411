#include "tests/host/e2e_fixture.h"
#include "tests/support/wait_for.h"

using CommandLineRun = SaverEndToEndTest;

TEST_F(CommandLineRun, RefusedSwitchesEndWithMinusOneAndShowNothing) {
    // On this system (not of the Windows 9x family) the password switch is refused too.
    for (const char* tail : {"/x", "/\ts", "-\ts", "/\xE9", "/a 123", "x/s"}) {
        SCOPED_TRACE(tail);
        SaverProcess run(install.program(), install.quotedCommand(tail));
        ASSERT_TRUE(run.started());
        ASSERT_TRUE(waitFor(
            [&] {
                run.watchWindows();
                return !run.running();
            },
            30000));
        EXPECT_EQ(run.exitCode(), 0xFFFFFFFFu);
        EXPECT_TRUE(run.windowsSeen().empty());
    }
}
