#include "host/command_line.h"
#include "host/saver_modes.h"
#include "host/saver_window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::uintptr_t handleValue(HWND handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

struct GrammarCase {
    const char* tail;
    SaverMode mode;
    std::uintptr_t handle;
};

void expectGrammar(const GrammarCase& expected) {
    SaverRequest request = parseCommandLine(expected.tail);
    EXPECT_EQ(request.mode, expected.mode) << "tail \"" << expected.tail << "\"";
    EXPECT_EQ(handleValue(request.handle), expected.handle) << "tail \"" << expected.tail << "\"";
}

} // namespace

TEST(CommandLineGrammar, NoSwitchAtAllOpensTheSettingsWithoutOwner) {
    for (const char* tail : {"", " ", "/", "-", "//--", " -/ - "})
        expectGrammar({tail, SettingsMode, 0});
}

TEST(CommandLineGrammar, FullScreenSwitchInEitherCaseAfterAnyMixOfSeparators) {
    for (const char* tail : {"s", "S", "-s", "/S", " s", "//--s", "- /S", "/s 123", "/sx", "/s:1"})
        expectGrammar({tail, FullScreenMode, 0});
}

TEST(CommandLineGrammar, AnythingButASeparatorBeforeTheSwitchIsRejected) {
    for (const char* tail : {"/x", "\ts", "/\ts", "x/s", "1", "/:s", "/\xE9", "\xE9s", "/\x80",
                             "/\xFF", "\x01s", ".s"})
        expectGrammar({tail, RejectedMode, 0});
}

TEST(CommandLineGrammar, SettingsSwitchTakesAnOwnerOnlyAfterAColon) {
    expectGrammar({"/c", ConfigureMode, 0});
    expectGrammar({"C", ConfigureMode, 0});
    expectGrammar({"/c:1234", ConfigureMode, 1234});
    expectGrammar({"-C:77x", ConfigureMode, 77});
    expectGrammar({"/c:", ConfigureMode, 0});
    expectGrammar({"/c:0", ConfigureMode, 0});
    expectGrammar({"/c 1234", ConfigureMode, 0});
    expectGrammar({"/c: 1234", ConfigureMode, 0});
    expectGrammar({"/c1234", ConfigureMode, 0});
}

TEST(CommandLineGrammar, PreviewTakesAHandleAfterSpacesOnly) {
    expectGrammar({"/p 65538", PreviewMode, 65538});
    expectGrammar({"/P65538", PreviewMode, 65538});
    expectGrammar({"/p    42 99", PreviewMode, 42});
    expectGrammar({"/p", PreviewMode, 0});
    expectGrammar({"/p 0", PreviewMode, 0});
    expectGrammar({"/p abc", PreviewMode, 0});
    expectGrammar({"/p:1234", PreviewMode, 0});
    expectGrammar({"/p\t1234", PreviewMode, 0});
    expectGrammar({"/p -5", PreviewMode, 0});
    expectGrammar({"/ps", PreviewMode, 0});
}

TEST(CommandLineGrammar, PreviewHandleWrapsInThirtyTwoBits) {
    expectGrammar({"/p 4294967297", PreviewMode, 1});
    expectGrammar({"/p 4294967295", PreviewMode, 0xFFFFFFFFu});
    expectGrammar({"/p 4294967296", PreviewMode, 0});
}

TEST(CommandLineGrammar, LetterLBehavesExactlyLikeP) {
    for (const char* tail : {"/l 65538", "/L 65538", "l65538", "/l:65538", "/l", "/l 4294967297"}) {
        std::string asPreview(tail);
        for (char& c : asPreview)
            if (c == 'l' || c == 'L')
                c = 'p';
        SaverRequest viaL = parseCommandLine(tail);
        SaverRequest viaP = parseCommandLine(asPreview.c_str());
        EXPECT_EQ(viaL.mode, PreviewMode) << tail;
        EXPECT_EQ(viaL.handle, viaP.handle) << tail;
    }
}

TEST(CommandLineGrammar, ChangePasswordTakesAHandleAfterSpaces) {
    expectGrammar({"/a 123", ChangePasswordMode, 123});
    expectGrammar({"-A", ChangePasswordMode, 0});
    expectGrammar({"/a:123", ChangePasswordMode, 0});
}

