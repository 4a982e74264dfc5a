#include "tools/sheet/sheetart.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "flow/layout.h"
#include "video/sheetlayout.h"

namespace {

// ---- Palette of the art ---------------------------------------------------------

constexpr Rgb PLAIN_LIGHT = {112, 148, 214};
constexpr Rgb PLAIN_DARK = {24, 44, 92};
constexpr Rgb PLAIN_SHADOW = {34, 60, 116};
constexpr Rgb OUTLINE = {10, 16, 36};

constexpr Rgb WELL_TOP = {22, 32, 66};
constexpr Rgb WELL_BOTTOM = {12, 18, 42};
constexpr Rgb SOCKET = {9, 14, 34};

constexpr Rgb WEAVE_BASE = {20, 28, 60};
constexpr Rgb WEAVE_LIGHT = {30, 42, 84};
constexpr Rgb WEAVE_DARK = {13, 19, 44};

constexpr Rgb TILE_TOP = {255, 228, 112};
constexpr Rgb TILE_BOTTOM = {246, 184, 44};
constexpr Rgb TILE_HIGHLIGHT = {255, 246, 196};
constexpr Rgb TILE_SHADE = {198, 128, 22};
constexpr Rgb TILE_EDGE = {120, 70, 8};
constexpr Rgb TILE_INK = {64, 34, 6};
constexpr Rgb TILE_INK_LIGHT = {255, 242, 176};

constexpr Rgb LABEL = {232, 240, 255};
constexpr Rgb LABEL_SHADOW = {16, 30, 70};
constexpr Rgb GOLD = {236, 196, 76};

constexpr Rgb WHITE = {255, 255, 255};

Font fontLabel, fontTile, fontSmall, fontTitle;
Font fontButton[3];  // largest first

std::vector<Rgb> keyColours;

// A colour the sheet must keep exactly (flat areas and small designed shades).
void artKeyColour(Rgb c) {
    c = rgbVisible(c);
    if (std::find(keyColours.begin(), keyColours.end(), c) == keyColours.end()) keyColours.push_back(c);
}

struct Box {
    int left, top, right, bottom;  // right and bottom exclusive
};

Box boxOf(const SheetRect& r) { return Box{r.left, r.top, r.right, r.bottom}; }

// ---- Shared shapes ----------------------------------------------------------------

// A two-pixel bevel just inside the box: sunken shows dark top-left edges.
void bevel(Canvas& c, Box b, Rgb light, Rgb dark, bool sunken, int width = 2) {
    Rgb topLeft = sunken ? dark : light;
    Rgb bottomRight = sunken ? light : dark;
    for (int i = 0; i < width; i++) {
        for (int x = b.left + i; x < b.right - i; x++) {
            c.set(x, b.top + i, topLeft);
            c.set(x, b.bottom - 1 - i, bottomRight);
        }
        for (int y = b.top + i; y < b.bottom - i; y++) {
            c.set(b.left + i, y, topLeft);
            c.set(b.right - 1 - i, y, bottomRight);
        }
        // The corners where the two meet split along the diagonal.
        c.set(b.right - 1 - i, b.top + i, rgbMix(topLeft, bottomRight, 0.5));
        c.set(b.left + i, b.bottom - 1 - i, rgbMix(topLeft, bottomRight, 0.5));
    }
}

// The quilted texture of the pause screen and the word panels, 80 pixels
// square, anchored so that the pause tile's rectangle holds one whole period.
Rgb weave(int x, int y) {
    int u = ((x - SHEET_PAUSE_TILE.left) % 80 + 80) % 80;
    int v = ((y - SHEET_PAUSE_TILE.top) % 80 + 80) % 80;
    int a = (u + v) % 20;
    int b = (u - v + 80) % 20;
    if (a == 0 || b == 0) return WEAVE_LIGHT;
    if (a == 19 || b == 1) return WEAVE_DARK;
    // A faint dot in the middle of every diamond.
    if (a == 10 && b == 10) return WEAVE_LIGHT;
    return WEAVE_BASE;
}

void fillWeave(Canvas& c, Box b) {
    for (int y = b.top; y < b.bottom; y++)
        for (int x = b.left; x < b.right; x++) c.set(x, y, weave(x, y));
}

void textWithShadow(Canvas& c, const Font& f, const std::string& text, int x, int baseline, Rgb colour,
                    Rgb shadow) {
    drawText(c, f, text, x + 1, baseline + 1, shadow);
    drawText(c, f, text, x, baseline, colour);
}

// ---- Backgrounds ------------------------------------------------------------------------

// The sunken dark well the letters sit in, with a faint socket per cell.
void drawWell(Canvas& c, Box frame, int cellLeft, int cellTop, int columns, int yOffset) {
    bevel(c, frame, PLAIN_LIGHT, PLAIN_DARK, true);
    Box inner{frame.left + 2, frame.top + 2, frame.right - 2, frame.bottom - 2};
    c.fillVertical(inner.left, inner.top, inner.right, inner.bottom, WELL_TOP, WELL_BOTTOM);
    for (int r = 0; r < 7; r++) {
        for (int col = 0; col < columns; col++) {
            int x = cellLeft + 36 * col, y = cellTop + 36 * r + yOffset;
            for (int py = y - 1; py < y + 28; py++)
                for (int px = x - 1; px < x + 28; px++) {
                    double cover = roundedCoverage(x - 1, y - 1, x + 28, y + 28, 5, px, py);
                    c.blend(px, py, SOCKET, cover * 0.6);
                }
        }
    }
    // A soft shadow on the plain background below and right of the frame.
    for (int x = frame.left + 3; x < frame.right + 2; x++) c.set(x, frame.bottom, PLAIN_SHADOW);
    for (int y = frame.top + 3; y < frame.bottom + 1; y++) c.set(frame.right, y, PLAIN_SHADOW);
    for (int y = frame.top + 4; y < frame.bottom + 2; y++) c.set(frame.right + 1, y, rgbMix(ART_PLAIN, PLAIN_SHADOW, 0.5));
    for (int x = frame.left + 4; x < frame.right + 2; x++) c.set(x, frame.bottom + 1, rgbMix(ART_PLAIN, PLAIN_SHADOW, 0.5));
}

// Colours along a gauge, left to right.
struct GaugeStyle {
    Rgb stops[4];
    int count;
};

Rgb gaugeColour(const GaugeStyle& s, double t) {
    double at = t * (s.count - 1);
    int i = std::min(static_cast<int>(at), s.count - 2);
    return rgbMix(s.stops[i], s.stops[i + 1], at - i);
}

// A gauge is a row of lit segments, each one colour shaded in three bands, so
// that the bar keeps its exact colours in 256.
constexpr int GAUGE_SEGMENTS = 12;
constexpr int GAUGE_SEGMENT_WIDTH = 11;

Rgb gaugeShade(Rgb base, int y, int height) {
    if (y == 0 || y == height - 1) return rgbScale(base, 0.45);
    if (y <= 3) return rgbScale(base, 1.3);
    if (y >= height - 4) return rgbScale(base, 0.78);
    return base;
}

// One gauge row: the label, the full bar, end marks and a scale under it. All
// of it stays inside the row that blanking covers.
void drawGaugeRow(Canvas& c, int yOffset, LayoutPoint bar, const char* label, const GaugeStyle& style) {
    int top = bar.y + yOffset;
    int left = bar.x, width = SHEET_GAUGE_WIDTH, height = SHEET_GAUGE_HEIGHT;
    int baseline = top + 11;
    int textWidth = fontTextWidth(fontLabel, label);
    textWithShadow(c, fontLabel, label, left - 9 - textWidth, baseline, LABEL, LABEL_SHADOW);
    for (int x = 0; x < width; x++) {
        int segment = std::min(x / GAUGE_SEGMENT_WIDTH, GAUGE_SEGMENTS - 1);
        Rgb base = gaugeColour(style, segment / double(GAUGE_SEGMENTS - 1));
        bool gap = x % GAUGE_SEGMENT_WIDTH == GAUGE_SEGMENT_WIDTH - 1 || x == 0;
        for (int y = 0; y < height; y++) {
            Rgb px = gaugeShade(base, y, height);
            if (gap) px = rgbScale(base, 0.45);
            artKeyColour(px);
            c.set(left + x, top + y, rgbVisible(px));
        }
    }
    // Brackets at both ends and a scale with quarter marks below the bar.
    Rgb scale = PLAIN_LIGHT;
    for (int y = top; y <= top + height + 1; y++) {
        c.set(left - 2, y, scale);
        c.set(left + width + 1, y, scale);
    }
    for (int x = left - 2; x <= left + width + 1; x++) c.set(x, top + height + 1, scale);
    for (int q = 1; q < 4; q++) {
        int x = left + width * q / 4;
        c.set(x, top + height + 2, scale);
        if (q == 2) {
            c.set(x, top + height + 3, scale);
            c.set(x - 1, top + height + 2, scale);
            c.set(x + 1, top + height + 2, scale);
        }
    }
    // Shadows of the brackets and the scale on the plain colour.
    for (int y = top + 1; y <= top + height + 2; y++) {
        c.set(left - 1, y, y <= top + height - 1 ? c.get(left - 1, y) : PLAIN_SHADOW);
        c.set(left + width + 2, y, PLAIN_SHADOW);
    }
    for (int x = left - 1; x <= left + width + 2; x++) {
        if (c.get(x, top + height + 2) == ART_PLAIN) c.set(x, top + height + 2, PLAIN_SHADOW);
    }
}

const GaugeStyle LIFE_STYLE = {{{214, 40, 40}, {244, 142, 36}, {240, 214, 50}, {72, 200, 80}}, 4};
const GaugeStyle DRAG_STYLE = {{{132, 72, 220}, {70, 130, 240}, {60, 210, 236}, {0, 0, 0}}, 3};
// The CYCLE row is always blanked in play; it shares the LIFE colours.
const GaugeStyle CYCLE_STYLE = LIFE_STYLE;

// The rows the layout has; a screen without a row has an empty one.
void drawGaugeRows(Canvas& c, const ScreenLayout& layout, int yOffset) {
    const LayoutGauge* gauges[3] = {&layout.life, &layout.drag, &layout.cycle};
    const char* labels[3] = {"LIFE:", "DRAG:", "CYCLE:"};
    const GaugeStyle* styles[3] = {&LIFE_STYLE, &DRAG_STYLE, &CYCLE_STYLE};
    for (int i = 0; i < 3; i++) {
        if (gauges[i]->row.right > gauges[i]->row.left) drawGaugeRow(c, yOffset, gauges[i]->bar, labels[i], *styles[i]);
    }
}

// A framed dark panel of the quilted texture.
void drawWordPanel(Canvas& c, Box b) {
    c.fill(b.left - 1, b.top - 1, b.right + 1, b.bottom + 1, OUTLINE);
    bevel(c, b, PLAIN_LIGHT, PLAIN_DARK, true);
    fillWeave(c, Box{b.left + 2, b.top + 2, b.right - 2, b.bottom - 2});
    for (int x = b.left; x < b.right + 2; x++) c.set(x, b.bottom + 1, PLAIN_SHADOW);
    for (int y = b.top; y < b.bottom + 2; y++) c.set(b.right + 1, y, PLAIN_SHADOW);
}

// Small tiles spelling the game's name.
void drawTitle(Canvas& c, int right, int top) {
    const char* name = LAYOUT_TITLE;
    const int size = LAYOUT_TITLE_TILE, pitch = LAYOUT_TITLE_PITCH;
    int n = static_cast<int>(std::strlen(name));
    int x = right - n * pitch + 1;
    for (int i = 0; i < n; i++, x += pitch) {
        if (name[i] == ' ') continue;
        for (int py = 0; py < size; py++)
            for (int px = 0; px < size; px++) {
                double cover = roundedCoverage(0, 0, size, size, 3, px, py);
                if (cover < 0.5) continue;
                Rgb col = rgbMix(TILE_TOP, TILE_BOTTOM, py / double(size - 1));
                if (py == size - 1 || px == size - 1) col = TILE_SHADE;
                c.set(x + px, top + py, col);
            }
        GlyphImage g = fontGlyph(fontTitle, static_cast<unsigned char>(name[i]));
        int cap = fontCapHeight(fontTitle);
        int gx = x + (size - g.width) / 2 - g.left;
        drawText(c, fontTitle, std::string(1, name[i]), gx, top + (size - cap) / 2 + cap, TILE_INK);
        // A drop shadow under each tile.
        for (int px = 1; px <= size; px++) c.set(x + px, top + size, PLAIN_SHADOW);
        for (int py = 1; py <= size; py++) c.set(x + size, top + py, PLAIN_SHADOW);
    }
}

// A grid's well where the layout puts the grid, moved down by yOffset.
void drawGridWell(Canvas& c, LayoutPoint grid, int yOffset) {
    LayoutRect w = layoutGridWell(grid);
    // The rectangle holds the shadow too, two pixels right and below the frame.
    drawWell(c, Box{w.left, w.top + yOffset, w.right - 2, w.bottom - 2 + yOffset}, grid.x, grid.y, LAYOUT_GRID_CELLS,
             yOffset);
}

void drawOnePlayerBackground(Canvas& c) {
    const ScreenLayout& layout = LAYOUT_ONE_PLAYER;
    c.fill(0, 0, 640, 480, ART_PLAIN);
    // The frame keeps clear of the plain strip at the top and the plain column at the left.
    drawGridWell(c, layout.players[0].grid, 0);
    drawGaugeRows(c, layout, 0);
    drawWordPanel(c, Box{410, 34, 627, 204});
    drawWordPanel(c, Box{410, 228, 627, 398});
    drawTitle(c, layout.titleRight.x, layout.titleRight.y);
}

// Painted whole, all 480 rows, to the two-player layout: both wells, the LIFE
// and DRAG rows in the middle, a plate behind each player's word lists.
void drawTwoPlayerBackground(Canvas& c) {
    const ScreenLayout& layout = LAYOUT_TWO_PLAYER;
    int y0 = SHEET_BACKGROUND_TWO_PLAYER.top;
    c.fill(0, y0, 640, SHEET_BACKGROUND_TWO_PLAYER.bottom, ART_PLAIN);
    for (const LayoutPlayer& player : layout.players) {
        drawGridWell(c, player.grid, y0);
        // The rectangle holds the plate's outline and shadow.
        const LayoutRect& r = player.wordPanel;
        drawWordPanel(c, Box{r.left + 1, r.top + 1 + y0, r.right - 2, r.bottom - 2 + y0});
    }
    drawGaugeRows(c, layout, y0);
    drawTitle(c, layout.titleRight.x, layout.titleRight.y + y0);
}

// ---- Cell marks ----------------------------------------------------------------------------

void drawMark(Canvas& c, int position, Rgb colour, bool filled) {
    SheetRect r = sheetCellMark(position);
    for (int py = 0; py < SHEET_MARK_SIZE; py++)
        for (int px = 0; px < SHEET_MARK_SIZE; px++) {
            double outer = roundedCoverage(0, 0, 31, 31, 6, px, py);
            double inner = roundedCoverage(2, 2, 29, 29, 4, px, py);
            Rgb out = RGB_CLEAR;
            if (outer >= 0.5 && (filled || inner < 0.5)) {
                out = colour;
                // A lighter rim on top, a darker one below, for a little depth.
                if (colour == WHITE) out = WHITE;
                else if (py <= 1 && !filled) out = rgbScale(colour, 1.25);
                else if (py >= 29) out = rgbScale(colour, 0.8);
            }
            c.set(r.left + px, r.top + py, out);
        }
}

void drawMarks(Canvas& c) {
    drawMark(c, SHEET_MARK_MAGENTA, Rgb{232, 62, 204}, true);
    SheetRect none = sheetCellMark(SHEET_MARK_NOTHING);
    c.fill(none.left, none.top, none.right, none.bottom, RGB_CLEAR);
    drawMark(c, SHEET_MARK_WHITE, WHITE, true);
    drawMark(c, SHEET_MARK_GREEN, Rgb{64, 232, 96}, false);
    drawMark(c, SHEET_MARK_RED, Rgb{240, 56, 48}, false);
}

// ---- Big tiles -------------------------------------------------------------------------------

void drawTile(Canvas& c, int left, int top, char ch) {
    const int size = 27;
    for (int py = 0; py < size; py++)
        for (int px = 0; px < size; px++) {
            double cover = roundedCoverage(0, 0, size, size, 4.5, px, py);
            if (cover < 0.5) {
                c.set(left + px, top + py, RGB_CLEAR);
                continue;
            }
            Rgb col = rgbMix(TILE_TOP, TILE_BOTTOM, py / double(size - 1));
            bool edge = roundedCoverage(1, 1, size - 1, size - 1, 3.5, px, py) < 0.5;
            if (edge) col = TILE_EDGE;
            else if (py == 1 || px == 1) col = TILE_HIGHLIGHT;
            else if (py >= size - 3 || px >= size - 2) col = TILE_SHADE;
            c.set(left + px, top + py, col);
        }
    std::string s(1, ch);
    GlyphImage g = fontGlyph(fontTile, static_cast<unsigned char>(ch));
    int cap = fontCapHeight(fontTile);
    int x = left + (size - 1 - g.width) / 2 - g.left + (g.width % 2 == 0 ? 1 : 0);
    int baseline = top + (size - 2 - cap) / 2 + cap;
    drawText(c, fontTile, s, x, baseline + 1, TILE_INK_LIGHT);
    drawText(c, fontTile, s, x, baseline, TILE_INK);
}

void drawBigFont(Canvas& c) {
    for (int i = 0; i < 26; i++) {
        SheetRect r = sheetBigLetter(i);
        drawTile(c, r.left, r.top, static_cast<char>('A' + i));
    }
    for (int d = 0; d < 10; d++) {
        SheetRect r = sheetBigDigit(d);
        c.fill(r.left, r.top, r.right, r.bottom, RGB_CLEAR);
        drawTile(c, r.left, r.top, static_cast<char>('0' + d));
    }
}

// ---- Small font -----------------------------------------------------------------------------

// DejaVu Sans Mono Bold at 12 pixels: ten rows above the baseline, three below.
// The cell has twelve, so a three-row descender loses its first row.
void drawSmallFont(Canvas& c) {
    const int baselineRow = 10;
    for (int i = 0; i < SHEET_SMALL_CHAR_COUNT; i++) {
        SheetRect r = sheetSmallGlyph(i);
        c.fill(r.left, r.top, r.right, r.bottom, RGB_CLEAR);
        unsigned char ch = static_cast<unsigned char>(SHEET_SMALL_CHARS[i]);
        GlyphImage g = fontGlyph(fontSmall, ch);
        int gx = (SHEET_SMALL_WIDTH - g.width) / 2;
        if (gx < 0) gx = 0;
        bool deep = g.rows - g.top > SHEET_SMALL_HEIGHT - baselineRow;
        for (int y = 0; y < g.rows; y++) {
            int py = baselineRow - g.top + y;
            if (deep && py == baselineRow) continue;
            if (deep && py > baselineRow) py--;
            for (int x = 0; x < g.width; x++) {
                if (g.alpha[static_cast<size_t>(y) * g.width + x] < 128) continue;
                int px = gx + x;
                if (px < 0 || px >= SHEET_SMALL_WIDTH || py < 0 || py >= SHEET_SMALL_HEIGHT) continue;
                c.set(r.left + px, r.top + py, WHITE);
            }
        }
    }
}

// ---- Pointer --------------------------------------------------------------------------------

bool insidePolygon(const double* xs, const double* ys, int n, double px, double py) {
    bool in = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        if ((ys[i] > py) != (ys[j] > py) && px < (xs[j] - xs[i]) * (py - ys[i]) / (ys[j] - ys[i]) + xs[i]) in = !in;
    }
    return in;
}

