#include "raster/pixel_blend.h"

#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// (x + 127) / 255 for eight 16-bit channels: with t = x + 128, (t + (t >> 8)) >> 8 is that
// quotient for every x up to 255 x 255.
__m128i divideBy255(__m128i x) {
    const __m128i t = _mm_add_epi16(x, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// (to x weight + from x (255 - weight) + 127) / 255 for eight 16-bit channels.
__m128i blendChannels(__m128i from, __m128i to, __m128i weight, __m128i rest) {
    return divideBy255(_mm_add_epi16(_mm_mullo_epi16(to, weight), _mm_mullo_epi16(from, rest)));
}

// Two pixels in 16-bit channels: the source scaled by the constant alpha, over old.
__m128i premultipliedOver(__m128i source, __m128i old, __m128i alpha) {
    const __m128i scaled = divideBy255(_mm_mullo_epi16(source, alpha));
    // Each pixel's scaled alpha (channel 3) in all four of its channels.
    const __m128i own = _mm_shufflehi_epi16(_mm_shufflelo_epi16(scaled, _MM_SHUFFLE(3, 3, 3, 3)),
                                            _MM_SHUFFLE(3, 3, 3, 3));
    const __m128i rest = _mm_sub_epi16(_mm_set1_epi16(255), own);
    return _mm_add_epi16(scaled, divideBy255(_mm_mullo_epi16(old, rest)));
}

std::uint32_t premultipliedOverPixel(std::uint32_t source, std::uint32_t old, int alpha) {
    const std::uint32_t own = ((source >> 24) * alpha + 127) / 255;
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t value = (((source >> shift) & 0xFF) * alpha + 127) / 255 +
                                    (((old >> shift) & 0xFF) * (255 - own) + 127) / 255;
        result |= std::min<std::uint32_t>(value, 255) << shift;
    }
    return result;
}

// The sources' next rows are fetched while this one is blended: the rows of a wide picture lie
// far apart, and the processor does not run ahead across that gap by itself.
void blendRow(std::uint32_t* out, const std::uint32_t* from, const std::uint32_t* to, int count,
              int weight, std::ptrdiff_t fromStride, std::ptrdiff_t toStride) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i w = _mm_set1_epi16(static_cast<short>(weight));
    const __m128i rest = _mm_set1_epi16(static_cast<short>(255 - weight));
    int i = 0;
    const char* nextFrom = reinterpret_cast<const char*>(from) + fromStride;
    const char* nextTo = reinterpret_cast<const char*>(to) + toStride;
    for (; i + 4 <= count; i += 4) {
        if (i % 16 == 0) { // once per cache line
            _mm_prefetch(nextFrom + i * 4, _MM_HINT_T0);
            _mm_prefetch(nextTo + i * 4, _MM_HINT_T0);
        }
        const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
        const __m128i low =
            blendChannels(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(t, zero), w, rest);
        const __m128i high =
            blendChannels(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(t, zero), w, rest);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    }
    for (; i < count; ++i) {
        std::uint32_t result = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const std::uint32_t a = (from[i] >> shift) & 0xFF;
            const std::uint32_t b = (to[i] >> shift) & 0xFF;
            result |= ((b * weight + a * (255 - weight) + 127) / 255) << shift;
        }
        out[i] = result;
    }
}

// The same with twice the width, where the processor has it.
__attribute__((target("avx2"))) void blendRowWide(std::uint32_t* out, const std::uint32_t* from,
                                                  const std::uint32_t* to, int count, int weight,
                                                  std::ptrdiff_t fromStride,
                                                  std::ptrdiff_t toStride) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i w = _mm256_set1_epi16(static_cast<short>(weight));
    const __m256i rest = _mm256_set1_epi16(static_cast<short>(255 - weight));
    const __m256i half = _mm256_set1_epi16(128);
    const char* nextFrom = reinterpret_cast<const char*>(from) + fromStride;
    const char* nextTo = reinterpret_cast<const char*>(to) + toStride;
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        if (i % 16 == 0) {
            _mm_prefetch(nextFrom + i * 4, _MM_HINT_T0);
            _mm_prefetch(nextTo + i * 4, _MM_HINT_T0);
        }
        const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i));
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(to + i));
        __m256i parts[2];
        for (int part = 0; part < 2; ++part) {
            const __m256i a = part ? _mm256_unpackhi_epi8(f, zero) : _mm256_unpacklo_epi8(f, zero);
            const __m256i b = part ? _mm256_unpackhi_epi8(t, zero) : _mm256_unpacklo_epi8(t, zero);
            const __m256i sum = _mm256_add_epi16(
                _mm256_add_epi16(_mm256_mullo_epi16(b, w), _mm256_mullo_epi16(a, rest)), half);
            parts[part] = _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_srli_epi16(sum, 8)), 8);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_packus_epi16(parts[0], parts[1]));
    }
    blendRow(out + i, from + i, to + i, count - i, weight, 0, 0);
}

