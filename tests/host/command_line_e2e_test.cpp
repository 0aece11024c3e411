#include "tests/host/e2e_fixture.h"

using CommandLineRun = SaverEndToEndTest;

TEST_F(CommandLineRun, RefusedSwitchesEndWithMinusOneAndShowNothing) {
    // On this system (not of the Windows 9x family) the password switch is refused too.
    for (const char* tail : {"/x", "/\ts", "-\ts", "/\xE9", "/a 123", "x/s"}) {
        SCOPED_TRACE(tail);
        SaverProcess run(install.program(), install.quotedCommand(tail));
        ASSERT_NO_FATAL_FAILURE(expectEndsWithoutAWindow(run, 0xFFFFFFFFu));
    }
}