TEST(WindowHandleText, ReadsLeadingDecimalDigitsOnly) {
    EXPECT_EQ(handleValue(parseWindowHandle("")), 0u);
    EXPECT_EQ(handleValue(parseWindowHandle("0")), 0u);
    EXPECT_EQ(handleValue(parseWindowHandle("007")), 7u);
    EXPECT_EQ(handleValue(parseWindowHandle("12x34")), 12u);
    EXPECT_EQ(handleValue(parseWindowHandle(" 5")), 0u);
    EXPECT_EQ(handleValue(parseWindowHandle("+5")), 0u);
    EXPECT_EQ(handleValue(parseWindowHandle("-5")), 0u);
    EXPECT_EQ(handleValue(parseWindowHandle("0x10")), 0u);
}

TEST(WindowHandleText, OverflowWrapsModuloTwoToTheThirtyTwo) {
    EXPECT_EQ(handleValue(parseWindowHandle("4294967297")), 1u);
    EXPECT_EQ(handleValue(parseWindowHandle("4294967295")), 0xFFFFFFFFu);
    EXPECT_EQ(handleValue(parseWindowHandle("18446744073709551617")), 1u);
    EXPECT_EQ(handleValue(parseWindowHandle("99999999999")), 99999999999ull % 4294967296ull);
}

TEST(ProgramNameSkipping, QuotedNameWithSpacesIsSkippedWhole) {
    EXPECT_STREQ(skipProgramName("\"C:\\Program Files\\Orvik Saver.scr\" /s"), "/s");
    EXPECT_STREQ(skipProgramName("\"C:\\a b\\x.scr\"/p 5"), "/p 5");
    EXPECT_STREQ(skipProgramName("\"\" /c"), "/c");
    EXPECT_STREQ(skipProgramName("\"C:\\never closed /s"), "");
}

TEST(ProgramNameSkipping, UnquotedNameEndsAtTheFirstBlankOrControlByte) {
    EXPECT_STREQ(skipProgramName("C:\\saver.scr /s"), "/s");
    EXPECT_STREQ(skipProgramName("C:\\saver.scr\t\t /p 7"), "/p 7");
    EXPECT_STREQ(skipProgramName("C:\\saver.scr\x01-s"), "-s");
    EXPECT_STREQ(skipProgramName("C:\\My Saver.scr /s"), "Saver.scr /s");
    EXPECT_STREQ(skipProgramName("saver.scr"), "");
    EXPECT_STREQ(skipProgramName("saver.scr   "), "");
    EXPECT_STREQ(skipProgramName(""), "");
}

TEST(ProgramNameSkipping, BlanksAndControlBytesAfterTheNameAreSkippedBeforeTheGrammar) {
    // A tab right after the name belongs to the gap, so the switch still counts; only
    // a tab inside the switch text is refused.
    EXPECT_EQ(parseCommandLine(skipProgramName("saver.scr \t s")).mode, FullScreenMode);
    EXPECT_EQ(parseCommandLine(skipProgramName("saver.scr /\ts")).mode, RejectedMode);
    EXPECT_EQ(parseCommandLine(skipProgramName("\"saver.scr\"")).mode, SettingsMode);
}

TEST(Dispatcher, BadCommandLinesEndWithMinusOneAndDoNothing) {
    bool mprWasLoaded = GetModuleHandleA("MPR.DLL") != nullptr;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const char* tail : {"/x", "\ts", "/\xE9", "/p", "/p 0", "/p abc", "/p:1234"})
        EXPECT_EQ(dispatchCommandLine(instance, tail), -1) << tail;
    if (!isWindows9xFamily()) {
        EXPECT_EQ(dispatchCommandLine(instance, "/a 123"), -1);
        if (!mprWasLoaded) {
            EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr) << "nothing may be loaded for /a";
        }
    }
}

// A failed GetMessage ends the loop with a code of its own, not with whatever the message
// record last held (the wParam of an earlier message).
TEST(MessageLoopExitCode, IsTheQuitCodeOrTheFixedCodeOfAFailure) {
    MSG message = {};
    message.wParam = 7;
    EXPECT_EQ(messageLoopExitCode(0, message), 7);
    message.wParam = 0;
    EXPECT_EQ(messageLoopExitCode(0, message), 0);
    message.wParam = 0x1234;
    EXPECT_EQ(messageLoopExitCode(-1, message), kMessageLoopFailedExitCode);
}
