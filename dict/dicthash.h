// The dictionary hash over a run of bytes of known length. Inline, because a
// lookup is little more than this hash and one string comparison.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

constexpr int64_t DICT_HASH_MODULUS = 100003;

// h = ((c + i) * h) mod 100003 for each signed byte c at position i, with the
// remainder of truncating division; the loader hashes lines as if a to z were
// upper case (upperCase). That remainder commutes with multiplication (the
// result keeps the product's sign), so several factors are multiplied in 64
// bits before each reduction: fewer divisions, same value. |h| < 2^17; a factor
// is below 2^9 up to position 383 (five per reduction) and below 2^15 up to
// position 32130 (three); past that every byte is reduced on its own. The
// products stay below 2^62.
template <bool upperCase>
inline int32_t dictHashBytes(const char* text, uint32_t length) {
    int64_t h = 1;
    uint32_t i = 0;
    while (i < length) {
        const uint32_t groupEnd = i < 379 ? i + 5 : i < 32000 ? i + 3 : i + 1;
        // The group's product does not depend on h, so it is worked out while
        // the previous reduction is still under way.
        int64_t product = 1;
        for (; i < groupEnd && i < length; i++) {
            char c = text[i];
            if (upperCase && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
            product *= static_cast<signed char>(c) + static_cast<int64_t>(i);
        }
        h = h * product % DICT_HASH_MODULUS;
    }
    // Bytes of 128 and above are negative as signed chars and can leave h
    // negative; fold it back into the table.
    if (h < 0) h += DICT_HASH_MODULUS;
    return static_cast<int32_t>(h);
}

// dictHashBytes<false> of a word of 1 to 15 bytes held zero-padded in two
// little-endian 64-bit words: groups of factors (1 past the word's end), each
// group's product worked out side by side, then reduced in turn. A word of
// plain ASCII has only positive factors, whose remainders unsigned division
// gives more cheaply; the shipped list has no other.
inline int32_t dictHashShort(uint64_t k0, uint64_t k1, uint32_t length) {
#if defined(__SSE2__)
    if (((k0 | k1) & 0x8080808080808080u) == 0) {
        constexpr uint64_t modulus = DICT_HASH_MODULUS;
        // All sixteen factors at once (1 past the word's end), multiplied in
        // pairs f(i) * f(i + 8), each below 142^2 < 2^15; four pairs make a
        // product below 2^58. Positive factors may be grouped any way.
        const __m128i index = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        const __m128i inWord = _mm_cmplt_epi8(index, _mm_set1_epi8(static_cast<char>(length)));
        const __m128i bytes = _mm_set_epi64x(static_cast<int64_t>(k1), static_cast<int64_t>(k0));
        const __m128i factors = _mm_or_si128(_mm_and_si128(inWord, _mm_add_epi8(bytes, index)),
                                             _mm_andnot_si128(inWord, _mm_set1_epi8(1)));
        const __m128i zero = _mm_setzero_si128();
        const __m128i pairs = _mm_mullo_epi16(_mm_unpacklo_epi8(factors, zero), _mm_unpackhi_epi8(factors, zero));
        const uint64_t a = static_cast<uint64_t>(_mm_cvtsi128_si64(pairs));
        const uint64_t b = static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(pairs, pairs)));
        const uint64_t product0 = (a & 0xFFFF) * (a >> 16 & 0xFFFF) * (a >> 32 & 0xFFFF) * (a >> 48);
        const uint64_t product1 = (b & 0xFFFF) * (b >> 16 & 0xFFFF) * (b >> 32 & 0xFFFF) * (b >> 48);
        return static_cast<int32_t>(product0 % modulus * (product1 % modulus) % modulus);
    }
#endif
    auto factor = [&](uint32_t i) -> int64_t {
        const uint64_t bytes = i < 8 ? k0 >> (8 * i) : k1 >> (8 * (i - 8));
        return i < length ? static_cast<signed char>(bytes & 0xFF) + static_cast<int64_t>(i) : 1;
    };
    int64_t group0 = 1, group1 = 1, group2 = 1;
    for (uint32_t i = 0; i < 5; i++) {
        group0 *= factor(i);
        group1 *= factor(i + 5);
        group2 *= factor(i + 10);
    }
    int64_t h = group0 % DICT_HASH_MODULUS;
    h = h * group1 % DICT_HASH_MODULUS;
    h = h * group2 % DICT_HASH_MODULUS;
    if (h < 0) h += DICT_HASH_MODULUS;
    return static_cast<int32_t>(h);
}
