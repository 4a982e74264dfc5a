// A word's bytes eight at a time: the loader, the lookup table and the prefix
// index read words as 64-bit little-endian words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

inline uint64_t dictLoad8(const char* bytes) {
    uint64_t v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

// Mask of the first n bytes (n = 0 to 8) of a 64-bit word.
inline uint64_t dictByteMask(size_t n) { return n >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * n)) - 1; }

// The top bit of each byte that is zero in v, exactly.
inline uint64_t dictZeroBytes(uint64_t v) {
    const uint64_t low7 = 0x7F7F7F7F7F7F7F7Fu;
    return ~(((v & low7) + low7) | v | low7);
}

// The top bit of each byte that is zero in v, exact up to the first zero byte
// (a byte after a zero one may be flagged wrongly).
inline uint64_t dictZeroBytesApprox(uint64_t v) { return (v - 0x0101010101010101u) & ~v & 0x8080808080808080u; }

// The top bit of each byte whose low seven bits lie from `first` to `last`
// and whose top bit is clear.
inline uint64_t dictBytesWithin(uint64_t v, char first, char last) {
    const uint64_t ones = 0x0101010101010101u;
    const uint64_t low7 = v & 0x7F7F7F7F7F7F7F7Fu;
    const uint64_t fromFirst = low7 + static_cast<uint64_t>(0x80 - first) * ones;  // top bit: at least first
    const uint64_t pastLast = low7 + static_cast<uint64_t>(0x80 - last - 1) * ones;  // top bit: past last
    return fromFirst & ~pastLast & ~v & 0x8080808080808080u;
}

// a to z turned to A to Z in each byte, all other bytes as they were.
inline uint64_t dictUpperCase(uint64_t v) {
    return v ^ (dictBytesWithin(v, 'a', 'z') >> 2);  // 0x80 >> 2 is the case bit
}

// The top bit of each byte of v that is not an upper-case letter A to Z.
inline uint64_t dictNotLetters(uint64_t v) { return ~dictBytesWithin(v, 'A', 'Z') & 0x8080808080808080u; }