void drawPointer(Canvas& c) {
    SheetRect r = SHEET_POINTER;
    int w = r.right - r.left, h = r.bottom - r.top;
    c.fill(r.left, r.top, r.right, r.bottom, RGB_CLEAR);
    // The tip is the hot spot, 3 pixels in from the left edge; the outline
    // starts there, the red body one pixel further in.
    const double hx = SHEET_POINTER_HOT_X + 1.0;
    const double xs[] = {hx, hx, hx + 3.4, hx + 6.4, hx + 9.0, hx + 6.1, hx + 11.2};
    const double ys[] = {1.2, 15.2, 11.9, 17.6, 16.5, 10.9, 10.9};
    const int n = 7;
    auto cover = [&](double dx, double dy, int px, int py) {
        int in = 0;
        for (int sy = 0; sy < 4; sy++)
            for (int sx = 0; sx < 4; sx++)
                if (insidePolygon(xs, ys, n, px + (sx + 0.5) / 4 - dx, py + (sy + 0.5) / 4 - dy)) in++;
        return in / 16.0;
    };
    const Rgb outline = {64, 4, 10}, shadowColour = {20, 16, 30};
    for (int py = 0; py < h; py++)
        for (int px = 0; px < w; px++) {
            double body = cover(0, 0, px, py);
            double fat = 0;
            for (double dx : {-1.0, 0.0, 1.0})
                for (double dy : {-1.0, 0.0, 1.0}) fat = std::max(fat, cover(dx, dy, px, py));
            double shadow = cover(2, 2, px, py);
            Rgb out = RGB_CLEAR;
            if (shadow >= 0.5) out = shadowColour;
            if (fat >= 0.3) out = outline;
            if (body >= 0.6) {
                double t = (py + px * 0.4) / 20.0;
                out = rgbMix(Rgb{255, 112, 96}, Rgb{200, 16, 28}, std::min(1.0, t));
                if (px == static_cast<int>(hx) || py <= 2) out = rgbMix(out, Rgb{255, 190, 180}, 0.5);
            }
            if (px < SHEET_POINTER_HOT_X) out = RGB_CLEAR;
            c.set(r.left + px, r.top + py, out);
        }
    c.set(r.left + SHEET_POINTER_HOT_X, r.top, outline);
    artKeyColour(outline);
    artKeyColour(shadowColour);
}

