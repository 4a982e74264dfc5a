#include "platform/redraw.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/blit.h"

namespace {

// Areas this close are joined: one larger area costs less than two passes.
constexpr int32_t JOIN_GAP = 8;

RedrawArea areaOf(const RedrawCopy& c) { return RedrawArea{c.x, c.y, c.x + c.w, c.y + c.h}; }

// Every frame compares hundreds of copies: each in one step.
inline bool sameCopy(const RedrawCopy& a, const RedrawCopy& b) {
#if defined(__SSE2__)
    const __m128i same = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&a)),
                                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(&b)));
    return _mm_movemask_epi8(same) == 0xFFFF;
#else
    return std::memcmp(&a, &b, sizeof a) == 0;
#endif
}

bool overlaps(const RedrawArea& a, const RedrawArea& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

RedrawArea unite(const RedrawArea& a, const RedrawArea& b) {
    return RedrawArea{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

int64_t size(const RedrawArea& a) { return static_cast<int64_t>(a.x1 - a.x0) * (a.y1 - a.y0); }

bool near(const RedrawArea& a, const RedrawArea& b) {
    return overlaps(RedrawArea{a.x0 - JOIN_GAP, a.y0 - JOIN_GAP, a.x1 + JOIN_GAP, a.y1 + JOIN_GAP}, b);
}

void addArea(Redraw& r, RedrawArea a) {
    // Whatever the new area reaches is taken into it, until nothing more is.
    for (int32_t i = 0; i < r.areaCount;) {
        if (near(r.areas[i], a)) {
            a = unite(a, r.areas[i]);
            r.areas[i] = r.areas[--r.areaCount];
            i = 0;
        } else {
            i++;
        }
    }
    if (r.areaCount < REDRAW_MAX_AREAS) {
        r.areas[r.areaCount++] = a;
        return;
    }
    // No room: into the area it grows least.
    int32_t best = 0;
    int64_t bestGrowth = INT64_MAX;
    for (int32_t i = 0; i < r.areaCount; i++) {
        const int64_t growth = size(unite(r.areas[i], a)) - size(r.areas[i]);
        if (growth < bestGrowth) {
            best = i;
            bestGrowth = growth;
        }
    }
    r.areas[best] = unite(r.areas[best], a);
}

// The part of the copy inside `clip`.
void drawPart(Redraw& r, const RedrawCopy& c, const RedrawArea& clip) {
    const RedrawArea a = areaOf(c);
    const int32_t x0 = std::max(a.x0, clip.x0), y0 = std::max(a.y0, clip.y0);
    const int32_t x1 = std::min(a.x1, clip.x1), y1 = std::min(a.y1, clip.y1);
    if (x0 >= x1 || y0 >= y1) return;
    const PlatSurface* src = r.sources[c.source];
    const bool keyed = (c.flags & REDRAW_KEYED) != 0;
    if (c.flags & REDRAW_TURNED) {
        // The source's last column lands on the first: the part is read from the far side.
        const int32_t right = c.left + c.w, bottom = c.top + c.h;
        blitPixelsTurned(r.back, x0, y0, src, right - (x1 - c.x), bottom - (y1 - c.y), right - (x0 - c.x),
                         bottom - (y0 - c.y), keyed);
    } else {
        blitPixels(r.back, x0, y0, src, c.left + (x0 - c.x), c.top + (y0 - c.y), c.left + (x1 - c.x),
                   c.top + (y1 - c.y), keyed);
    }
    r.drawnPixels += static_cast<int64_t>(x1 - x0) * (y1 - y0);
    if (r.drew) r.drew(x0, y0, x1 - x0, y1 - y0);
}

void drawCopy(Redraw& r, const PlatSurface* src, int32_t x, int32_t y, int32_t left, int32_t top, int32_t w,
              int32_t h, uint8_t flags) {
    const bool keyed = (flags & REDRAW_KEYED) != 0;
    if (flags & REDRAW_TURNED) {
        blitPixelsTurned(r.back, x, y, src, left, top, left + w, top + h, keyed);
    } else {
        blitPixels(r.back, x, y, src, left, top, left + w, top + h, keyed);
    }
    r.drawnPixels += static_cast<int64_t>(w) * h;
    if (r.drew) r.drew(x, y, w, h);
}

void drawWhole(Redraw& r, const RedrawCopy& c) {
    drawCopy(r, r.sources[c.source], c.x, c.y, c.left, c.top, c.w, c.h, c.flags);
}

void drawPending(Redraw& r) {
    const RedrawCopy* list = r.lists[r.now];
    for (int32_t i = r.counts[r.now] - r.pending; i < r.counts[r.now]; i++) drawWhole(r, list[i]);
    r.pending = 0;
}

int32_t find(const RedrawCopy* list, int32_t from, int32_t end, const RedrawCopy& c) {
    for (int32_t i = from; i < end; i++) {
        if (sameCopy(list[i], c)) return i;
    }
    return -1;
}

// The areas where last frame's copies and this frame's part: the copies of
// either list left without a partner. Partners are paired in order, so where
// every copy has one, both frames touch each pixel with the same copies in the
// same order. False when the areas grow to most of the screen.
bool findChanges(Redraw& r) {
    const RedrawCopy* was = r.lists[1 - r.now];
    const RedrawCopy* is = r.lists[r.now];
    const int32_t n = r.counts[1 - r.now], m = r.counts[r.now];
    const int64_t most = static_cast<int64_t>(r.back->width) * r.back->height / 2;
    r.areaCount = 0;
    int64_t changed = 0;
    const auto lose = [&](const RedrawCopy& c) {
        const RedrawArea a = areaOf(c);
        changed += size(a);
        addArea(r, a);
    };
    int32_t i = 0, j = 0;
    while (i < n && j < m && changed < most) {
        // Long runs of equal copies are the rule: eight at a time.
        while (i + 8 <= n && j + 8 <= m && std::memcmp(was + i, is + j, 8 * sizeof(RedrawCopy)) == 0) {
            i += 8;
            j += 8;
        }
        if (i == n || j == m) break;
        if (sameCopy(was[i], is[j])) {
            i++;
            j++;
            continue;
        }
        // Most often one copy took another's place (a letter shook, a digit
        // turned): the lists go on together after it.
        if (i + 1 == n || j + 1 == m || sameCopy(was[i + 1], is[j + 1])) {
            lose(was[i++]);
            lose(is[j++]);
            continue;
        }
        int32_t k = find(was, i + 1, std::min(n, i + 1 + REDRAW_LOOKAHEAD), is[j]);
        if (k >= 0) {
            while (i < k) lose(was[i++]);
            continue;
        }
        k = find(is, j + 1, std::min(m, j + 1 + REDRAW_LOOKAHEAD), was[i]);
        if (k >= 0) {
            while (j < k) lose(is[j++]);
            continue;
        }
        lose(was[i++]);
        lose(is[j++]);
    }
    while (i < n && changed < most) lose(was[i++]);
    while (j < m && changed < most) lose(is[j++]);
    if (changed >= most) return false;
    int64_t total = 0;
    for (int32_t a = 0; a < r.areaCount; a++) total += size(r.areas[a]);
    return total < most;
}

void drawChanges(Redraw& r) {
    if (r.areaCount == 0) return;
    RedrawArea bounds = r.areas[0];
    for (int32_t a = 1; a < r.areaCount; a++) bounds = unite(bounds, r.areas[a]);
    const RedrawCopy* list = r.lists[r.now];
    for (int32_t i = 0; i < r.counts[r.now]; i++) {
        const RedrawCopy& c = list[i];
        const RedrawArea area = areaOf(c);
        if (!overlaps(area, bounds)) continue;
        for (int32_t a = 0; a < r.areaCount; a++) drawPart(r, c, r.areas[a]);
    }
}

}  // namespace

void redrawStart(Redraw& r, PlatSurface* back) {
    r.back = back;
    for (const PlatSurface*& source : r.sources) source = nullptr;
    r.sourceCount = 0;
    r.lastSource = 0;
    r.counts[0] = r.counts[1] = 0;
    r.now = 0;
    r.pending = 0;
    r.deferring = false;
    r.lastValid = false;
    r.spoilt = false;
    r.areaCount = 0;
    r.drawnPixels = 0;
    r.lastDrawnPixels = 0;
    r.lastWhole = true;
}

void redrawCopyNow(Redraw& r, const PlatSurface* src, int32_t x, int32_t y, int32_t left, int32_t top,
                   int32_t right, int32_t bottom, uint8_t flags) {
    int32_t source = -1;
    for (int32_t i = 0; i < r.sourceCount && source < 0; i++) {
        if (r.sources[i] == src) source = i;
    }
    if (source < 0 && r.sourceCount < REDRAW_MAX_SOURCES) {
        source = r.sourceCount++;
        r.sources[source] = src;
    }
    int32_t& count = r.counts[r.now];
    if (source < 0 || ((right | bottom) >> 16) != 0 || count == REDRAW_MAX_COPIES) {
        // It cannot be kept: this frame is drawn as it comes.
        redrawSpoil(r);
        drawCopy(r, src, x, y, left, top, right - left, bottom - top, flags);
        return;
    }
    r.lastSource = source;
    RedrawCopy& c = r.lists[r.now][count++];
    c = RedrawCopy{static_cast<uint16_t>(left), static_cast<uint16_t>(top), static_cast<uint16_t>(x),
                   static_cast<uint16_t>(y), static_cast<uint16_t>(right - left), static_cast<uint16_t>(bottom - top),
                   static_cast<uint8_t>(source), flags, 0};
    if (r.deferring) {
        r.pending++;
    } else {
        drawWhole(r, c);
    }
}

void redrawCopyRun(Redraw& r, const PlatSurface* src, const PlatBlt* blts, int32_t count, bool keyed) {
    int32_t at = 0;
    int32_t& used = r.counts[r.now];
    if (r.deferring && src == r.sources[r.lastSource] && count <= REDRAW_MAX_COPIES - used) {
        // The count stays in a register while the run is written.
        RedrawCopy* out = r.lists[r.now] + used;
        const uint64_t common = static_cast<uint64_t>(r.lastSource) << 32 |
                                static_cast<uint64_t>(keyed ? REDRAW_KEYED : 0) << 40;
        for (; at < count; at++) {
            const PlatBlt& b = blts[at];
            if (((b.right | b.bottom) >> 16) != 0) break;
            const uint64_t low = static_cast<uint64_t>(b.left) | static_cast<uint64_t>(b.top) << 16 |
                                 static_cast<uint64_t>(b.x) << 32 | static_cast<uint64_t>(b.y) << 48;
            const uint64_t high = static_cast<uint64_t>(b.right - b.left) |
                                  static_cast<uint64_t>(b.bottom - b.top) << 16 | common;
            char* c = reinterpret_cast<char*>(out + at);
            std::memcpy(c, &low, sizeof low);
            std::memcpy(c + sizeof low, &high, sizeof high);
        }
        used += at;
        r.pending += at;
    }
    for (; at < count; at++) {
        const PlatBlt& b = blts[at];
        redrawCopy(r, src, b.x, b.y, b.left, b.top, b.right, b.bottom, keyed, false);
    }
}

void redrawSpoil(Redraw& r) {
    if (r.pending > 0) drawPending(r);
    r.deferring = false;
    r.spoilt = true;
}

void redrawFinish(Redraw& r) {
    if (!r.back) return;
    r.lastWhole = !r.deferring;
    if (r.deferring) {
        if (findChanges(r)) {
            drawChanges(r);
        } else {
            drawPending(r);
            r.lastWhole = true;
        }
    }
    r.pending = 0;
    r.lastDrawnPixels = r.drawnPixels;
    r.drawnPixels = 0;
    r.lastValid = !r.spoilt;
    r.spoilt = false;
    r.now = 1 - r.now;
    r.counts[r.now] = 0;
    r.deferring = r.lastValid;
}
