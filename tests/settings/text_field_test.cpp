#include "settings/catalogue_path.h"
#include "settings/field_tokenizer.h"
#include "settings/text_buffer.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A destination with guard bytes on both sides, to catch writes past its capacity.
template <std::size_t Capacity>
struct GuardedBuffer {
    char before[8];
    char text[Capacity];
    char after[8];
    GuardedBuffer() {
        std::memset(before, 0x7E, sizeof before);
        std::memset(text, 0x7E, sizeof text);
        std::memset(after, 0x7E, sizeof after);
    }
    bool guardsIntact() const {
        for (char c : before)
            if (c != 0x7E)
                return false;
        for (char c : after)
            if (c != 0x7E)
                return false;
        return true;
    }
};

// 0x95 0x5C is one character on code page 932; its trail byte is a backslash.
const std::string kTrailBackslash = "\x95\x5C";

bool onCodePage932() {
    return GetACP() == 932;
}

} // namespace

TEST(TextField, TextFieldsSplitAtCommasAndStopAtTheEnd) {
    const char* text = "a,b";
    char field[16];
    const char* cursor = nextTextField(text, field, sizeof field);
    EXPECT_STREQ(field, "a");
    cursor = nextTextField(cursor, field, sizeof field);
    EXPECT_STREQ(field, "b");
    const char* atEnd = cursor;
    cursor = nextTextField(cursor, field, sizeof field);
    EXPECT_STREQ(field, "");
    EXPECT_EQ(cursor, atEnd) << "callers stop when the cursor stays put";
}

TEST(TextField, LeadingCommaGivesEmptyFieldThenTheRest) {
    char field[16];
    const char* cursor = nextTextField(",x", field, sizeof field);
    EXPECT_STREQ(field, "");
    std::int32_t number = 99;
    nextIntField(",x", &number);
    EXPECT_EQ(number, 0);
    nextTextField(cursor, field, sizeof field);
    EXPECT_STREQ(field, "x");
}

TEST(TextField, NullDestinationSkipsAField) {
    const char* cursor = nextTextField("skip,keep", nullptr, 0);
    EXPECT_STREQ(cursor, "keep");
    cursor = nextIntField("7,8", nullptr);
    EXPECT_STREQ(cursor, "8");
}

TEST(TextField, IntegerFieldsFollowDecimalConversion) {
    struct Case {
        const char* text;
        std::int32_t expected;
    } cases[] = {{"12px", 12},
                 {"  -4", -4},
                 {"+9", 9},
                 {"abc", 0},
                 {"", 0},
                 {"   ", 0},
                 {"- 3", 0},
                 {"99999999999", 2147483647},
                 {"-99999999999", -2147483647 - 1}};
    for (const Case& c : cases) {
        std::int32_t value = 12345;
        nextIntField(c.text, &value);
        EXPECT_EQ(value, c.expected) << '"' << c.text << '"';
    }
}

TEST(TextField, EmptyIntegerFieldBetweenCommasIsZero) {
    std::int32_t a = -1, b = -1, c = -1;
    nextIntField(nextIntField(nextIntField("5,,7", &a), &b), &c);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 7);
}

TEST(TextField, LongFieldIsCutToItsDestinationAndReported) {
    GuardedBuffer<8> buffer;
    bool cut = false;
    const char* cursor = nextTextField("abcdefghijkl,next", buffer.text, sizeof buffer.text, &cut);
    EXPECT_TRUE(cut);
    EXPECT_STREQ(buffer.text, "abcdefg");
    EXPECT_STREQ(cursor, "next");
    EXPECT_TRUE(buffer.guardsIntact());

    nextTextField("abcdefg", buffer.text, sizeof buffer.text, &cut);
    EXPECT_FALSE(cut) << "seven characters fit a buffer of eight";
}

TEST(TextField, AppendRefusesWhatDoesNotFit) {
    char text[8] = "abc";
    EXPECT_TRUE(appendText(text, sizeof text, "defg"));
    EXPECT_STREQ(text, "abcdefg");
    EXPECT_FALSE(appendText(text, sizeof text, "h"));
    EXPECT_STREQ(text, "abcdefg");
}

TEST(TextField, CutAfterLastBackslashKeepsTheFolder) {
    char path[] = "C:\\Windows\\system32\\picture.ini";
    cutAfterLastBackslash(path);
    EXPECT_STREQ(path, "C:\\Windows\\system32\\");

    char noSeparator[] = "picture.ini";
    cutAfterLastBackslash(noSeparator);
    EXPECT_STREQ(noSeparator, "picture.ini");

    // The first character is never examined.
    char leading[] = "\\picture.ini";
    cutAfterLastBackslash(leading);
    EXPECT_STREQ(leading, "\\picture.ini");
}

TEST(DoubleByte, TrailByteBackslashDoesNotEndTheFolder) {
    if (!onCodePage932())
        GTEST_SKIP() << "runs on code page 932 (settings_tests_cp932)";
    std::string path = "C:\\Saver\\" + kTrailBackslash + "\\x.ini";
    std::string file = "C:\\Saver\\" + kTrailBackslash;
    cutAfterLastBackslash(path.data());
    EXPECT_STREQ(path.c_str(), ("C:\\Saver\\" + kTrailBackslash + "\\").c_str());
    cutAfterLastBackslash(file.data());
    EXPECT_STREQ(file.c_str(), "C:\\Saver\\") << "the trail byte was taken for a backslash";
}

TEST(DoubleByte, CutNeverSplitsACharacter) {
    if (!onCodePage932())
        GTEST_SKIP() << "runs on code page 932 (settings_tests_cp932)";
    GuardedBuffer<4> buffer;
    bool cut = false;
    std::string text = "ab" + kTrailBackslash + ",c";
    nextTextField(text.c_str(), buffer.text, sizeof buffer.text, &cut);
    EXPECT_TRUE(cut);
    EXPECT_STREQ(buffer.text, "ab");
    EXPECT_TRUE(buffer.guardsIntact());
}

TEST(DoubleByte, FieldHoldingATrailBackslashIsKeptWhole) {
    if (!onCodePage932())
        GTEST_SKIP() << "runs on code page 932 (settings_tests_cp932)";
    std::string text = kTrailBackslash + "a.bmp,b.bmp";
    char field[32];
    const char* cursor = nextTextField(text.c_str(), field, sizeof field);
    EXPECT_EQ(std::string(field), kTrailBackslash + "a.bmp");
    EXPECT_STREQ(cursor, "b.bmp");
}