// ---- Panel ------------------------------------------------------------------------------------

// The colour of the framed plate at (u, v) of a panel `width` x `height`.
Rgb panelColour(int u, int v, int width, int height) {
    int fromLeft = u, fromTop = v, fromRight = width - 1 - u, fromBottom = height - 1 - v;
    int d = std::min({fromLeft, fromTop, fromRight, fromBottom});
    if (d == 0) return OUTLINE;
    bool lit = (fromTop == d || fromLeft == d) && !(fromRight < fromTop && fromRight == d) &&
               !(fromBottom < fromLeft && fromBottom == d);
    if (d <= 3) return lit ? PLAIN_LIGHT : PLAIN_DARK;
    if (d == 6) return GOLD;
    if (d == 7) return rgbMix(GOLD, PLAIN_DARK, 0.6);
    return ART_PLAIN;
}

void drawPanelPieces(Canvas& c) {
    // A panel of one middle piece each way, cut into its nine pieces.
    int width = SHEET_PANEL_WIDTH[0] + SHEET_PANEL_WIDTH[1] + SHEET_PANEL_WIDTH[2];
    int height = SHEET_PANEL_HEIGHT[0] + SHEET_PANEL_HEIGHT[1] + SHEET_PANEL_HEIGHT[2];
    for (int col = 0; col < 3; col++)
        for (int row = 0; row < 3; row++) {
            SheetRect r = sheetPanelPiece(col, row);
            int u0 = col == 0 ? 0 : col == 1 ? SHEET_PANEL_WIDTH[0] : width - SHEET_PANEL_WIDTH[2];
            int v0 = row == 0 ? 0 : row == 1 ? SHEET_PANEL_HEIGHT[0] : height - SHEET_PANEL_HEIGHT[2];
            for (int y = r.top; y < r.bottom; y++)
                for (int x = r.left; x < r.right; x++)
                    c.set(x, y, panelColour(u0 + x - r.left, v0 + y - r.top, width, height));
        }
}

