#include "tools/sheet/canvas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

FT_Library ftLibrary = nullptr;
std::string fontDirectory;
std::vector<FT_Face> openFaces;

uint8_t clampByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

}  // namespace

Rgb rgbMix(Rgb a, Rgb b, double t) {
    return Rgb{clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t), clampByte(a.b + (b.b - a.b) * t)};
}

Rgb rgbScale(Rgb c, double f) {
    if (f <= 1.0) return Rgb{clampByte(c.r * f), clampByte(c.g * f), clampByte(c.b * f)};
    return rgbMix(c, Rgb{255, 255, 255}, f - 1.0);
}

Rgb rgbVisible(Rgb c) {
    if (c == RGB_CLEAR) return Rgb{1, 1, 1};
    return c;
}

void Canvas::init(int w, int h) {
    width = w;
    height = h;
    pixels.assign(static_cast<size_t>(w) * h, RGB_CLEAR);
}

Rgb Canvas::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return RGB_CLEAR;
    return pixels[static_cast<size_t>(y) * width + x];
}

void Canvas::set(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    pixels[static_cast<size_t>(y) * width + x] = c;
}

void Canvas::blend(int x, int y, Rgb c, double alpha) {
    if (alpha <= 0.0) return;
    if (alpha >= 1.0) {
        set(x, y, c);
        return;
    }
    set(x, y, rgbVisible(rgbMix(get(x, y), c, alpha)));
}

void Canvas::fill(int left, int top, int right, int bottom, Rgb c) {
    for (int y = top; y < bottom; y++)
        for (int x = left; x < right; x++) set(x, y, c);
}

void Canvas::fillVertical(int left, int top, int right, int bottom, Rgb topColour, Rgb bottomColour) {
    int span = std::max(1, bottom - top - 1);
    for (int y = top; y < bottom; y++) {
        Rgb c = rgbMix(topColour, bottomColour, static_cast<double>(y - top) / span);
        for (int x = left; x < right; x++) set(x, y, c);
    }
}

double roundedCoverage(double left, double top, double right, double bottom, double radius, int x, int y) {
    int inside = 0;
    for (int sy = 0; sy < 4; sy++) {
        for (int sx = 0; sx < 4; sx++) {
            double px = x + (sx + 0.5) / 4.0;
            double py = y + (sy + 0.5) / 4.0;
            if (px < left || px > right || py < top || py > bottom) continue;
            double cx = std::clamp(px, left + radius, right - radius);
            double cy = std::clamp(py, top + radius, bottom - radius);
            double dx = px - cx, dy = py - cy;
            if (dx * dx + dy * dy <= radius * radius) inside++;
        }
    }
    return inside / 16.0;
}

bool fontsInit(const std::string& directory) {
    fontDirectory = directory;
    return FT_Init_FreeType(&ftLibrary) == 0;
}

void fontsDone() {
    for (FT_Face face : openFaces) FT_Done_Face(face);
    openFaces.clear();
    if (ftLibrary) FT_Done_FreeType(ftLibrary);
    ftLibrary = nullptr;
}

Font fontOpen(const char* file, int pixelSize, bool mono) {
    Font font;
    std::string path = fontDirectory + "/" + file;
    FT_Face face = nullptr;
    if (FT_New_Face(ftLibrary, path.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "sheet: cannot open font %s\n", path.c_str());
        return font;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    openFaces.push_back(face);
    font.face = face;
    font.pixelSize = pixelSize;
    font.mono = mono;
    return font;
}

GlyphImage fontGlyph(const Font& font, uint32_t ch) {
    GlyphImage image;
    FT_Face face = static_cast<FT_Face>(font.face);
    if (!face) return image;
    FT_Int32 flags = FT_LOAD_RENDER | (font.mono ? (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Char(face, ch, flags) != 0) return image;
    FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    image.width = static_cast<int>(bm.width);
    image.rows = static_cast<int>(bm.rows);
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    image.alpha.assign(static_cast<size_t>(image.width) * image.rows, 0);
    for (int y = 0; y < image.rows; y++) {
        const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
        for (int x = 0; x < image.width; x++) {
            uint8_t a;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                a = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else
                a = row[x];
            image.alpha[static_cast<size_t>(y) * image.width + x] = a;
        }
    }
    return image;
}

int fontTextWidth(const Font& font, const std::string& text) {
    int width = 0;
    for (unsigned char ch : text) width += fontGlyph(font, ch).advance;
    return width;
}

int fontCapHeight(const Font& font) { return fontGlyph(font, 'H').top; }

void drawText(Canvas& canvas, const Font& font, const std::string& text, int x, int baseline, Rgb colour, bool hard) {
    int pen = x;
    for (unsigned char ch : text) {
        GlyphImage g = fontGlyph(font, ch);
        for (int y = 0; y < g.rows; y++) {
            for (int gx = 0; gx < g.width; gx++) {
                double a = g.alpha[static_cast<size_t>(y) * g.width + gx] / 255.0;
                int px = pen + g.left + gx, py = baseline - g.top + y;
                if (hard) {
                    if (a >= 0.5) canvas.set(px, py, colour);
                } else {
                    canvas.blend(px, py, colour, a);
                }
            }
        }
        pen += g.advance;
    }
}
