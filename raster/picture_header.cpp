#include "raster/picture_header.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t little16(const std::uint8_t* at) {
    return at[0] | at[1] << 8;
}
std::uint32_t little32(const std::uint8_t* at) {
    return little16(at) | little16(at + 2) << 16;
}
std::uint32_t big16(const std::uint8_t* at) {
    return at[0] << 8 | at[1];
}
std::uint32_t big32(const std::uint8_t* at) {
    return big16(at) << 16 | big16(at + 2);
}

ClaimedSize claimed(std::int64_t width, std::int64_t height) {
    return {true, width, height};
}

ClaimedSize bitmapClaim(const std::uint8_t* bytes, std::uint64_t size) {
    if (size < 14 + 12)
        return {};
    const std::uint32_t infoSize = little32(bytes + 14);
    if (infoSize == 12) // a core header: 16-bit sizes
        return claimed(little16(bytes + 18), little16(bytes + 20));
    if (size < 14 + 12 + 4)
        return {};
    // A negative height is a top-down picture of as many rows.
    const auto height = static_cast<std::int32_t>(little32(bytes + 22));
    return claimed(static_cast<std::int32_t>(little32(bytes + 18)),
                   height < 0 ? -static_cast<std::int64_t>(height) : height);
}

// Past a run of GIF sub-blocks (each a length byte and as many bytes, a 0 ends the run).
std::uint64_t skipSubBlocks(const std::uint8_t* bytes, std::uint64_t size, std::uint64_t at) {
    while (at < size) {
        const std::uint8_t length = bytes[at++];
        if (length == 0)
            break;
        at += length;
    }
    return at;
}

ClaimedSize gifClaim(const std::uint8_t* bytes, std::uint64_t size) {
    if (size < 13)
        return {};
    std::int64_t width = little16(bytes + 6);
    std::int64_t height = little16(bytes + 8);
    std::uint64_t at = 13;
    if (bytes[10] & 0x80)
        at += 3u << ((bytes[10] & 7) + 1);
    while (at < size) {
        const std::uint8_t introducer = bytes[at];
        if (introducer == 0x21) { // an extension: its label, then its sub-blocks
            at = skipSubBlocks(bytes, size, at + 2);
        } else if (introducer == 0x2C && at + 10 <= size) {
            const std::uint8_t* image = bytes + at;
            width = std::max<std::int64_t>(width, little16(image + 1) + little16(image + 5));
            height = std::max<std::int64_t>(height, little16(image + 3) + little16(image + 7));
            at += 10;
            if (image[9] & 0x80)
                at += 3u << ((image[9] & 7) + 1);
            at = skipSubBlocks(bytes, size, at + 1); // past the code size, then the data
        } else {
            break; // the trailer, or bytes no decoder reads further
        }
    }
    return claimed(width, height);
}

bool isFrameMarker(std::uint8_t marker) {
    // SOF0 to SOF15; C4 (Huffman tables), C8 (reserved) and CC (arithmetic conditioning)
    // share the range but are no frames.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

ClaimedSize jpegClaim(const std::uint8_t* bytes, std::uint64_t size) {
    std::uint64_t at = 2;
    while (at + 1 < size) {
        if (bytes[at] != 0xFF)
            return {};
        while (at < size && bytes[at] == 0xFF) // fill bytes before a marker
            ++at;
        if (at >= size)
            return {};
        const std::uint8_t marker = bytes[at++];
        if (marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a segment
        if (marker == 0xD9 || marker == 0xDA || at + 2 > size)
            return {}; // the image ends or its data starts before any frame
        const std::uint32_t length = big16(bytes + at);
        if (isFrameMarker(marker)) {
            if (at + 7 > size)
                return {};
            return claimed(big16(bytes + at + 5), big16(bytes + at + 3));
        }
        at += length;
    }
    return {};
}

ClaimedSize pngClaim(const std::uint8_t* bytes, std::uint64_t size) {
    if (size < 24 || std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return {};
    return claimed(big32(bytes + 16), big32(bytes + 20));
}

} // namespace

ClaimedSize claimedPictureSize(const std::uint8_t* bytes, std::uint64_t size) {
    if (!bytes || size < 2)
        return {};
    if (bytes[0] == 'B' && bytes[1] == 'M')
        return bitmapClaim(bytes, size);
    if (size >= 6 && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0))
        return gifClaim(bytes, size);
    if (bytes[0] == 0xFF && bytes[1] == 0xD8)
        return jpegClaim(bytes, size);
    if (size >= 8 && std::memcmp(bytes, "\x89PNG\r\n\x1A\n", 8) == 0)
        return pngClaim(bytes, size);
    return {};
}