// ---- Buttons -----------------------------------------------------------------------------------

void drawButtonShape(Canvas& c, Box b, Rgb top, Rgb bottom) {
    const double radius = 8;
    int w = b.right - b.left, h = b.bottom - b.top;
    for (int py = 0; py < h; py++)
        for (int px = 0; px < w; px++) {
            double shadow = roundedCoverage(2, 3, w, h, radius, px, py);
            double body = roundedCoverage(0, 0, w - 2, h - 3, radius, px, py);
            double inner = roundedCoverage(1, 1, w - 3, h - 4, radius - 1, px, py);
            double face = roundedCoverage(2, 2, w - 4, h - 6, radius - 2, px, py);
            Rgb out = RGB_CLEAR;
            // Buttons always sit on the plain colour: edges blend into it.
            if (shadow > 0) out = rgbMix(ART_PLAIN, PLAIN_DARK, shadow * 0.8);
            if (body > 0) {
                Rgb fill = OUTLINE;
                if (inner > 0.5) fill = rgbScale(rgbMix(top, bottom, py / double(h - 4)), 0.75);
                if (face > 0.5) fill = rgbMix(top, bottom, py / double(h - 6));
                if (face > 0.5 && py <= 3) fill = rgbScale(top, 1.3);
                Rgb under = shadow > 0 ? out : ART_PLAIN;
                out = rgbMix(under, fill, body);
            }
            c.set(b.left + px, b.top + py, out == RGB_CLEAR ? RGB_CLEAR : rgbVisible(out));
        }
}

