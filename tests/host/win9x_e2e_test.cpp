#include "host/saver_modes.h"
#include "tests/host/e2e_fixture.h"
#include "tests/host/user_input.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_window.h"
#include "tests/support/wait_for.h"

namespace {

const char* const kAppDefaults = "Software\\Wine\\AppDefaults\\OrvikSaver.scr";
const char* const kAppDllOverrides = "Software\\Wine\\AppDefaults\\OrvikSaver.scr\\DllOverrides";
const char* const kPasswordKey = "Control Panel\\Desktop";

// The system's screen-saver-running state as a new process reads it (a process keeps
// the value it read first).
int systemRunningState() {
    const std::string probePath = windowsPathOf(ORVIK_RUNNING_PROBE_FILE);
    std::string commandLine;
    commandLine.append(1, '"').append(probePath).append(1, '"');
    SaverProcess probe(probePath, commandLine);
    if (!probe.started() || !probe.waitForExit())
        return -1;
    return static_cast<int>(probe.exitCode());
}

void switchRunningStateOff() {
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, FALSE, &previous, 0);
}

// The saver alone is told that it runs on Windows 98 (as Wine allows per program).
class Win98Run : public SaverEndToEndTest {
  protected:
    void SetUp() override {
        SaverEndToEndTest::SetUp();
        setRegistryString(kAppDefaults, "Version", "win98");
        switchRunningStateOff();
        ASSERT_EQ(systemRunningState(), 0);
    }
    void TearDown() override {
        switchRunningStateOff();
        SaverEndToEndTest::TearDown();
    }

    void askForPassword(DWORD use) {
        setRegistryValue(kPasswordKey, "ScreenSaveUsePassword", REG_DWORD, &use, sizeof use);
    }
    void installVerifier(const std::string& script) {
        ASSERT_TRUE(install.addBuiltFile(ORVIK_PASSWORD_DOUBLE_FILE, "PASSWORD.CPL"));
        install.writeFile("verifier-script.txt", script);
    }
    std::vector<std::string> verifierCalls() const {
        return install.readLines("verifier-calls.txt");
    }

    ScopedRegistryValues version{kAppDefaults, {"Version"}};
    ScopedRegistryValues overrides{kAppDllOverrides, {"mpr"}};
    ScopedRegistryValues password{kPasswordKey, {"ScreenSaveUsePassword"}};
};

} // namespace

TEST_F(Win98Run, ChangePasswordSwitchAsksTheSystemOnBehalfOfTheOwner) {
    setRegistryString(kAppDllOverrides, "mpr", "native");
    ASSERT_TRUE(install.addBuiltFile(ORVIK_MPR_DOUBLE_FILE, "MPR.DLL"));
    TestWindow owner(60, 60, 300, 200);
    const std::string expected = "provider=SCRSAVE owner=" + decimal(owner.get()) + " reserved=0,0";

    SaverProcess given(install.program(), install.quotedCommand("/a " + decimal(owner.get())));
    ASSERT_TRUE(given.waitForExit());
    EXPECT_EQ(given.exitCode(), 0u);

    SetForegroundWindow(owner.get());
    ASSERT_TRUE(waitUntilForeground(owner.get()));
    SaverProcess foreground(install.program(), install.quotedCommand("-A"));
    ASSERT_TRUE(foreground.waitForExit());
    EXPECT_EQ(foreground.exitCode(), 0u);

    EXPECT_EQ(install.readLines("mpr-calls.txt"), (std::vector<std::string>{expected, expected}));
}

TEST_F(Win98Run, ChangePasswordSwitchEndsWithZeroWithTheSystemsOwnLibrary) {
    SaverProcess run(install.program(), install.quotedCommand("/a 123"));
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
}

TEST_F(Win98Run, RefusedPasswordKeepsTheSaverUntilTheVerifierAccepts) {
    askForPassword(1);
    installVerifier("refuse\naccept\n");
    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_GE(waitForSettledView(run), 0);
    ASSERT_TRUE(waitUntilForeground(window));
    EXPECT_EQ(systemRunningState(), 1) << "the running state is not on while the saver runs";

    // Two presses in a row: the second close comes right after the refusal and must not
    // bring up another prompt.
    pressKeys({'A', 'B'});
    ASSERT_TRUE(waitFor([&] { return !verifierCalls().empty(); }, 30000));
    idleFor(1000);
    EXPECT_EQ(verifierCalls().size(), 1u);
    EXPECT_TRUE(run.running()) << "a refused password closed the saver";

    pressKeys({'C'});
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
    const std::string seen = "window=" + decimal(window) + " running=1 answer=";
    EXPECT_EQ(verifierCalls(), (std::vector<std::string>{seen + "refuse", seen + "accept"}));
    EXPECT_EQ(systemRunningState(), 0) << "the running state stayed on after the saver ended";
}

TEST_F(Win98Run, FaultInsideThePromptDoesNotLeaveTheRunningStateOn) {
    askForPassword(1);
    installVerifier("crash\n");
    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitUntilForeground(window));
    ASSERT_TRUE(waitFor([] { return systemRunningState() == 1; }, 15000));

    pressKeys({'A'});
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_EQ(verifierCalls().size(), 1u);
    EXPECT_EQ(systemRunningState(), 0);
}

TEST_F(Win98Run, AnEscapedExceptionEndsWithItsOwnCodeAndTheRunningStateOff) {
    const std::string probe = windowsPathOf(ORVIK_FAULT_PROBE_FILE);
    SaverProcess run(probe, "\"" + probe + "\"");
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), static_cast<DWORD>(kEscapedExceptionExitCode));
    EXPECT_EQ(systemRunningState(), 0);
}

// Libraries loaded by name are never taken from the current folder, where anyone may have
// put one: a verifier there is not the system's.
TEST_F(Win98Run, AVerifierInTheCurrentFolderIsNeverLoaded) {
    askForPassword(1);
    TempFolder current;
    SaverInstall elsewhere;
    ASSERT_TRUE(elsewhere.addBuiltFile(ORVIK_PASSWORD_DOUBLE_FILE, "PASSWORD.CPL"));
    ASSERT_TRUE(CopyFileA(elsewhere.file("PASSWORD.CPL").c_str(),
                          (current.path() + "\\PASSWORD.CPL").c_str(), FALSE));
    current.writeFile("verifier-script.txt", "refuse\n");
    SaverProcess run(install.program(), install.quotedCommand("/s"), current.path());
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitUntilForeground(window));
    EXPECT_EQ(systemRunningState(), 0) << "a verifier was loaded";
    pressKeys({'A'});
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
    EXPECT_EQ(GetFileAttributesA((current.path() + "\\verifier-calls.txt").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(Win98Run, WithoutPasswordProtectionNoVerifierIsLoaded) {
    askForPassword(0);
    installVerifier("refuse\n");
    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitUntilForeground(window));
    EXPECT_EQ(systemRunningState(), 0);
    pressKeys({'A'});
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
    EXPECT_TRUE(verifierCalls().empty());
}
