#include "platform/blit.h"

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
// The source wherever it is not the key, else the destination.
inline __m128i blitKeyedMix(__m128i s, __m128i d, __m128i keys) {
    const __m128i transparent = _mm_cmpeq_epi8(s, keys);
    return _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, s));
}

inline __m128i blitLoad16(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i blitLoad8(const uint8_t* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }
inline void blitStore16(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline void blitStore8(uint8_t* p, __m128i v) { _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v); }
#endif

// Keyed copies are most of a frame's work (every glyph, tile and mark), so a
// row goes 16 or 8 pixels at a time. A width that is not a multiple of the
// step ends with one more step flush with the row's end, overlapping the one
// before: each pixel's result depends only on its own source and destination,
// so the overlap is written twice with the same value. That last step's
// destination is read before the others are stored, so no load waits on an
// earlier, partly overlapping store. Inlined so that a constant width (the
// 8-pixel glyphs) folds to straight-line code.
inline void blitKeyedRowInline(uint8_t* dst, const uint8_t* src, int32_t width, uint8_t key) {
#if defined(__SSE2__)
    const __m128i keys = _mm_set1_epi8(static_cast<char>(key));
    if (width >= 16) {
        const int32_t last = width - 16;
        const __m128i lastOut = blitKeyedMix(blitLoad16(src + last), blitLoad16(dst + last), keys);
        for (int32_t i = 0; i < last; i += 16) {
            blitStore16(dst + i, blitKeyedMix(blitLoad16(src + i), blitLoad16(dst + i), keys));
        }
        blitStore16(dst + last, lastOut);
        return;
    }
    if (width >= 8) {
        const int32_t last = width - 8;
        const __m128i lastOut = blitKeyedMix(blitLoad8(src + last), blitLoad8(dst + last), keys);
        blitStore8(dst, blitKeyedMix(blitLoad8(src), blitLoad8(dst), keys));
        blitStore8(dst + last, lastOut);
        return;
    }
#endif
    for (int32_t i = 0; i < width; i++) {
        if (src[i] != key) dst[i] = src[i];
    }
}

}  // namespace

void blitKeyedRow(uint8_t* dst, const uint8_t* src, int32_t width, uint8_t key) {
    blitKeyedRowInline(dst, src, width, key);
}

void blitPixels(PlatSurface* dst, int32_t x, int32_t y, const PlatSurface* src, int32_t left, int32_t top,
                int32_t right, int32_t bottom, bool keyed) {
    // Locals, not fields: the pixel stores could alias the surface records,
    // which would make the compiler reload them on every row.
    const int32_t w = right - left;
    const int32_t h = bottom - top;
    const ptrdiff_t srcPitch = src->pitch;
    const ptrdiff_t dstPitch = dst->pitch;
    const uint8_t key = src->colorKey;
    const uint8_t* s = src->pixels + top * srcPitch + left;
    uint8_t* d = dst->pixels + y * dstPitch + x;
    if (!keyed) {
        // Whole rows of equal pitch lie end to end: one copy does them all.
        if (w == srcPitch && w == dstPitch) {
            std::memcpy(d, s, static_cast<size_t>(w) * static_cast<size_t>(h));
            return;
        }
        for (int32_t row = 0; row < h; row++, s += srcPitch, d += dstPitch) std::memcpy(d, s, static_cast<size_t>(w));
        return;
    }
    // The small glyphs, most of a frame's copies, get a loop of their own width.
    if (w == 8) {
        int32_t row = 0;
#if defined(__SSE2__)
        // Two 8-pixel rows fill one register: half the work per row.
        const __m128i keys = _mm_set1_epi8(static_cast<char>(key));
        for (; row + 2 <= h; row += 2, s += 2 * srcPitch, d += 2 * dstPitch) {
            const __m128i sv = _mm_unpacklo_epi64(blitLoad8(s), blitLoad8(s + srcPitch));
            const __m128i dv = _mm_unpacklo_epi64(blitLoad8(d), blitLoad8(d + dstPitch));
            const __m128i out = blitKeyedMix(sv, dv, keys);
            blitStore8(d, out);
            blitStore8(d + dstPitch, _mm_unpackhi_epi64(out, out));
        }
#endif
        for (; row < h; row++, s += srcPitch, d += dstPitch) blitKeyedRowInline(d, s, 8, key);
        return;
    }
    for (int32_t row = 0; row < h; row++, s += srcPitch, d += dstPitch) blitKeyedRowInline(d, s, w, key);
}

void blitPixelsTurned(PlatSurface* dst, int32_t x, int32_t y, const PlatSurface* src, int32_t left, int32_t top,
                      int32_t right, int32_t bottom, bool keyed) {
    const int32_t w = right - left;
    const int32_t h = bottom - top;
    const ptrdiff_t srcPitch = src->pitch;
    const ptrdiff_t dstPitch = dst->pitch;
    const uint8_t key = src->colorKey;
    // The source's first row lands on the destination's last, read backwards.
    const uint8_t* s = src->pixels + top * srcPitch + left;
    uint8_t* d = dst->pixels + (y + h - 1) * dstPitch + x;
    for (int32_t row = 0; row < h; row++, s += srcPitch, d -= dstPitch) {
        for (int32_t i = 0; i < w; i++) {
            const uint8_t pixel = s[w - 1 - i];
            if (!keyed || pixel != key) d[i] = pixel;
        }
    }
}
