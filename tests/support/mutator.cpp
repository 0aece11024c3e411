#include "tests/support/mutator.h"

#include <algorithm>
#include <cstdio>

namespace {

std::uint32_t readField(const Mutator::Bytes& bytes, const Mutator::Field& field) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < field.width; ++i) {
        unsigned index = field.bigEndian ? i : field.width - 1 - i;
        value = value << 8 | bytes[field.offset + index];
    }
    return value;
}

void writeField(Mutator::Bytes& bytes, const Mutator::Field& field, std::uint32_t value) {
    for (unsigned i = 0; i < field.width; ++i) {
        unsigned index = field.bigEndian ? field.width - 1 - i : i;
        bytes[field.offset + index] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace

void Mutator::setFieldToExtreme(Bytes& bytes, const Field& field) {
    if (field.width == 0 || field.width > 4 || field.offset + field.width > bytes.size())
        return;
    const std::uint32_t old = readField(bytes, field);
    const auto size = static_cast<std::uint32_t>(bytes.size());
    const auto rest = static_cast<std::uint32_t>(bytes.size() - field.offset);
    // Limits of the field's width and of its sign, then lengths that end at, or just
    // past, the input (as a count, and as an offset from the field itself).
    const std::uint32_t top = field.width == 4 ? 0xFFFFFFFFu : (1u << (8 * field.width)) - 1;
    const std::uint32_t half = top / 2;
    const std::uint32_t candidates[] = {0,        1,        2,       half,      half + 1,
                                        top,      top - 1,  size,    size + 1,  size - 1,
                                        rest,     rest + 1, old + 1, old - 1,   old * 2,
                                        old << 8, 0x10000u, 0x100u,  random_(), old ^ top};
    writeField(bytes, field, candidates[below(std::size(candidates))] & top);
}

Mutator::Bytes Mutator::someToken(const Rules& rules) {
    if (!rules.tokens.empty() && !oneIn(4))
        return pick(rules.tokens);
    Bytes random(1 + below(8));
    for (std::uint8_t& byte : random)
        byte = static_cast<std::uint8_t>(random_());
    return random;
}

void Mutator::applyOneChange(Bytes& bytes, const Rules& rules) {
    const std::size_t size = bytes.size();
    switch (below(10)) {
    case 0: // one bit
        if (size)
            bytes[below(size)] ^= static_cast<std::uint8_t>(1u << below(8));
        break;
    case 1: { // one byte: any value, or one of the limits
        static const std::uint8_t limits[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
        if (size)
            bytes[below(size)] =
                oneIn(2) ? static_cast<std::uint8_t>(random_()) : limits[below(std::size(limits))];
        break;
    }
    case 2: { // a token inserted
        Bytes token = someToken(rules);
        bytes.insert(bytes.begin() + below(size + 1), token.begin(), token.end());
        break;
    }
    case 3: { // a token written over what is there
        Bytes token = someToken(rules);
        std::size_t at = below(size + 1);
        if (bytes.size() < at + token.size())
            bytes.resize(at + token.size());
        std::copy(token.begin(), token.end(), bytes.begin() + at);
        break;
    }
    case 4: { // a span erased
        if (!size)
            break;
        std::size_t at = below(size);
        std::size_t length = 1 + below(std::min<std::size_t>(size - at, 32));
        bytes.erase(bytes.begin() + at, bytes.begin() + at + length);
        break;
    }
    case 5: { // a span repeated elsewhere
        if (!size)
            break;
        std::size_t from = below(size);
        std::size_t length = 1 + below(std::min<std::size_t>(size - from, 32));
        Bytes span(bytes.begin() + from, bytes.begin() + from + length);
        bytes.insert(bytes.begin() + below(size + 1), span.begin(), span.end());
        break;
    }
    case 6: // cut at a random length
        bytes.resize(below(size + 1));
        break;
    default: { // a field set to an extreme
        if (!rules.fields.empty()) {
            setFieldToExtreme(bytes, pick(rules.fields));
        } else if (size >= 2) {
            unsigned width = size >= 4 && oneIn(2) ? 4 : 2;
            setFieldToExtreme(bytes, {below(size - width + 1), width, oneIn(4)});
        }
        break;
    }
    }
}

Mutator::Bytes Mutator::mutate(const Bytes& sample, const Rules& rules) {
    Bytes bytes = sample;
    const unsigned steps = 1 + below(std::max(rules.maxSteps, 1u));
    for (unsigned i = 0; i < steps; ++i)
        applyOneChange(bytes, rules);
    return bytes;
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::string describeBytes(const std::vector<std::uint8_t>& bytes, std::size_t limit) {
    std::string text = std::to_string(bytes.size()) + " bytes:";
    char hex[4];
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
        text += hex;
    }
    if (bytes.size() > limit)
        text += " ...";
    return text;
}
