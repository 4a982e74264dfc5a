#include "video/icon.h"

#include <cstring>

#include "video/sheetlayout.h"

namespace {

using Art = uint8_t[VID_ICON_ART_SIZE][VID_ICON_ART_SIZE];

// Copies a big letter tile onto the art at (x, y), leaving out the sheet's
// transparent index as a keyed copy does.
void keyedTile(Art& art, const uint8_t* sheet, int32_t pitch, char letter, int32_t x, int32_t y) {
    SheetRect r = sheetBigLetter(letter - 'A');
    for (int32_t ty = 0; ty < r.bottom - r.top; ty++) {
        const uint8_t* row = sheet + static_cast<int64_t>(r.top + ty) * pitch + r.left;
        for (int32_t tx = 0; tx < r.right - r.left; tx++) {
            if (row[tx] != SHEET_INDEX_BLACK) art[y + ty][x + tx] = row[tx];
        }
    }
}

uint8_t* pixelAt(uint8_t* rgba, int32_t size, int32_t x, int32_t y) {
    return rgba + (static_cast<int64_t>(y) * size + x) * 4;
}

void enlarge(const Art& art, const PlatColor palette[256], int32_t size, uint8_t* rgba) {
    int32_t scale = size / VID_ICON_ART_SIZE;
    int32_t margin = (size - scale * VID_ICON_ART_SIZE) / 2;
    for (int32_t y = 0; y < scale * VID_ICON_ART_SIZE; y++) {
        for (int32_t x = 0; x < scale * VID_ICON_ART_SIZE; x++) {
            uint8_t index = art[y / scale][x / scale];
            if (index == SHEET_INDEX_BLACK) continue;
            uint8_t* p = pixelAt(rgba, size, margin + x, margin + y);
            p[0] = palette[index].r;
            p[1] = palette[index].g;
            p[2] = palette[index].b;
            p[3] = 255;
        }
    }
}

// Picking one art pixel in three would drop thin strokes of the Q; the block
// average keeps them as darker pixels. Transparent art pixels count towards the
// block's area but not its colour, so the alpha is the block's coverage.
void shrink(const Art& art, const PlatColor palette[256], int32_t size, uint8_t* rgba) {
    int32_t block = (VID_ICON_ART_SIZE + size - 1) / size;
    int32_t width = (VID_ICON_ART_SIZE + block - 1) / block;
    int32_t margin = (size - width) / 2;
    int32_t area = block * block;
    for (int32_t y = 0; y < width; y++) {
        for (int32_t x = 0; x < width; x++) {
            int32_t red = 0, green = 0, blue = 0, count = 0;
            for (int32_t ay = y * block; ay < (y + 1) * block && ay < VID_ICON_ART_SIZE; ay++) {
                for (int32_t ax = x * block; ax < (x + 1) * block && ax < VID_ICON_ART_SIZE; ax++) {
                    uint8_t index = art[ay][ax];
                    if (index == SHEET_INDEX_BLACK) continue;
                    red += palette[index].r;
                    green += palette[index].g;
                    blue += palette[index].b;
                    count++;
                }
            }
            if (count == 0) continue;
            uint8_t* p = pixelAt(rgba, size, margin + x, margin + y);
            p[0] = static_cast<uint8_t>((red + count / 2) / count);
            p[1] = static_cast<uint8_t>((green + count / 2) / count);
            p[2] = static_cast<uint8_t>((blue + count / 2) / count);
            p[3] = static_cast<uint8_t>((255 * count + area / 2) / area);
        }
    }
}

}  // namespace

void vidIconDraw(const uint8_t* sheetPixels, int32_t sheetPitch, const PlatColor palette[256], int32_t size,
                 uint8_t* rgba) {
    if (!sheetPixels || !palette || !rgba || size <= 0) return;
    std::memset(rgba, 0, static_cast<size_t>(size) * static_cast<size_t>(size) * 4);
    Art art;
    std::memset(art, SHEET_INDEX_BLACK, sizeof art);
    keyedTile(art, sheetPixels, sheetPitch, 'T', 0, 0);
    keyedTile(art, sheetPixels, sheetPitch, 'Q', VID_ICON_TILE_OFFSET, VID_ICON_TILE_OFFSET);
    if (size >= VID_ICON_ART_SIZE) {
        enlarge(art, palette, size, rgba);
    } else {
        shrink(art, palette, size, rgba);
    }
}
