// OrvikCheck's sheet against the finished saver: each picture is what the saver shows.
#include "tests/host/e2e_fixture.h"
#include "tests/host/user_input.h"
#include "tests/support/captured_picture.h"
#include "tests/support/console_run.h"
#include "tests/support/demo_catalogue.h"
#include "tests/support/file_access.h"
#include "tests/support/wait_for.h"

#include <cstdio>
#include <string>

namespace {

class CheckerSheet : public SaverEndToEndTest {
  protected:
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);

    void SetUp() override {
        SaverEndToEndTest::SetUp();
        copyDemoCatalogue(install.folder());
        ASSERT_TRUE(install.addBuiltFile(ORVIK_CHECK_FILE, "OrvikCheck.exe"));
    }

    std::string frameName(int type) const {
        char name[64];
        std::snprintf(name, sizeof name, "Type%02d-%dx%d.bmp", type, width, height);
        return name;
    }

    // The sheet of the catalogue beside the checker, at this screen's size, into folder.
    void writeSheet(const std::string& folder) const {
        const ConsoleRun run =
            runConsoleProgram(install.file("OrvikCheck.exe"),
                              "--screen " + std::to_string(width) + "x" + std::to_string(height) +
                                  " --sheet \"" + install.file(folder) + "\"");
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0u) << run.output << run.errors;
    }

    // How many of the screen's pixels differ from the frame's; all of them when the sizes do.
    long differingPixels(const BmpPicture& frame) const {
        const Picture screen = capture(GetDesktopWindow());
        if (screen.width != frame.width || screen.height != frame.height)
            return static_cast<long>(screen.width) * screen.height;
        long differing = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) {
                const COLORREF c = frame.rows[y][x];
                const std::uint32_t rgb = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
                differing += screen.at(x, y) != rgb;
            }
        return differing;
    }
};

} // namespace

TEST_F(CheckerSheet, EachPictureIsTheScreenSizedFirstFrameThatTheSaverShows) {
    for (int type = 0; type < 5; ++type) {
        SCOPED_TRACE("type " + std::to_string(type));
        ASSERT_NO_FATAL_FAILURE(writeSheet("before"));
        BmpPicture frame;
        ASSERT_TRUE(readBmp(install.file("before\\" + frameName(type)), frame));
        EXPECT_EQ(frame.width, width);
        EXPECT_EQ(frame.height, height);
        const auto index = readFileBytes(install.file("before\\index.html"));
        EXPECT_NE(std::string(index.begin(), index.end()).find("src=\"" + frameName(type) + "\""),
                  std::string::npos);

        const DWORD selected = static_cast<DWORD>(type);
        setRegistryValue(kPreferenceKey, "lTypeNo", REG_DWORD, &selected, sizeof selected);
        SaverProcess run(install.program(), install.quotedCommand("/s"));
        HWND window = run.waitForSaverWindow();
        ASSERT_NE(window, nullptr);
        // The monitor goes off at once: the saver finishes its start-up transition and
        // pauses before its first move, so that the first frame stays on the screen.
        SendMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
        // The clock's view moves a pixel every few seconds of the day: its first frame is
        // the one drawn before the run or the one drawn after its start.
        ASSERT_NO_FATAL_FAILURE(writeSheet("after"));
        BmpPicture later;
        ASSERT_TRUE(readBmp(install.file("after\\" + frameName(type)), later));
        // Wine shows what another thread drew into a window once the window's own thread
        // takes a message: a paused saver's thread may sleep with the last step unshown.
        const auto shows = [&](const BmpPicture& picture) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored);
            return differingPixels(picture) == 0;
        };
        EXPECT_TRUE(waitFor([&] { return shows(frame) || shows(later); }, 20000))
            << "the screen does not show the sheet's picture: " << differingPixels(frame)
            << " pixels differ";
        ASSERT_TRUE(waitUntilForeground(window));
        pressKeys({VK_SPACE});
        ASSERT_TRUE(run.waitForExit(30000));
    }
}
