// Randomized tests of the catalogue's parsers: valid samples, damaged by a fixed-seed
// mutator, must give either valid results or clean refusals, never a touch outside the
// buffers. The suites' names put them into the code page 932 run too.
#include "settings/catalogue.h"
#include "settings/catalogue_path.h"
#include "settings/field_tokenizer.h"
#include "tests/support/catalogue_samples.h"
#include "tests/support/guarded_buffer.h"
#include "tests/support/mutator.h"
#include "tests/support/test_catalogue.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = Mutator::Bytes;

std::vector<Bytes> bytesOfEach(const std::vector<std::string>& texts) {
    std::vector<Bytes> all;
    for (const std::string& text : texts)
        all.push_back(bytesOf(text));
    return all;
}

// Comma lists as the catalogue holds them, with numbers at the limits and double-byte
// characters of code page 932 (0x95 0x5C has a backslash for its trail byte; 0xA0 and 0xDF
// are single-byte; 0x81 0x40 is the full-width space).
const std::vector<std::string> kListSamples = {
    "a.bmp,b.bmp,c.bmp",
    "1,2,3",
    "  -4,+9,12px,,7",
    "2147483647,-2147483648,2147483648,-2147483649",
    "99999999999999999999,-99999999999999999999,0",
    "",
    ",",
    "x,",
    "\x95\x5C"
    "a.bmp,b.bmp",
    "\x82\xA0\x82\xA2,\x83\x5C\x83\x74\x83\x67,3",
    "\x81\x40,\xE0\x40\xFC\xFC,\xA0\xDF",
    std::string(300, 'p') + ",q",
};

const Mutator::Rules kListRules = {
    {},
    bytesOfEach({",",
                 ",,",
                 " ",
                 "\t",
                 "-",
                 "+",
                 "0",
                 "9",
                 "2147483647",
                 "2147483648",
                 "-2147483648",
                 "4294967296",
                 "99999999999999999999",
                 "\x81",
                 "\x95\x5C",
                 "\x95,",
                 "\xFC",
                 "\x80",
                 "\xA0",
                 "\x82\xA0"}),
    6,
};

