#pragma once

#include "engine_build.h"

#include <cstdint>
#include <cstring>

#if defined(__AVX2__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kaleno::KALENO_ENGINE_BUILD {

/// Four digits' masks of one band at a time. remove() takes `cells` out of four consecutive
/// masks but the `own`-th (none when `own` is not a lane's number), writes `ownMask` into that
/// one, and tells which of the others lost any: bit i for mask i; holding() tells which hold a
/// cell. The own mask goes in with the others, in the same store: a narrower store to it just
/// before would hold up the wide load until it reached the cache.
/// Every build has the portable lanes; x86-64 (whose baseline has SSE2) also has the SSE2 ones, and
/// the board uses them, or in its wide build eight lanes of AVX2.
struct PortableDigitLanes
{
    static constexpr int Count = 4;

    static std::uint32_t remove(
        std::uint32_t *masks, std::uint32_t cells, int own, std::uint32_t ownMask)
    {
        std::uint32_t lostMasks = 0;
        for (int i = 0; i < Count; ++i) {
            if (i == own) {
                masks[i] = ownMask;
                continue;
            }
            const std::uint32_t lost = masks[i] & cells;
            masks[i] ^= lost;
            lostMasks |= static_cast<std::uint32_t>(lost != 0) << i;
        }
        return lostMasks;
    }

    /// Which of four consecutive masks hold `cell` (a single bit): bit i for mask i.
    static std::uint32_t holding(const std::uint32_t *masks, std::uint32_t cell)
    {
        std::uint32_t held = 0;
        for (int i = 0; i < Count; ++i)
            held |= static_cast<std::uint32_t>((masks[i] & cell) != 0) << i;
        return held;
    }
};

#if defined(__SSE2__)
struct Sse2DigitLanes
{
    static constexpr int Count = 4;

    static std::uint32_t remove(
        std::uint32_t *masks, std::uint32_t cells, int own, std::uint32_t ownMask)
    {
        __m128i lanes;
        std::memcpy(&lanes, masks, sizeof lanes);
        const __m128i isOwn = _mm_cmpeq_epi32(_mm_setr_epi32(0, 1, 2, 3), _mm_set1_epi32(own));
        const __m128i lost = _mm_andnot_si128(
            isOwn, _mm_and_si128(lanes, _mm_set1_epi32(static_cast<int>(cells))));
        lanes = _mm_or_si128(_mm_andnot_si128(isOwn, _mm_xor_si128(lanes, lost)),
            _mm_and_si128(isOwn, _mm_set1_epi32(static_cast<int>(ownMask))));
        std::memcpy(masks, &lanes, sizeof lanes);
        const __m128i kept = _mm_cmpeq_epi32(lost, _mm_setzero_si128());
        return ~static_cast<std::uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(kept)))
            & ((1u << Count) - 1);
    }

    static std::uint32_t holding(const std::uint32_t *masks, std::uint32_t cell)
    {
        __m128i lanes;
        std::memcpy(&lanes, masks, sizeof lanes);
        const __m128i bit = _mm_set1_epi32(static_cast<int>(cell));
        const __m128i held = _mm_cmpeq_epi32(_mm_and_si128(lanes, bit), bit);
        return static_cast<std::uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(held)));
    }
};
#endif

#if defined(__AVX2__)
/// The wide build's lanes: eight digits at a time.
struct Avx2DigitLanes
{
    static constexpr int Count = 8;

    static std::uint32_t remove(
        std::uint32_t *masks, std::uint32_t cells, int own, std::uint32_t ownMask)
    {
        __m256i lanes;
        std::memcpy(&lanes, masks, sizeof lanes);
        const __m256i isOwn
            = _mm256_cmpeq_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), _mm256_set1_epi32(own));
        const __m256i lost = _mm256_andnot_si256(
            isOwn, _mm256_and_si256(lanes, _mm256_set1_epi32(static_cast<int>(cells))));
        lanes = _mm256_blendv_epi8(
            _mm256_xor_si256(lanes, lost), _mm256_set1_epi32(static_cast<int>(ownMask)), isOwn);
        std::memcpy(masks, &lanes, sizeof lanes);
        const __m256i kept = _mm256_cmpeq_epi32(lost, _mm256_setzero_si256());
        return ~static_cast<std::uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(kept)))
            & ((1u << Count) - 1);
    }

    static std::uint32_t holding(const std::uint32_t *masks, std::uint32_t cell)
    {
        __m256i lanes;
        std::memcpy(&lanes, masks, sizeof lanes);
        const __m256i bit = _mm256_set1_epi32(static_cast<int>(cell));
        const __m256i held = _mm256_cmpeq_epi32(_mm256_and_si256(lanes, bit), bit);
        return static_cast<std::uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(held)));
    }
};
using DigitLanes = Avx2DigitLanes;
#elif defined(__SSE2__)
using DigitLanes = Sse2DigitLanes;
#else
using DigitLanes = PortableDigitLanes;
#endif

} // namespace kaleno::KALENO_ENGINE_BUILD

namespace kaleno {
using KALENO_ENGINE_BUILD::DigitLanes;
using KALENO_ENGINE_BUILD::PortableDigitLanes;
#if defined(__SSE2__)
using KALENO_ENGINE_BUILD::Sse2DigitLanes;
#endif
} // namespace kaleno
