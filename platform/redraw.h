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

#include "platform/platform.h"

// One copy onto the back buffer, as it was asked for; 32 bytes, compared whole.
struct RedrawCopy {
    const PlatSurface* src;
    int32_t left, top;   // in the source
    int16_t x, y, w, h;  // on the back buffer, so they fit
    uint32_t flags;      // REDRAW_KEYED, REDRAW_TURNED
    uint32_t unused;     // zero
};
static_assert(sizeof(RedrawCopy) == 32);
enum : uint32_t { REDRAW_KEYED = 1, REDRAW_TURNED = 2 };

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
// 32767 x 32767 pixels; the first frame is drawn whole.
void redrawStart(Redraw& r, PlatSurface* back);
// redrawCopy's slower half: a frame drawn as it comes, or one with no room left.
void redrawCopyNow(Redraw& r, const RedrawCopy& c);
// A checked copy onto the back buffer: drawn now or kept for the flip.
// Inline: a frame makes hundreds.
inline void redrawCopy(Redraw& r, const PlatSurface* src, int32_t x, int32_t y, int32_t left, int32_t top,
                       int32_t right, int32_t bottom, bool keyed, bool turned) {
    int32_t& count = r.counts[r.now];
    const uint32_t flags = (keyed ? REDRAW_KEYED : 0u) | (turned ? REDRAW_TURNED : 0u);
    if (!r.deferring || count == REDRAW_MAX_COPIES) {
        redrawCopyNow(r, RedrawCopy{src, left, top, static_cast<int16_t>(x), static_cast<int16_t>(y),
                                    static_cast<int16_t>(right - left), static_cast<int16_t>(bottom - top), flags, 0});
        return;
    }
    // Written field by field where it stays: a record built aside and copied
    // in would be read back before its parts had been stored.
    RedrawCopy& c = r.lists[r.now][count++];
    c.src = src;
    c.left = left;
    c.top = top;
    c.x = static_cast<int16_t>(x);
    c.y = static_cast<int16_t>(y);
    c.w = static_cast<int16_t>(right - left);
    c.h = static_cast<int16_t>(bottom - top);
    c.flags = flags;
    c.unused = 0;
    r.pending++;
}

// Draws what is pending now and has the next frame drawn whole: for anything
// that reads or writes the surfaces outside the copies.
void redrawSpoil(Redraw& r);
// The frame is complete: draws the changed areas and keeps this frame's list.
void redrawFinish(Redraw& r);