// What the tokenizer's number conversion must give for a whole field: the C library's
// decimal conversion (same blanks, sign and digits), saturated to 32 bits.
std::int32_t decimalValue(const char* field) {
    long long value = std::strtoll(field, nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Walks every field of text, reading each as text into a destination of the given
// capacity (between guard pages), as text into one large enough, as a number, and
// skipped, and checks each against the tokenizer's rules.
void checkEveryField(const char* text, std::size_t capacity, GuardedBuffer::Edge edge) {
    const char* const end = text + std::strlen(text);
    GuardedBuffer destination(capacity, 0x7E, edge);
    std::vector<char> whole(static_cast<std::size_t>(end - text) + 1);
    const char* cursor = text;
    for (std::size_t calls = 0;; ++calls) {
        ASSERT_LE(calls, static_cast<std::size_t>(end - text)) << "the walk does not end";
        bool cut = false;
        const char* next = nextTextField(cursor, destination.text(), capacity, &cut);
        if (*cursor == '\0') {
            ASSERT_EQ(next, cursor) << "at the end the cursor stays put";
        } else {
            ASSERT_GT(next, cursor) << "the cursor moves forward";
            ASSERT_LE(next, end) << "the cursor stays within the text";
        }

        // Every way of reading the field ends it at the same place.
        bool wholeCut = true;
        ASSERT_EQ(nextTextField(cursor, whole.data(), whole.size(), &wholeCut), next);
        ASSERT_FALSE(wholeCut);
        ASSERT_EQ(nextTextField(cursor, nullptr, 0), next);
        std::int32_t number = 0x5A5A5A5A;
        ASSERT_EQ(nextIntField(cursor, &number), next);
        ASSERT_EQ(nextIntField(cursor, nullptr), next);

        // The field: whole characters up to the first comma that is a character itself.
        const std::size_t length = std::strlen(whole.data());
        ASSERT_EQ(std::memcmp(whole.data(), cursor, length), 0);
        ASSERT_TRUE((cursor[length] == '\0' && next == cursor + length) ||
                    (cursor[length] == ',' && next == cursor + length + 1))
            << "the field ends at a comma or at the end";
        const char* character = cursor;
        while (character < cursor + length) {
            ASSERT_NE(*character, ',') << "a comma inside the field";
            character = CharNextA(character);
        }
        ASSERT_EQ(character, cursor + length) << "the field ends inside a character";

        // The cut copy: terminated within its capacity, the field's start in whole
        // characters, as many as fit.
        const char* copied = destination.text();
        ASSERT_NE(std::memchr(copied, '\0', capacity), nullptr) << "no terminator";
        const std::size_t kept = std::strlen(copied);
        ASSERT_EQ(std::memcmp(copied, cursor, kept), 0);
        ASSERT_EQ(cut, length > capacity - 1);
        if (!cut) {
            ASSERT_EQ(kept, length);
        } else {
            character = cursor;
            while (character < cursor + kept)
                character = CharNextA(character);
            ASSERT_EQ(character, cursor + kept) << "the cut splits a character";
            ASSERT_GT(static_cast<std::size_t>(CharNextA(character) - cursor), capacity - 1)
                << "the cut keeps fewer characters than fit";
        }

        ASSERT_EQ(number, decimalValue(whole.data())) << '"' << whole.data() << '"';
        if (next == cursor)
            return;
        cursor = next;
    }
}

} // namespace

TEST(TextFieldFuzz, DamagedListsSplitWithinTheTextAndTheDestinations) {
    Mutator mutator(0x7E5701);
    FaultNote note;
    const std::size_t capacities[] = {1, 2, 3, 4, 5, 8, 16, kShortTextCapacity, kPathCapacity};
    for (int i = 0; i < 4000; ++i) {
        Bytes text = mutator.mutate(bytesOf(mutator.pick(kListSamples)), kListRules);
        text.push_back('\0');
        const std::size_t capacity = capacities[mutator.below(std::size(capacities))];
        // The text is only read: a write to it faults as well.
        const auto textEdge =
            mutator.oneIn(4) ? GuardedBuffer::AgainstStart : GuardedBuffer::AgainstEnd;
        const auto fieldEdge =
            mutator.oneIn(2) ? GuardedBuffer::AgainstStart : GuardedBuffer::AgainstEnd;
        GuardedBuffer guarded(text.data(), text.size(), textEdge, GuardedBuffer::ReadOnly);
        std::string what = "list " + std::to_string(i) + ", capacity " + std::to_string(capacity) +
                           ", " + describeBytes(text);
        note.set(what);
        SCOPED_TRACE(what);
        checkEveryField(guarded.text(), capacity, fieldEdge);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

namespace {

struct Screen {
    int width, height;
};

bool terminatedWithin(const char* text, std::size_t capacity) {
    return std::memchr(text, '\0', capacity) != nullptr;
}

bool containsIgnoringCase(std::string text, std::string part) {
    for (std::string* s : {&text, &part})
        for (char& c : *s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text.find(part) != std::string::npos;
}

bool namesAFolder(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Reads one type with the given parts, from a record filled with a pattern so that a
// string left unterminated shows.
bool readType(int type, Screen screen, unsigned parts, TypeSettings& settings) {
    std::memset(&settings, 0x7E, sizeof settings);
    return readTypeSettings(type, screen.width, screen.height, parts, settings);
}

// The rules a type read must keep whatever the catalogue holds.
void checkType(const std::string& catalogue, int type, Screen screen, unsigned parts) {
    SCOPED_TRACE("type " + std::to_string(type) + ", parts " + std::to_string(parts) + ", screen " +
                 std::to_string(screen.width) + "x" + std::to_string(screen.height));
    TypeSettings settings;
    const bool present = readType(type, screen, parts, settings);
    if (parts & TypePartResourceFolder) {
        ASSERT_TRUE(terminatedWithin(settings.resourceFolder, sizeof settings.resourceFolder));
        EXPECT_TRUE(namesAFolder(settings.resourceFolder)) << settings.resourceFolder;
    }
    // (A UTF-16 signature makes the profile read the bytes as UTF-16 text.)
    char section[16];
    typeSectionName(type, section);
    const bool utf16 = catalogue.starts_with("\xFF\xFE") || catalogue.starts_with("\xFE\xFF");
    if (!utf16 && !containsIgnoringCase(catalogue, section)) {
        EXPECT_FALSE(present) << "a type whose section is not there";
    }
    if (!present)
        return;
    ASSERT_TRUE(terminatedWithin(settings.name, sizeof settings.name));
    EXPECT_NE(settings.moveType, missingIntMarker);
    if (parts & TypePartFile) {
        ASSERT_TRUE(terminatedWithin(settings.fileSpec, sizeof settings.fileSpec));
    }
    if (parts & TypePartMotionWhilePowerSave) {
        EXPECT_LE(settings.motionWhilePowerSave, 2);
    }

    // Name and move type alone make a type: asking for fewer parts finds it too, the same.
    TypeSettings least;
    ASSERT_TRUE(readType(type, screen, 0, least));
    EXPECT_STREQ(least.name, settings.name);
    EXPECT_EQ(least.moveType, settings.moveType);
}

} // namespace

TEST(CatalogueFuzz, DamagedCataloguesGiveValidSettingsOrAbsentTypes) {
    TestCatalogue catalogue;
    Mutator mutator(0xCA7A106);
    FaultNote note;
    const std::vector<Screen> screens = {{1024, 768}, {1280, 1024}, {800, 600}};
    CatalogueSamples samples;
    for (int i = 0; i < CatalogueSamples::kCount; ++i) {
        Bytes bytes = samples.next();
        const std::string text(bytes.begin(), bytes.end());
        catalogue.write(text);
        std::string what = "catalogue " + std::to_string(i) + ", " + describeBytes(bytes, 400);
        note.set(what);
        SCOPED_TRACE(what);

        EXPECT_NE(readPowerSaveSettings().divisor, 0);
        readStartStyle();
        for (int type : {0, 1, 2, 99, static_cast<int>(mutator.below(100))}) {
            unsigned parts = mutator.oneIn(2) ? TypePartsAll : mutator.below(TypePartsAll + 1);
            checkType(text, type, mutator.pick(screens), parts);
        }
        if (testing::Test::HasFailure())
            return;
    }
}
