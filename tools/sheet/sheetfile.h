// Turns the full-colour sheet into 256 palette colours and writes it as an
// uncompressed 8-bit Windows bitmap.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/sheet/canvas.h"

struct IndexedImage {
    int width = 0, height = 0;
    std::array<Rgb, 256> palette{};
    std::vector<uint8_t> indices;  // top row first
};

// Index 0 is black and only black; index 255 is white. The given colours and
// the most used ones are kept exactly, the rest share the remaining entries.
IndexedImage quantize(const Canvas& canvas, const std::vector<Rgb>& keep);
bool writeBitmap(const IndexedImage& image, const std::string& path);