void drawButton(Canvas& c, const SheetRect& r, const char* line1, const char* line2, Rgb top, Rgb bottom) {
    Box b = boxOf(r);
    drawButtonShape(c, b, top, bottom);
    int w = b.right - b.left - 2, h = b.bottom - b.top - 3;
    const char* texts[2] = {line1, line2};
    int lines = line2 ? 2 : 1;
    // The largest of the button sizes at which every line fits inside the face.
    Font font = fontButton[0];
    for (const Font& f : fontButton) {
        font = f;
        bool fits = true;
        for (int i = 0; i < lines; i++) fits = fits && fontTextWidth(f, texts[i]) <= w - 12;
        if (fits) break;
    }
    int cap = fontCapHeight(font);
    int gap = 5;
    int block = lines * cap + (lines - 1) * gap;
    int baseline = b.top + (h - block) / 2 + cap;
    for (int i = 0; i < lines; i++) {
        int tw = fontTextWidth(font, texts[i]);
        int x = b.left + (w - tw) / 2;
        drawText(c, font, texts[i], x + 1, baseline + 1, rgbScale(bottom, 0.35));
        drawText(c, font, texts[i], x, baseline, WHITE);
        baseline += cap + gap;
    }
}

void drawHatching(Canvas& c, const SheetRect& r) {
    Box b = boxOf(r);
    int w = b.right - b.left, h = b.bottom - b.top;
    const Rgb grey = {168, 172, 184}, greyDark = {98, 102, 116};
    for (int py = 0; py < h; py++)
        for (int px = 0; px < w; px++) {
            double body = roundedCoverage(0, 0, w - 2, h - 3, 8, px, py);
            double inner = roundedCoverage(2, 2, w - 4, h - 5, 6, px, py);
            Rgb out = RGB_CLEAR;
            if (body >= 0.5) {
                if (inner < 0.5) out = greyDark;
                else if ((px + py) % 6 < 2) out = grey;
            }
            c.set(b.left + px, b.top + py, out);
        }
}

