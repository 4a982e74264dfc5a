#include "platform/sdl/sdlscale.h"

#include <algorithm>
#include <cstddef>

SdlViewport sdlFitPicture(int32_t outputWidth, int32_t outputHeight) {
    if (outputWidth <= 0 || outputHeight <= 0) return SdlViewport{0, 0, 0, 0};
    int32_t factor = std::min(outputWidth / PLAT_SCREEN_WIDTH, outputHeight / PLAT_SCREEN_HEIGHT);
    int32_t w, h;
    if (factor >= 1) {
        w = PLAT_SCREEN_WIDTH * factor;
        h = PLAT_SCREEN_HEIGHT * factor;
    } else if (static_cast<int64_t>(outputWidth) * PLAT_SCREEN_HEIGHT <=
               static_cast<int64_t>(outputHeight) * PLAT_SCREEN_WIDTH) {
        w = outputWidth;
        h = static_cast<int32_t>(static_cast<int64_t>(outputWidth) * PLAT_SCREEN_HEIGHT / PLAT_SCREEN_WIDTH);
    } else {
        h = outputHeight;
        w = static_cast<int32_t>(static_cast<int64_t>(outputHeight) * PLAT_SCREEN_WIDTH / PLAT_SCREEN_HEIGHT);
    }
    return SdlViewport{(outputWidth - w) / 2, (outputHeight - h) / 2, w, h};
}

SdlViewport sdlPlaceWindow(int32_t scale, SdlViewport room) {
    const int32_t fit = room.w > 0 && room.h > 0 ? std::min(room.w / PLAT_SCREEN_WIDTH, room.h / PLAT_SCREEN_HEIGHT) : 0;
    SdlViewport v;
    if (fit < 1) {
        v = sdlFitPicture(room.w, room.h);
    } else {
        const int32_t s = scale > 0 && scale < fit ? scale : fit;
        v = SdlViewport{0, 0, PLAT_SCREEN_WIDTH * s, PLAT_SCREEN_HEIGHT * s};
        v.x = (room.w - v.w) / 2;
        v.y = (room.h - v.h) / 2;
    }
    v.x += room.x;
    v.y += room.y;
    return v;
}

int32_t sdlScaleForSize(int32_t width, int32_t height) {
    return std::max(1, std::min(width / PLAT_SCREEN_WIDTH, height / PLAT_SCREEN_HEIGHT));
}

void sdlBuildColorTable(const PlatColor palette[256], uint32_t table[256]) {
    for (int i = 0; i < 256; i++) {
        table[i] = 0xFF000000u | static_cast<uint32_t>(palette[i].r) << 16 | static_cast<uint32_t>(palette[i].g) << 8 |
                   palette[i].b;
    }
}

void sdlConvertFrame(const PlatSurface* surface, const uint32_t table[256], uint32_t* out, int32_t outPitch) {
    sdlConvertRect(surface, table, 0, 0, surface->width, surface->height, out, outPitch);
}

void sdlConvertRect(const PlatSurface* surface, const uint32_t table[256], int32_t x, int32_t y, int32_t w, int32_t h,
                    uint32_t* out, int32_t outPitch) {
    for (int32_t row = 0; row < h; row++) {
        const uint8_t* src = surface->pixels + static_cast<ptrdiff_t>(y + row) * surface->pitch + x;
        uint32_t* dst = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) + static_cast<ptrdiff_t>(row) * outPitch);
        for (int32_t i = 0; i < w; i++) dst[i] = table[src[i]];
    }
}
