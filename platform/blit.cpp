#include "platform/blit.h"

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

bool blitFits(const PlatSurface* dst, int32_t x, int32_t y, const PlatSurface* src, int32_t left, int32_t top,
              int32_t right, int32_t bottom) {
    if (!dst || !src || !dst->pixels || !src->pixels) return false;
    if (left < 0 || top < 0 || right <= left || bottom <= top) return false;
    if (right > src->width || bottom > src->height) return false;
    const int32_t w = right - left;
    const int32_t h = bottom - top;
    return x >= 0 && y >= 0 && x <= dst->width - w && y <= dst->height - h;
}

// Keyed copies are most of a frame's work (every glyph, tile and mark), so the
// row goes 16 and 8 pixels at a time where the processor allows.
void blitKeyedRow(uint8_t* dst, const uint8_t* src, int32_t width, uint8_t key) {
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128i keys = _mm_set1_epi8(static_cast<char>(key));
    for (; i + 16 <= width; i += 16) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        __m128i transparent = _mm_cmpeq_epi8(s, keys);
        __m128i out = _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, s));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
    }
    if (i + 8 <= width) {
        __m128i s = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + i));
        __m128i d = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dst + i));
        __m128i transparent = _mm_cmpeq_epi8(s, keys);
        __m128i out = _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, s));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + i), out);
        i += 8;
    }
#endif
    for (; i < width; i++) {
        if (src[i] != key) dst[i] = src[i];
    }
}

void blitPixels(PlatSurface* dst, int32_t x, int32_t y, const PlatSurface* src, int32_t left, int32_t top,
                int32_t right, int32_t bottom, bool keyed) {
    const int32_t w = right - left;
    const int32_t h = bottom - top;
    for (int32_t row = 0; row < h; row++) {
        const uint8_t* s = src->pixels + static_cast<ptrdiff_t>(top + row) * src->pitch + left;
        uint8_t* d = dst->pixels + static_cast<ptrdiff_t>(y + row) * dst->pitch + x;
        if (keyed) {
            blitKeyedRow(d, s, w, src->colorKey);
        } else {
            std::memcpy(d, s, static_cast<size_t>(w));
        }
    }
}
