// A full-colour drawing surface for the sheet tool, with the few shapes and the
// text the art needs. Pure black (0,0,0) is reserved: it becomes palette index
// 0, the transparent colour, so every visible dark colour must avoid it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

constexpr Rgb RGB_CLEAR = {0, 0, 0};

Rgb rgbMix(Rgb a, Rgb b, double t);  // t 0 gives a, 1 gives b
Rgb rgbScale(Rgb c, double f);       // brighter above 1, darker below
// Never pure black: dark colours meant to be seen are lifted to (1,1,1) or more.
Rgb rgbVisible(Rgb c);

struct Canvas {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    void init(int w, int h);
    Rgb get(int x, int y) const;
    void set(int x, int y, Rgb c);
    void blend(int x, int y, Rgb c, double alpha);
    void fill(int left, int top, int right, int bottom, Rgb c);  // right, bottom exclusive
    void fillVertical(int left, int top, int right, int bottom, Rgb topColour, Rgb bottomColour);
};

// Coverage (0..1) of a rounded rectangle at pixel (x, y), sampled 4 x 4.
double roundedCoverage(double left, double top, double right, double bottom, double radius, int x, int y);

// A font face of the DejaVu family at a pixel size.
struct Font {
    void* face = nullptr;
    int pixelSize = 0;
    bool mono = false;  // hinted one-bit glyphs instead of grey levels
};

bool fontsInit(const std::string& directory);
void fontsDone();
Font fontOpen(const char* file, int pixelSize, bool mono);

struct GlyphImage {
    int width = 0, rows = 0;
    int left = 0, top = 0;  // bitmap offset from the pen position, top upward
    int advance = 0;        // whole pixels
    std::vector<uint8_t> alpha;
};

GlyphImage fontGlyph(const Font& font, uint32_t ch);
int fontTextWidth(const Font& font, const std::string& text);
// Ascender of capital letters in pixels (the top of 'H').
int fontCapHeight(const Font& font);
// Draws the text with its pen starting at x on the baseline y, blended by
// coverage; `hard` draws pixels of coverage >= 0.5 solid instead.
void drawText(Canvas& canvas, const Font& font, const std::string& text, int x, int baseline, Rgb colour,
              bool hard = false);
