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
/// masks and tells which of them lost any: bit i for mask i; holding() tells which hold a cell.
/// Every build has the portable lanes; x86-64 (whose baseline has SSE2) also has the SSE2 ones, and
/// the board uses them, or in its wide build eight lanes of AVX2.
struct PortableDigitLanes
{
    static constexpr int Count = 4;

    static std::uint32_t remove(std::uint32_t *masks, std::uint32_t cells)
    {
        std::uint32_t lostMasks = 0;
        for (int i = 0; i < Count; ++i) {
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

    static std::uint32_t remove(std::uint32_t *masks, std::uint32_t cells)
    {
        __m128i lanes;
        std::memcpy(&lanes, masks, sizeof lanes);
        const __m128i lost = _mm_and_si128(lanes, _mm_set1_epi32(static_cast<int>(cells)));
        lanes = _mm_xor_si128(lanes, lost);
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

    static std::uint32_t remove(std::uint32_t *masks, std::uint32_t cells)
    {
        __m256i lanes;
        std::memcpy(&lanes, masks, sizeof lanes);
        const __m256i lost = _mm256_and_si256(lanes, _mm256_set1_epi32(static_cast<int>(cells)));
        lanes = _mm256_xor_si256(lanes, lost);
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
