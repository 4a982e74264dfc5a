// The back buffer drawn again only where its picture changed. A frame redraws
// the whole screen with hundreds of copies, most of them the same as the frame
// before; the copies onto the back buffer are kept until the picture is needed
// (the flip, or a lock), and then only the copies that differ from last frame's
// list, and whatever lies under or over them, are drawn.
//
// Why that is exact: at one pixel, a run of copies either leaves it alone (a
// keyed pixel) or sets it to its last opaque source pixel, so drawing the same
// run twice gives what drawing it once gave. A pixel that last frame's and this
// frame's copies touch in the same order, from unchanged sources, therefore
// already holds this frame's value. Any other use of the surfaces (a lock, a
// restore, a release, a copy onto another surface) draws what is pending and
// makes the next frame draw whole.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/platform.h"

// One copy onto the back buffer, as it was asked for, in 16 bytes compared
// whole: its source by number among the buffer's sources.
struct RedrawCopy {
    uint16_t left, top;  // in the source
    uint16_t x, y, w, h;  // on the back buffer
    uint8_t source;      // in Redraw::sources
    uint8_t flags;       // REDRAW_KEYED, REDRAW_TURNED
    uint16_t unused;     // zero
};
static_assert(sizeof(RedrawCopy) == 16);
enum : uint8_t { REDRAW_KEYED = 1, REDRAW_TURNED = 2 };
// Surfaces copied from; a copy from yet another is drawn as it comes, and so
// is one reaching past 65535 pixels in its source.
constexpr int32_t REDRAW_MAX_SOURCES = 8;

// Frames with more copies than this are drawn as they come, whole.
constexpr int32_t REDRAW_MAX_COPIES = 4096;
// Changed areas are joined into at most this many rectangles.
constexpr int32_t REDRAW_MAX_AREAS = 16;
// A copy is looked for this far ahead when the lists part: a glyph more or
// less in a string costs its own area, not everything after it.
constexpr int32_t REDRAW_LOOKAHEAD = 48;

struct RedrawArea {
    int32_t x0, y0, x1, y1;  // [x0, x1) x [y0, y1)
};

struct Redraw {
    PlatSurface* back;  // the buffer whose copies are kept; null: none
    const PlatSurface* sources[REDRAW_MAX_SOURCES];
    int32_t sourceCount;
    int32_t lastSource;  // the source of the last copy kept
    RedrawCopy lists[2][REDRAW_MAX_COPIES];
    int32_t counts[2];
    int32_t now;        // the list this frame's copies go to; the other is last frame's
    int32_t pending;    // copies of this frame not drawn yet (0 unless deferring)
    bool deferring;     // this frame's copies wait for the flip
    bool lastValid;     // the back buffer holds what last frame's list draws
    bool spoilt;        // something else touched the surfaces this frame
    RedrawArea areas[REDRAW_MAX_AREAS];
    int32_t areaCount;
    // Told of every rectangle of the back buffer drawn; may be null.
    void (*drew)(int32_t x, int32_t y, int32_t w, int32_t h);
    int64_t drawnPixels;      // this frame's, so far
    // What the last finished frame drew, for tests and benchmarks: its pixels,
    // and whether it was drawn whole.
    int64_t lastDrawnPixels;
    bool lastWhole;
};

// Starts keeping the copies onto `back` (null: none), a surface of at most
// 65535 x 65535 pixels; the first frame is drawn whole.
void redrawStart(Redraw& r, PlatSurface* back);
// redrawCopy's slower half: a frame drawn as it comes, a new source, or no
// room left.
void redrawCopyNow(Redraw& r, const PlatSurface* src, int32_t x, int32_t y, int32_t left, int32_t top,
                   int32_t right, int32_t bottom, uint8_t flags);
// A checked copy onto the back buffer: drawn now or kept for the flip.
// Inline: a frame makes hundreds.
inline void redrawCopy(Redraw& r, const PlatSurface* src, int32_t x, int32_t y, int32_t left, int32_t top,
                       int32_t right, int32_t bottom, bool keyed, bool turned) {
    int32_t& count = r.counts[r.now];
    const uint8_t flags = static_cast<uint8_t>((keyed ? REDRAW_KEYED : 0) | (turned ? REDRAW_TURNED : 0));
    if (!r.deferring || count == REDRAW_MAX_COPIES || src != r.sources[r.lastSource] ||
        ((right | bottom) >> 16) != 0) {
        redrawCopyNow(r, src, x, y, left, top, right, bottom, flags);
        return;
    }
    // Two words made in registers, stored whole: a record built field by
    // field would be read back before its parts had been stored.
    const uint64_t low = static_cast<uint64_t>(left) | static_cast<uint64_t>(top) << 16 |
                         static_cast<uint64_t>(x) << 32 | static_cast<uint64_t>(y) << 48;
    const uint64_t high = static_cast<uint64_t>(right - left) | static_cast<uint64_t>(bottom - top) << 16 |
                          static_cast<uint64_t>(r.lastSource) << 32 | static_cast<uint64_t>(flags) << 40;
    char* c = reinterpret_cast<char*>(&r.lists[r.now][count++]);
    std::memcpy(c, &low, sizeof low);
    std::memcpy(c + sizeof low, &high, sizeof high);
    r.pending++;
}

// redrawCopy for each copy of a run from one source, the copies checked
// already: a string's glyphs kept in one go.
void redrawCopyRun(Redraw& r, const PlatSurface* src, const PlatBlt* blts, int32_t count, bool keyed);

// Draws what is pending now and has the next frame drawn whole: for anything
// that reads or writes the surfaces outside the copies.
void redrawSpoil(Redraw& r);
// The frame is complete: draws the changed areas and keeps this frame's list.
void redrawFinish(Redraw& r);