// The premultiplied source row over target, scaled by the constant alpha. Pixels that are
// wholly transparent (all zero) are passed over four at a time: a keyed sprite has many.
void premultipliedRow(std::uint32_t* target, const std::uint32_t* source, int count, int alpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i constant = _mm_set1_epi16(static_cast<short>(alpha));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xFFFF)
            continue;
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(target + i));
        const __m128i low =
            premultipliedOver(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), constant);
        const __m128i high =
            premultipliedOver(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), constant);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), _mm_packus_epi16(low, high));
    }
    for (; i < count; ++i)
        target[i] = premultipliedOverPixel(source[i], target[i], alpha);
}

__attribute__((target("avx2"))) __m256i divideBy255Wide(__m256i x) {
    const __m256i t = _mm256_add_epi16(x, _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

// The same eight pixels at a time, where the processor has it.
__attribute__((target("avx2"))) void
premultipliedRowWide(std::uint32_t* target, const std::uint32_t* source, int count, int alpha) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i constant = _mm256_set1_epi16(static_cast<short>(alpha));
    const __m256i full = _mm256_set1_epi16(255);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        if (_mm256_testz_si256(s, s))
            continue;
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(target + i));
        __m256i parts[2];
        for (int part = 0; part < 2; ++part) {
            const __m256i a = part ? _mm256_unpackhi_epi8(s, zero) : _mm256_unpacklo_epi8(s, zero);
            const __m256i b = part ? _mm256_unpackhi_epi8(d, zero) : _mm256_unpacklo_epi8(d, zero);
            const __m256i scaled = divideBy255Wide(_mm256_mullo_epi16(a, constant));
            const __m256i own = _mm256_shufflehi_epi16(
                _mm256_shufflelo_epi16(scaled, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
            parts[part] = _mm256_add_epi16(
                scaled, divideBy255Wide(_mm256_mullo_epi16(b, _mm256_sub_epi16(full, own))));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + i),
                            _mm256_packus_epi16(parts[0], parts[1]));
    }
    premultipliedRow(target + i, source + i, count - i, alpha);
}

bool wideVectors() {
    static const bool wide = __builtin_cpu_supports("avx2");
    return wide;
}

} // namespace

bool crossFadeInto(const PixelView& out, RECT rect, const PixelView& from, POINT fromAt,
                   const PixelView& to, POINT toAt, int weight) {
    if (!out || !from || !to || weight < 0 || weight > 255)
        return false;
    RECT clipped = {};
    if (!IntersectRect(&clipped, &rect, &out.clip))
        return true; // nothing of it may be drawn
    const int dx = clipped.left - rect.left;
    const int dy = clipped.top - rect.top;
    fromAt = {fromAt.x + dx, fromAt.y + dy};
    toAt = {toAt.x + dx, toAt.y + dy};
    const int width = clipped.right - clipped.left;
    const int height = clipped.bottom - clipped.top;
    if (!from.contains(fromAt, width, height) || !to.contains(toAt, width, height) ||
        !out.contains(POINT{clipped.left, clipped.top}, width, height))
        return false;
    const auto row = wideVectors() ? blendRowWide : blendRow;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* target = out.pixel(clipped.left, clipped.top + y);
        const std::uint32_t* first = from.pixel(fromAt.x, fromAt.y + y);
        if (weight == 0)
            std::memmove(target, first, static_cast<std::size_t>(width) * 4);
        else
            row(target, first, to.pixel(toAt.x, toAt.y + y), width, weight,
                y + 1 < height ? from.stride : 0, y + 1 < height ? to.stride : 0);
    }
    return true;
}

bool blendPremultipliedInto(const PixelView& out, POINT at, const std::uint32_t* picture, int width,
                            int height, int alpha) {
    if (!out || !picture || alpha < 0 || alpha > 255)
        return false;
    RECT area = {at.x, at.y, at.x + width, at.y + height};
    RECT clipped = {};
    if (alpha == 0 || !IntersectRect(&clipped, &area, &out.clip))
        return true;
    if (!out.contains(POINT{clipped.left, clipped.top}, clipped.right - clipped.left,
                      clipped.bottom - clipped.top))
        return false;
    const int count = clipped.right - clipped.left;
    const auto row = wideVectors() ? premultipliedRowWide : premultipliedRow;
    for (int y = clipped.top; y < clipped.bottom; ++y)
        row(out.pixel(clipped.left, y),
            picture + static_cast<std::ptrdiff_t>(y - at.y) * width + (clipped.left - at.x), count,
            alpha);
    return true;
}
