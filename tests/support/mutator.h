#pragma once
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Damaged copies of valid sample inputs, for randomized tests of the parsers. A fixed seed
// gives the same inputs on every run and every machine (the generator is fully specified
// and nothing here uses the library's distributions), so a failing input is named by its
// seed and index and can be replayed.
class Mutator {
  public:
    using Bytes = std::vector<std::uint8_t>;

    // A size, count or offset field of a sample's format, which the mutator sets to the
    // values that break careless arithmetic.
    struct Field {
        std::size_t offset;
        unsigned width; // 1, 2 or 4 bytes
        bool bigEndian = false;
    };

    struct Rules {
        // The format's fields; without them, fields at random offsets are set.
        std::vector<Field> fields;
        // Byte strings worth inserting or writing over the input (separators, keywords,
        // numbers at the limits, lead bytes of double-byte characters).
        std::vector<Bytes> tokens;
        // Each mutation applies one to maxSteps changes.
        unsigned maxSteps = 4;
    };

    explicit Mutator(std::uint32_t seed) : random_(seed) {}

    // A number below bound (bound > 0); the slight bias of the modulo does not matter here.
    std::uint32_t below(std::size_t bound) {
        return static_cast<std::uint32_t>(random_() % static_cast<std::uint32_t>(bound));
    }
    bool oneIn(std::uint32_t n) { return below(n) == 0; }
    template <typename T>
    const T& pick(const std::vector<T>& from) {
        return from[below(from.size())];
    }

    // A copy of sample with one to rules.maxSteps random changes: bits flipped, bytes set,
    // tokens inserted or written over, spans erased or repeated, the input cut at a random
    // length, and fields set to extremes (0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, the
    // input's length and just past it, one off the old value).
    Bytes mutate(const Bytes& sample, const Rules& rules);

    // Sets the field, if it lies inside bytes, to one of its extremes.
    void setFieldToExtreme(Bytes& bytes, const Field& field);

  private:
    void applyOneChange(Bytes& bytes, const Rules& rules);
    Bytes someToken(const Rules& rules);

    std::mt19937 random_;
};

std::vector<std::uint8_t> bytesOf(const std::string& text);

// A failing input for a test's message: its length and its first bytes in hexadecimal.
std::string describeBytes(const std::vector<std::uint8_t>& bytes, std::size_t limit = 80);
