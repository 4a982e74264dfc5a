#include "video/sheet.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Core/cmdebug.h"

namespace {

constexpr int32_t BMP_FILE_HEADER_SIZE = 14;
constexpr int32_t BMP_INFO_HEADER_SIZE = 40;
constexpr int32_t BMP_COLOUR_TABLE_SIZE = 1024;

// The one bitmap the loader holds at a time: a reload during play must not
// allocate, so its pixels live in this fixed buffer.
uint8_t vidBitmapPixels[VID_BITMAP_MAX_PIXELS];
VidBitmap vidBitmap;

VidPaletteEntry vidPaletteBuilt[256];

// Why the last load gave nothing; empty after one that loaded.
char vidBitmapError[256];

CM_PRINTF_FORMAT(1, 2) void bitmapFailed(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(vidBitmapError, sizeof vidBitmapError, format, args);
    va_end(args);
}

uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void defaultPalette(VidPaletteEntry entries[256]) {
    for (int i = 0; i < 256; i++) {
        entries[i].red = static_cast<uint8_t>(((i >> 5) & 7) * 255 / 7);
        entries[i].green = static_cast<uint8_t>(((i >> 2) & 7) * 255 / 7);
        entries[i].blue = static_cast<uint8_t>((i & 3) * 255 / 3);
        entries[i].flags = 0;
    }
}

// Reads up to `size` bytes; the count actually read (a short file reads less).
size_t readBytes(FILE* file, void* into, size_t size) { return std::fread(into, 1, size, file); }

// The nearest palette entry to a 0x00BBGGRR colour, the lowest index on a tie:
// how an 8-bit device context turns a colour into a pixel value.
uint8_t nearestIndex(uint32_t colour) {
    int32_t r = static_cast<int32_t>(colour & 0xFF);
    int32_t g = static_cast<int32_t>((colour >> 8) & 0xFF);
    int32_t b = static_cast<int32_t>((colour >> 16) & 0xFF);
    PlatColor fallback[256];
    const PlatColor* palette = gSheetPalette ? gSheetPalette->entries : fallback;
    if (!gSheetPalette) {
        VidPaletteEntry entries[256];
        defaultPalette(entries);
        for (int i = 0; i < 256; i++) fallback[i] = PlatColor{entries[i].red, entries[i].green, entries[i].blue};
    }
    int best = 0;
    int32_t bestDistance = INT32_MAX;
    for (int i = 0; i < 256; i++) {
        int32_t dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
        int32_t distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

// Pixel access the way a device context gives it: refused while the surface's
// memory is gone. The pixels are there only while the surface is locked.
class SurfaceAccess {
public:
    explicit SurfaceAccess(PlatSurface* surface) : surface_(surface) {
        locked_ = surface && !surface->lost && surface->width > 0 && surface->height > 0 &&
                  platSurfaceLock(surface) == DD_OK;
        if (locked_ && !surface->pixels) {
            platSurfaceUnlock(surface);
            locked_ = false;
        }
    }
    ~SurfaceAccess() {
        if (locked_) platSurfaceUnlock(surface_);
    }
    SurfaceAccess(const SurfaceAccess&) = delete;
    SurfaceAccess& operator=(const SurfaceAccess&) = delete;
    bool ok() const { return locked_; }

private:
    PlatSurface* surface_;
    bool locked_;
};

}  // namespace

const char* vidBitmapLoadError() { return vidBitmapError; }

const VidBitmap* vidBitmapLoad(const char* name) {
    vidBitmapError[0] = '\0';
    if (!name || !name[0]) {
        bitmapFailed("no file name");
        return nullptr;
    }
    FILE* file = platFileOpen(name, "rb");
    if (!file) {
        bitmapFailed("%s", std::strerror(errno));
        return nullptr;
    }
    const VidBitmap* result = nullptr;
    uint8_t header[BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE];
    const size_t headerRead = readBytes(file, header, sizeof header);
    if (std::ferror(file)) {
        bitmapFailed("%s", std::strerror(errno));
    } else if (headerRead >= 2 && (header[0] != 'B' || header[1] != 'M')) {
        bitmapFailed("it is not a Windows bitmap");
    } else if (headerRead == 0) {
        bitmapFailed("it is empty");
    } else if (headerRead != sizeof header) {
        bitmapFailed("it is only %zu bytes long, less than a bitmap's headers", headerRead);
    } else {
        const uint8_t* info = header + BMP_FILE_HEADER_SIZE;
        uint32_t pixelOffset = readU32(header + 10);
        uint32_t infoSize = readU32(info);
        int32_t width = static_cast<int32_t>(readU32(info + 4));
        int32_t rawHeight = static_cast<int32_t>(readU32(info + 8));
        uint16_t planes = readU16(info + 12);
        uint16_t bitCount = readU16(info + 14);
        uint32_t compression = readU32(info + 16);
        bool topDown = rawHeight < 0;
        int64_t height = topDown ? -static_cast<int64_t>(rawHeight) : rawHeight;
        bool shapeOk = infoSize >= static_cast<uint32_t>(BMP_INFO_HEADER_SIZE) && planes == 1 &&
                       (bitCount == 1 || bitCount == 4 || bitCount == 8) && compression == 0 && width > 0 &&
                       height > 0 && static_cast<int64_t>(width) * height <= VID_BITMAP_MAX_PIXELS;
        if (!shapeOk) {
            bitmapFailed("a %d x %lld bitmap of %u bits per pixel, compression %u, is not one the game reads "
                         "(uncompressed, 1, 4 or 8 bits per pixel, at most %d pixels)",
                         width, static_cast<long long>(height), bitCount, compression, VID_BITMAP_MAX_PIXELS);
        } else {
            int64_t rowBytes = (static_cast<int64_t>(width) * bitCount + 7) / 8;
            int64_t stride = (rowBytes + 3) / 4 * 4;
            const int64_t pixelBytes = stride * (height - 1) + rowBytes;
            bool ok = static_cast<int64_t>(pixelOffset) + pixelBytes <= INT32_MAX &&
                      std::fseek(file, static_cast<long>(pixelOffset), SEEK_SET) == 0;
            // The rows in the order the file holds them, in one read where they
            // lie end to end (8 bits a pixel and a width of whole words: the
            // sheet), else one after another: never a seek back, which would
            // make the file's buffer read them all again.
            if (ok && bitCount == 8 && stride == rowBytes) {
                ok = readBytes(file, vidBitmapPixels, static_cast<size_t>(pixelBytes)) ==
                     static_cast<size_t>(pixelBytes);
                if (ok && !topDown) {
                    // Stored bottom row first: the rows swap ends, in pieces.
                    uint8_t piece[256];
                    for (int64_t row = 0; row < height / 2; row++) {
                        uint8_t* a = vidBitmapPixels + row * width;
                        uint8_t* b = vidBitmapPixels + (height - 1 - row) * width;
                        for (int64_t x = 0; x < width; x += static_cast<int64_t>(sizeof piece)) {
                            const size_t n = static_cast<size_t>(std::min<int64_t>(sizeof piece, width - x));
                            std::memcpy(piece, a + x, n);
                            std::memcpy(a + x, b + x, n);
                            std::memcpy(b + x, piece, n);
                        }
                    }
                }
            }
            for (int64_t fileRow = 0; ok && !(bitCount == 8 && stride == rowBytes) && fileRow < height; fileRow++) {
                int64_t row = topDown ? fileRow : height - 1 - fileRow;
                uint8_t* dst = vidBitmapPixels + row * width;
                if (fileRow > 0 && stride > rowBytes &&
                    std::fseek(file, static_cast<long>(stride - rowBytes), SEEK_CUR) != 0) {
                    ok = false;
                    break;
                }
                // Packed rows are read into the front of the row and spread out
                // from the back, so no byte is overwritten before it is used.
                if (readBytes(file, dst, static_cast<size_t>(rowBytes)) != static_cast<size_t>(rowBytes)) {
                    ok = false;
                    break;
                }
                if (bitCount < 8) {
                    int perByte = 8 / bitCount;
                    uint8_t mask = static_cast<uint8_t>((1 << bitCount) - 1);
                    for (int64_t x = width - 1; x >= 0; x--) {
                        uint8_t packed = dst[x / perByte];
                        int shift = 8 - bitCount * static_cast<int>(x % perByte + 1);
                        dst[x] = static_cast<uint8_t>((packed >> shift) & mask);
                    }
                }
            }
            if (ok) {
                vidBitmap = VidBitmap{vidBitmapPixels, width, static_cast<int32_t>(height)};
                result = &vidBitmap;
            } else if (std::ferror(file)) {
                bitmapFailed("%s", std::strerror(errno));
            } else {
                // Cut short: how far the file goes, and how far its pixels reach.
                const int64_t needed = static_cast<int64_t>(pixelOffset) + stride * (height - 1) + rowBytes;
                std::fseek(file, 0, SEEK_END);
                bitmapFailed("it ends after %ld bytes; its %d x %lld pixels need %lld", std::ftell(file), width,
                             static_cast<long long>(height), static_cast<long long>(needed));
            }
        }
    }
    std::fclose(file);
    return result;
}

int32_t vidCopyBitmap(PlatSurface* surface, const VidBitmap* bitmap, int32_t x, int32_t y, int32_t width,
                      int32_t height) {
    if (!bitmap || !surface) return E_FAIL;
    platSurfaceRestore(surface);
    if (width == 0) width = bitmap->width;
    if (height == 0) height = bitmap->height;
    SurfaceAccess access(surface);
    if (!access.ok()) return DDERR_SURFACELOST;
    int32_t surfaceWidth = surface->width;
    int32_t surfaceHeight = surface->height;
    // Nearest-pixel stretch of the source rectangle over the whole surface;
    // source pixels outside the bitmap leave their target pixels as they were.
    if (width == surfaceWidth && height == surfaceHeight && bitmap->pixels) {
        // No stretch (the sheet onto its own surface): rows as they are.
        const int32_t from = std::max(0, -x);
        const int32_t to = std::min(surfaceWidth, bitmap->width - x);
        for (int32_t ty = 0; ty < surfaceHeight && from < to; ty++) {
            const int64_t sy = static_cast<int64_t>(y) + ty;
            if (sy < 0 || sy >= bitmap->height) continue;
            std::memcpy(surface->pixels + static_cast<int64_t>(ty) * surface->pitch + from,
                        bitmap->pixels + sy * bitmap->width + x + from, static_cast<size_t>(to - from));
        }
    } else if (width > 0 && height > 0 && bitmap->pixels) {
        for (int32_t ty = 0; ty < surfaceHeight; ty++) {
            int64_t sy = y + static_cast<int64_t>(ty) * height / surfaceHeight;
            if (sy < 0 || sy >= bitmap->height) continue;
            uint8_t* dst = surface->pixels + static_cast<int64_t>(ty) * surface->pitch;
            const uint8_t* src = bitmap->pixels + sy * bitmap->width;
            for (int32_t tx = 0; tx < surfaceWidth; tx++) {
                int64_t sx = x + static_cast<int64_t>(tx) * width / surfaceWidth;
                if (sx < 0 || sx >= bitmap->width) continue;
                dst[tx] = src[sx];
            }
        }
    }
    return DD_OK;
}

PlatSurface* vidLoadBitmapSurface(VidDirectDraw* directDraw, const char* name, int32_t width, int32_t height) {
    const VidBitmap* bitmap = vidBitmapLoad(name);
    if (!bitmap || !directDraw) return nullptr;
    // Loading at a given size stretches the bitmap to it; the copy below does
    // that stretch onto a surface of that size.
    int32_t surfaceWidth = width != 0 ? width : bitmap->width;
    int32_t surfaceHeight = height != 0 ? height : bitmap->height;
    PlatSurface* surface = nullptr;
    if (platCreateSurface(surfaceWidth, surfaceHeight, &surface) != DD_OK || !surface) return nullptr;
    vidCopyBitmap(surface, bitmap, 0, 0, 0, 0);
    return surface;
}

int32_t vidReloadBitmap(PlatSurface* surface, const char* name) {
    const VidBitmap* bitmap = vidBitmapLoad(name);
    if (!bitmap) {
        platDebugOutput("handle is null\n");
        return E_FAIL;
    }
    int32_t result = vidCopyBitmap(surface, bitmap, 0, 0, 0, 0);
    if (result != DD_OK) platDebugOutput("ddcopybitmap failed\n");
    return result;
}

VidPalette* vidLoadPalette(VidDirectDraw* directDraw, const char* name) {
    defaultPalette(vidPaletteBuilt);
    if (name) {
        FILE* file = platFileOpen(name, "rb");
        if (file) {
            uint8_t fileHeader[BMP_FILE_HEADER_SIZE] = {};
            uint8_t info[BMP_INFO_HEADER_SIZE] = {};
            uint8_t table[BMP_COLOUR_TABLE_SIZE];
            readBytes(file, fileHeader, sizeof fileHeader);
            readBytes(file, info, sizeof info);
            size_t tableRead = readBytes(file, table, sizeof table);
            std::fclose(file);
            uint32_t infoSize = readU32(info);
            uint16_t bitCount = readU16(info + 14);
            uint32_t count = 0;
            if (infoSize == static_cast<uint32_t>(BMP_INFO_HEADER_SIZE) && bitCount <= 8) {
                count = readU32(info + 32);
                if (count == 0) count = 1u << bitCount;
            }
            if (count > 256) count = 256;
            // Without a colour count the table's bytes are not colours: the
            // default palette stays.
            if (count > 0) {
                std::memcpy(vidPaletteBuilt, table, tableRead);
                // Only entries whose colour the file held turn round: a short
                // table leaves the rest of the default palette as it was.
                uint32_t complete = static_cast<uint32_t>((tableRead + 1) / 4);
                if (count > complete) count = complete;
                for (uint32_t i = 0; i < count; i++) {
                    uint8_t blue = vidPaletteBuilt[i].red;
                    vidPaletteBuilt[i].red = vidPaletteBuilt[i].blue;
                    vidPaletteBuilt[i].blue = blue;
                }
            }
        }
    }
    PlatColor colours[256];
    for (int i = 0; i < 256; i++) {
        colours[i] = PlatColor{vidPaletteBuilt[i].red, vidPaletteBuilt[i].green, vidPaletteBuilt[i].blue};
    }
    return vidCreatePalette(directDraw, colours);
}

const VidPaletteEntry* vidLastPaletteEntries() { return vidPaletteBuilt; }

uint32_t vidColorMatch(PlatSurface* surface, uint32_t colour) {
    bool probe = colour != VID_CLR_INVALID;
    uint8_t saved = 0;
    bool wrote = false;
    SurfaceAccess access(surface);
    if (probe && access.ok()) {
        saved = surface->pixels[0];
        surface->pixels[0] = nearestIndex(colour);
        wrote = true;
    }
    uint32_t value = VID_CLR_INVALID;
    if (access.ok()) value = surface->pixels[0];
    if (wrote) surface->pixels[0] = saved;
    return value;
}

int32_t vidSetColorKey(PlatSurface* surface, uint32_t colour) {
    uint32_t key = vidColorMatch(surface, colour);
    // A colour that could not be matched sets no key: the copies would
    // otherwise leave out some other colour.
    if (key == VID_CLR_INVALID) return surface && surface->lost ? DDERR_SURFACELOST : E_FAIL;
    surface->colorKey = static_cast<uint8_t>(key);
    return DD_OK;
}
