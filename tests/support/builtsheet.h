// The sheet the build made (game/ALL), read whole once for the tests that
// check what the sheet tool painted.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#ifndef TQ_SHEET_FILE
#define TQ_SHEET_FILE "../game/ALL"
#endif

// Empty when the file cannot be read.
inline std::vector<uint8_t> readBuiltSheet() {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(TQ_SHEET_FILE, "rb");
    if (f == nullptr) return bytes;
    bytes.assign(2000000, 0);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    return bytes;
}
