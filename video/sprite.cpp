#include "video/sprite.h"

#include <cmath>

#include "video/display.h"
#include "video/sheetlayout.h"

namespace {

// The whole percentage the bar shows, in float as the gauge's own: 5700 of
// 10000 must give 57, which double arithmetic would truncate to 56.
int32_t sprPercent(float level, float size) {
    if (size == 0.0f) return 0;
    const float ratio = level / size;
    const float percent = ratio * 100.0f;
    if (std::isnan(percent)) return 0;
    if (percent >= 2147483647.0f) return INT32_MAX;
    if (percent <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(percent);
}

}  // namespace

int32_t sprDrawCellMark(int32_t x, int32_t y, int32_t kind, uint32_t frame)
{
    int32_t position;
    switch (kind) {
    case SPR_MARK_BLINK:
        // Four frames of the empty mark, then four of the white square.
        position = (frame & 7) < 4 ? SHEET_MARK_NOTHING : SHEET_MARK_WHITE;
        break;
    case SPR_MARK_CURSOR:
        position = SHEET_MARK_GREEN;
        break;
    case SPR_MARK_HINT:
        position = SHEET_MARK_WHITE;
        break;
    case SPR_MARK_PREVIOUS:
    case SPR_MARK_NOT_A_WORD:
        position = SHEET_MARK_RED;
        break;
    default:
        position = SHEET_MARK_MAGENTA;
        break;
    }
    SheetRect r = sheetCellMark(position);
    return vidBlitRect(x - 2, y - 2, r.left, r.top, r.right, r.bottom);
}

int32_t sprClearRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    // The sheet's top-left corner is plain background colour.
    return vidBlitRect(left, top, 0, 0, right - left, bottom - top);
}

void sprDrawPanel(int32_t x, int32_t y, int32_t columns, int32_t rows)
{
    int32_t columnX = x;
    for (int32_t i = 0; i <= columns + 1; i++) {
        int32_t ck = i == 0 ? SHEET_PANEL_FIRST : (i == columns + 1 ? SHEET_PANEL_LAST : SHEET_PANEL_MIDDLE);
        int32_t pieceTop = y;
        for (int32_t j = 0; j <= rows + 1; j++) {
            int32_t rk = j == 0 ? SHEET_PANEL_FIRST : (j == rows + 1 ? SHEET_PANEL_LAST : SHEET_PANEL_MIDDLE);
            SheetRect r = sheetPanelPiece(ck, rk);
            if (vidBlitRect(columnX, pieceTop, r.left, r.top, r.right, r.bottom) != DD_OK) {
                return;  // a failed copy ends this drawing call
            }
            pieceTop += SHEET_PANEL_HEIGHT[rk];
        }
        columnX += SHEET_PANEL_WIDTH[ck];
    }
}

int32_t sprDrawBarCover(int32_t x, int32_t y, float level, float size, bool full)
{
    int32_t w = SPR_GAUGE_WIDTH;
    if (!full) {
        w = (100 - sprPercent(level, size)) * SPR_GAUGE_WIDTH / 100;
    }
    return sprClearRect(x + SPR_GAUGE_WIDTH - w, y, x + SPR_GAUGE_WIDTH, y + SPR_GAUGE_HEIGHT);
}
