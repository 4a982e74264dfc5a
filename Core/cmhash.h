// FNV-1a, 64 bits: a quick fingerprint for telling files and pictures apart
// (the word list a game was recorded with, the last frame of a replay). Not a
// check against tampering.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint64_t CM_HASH_START = 0xcbf29ce484222325ULL;

// Continues `hash` over the bytes; start from CM_HASH_START.
uint64_t cmHashBytes(uint64_t hash, const void* data, size_t size);