void drawButtons(Canvas& c) {
    drawButton(c, SHEET_BUTTON_CONTINUE, "CONTINUE", nullptr, Rgb{104, 214, 112}, Rgb{30, 140, 60});
    drawButton(c, SHEET_BUTTON_DO_NOT_SHOW, "DO NOT SHOW", "AGAIN", Rgb{164, 174, 204}, Rgb{78, 88, 128});
    drawButton(c, SHEET_BUTTON_START_DRAG, "START", "DRAG", Rgb{255, 190, 80}, Rgb{214, 110, 20});
    drawButton(c, SHEET_BUTTON_STOP_DRAG, "STOP", "DRAG", Rgb{250, 110, 96}, Rgb{176, 30, 36});
    drawButton(c, SHEET_BUTTON_ENTER_GAME, "ENTER", "GAME", Rgb{96, 220, 210}, Rgb{20, 132, 150});
    drawHatching(c, SHEET_BUTTON_HATCHING);
}

}  // namespace

const std::vector<Rgb>& artKeyColours() { return keyColours; }

bool artDrawSheet(Canvas& c) {
    for (Rgb k : {ART_PLAIN, PLAIN_LIGHT, PLAIN_DARK, PLAIN_SHADOW, OUTLINE, WEAVE_BASE, WEAVE_LIGHT, WEAVE_DARK, SOCKET,
                  TILE_EDGE, TILE_HIGHLIGHT, TILE_SHADE, TILE_INK, GOLD, LABEL, LABEL_SHADOW})
        artKeyColour(k);
    fontLabel = fontOpen("DejaVuSans-Bold.ttf", 11, false);
    fontTile = fontOpen("DejaVuSans-Bold.ttf", 20, false);
    for (int i = 0; i < 3; i++) fontButton[i] = fontOpen("DejaVuSans-Bold.ttf", 12 - i, false);
    fontSmall = fontOpen("DejaVuSansMono-Bold.ttf", 12, true);
    fontTitle = fontOpen("DejaVuSans-Bold.ttf", 11, false);
    if (!fontLabel.face || !fontTile.face || !fontButton[2].face || !fontSmall.face || !fontTitle.face) return false;

    c.init(SHEET_WIDTH, SHEET_HEIGHT);
    drawOnePlayerBackground(c);
    drawTwoPlayerBackground(c);
    // The plain colour also runs along the whole top of the sheet.
    c.fill(0, 0, SHEET_WIDTH, SHEET_PLAIN_TOP_HEIGHT, ART_PLAIN);
    drawMarks(c);
    drawBigFont(c);
    drawSmallFont(c);
    drawPointer(c);
    drawPanelPieces(c);
    drawButtons(c);
    return true;
}
