#include "platform/sdl/sdlchanges.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

uint64_t sdlLoad8(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The first and one past the last column where two rows that differ differ,
// eight pixels at a time from either end.
void sdlRowSpan(const uint8_t* a, const uint8_t* b, int32_t width, int32_t* first, int32_t* end) {
    int32_t i = 0;
    while (i + 8 <= width && sdlLoad8(a + i) == sdlLoad8(b + i)) i += 8;
    while (i < width && a[i] == b[i]) i++;
    int32_t j = width;
    while (j - 8 >= i && sdlLoad8(a + j - 8) == sdlLoad8(b + j - 8)) j -= 8;
    while (j > i && a[j - 1] == b[j - 1]) j--;
    *first = i;
    *end = j;
}

}  // namespace

void sdlTouchAll(SdlChanges& changes) { std::memset(changes.touched, 1, sizeof changes.touched); }

int32_t sdlTakeChanges(SdlChanges& changes, const PlatSurface* drawn, PlatSurface* shown,
                       SdlRect rects[SDL_MAX_CHANGED_RECTS]) {
    const int32_t width = std::min(drawn->width, shown->width);
    const int32_t height = std::min({drawn->height, shown->height, static_cast<int32_t>(PLAT_SCREEN_HEIGHT)});
    int32_t count = 0;
    for (int32_t row = 0; row < height; row++) {
        if (!changes.touched[row]) continue;
        changes.touched[row] = 0;
        const uint8_t* d = drawn->pixels + static_cast<ptrdiff_t>(row) * drawn->pitch;
        uint8_t* s = shown->pixels + static_cast<ptrdiff_t>(row) * shown->pitch;
        // Most rows of a busy frame come out as they were: one quick compare each.
        if (std::memcmp(d, s, static_cast<size_t>(width)) == 0) continue;
        int32_t first, end;
        sdlRowSpan(d, s, width, &first, &end);
        std::memcpy(s + first, d + first, static_cast<size_t>(end - first));
        if (count > 0) {
            SdlRect& last = rects[count - 1];
            if (row - (last.y + last.h) <= SDL_JOIN_GAP_ROWS || count == SDL_MAX_CHANGED_RECTS) {
                const int32_t left = std::min(last.x, first);
                const int32_t right = std::max(last.x + last.w, end);
                last.x = left;
                last.w = right - left;
                last.h = row + 1 - last.y;
                continue;
            }
        }
        rects[count++] = SdlRect{first, row, end - first, 1};
    }
    return count;
}
