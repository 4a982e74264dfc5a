// Sprite sheet loaders over small bitmaps written here, and the built sheet ALL.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "support/builtsheet.h"
#include "video/display.h"
#include "video/sheet.h"
#include "video/sheetlayout.h"

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A Windows bitmap file. `pixels` holds indices, top row first; the colour
// table entry i is blue i, green 100 + i, red 200 - i, reserved 7.
struct BmpShape {
    int32_t width = 5;
    int32_t height = 3;
    uint16_t bitCount = 8;
    bool topDown = false;
    uint32_t infoSize = 40;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    int tableEntries = 256;
    std::vector<uint8_t> pixels;
};

std::vector<uint8_t> makeBmp(const BmpShape& s) {
    std::vector<uint8_t> out;
    uint32_t rowBytes = (uint32_t(s.width) * s.bitCount + 7) / 8;
    uint32_t stride = (rowBytes + 3) / 4 * 4;
    uint32_t offset = 14 + s.infoSize + 4 * uint32_t(s.tableEntries);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + stride * uint32_t(s.height));
    put32(out, 0);
    put32(out, offset);
    put32(out, s.infoSize);
    put32(out, uint32_t(s.width));
    put32(out, uint32_t(s.topDown ? -s.height : s.height));
    put16(out, 1);
    put16(out, s.bitCount);
    put32(out, s.compression);
    put32(out, stride * uint32_t(s.height));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, s.coloursUsed);
    put32(out, 0);
    while (out.size() < 14 + s.infoSize) out.push_back(0);
    for (int i = 0; i < s.tableEntries; i++) {
        out.push_back(uint8_t(i));
        out.push_back(uint8_t(100 + i));
        out.push_back(uint8_t(200 - i));
        out.push_back(7);
    }
    for (int32_t r = 0; r < s.height; r++) {
        int32_t row = s.topDown ? r : s.height - 1 - r;
        std::vector<uint8_t> packed(stride, 0);
        for (int32_t x = 0; x < s.width; x++) {
            uint8_t v = s.pixels.empty() ? 0 : s.pixels[size_t(row) * s.width + x];
            int perByte = 8 / s.bitCount;
            int shift = 8 - s.bitCount * (x % perByte + 1);
            packed[x / perByte] |= uint8_t(v << shift);
        }
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

std::vector<uint8_t> pattern(int32_t width, int32_t height, int levels) {
    std::vector<uint8_t> p(size_t(width) * height);
    for (size_t i = 0; i < p.size(); i++) p[i] = uint8_t((i * 7 + 3) % levels);
    return p;
}

// Every test runs in a fresh folder of its own with a reset headless backend.
class SheetLoader : public ::testing::Test {
protected:
    void SetUp() override {
        headlessReset();
        gSheetPalette = nullptr;
        ASSERT_NE(getcwd(oldDir, sizeof oldDir), nullptr);
        std::strcpy(dir, "/tmp/tq_sheet_XXXXXX");
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
    }
    void TearDown() override {
        std::remove("ALL");
        EXPECT_EQ(chdir(oldDir), 0);
        rmdir(dir);
        headlessReset();
    }
    static void writeFile(const std::vector<uint8_t>& bytes, const char* name = "ALL") {
        FILE* f = std::fopen(name, "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty()) {
            ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
        }
        std::fclose(f);
    }
    static std::vector<uint8_t> surfacePixels(const PlatSurface* s) {
        std::vector<uint8_t> out;
        for (int32_t y = 0; y < s->height; y++)
            out.insert(out.end(), s->pixels + y * s->pitch, s->pixels + y * s->pitch + s->width);
        return out;
    }
    // The palette vidLoadPalette builds, with the flags bytes; the created
    // palette object is released again.
    std::vector<VidPaletteEntry> loadPalette(const char* name) {
        VidPalette* palette = vidLoadPalette(&directDraw, name);
        EXPECT_NE(palette, nullptr);
        std::vector<VidPaletteEntry> entries(vidLastPaletteEntries(), vidLastPaletteEntries() + 256);
        if (palette) {
            for (int i = 0; i < 256; i++) {
                EXPECT_EQ(palette->entries[i].r, entries[i].red);
                EXPECT_EQ(palette->entries[i].g, entries[i].green);
                EXPECT_EQ(palette->entries[i].b, entries[i].blue);
            }
            vidReleasePalette(palette);
        }
        return entries;
    }

    VidDirectDraw directDraw{true};
    char oldDir[4096];
    char dir[64];
};

VidPaletteEntry defaultEntry(int i) {
    return VidPaletteEntry{uint8_t(((i >> 5) & 7) * 255 / 7), uint8_t(((i >> 2) & 7) * 255 / 7),
                           uint8_t((i & 3) * 255 / 3), 0};
}

bool sameEntry(VidPaletteEntry a, VidPaletteEntry b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.flags == b.flags;
}

// ---- Bitmap surface ------------------------------------------------------------

TEST_F(SheetLoader, LoadsEveryPixelIndexOfSupportedBitmaps) {
    struct Case {
        const char* what;
        int32_t width, height;
        uint16_t bits;
        bool topDown;
    };
    const Case cases[] = {
        {"8-bit bottom-up with row padding", 5, 3, 8, false},
        {"8-bit top-down", 6, 4, 8, true},
        {"4-bit with an odd width", 7, 2, 4, false},
        {"1-bit", 11, 3, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headlessReset();
        BmpShape shape;
        shape.width = c.width;
        shape.height = c.height;
        shape.bitCount = c.bits;
        shape.topDown = c.topDown;
        shape.tableEntries = 1 << c.bits;
        shape.pixels = pattern(c.width, c.height, 1 << c.bits);
        writeFile(makeBmp(shape));
        PlatSurface* s = vidLoadBitmapSurface(&directDraw, "ALL", 0, 0);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->width, c.width);
        EXPECT_EQ(s->height, c.height);
        EXPECT_EQ(surfacePixels(s), shape.pixels);
    }
}

TEST_F(SheetLoader, GivenSizeStretchesTheBitmapOverTheSurface) {
    BmpShape shape;
    shape.width = 2;
    shape.height = 2;
    shape.pixels = {1, 2, 3, 4};
    writeFile(makeBmp(shape));
    PlatSurface* s = vidLoadBitmapSurface(&directDraw, "ALL", 4, 2);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(surfacePixels(s), (std::vector<uint8_t>{1, 1, 2, 2, 3, 3, 4, 4}));
}

TEST_F(SheetLoader, RefusesMissingBadAndTruncatedFilesWithoutReadingPastThem) {
    BmpShape good;
    good.width = 9;
    good.height = 4;
    good.pixels = pattern(9, 4, 256);
    const std::vector<uint8_t> file = makeBmp(good);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    for (size_t cut : {size_t(0), size_t(1), size_t(13), size_t(30), size_t(53), size_t(54), size_t(600),
                       file.size() - 4}) {
        cases.push_back({"cut short", std::vector<uint8_t>(file.begin(), file.begin() + std::ptrdiff_t(cut))});
    }
    auto patched = [&](size_t at, uint32_t value, int bytes) {
        std::vector<uint8_t> b = file;
        for (int i = 0; i < bytes; i++) b[at + i] = uint8_t(value >> (8 * i));
        return b;
    };
    cases.push_back({"not a bitmap signature", patched(0, 'X', 1)});
    cases.push_back({"run-length compressed", patched(30, 1, 4)});
    cases.push_back({"24 bits per pixel", patched(28, 24, 2)});
    cases.push_back({"zero width", patched(18, 0, 4)});
    cases.push_back({"zero height", patched(22, 0, 4)});
    cases.push_back({"two planes", patched(26, 2, 2)});
    cases.push_back({"short information header", patched(14, 12, 4)});
    cases.push_back({"larger than any sheet", patched(18, 100000, 4)});
    cases.push_back({"most negative height", patched(22, 0x80000000u, 4)});
    cases.push_back({"pixels past the end", patched(10, 0x7FFFFFF0u, 4)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what + std::string(" ") + std::to_string(c.bytes.size()));
        headlessReset();
        writeFile(c.bytes);
        EXPECT_EQ(vidLoadBitmapSurface(&directDraw, "ALL", 0, 0), nullptr);
        EXPECT_EQ(vidBitmapLoad("ALL"), nullptr);
    }
    std::remove("ALL");
    EXPECT_EQ(vidLoadBitmapSurface(&directDraw, "ALL", 0, 0), nullptr);
    EXPECT_EQ(vidLoadBitmapSurface(&directDraw, nullptr, 0, 0), nullptr);
}

TEST_F(SheetLoader, NoSurfaceWithoutADisplayOrWhenCreationFails) {
    BmpShape shape;
    shape.pixels = pattern(5, 3, 256);
    writeFile(makeBmp(shape));
    EXPECT_EQ(vidLoadBitmapSurface(nullptr, "ALL", 0, 0), nullptr);
    headlessFail(HEADLESS_FAULT_CREATE_SURFACE, DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(vidLoadBitmapSurface(&directDraw, "ALL", 0, 0), nullptr);
    EXPECT_NE(vidLoadBitmapSurface(&directDraw, "ALL", 0, 0), nullptr);
}

TEST_F(SheetLoader, ReloadPutsThePixelsBackOrSaysWhyNot) {
    BmpShape shape;
    shape.pixels = pattern(5, 3, 256);
    writeFile(makeBmp(shape));
    PlatSurface* s = vidLoadBitmapSurface(&directDraw, "ALL", 0, 0);
    ASSERT_NE(s, nullptr);
    std::memset(s->pixels, 0, 15);
    s->lost = true;
    EXPECT_EQ(vidReloadBitmap(s, "ALL"), DD_OK);
    EXPECT_FALSE(s->lost);
    EXPECT_EQ(surfacePixels(s), shape.pixels);
    EXPECT_STREQ(headless.debugText, "");

    // The restore inside the copy fails: the surface stays lost.
    s->lost = true;
    headlessFail(HEADLESS_FAULT_RESTORE, DDERR_GENERIC);
    EXPECT_EQ(vidReloadBitmap(s, "ALL"), DDERR_SURFACELOST);
    EXPECT_STREQ(headless.debugText, "ddcopybitmap failed\n");

    headlessReset();
    std::remove("ALL");
    EXPECT_EQ(vidReloadBitmap(s, "ALL"), E_FAIL);
    EXPECT_STREQ(headless.debugText, "handle is null\n");
}

TEST_F(SheetLoader, CopyRefusesNullsAndSkipsSourcePixelsOutsideTheBitmap) {
    const uint8_t pixels[] = {1, 2, 3, 4, 5, 6};
    VidBitmap bitmap{pixels, 3, 2};
    PlatSurface* s = nullptr;
    ASSERT_EQ(platCreateSurface(3, 2, &s), DD_OK);
    EXPECT_EQ(vidCopyBitmap(nullptr, &bitmap, 0, 0, 0, 0), E_FAIL);
    EXPECT_EQ(vidCopyBitmap(s, nullptr, 0, 0, 0, 0), E_FAIL);
    std::memset(s->pixels, 9, 6);
    // Source rectangle from (1, 1), three wide and two tall: only its first
    // row's first two pixels lie inside the bitmap.
    EXPECT_EQ(vidCopyBitmap(s, &bitmap, 1, 1, 3, 2), DD_OK);
    EXPECT_EQ(surfacePixels(s), (std::vector<uint8_t>{5, 6, 9, 9, 9, 9}));
    EXPECT_EQ(vidCopyBitmap(s, &bitmap, -5, -5, 0, 0), DD_OK);
    EXPECT_EQ(vidCopyBitmap(s, &bitmap, 0, 0, 0, 0), DD_OK);
    EXPECT_EQ(surfacePixels(s), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
}

// ---- Palette ----------------------------------------------------------------------

TEST_F(SheetLoader, DefaultPaletteIsThreeThreeTwo) {
    std::vector<VidPaletteEntry> p = loadPalette("no such file");
    for (int i = 0; i < 256; i++) EXPECT_TRUE(sameEntry(p[i], defaultEntry(i))) << i;
    EXPECT_TRUE(sameEntry(p[0xFF], VidPaletteEntry{255, 255, 255, 0}));
    EXPECT_TRUE(sameEntry(p[0xB6], VidPaletteEntry{182, 182, 170, 0}));
    EXPECT_EQ(vidLoadPalette(nullptr, "no such file"), nullptr);
}

TEST_F(SheetLoader, PaletteFromTheFileColourTable) {
    struct Case {
        const char* what;
        uint32_t infoSize;
        uint16_t bitCount;
        uint32_t coloursUsed;
        int swapped;  // entries taken as colours; -1: the default palette stays
    };
    const Case cases[] = {
        {"8-bit, all colours", 40, 8, 0, 256},
        {"colours used 2", 40, 8, 2, 2},
        {"4-bit, all colours", 40, 4, 0, 16},
        {"colours used above 256 stop at 256", 40, 8, 100000, 256},
        {"24 bits per pixel", 40, 24, 0, -1},
        {"larger information header", 108, 8, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BmpShape shape;
        shape.infoSize = c.infoSize;
        shape.bitCount = c.bitCount > 8 ? 8 : c.bitCount;
        shape.coloursUsed = c.coloursUsed;
        shape.tableEntries = 256;
        std::vector<uint8_t> bytes = makeBmp(shape);
        bytes[28] = uint8_t(c.bitCount);  // the header alone decides; the pixels do not matter here
        writeFile(bytes);
        std::vector<VidPaletteEntry> p = loadPalette("ALL");
        for (int i = 0; i < 256; i++) {
            SCOPED_TRACE(i);
            if (c.swapped < 0) {
                EXPECT_TRUE(sameEntry(p[i], defaultEntry(i)));
            } else if (c.infoSize == 40 && i < c.swapped) {
                EXPECT_TRUE(sameEntry(p[i], VidPaletteEntry{uint8_t(200 - i), uint8_t(100 + i), uint8_t(i), 7}));
            } else {
                // Past the count the bytes stay as read: blue first.
                EXPECT_TRUE(sameEntry(p[i], VidPaletteEntry{uint8_t(i), uint8_t(100 + i), uint8_t(200 - i), 7}));
            }
        }
    }
}

TEST_F(SheetLoader, ShortColourTableKeepsTheDefaultWhereNothingWasRead) {
    BmpShape shape;
    std::vector<uint8_t> bytes = makeBmp(shape);
    bytes.resize(14 + 40 + 4 * 3 + 2);  // three whole entries and half of one
    writeFile(bytes);
    std::vector<VidPaletteEntry> p = loadPalette("ALL");
    for (int i = 0; i < 3; i++)
        EXPECT_TRUE(sameEntry(p[i], VidPaletteEntry{uint8_t(200 - i), uint8_t(100 + i), uint8_t(i), 7})) << i;
    EXPECT_TRUE(sameEntry(p[3], VidPaletteEntry{3, 103, defaultEntry(3).blue, 0}));
    for (int i = 4; i < 256; i++) EXPECT_TRUE(sameEntry(p[i], defaultEntry(i))) << i;

    bytes.resize(20);  // not even the information header
    writeFile(bytes);
    p = loadPalette("ALL");
    for (int i = 0; i < 256; i++) EXPECT_TRUE(sameEntry(p[i], defaultEntry(i))) << i;
}

// ---- Colour match and key ----------------------------------------------------------

TEST_F(SheetLoader, ColourMatchGivesThePaletteIndexAndLeavesThePixel) {
    PlatSurface* s = nullptr;
    ASSERT_EQ(platCreateSurface(4, 2, &s), DD_OK);
    s->pixels[0] = 77;
    // Without a display palette colours match the default 3-3-2 palette.
    EXPECT_EQ(vidColorMatch(s, VID_COLOR_BLACK), 0u);
    EXPECT_EQ(vidColorMatch(s, 0x000000FFu), 0xE0u);  // pure red
    EXPECT_EQ(vidColorMatch(s, 0x00FF0000u), 0x03u);  // pure blue
    EXPECT_EQ(vidColorMatch(s, 0x00FEFEFEu), 0xFFu);  // nearest to white
    EXPECT_EQ(s->pixels[0], 77);
    EXPECT_EQ(vidColorMatch(s, VID_CLR_INVALID), 77u);

    PlatColor colours[256] = {};
    for (int i = 0; i < 256; i++) colours[i] = PlatColor{uint8_t(i), uint8_t(i), uint8_t(i)};
    colours[40] = PlatColor{10, 20, 30};
    gSheetPalette = vidCreatePalette(&directDraw, colours);
    ASSERT_NE(gSheetPalette, nullptr);
    EXPECT_EQ(vidColorMatch(s, 0x001E140Au), 40u);
    vidReleasePalette(gSheetPalette);
    gSheetPalette = nullptr;

    s->lost = true;
    EXPECT_EQ(vidColorMatch(s, VID_COLOR_BLACK), VID_CLR_INVALID);
    EXPECT_EQ(vidColorMatch(nullptr, VID_COLOR_BLACK), VID_CLR_INVALID);
}

TEST_F(SheetLoader, BlackKeyLeavesOutExactlyIndexZeroInKeyedCopies) {
    BmpShape shape;
    shape.width = 8;
    shape.height = 2;
    shape.pixels = {0, 5, 0, 255, 1, 0, 9, 0, 3, 0, 0, 200, 0, 2, 0, 4};
    writeFile(makeBmp(shape));
    ASSERT_EQ(platDisplayOpen("TARVOQUE"), DD_OK);
    PlatSurface* primary = nullptr;
    PlatSurface* back = nullptr;
    ASSERT_EQ(platCreatePrimary(true, &primary), DD_OK);
    ASSERT_EQ(platGetBackBuffer(primary, &back), DD_OK);
    PlatSurface* sheet = vidLoadBitmapSurface(&directDraw, "ALL", 0, 0);
    ASSERT_NE(sheet, nullptr);
    sheet->colorKey = 99;
    EXPECT_EQ(vidSetColorKey(sheet, VID_COLOR_BLACK), DD_OK);
    EXPECT_EQ(sheet->colorKey, 0);
    EXPECT_EQ(sheet->pixels[0], 0);
    std::memset(back->pixels, 77, 16);
    ASSERT_EQ(platBltFast(back, 0, 0, sheet, 0, 0, 8, 1, true), DD_OK);
    ASSERT_EQ(platBltFast(back, 8, 0, sheet, 0, 1, 8, 2, true), DD_OK);
    for (int i = 0; i < 16; i++) EXPECT_EQ(back->pixels[i], shape.pixels[i] == 0 ? 77 : shape.pixels[i]) << i;

    // A surface that cannot be read sets no key.
    sheet->lost = true;
    EXPECT_EQ(vidSetColorKey(sheet, 0x00FFFFFFu), DDERR_SURFACELOST);
    EXPECT_EQ(sheet->colorKey, 0);
    EXPECT_EQ(vidSetColorKey(nullptr, VID_COLOR_BLACK), E_FAIL);
}

// ---- The built sheet ---------------------------------------------------------------

class BuiltSheet : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bytes = readBuiltSheet();
        ASSERT_FALSE(bytes.empty()) << TQ_SHEET_FILE;
    }
    static uint32_t u32(size_t at) {
        return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
               uint32_t(bytes[at + 3]) << 24;
    }
    // Palette index at sheet (x, y), y from the top.
    static uint8_t at(int32_t x, int32_t y) { return bytes[1078 + size_t(SHEET_HEIGHT - 1 - y) * SHEET_WIDTH + x]; }
    static int inked(const SheetRect& r) {
        int n = 0;
        for (int32_t y = r.top; y < r.bottom; y++)
            for (int32_t x = r.left; x < r.right; x++) n += at(x, y) != 0;
        return n;
    }
    struct Colour {
        int r, g, b;
    };
    static Colour colour(uint8_t index) {
        size_t p = 54 + 4 * size_t(index);
        return Colour{bytes[p + 2], bytes[p + 1], bytes[p]};
    }
    static std::vector<uint8_t> bytes;
};
std::vector<uint8_t> BuiltSheet::bytes;

TEST_F(BuiltSheet, IsAnUncompressed8BitBitmapOfTheSheetSize) {
    ASSERT_EQ(bytes.size(), 14u + 40u + 1024u + 800u * 1044u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(u32(2), bytes.size());
    EXPECT_EQ(u32(10), 1078u);
    EXPECT_EQ(u32(14), 40u);
    EXPECT_EQ(u32(18), 800u);
    EXPECT_EQ(u32(22), 1044u);  // bottom-up
    EXPECT_EQ(bytes[26] | bytes[27] << 8, 1);
    EXPECT_EQ(bytes[28] | bytes[29] << 8, 8);
    EXPECT_EQ(u32(30), 0u);
    EXPECT_EQ(u32(46), 256u);
    Colour black = colour(0), white = colour(255);
    EXPECT_EQ(black.r + black.g + black.b, 0);
    EXPECT_EQ(white.r + white.g + white.b, 3 * 255);
    // No other entry is black: only the transparent colour drops out of copies.
    for (int i = 1; i < 256; i++) {
        Colour c = colour(uint8_t(i));
        EXPECT_NE(c.r + c.g + c.b, 0) << i;
    }
}

TEST_F(BuiltSheet, PlainAreaIsOneMidBlue) {
    uint8_t plain = at(0, 0);
    Colour c = colour(plain);
    EXPECT_GT(c.b, c.r + 40);
    EXPECT_GT(c.b, c.g + 30);
    EXPECT_GT(c.b, 100);
    EXPECT_LT(c.b, 220);
    for (int32_t y = 0; y < SHEET_PLAIN_TOP_HEIGHT; y++)
        for (int32_t x = 0; x < SHEET_WIDTH; x++) ASSERT_EQ(at(x, y), plain) << x << "," << y;
    for (int32_t y = 0; y < SHEET_PLAIN_LEFT_HEIGHT; y++)
        for (int32_t x = 0; x < SHEET_PLAIN_LEFT_WIDTH; x++) ASSERT_EQ(at(x, y), plain) << x << "," << y;
}

TEST_F(BuiltSheet, EveryPictureHasInkWhereItMust) {
    for (int i = 0; i < SHEET_SMALL_CHAR_COUNT; i++) EXPECT_GT(inked(sheetSmallGlyph(i)), 3) << SHEET_SMALL_CHARS[i];
    for (int i = 0; i < 26; i++) EXPECT_GT(inked(sheetBigLetter(i)), 27 * 27 * 3 / 4) << char('A' + i);
    for (int d = 0; d < 10; d++) EXPECT_GT(inked(sheetBigDigit(d)), 27 * 27 * 3 / 4) << d;
    for (int k : {SHEET_MARK_MAGENTA, SHEET_MARK_WHITE, SHEET_MARK_GREEN, SHEET_MARK_RED})
        EXPECT_GT(inked(sheetCellMark(k)), 4 * 23 * 2) << k;
    EXPECT_EQ(inked(sheetCellMark(SHEET_MARK_NOTHING)), 0);
    // Outlines leave the tile's place open; squares fill it.
    EXPECT_EQ(at(sheetCellMark(SHEET_MARK_GREEN).left + 15, SHEET_MARK_TOP + 15), 0);
    EXPECT_EQ(at(sheetCellMark(SHEET_MARK_RED).left + 15, SHEET_MARK_TOP + 15), 0);
    EXPECT_EQ(at(sheetCellMark(SHEET_MARK_WHITE).left + 15, SHEET_MARK_TOP + 15), 255);
    EXPECT_NE(at(sheetCellMark(SHEET_MARK_MAGENTA).left + 15, SHEET_MARK_TOP + 15), 0);
    // The pointer's tip is its hot spot; nothing of it lies left of that.
    EXPECT_NE(at(SHEET_POINTER.left + SHEET_POINTER_HOT_X, SHEET_POINTER.top), 0);
    EXPECT_EQ(inked(SheetRect{SHEET_POINTER.left, SHEET_POINTER.top, SHEET_POINTER.left + SHEET_POINTER_HOT_X,
                              SHEET_POINTER.bottom}),
              0);
    EXPECT_GT(inked(SHEET_POINTER), 60);
    for (int col = 0; col < 3; col++)
        for (int row = 0; row < 3; row++)
            EXPECT_EQ(inked(sheetPanelPiece(col, row)),
                      SHEET_PANEL_WIDTH[col] * SHEET_PANEL_HEIGHT[row])
                << col << "," << row;
    for (const SheetRect& b : {SHEET_BUTTON_CONTINUE, SHEET_BUTTON_DO_NOT_SHOW, SHEET_BUTTON_START_DRAG,
                               SHEET_BUTTON_STOP_DRAG, SHEET_BUTTON_ENTER_GAME})
        EXPECT_GT(inked(b), 95 * 63 * 3 / 4) << b.top;
    int hatch = inked(SHEET_BUTTON_HATCHING);
    EXPECT_GT(hatch, 95 * 63 / 5);
    EXPECT_LT(hatch, 95 * 63 * 2 / 3);  // the button under it shows through
    // Opaque copies: the backgrounds and the pause tile hold no transparent colour.
    EXPECT_EQ(inked(SHEET_PAUSE_TILE), 80 * 80);
    EXPECT_EQ(inked(SHEET_BACKGROUND_ONE_PLAYER), 640 * 480);
    EXPECT_EQ(inked(SHEET_BACKGROUND_TWO_PLAYER), 640 * 480);
}

// A picture inside a background rectangle would show on every frame of that
// background; the marks once stood in the one-player picture's bottom rows.
TEST(SheetLayout, TheCellMarksLieWhereNoBackgroundCopyReaches) {
    auto overlaps = [](const SheetRect& a, const SheetRect& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    };
    for (int32_t k = 0; k < SHEET_MARK_COUNT; k++) {
        const SheetRect mark = sheetCellMark(k);
        EXPECT_FALSE(overlaps(mark, SHEET_BACKGROUND_ONE_PLAYER)) << k;
        EXPECT_FALSE(overlaps(mark, SHEET_BACKGROUND_TWO_PLAYER)) << k;
        EXPECT_LE(mark.right, SHEET_WIDTH) << k;
        EXPECT_GE(mark.top, SHEET_PLAIN_TOP_HEIGHT) << k;
        for (const SheetRect& button : {SHEET_BUTTON_CONTINUE, SHEET_BUTTON_DO_NOT_SHOW, SHEET_BUTTON_START_DRAG,
                                        SHEET_BUTTON_STOP_DRAG, SHEET_BUTTON_ENTER_GAME, SHEET_BUTTON_HATCHING})
            EXPECT_FALSE(overlaps(mark, button)) << k;
        for (int32_t d = 0; d < 10; d++) EXPECT_FALSE(overlaps(mark, sheetBigDigit(d))) << k;
    }
    // Both backgrounds fill the 640 x 480 screen.
    for (const SheetRect& b : {SHEET_BACKGROUND_ONE_PLAYER, SHEET_BACKGROUND_TWO_PLAYER}) {
        EXPECT_EQ(b.right - b.left, 640);
        EXPECT_EQ(b.bottom - b.top, 480);
    }
    EXPECT_FALSE(overlaps(SHEET_BACKGROUND_TWO_PLAYER, sheetSmallGlyph(0)));
}

// Every picture has pixels of its own: a keyed picture inside a background
// shows on every frame of it (the panel pieces once drew a stray frame over
// the two-player screen), and two pictures cannot both be drawn in one place.
// The pause tile, the plain patch and the full gauges are parts of the
// one-player background by design, so they are not in the list.
TEST(SheetLayout, NoTwoPicturesShareSheetPixels) {
    struct Picture {
        std::string name;
        SheetRect r;
    };
    std::vector<Picture> pictures = {
        {"one-player background", SHEET_BACKGROUND_ONE_PLAYER},
        {"two-player background", SHEET_BACKGROUND_TWO_PLAYER},
        {"pointer", SHEET_POINTER},
        {"CONTINUE", SHEET_BUTTON_CONTINUE},
        {"DO NOT SHOW", SHEET_BUTTON_DO_NOT_SHOW},
        {"START DRAG", SHEET_BUTTON_START_DRAG},
        {"STOP DRAG", SHEET_BUTTON_STOP_DRAG},
        {"ENTER GAME", SHEET_BUTTON_ENTER_GAME},
        {"hatching", SHEET_BUTTON_HATCHING},
    };
    for (int32_t k = 0; k < SHEET_MARK_COUNT; k++) pictures.push_back({"mark " + std::to_string(k), sheetCellMark(k)});
    for (int32_t i = 0; i < 26; i++) pictures.push_back({"letter " + std::string(1, char('A' + i)), sheetBigLetter(i)});
    for (int32_t d = 0; d < 10; d++) pictures.push_back({"digit " + std::to_string(d), sheetBigDigit(d)});
    for (int32_t i = 0; i < SHEET_SMALL_CHAR_COUNT; i++)
        pictures.push_back({"glyph " + std::string(1, SHEET_SMALL_CHARS[i]), sheetSmallGlyph(i)});
    for (int32_t col = 0; col < 3; col++)
        for (int32_t row = 0; row < 3; row++)
            pictures.push_back({"panel " + std::to_string(col) + "," + std::to_string(row), sheetPanelPiece(col, row)});
    for (size_t i = 0; i < pictures.size(); i++) {
        const SheetRect& a = pictures[i].r;
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= SHEET_WIDTH && a.bottom <= SHEET_HEIGHT) << pictures[i].name;
        EXPECT_TRUE(a.left < a.right && a.top < a.bottom) << pictures[i].name;
        for (size_t j = i + 1; j < pictures.size(); j++) {
            const SheetRect& b = pictures[j].r;
            EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                << pictures[i].name << " and " << pictures[j].name;
        }
    }
}

// The two-player background's rows stand where the two-player layout puts
// them; the flow tests read them from there.
TEST_F(BuiltSheet, BackgroundsShowFullGaugesInsideTheirBlankingStrips) {
    uint8_t plain = at(0, 0);
    for (int32_t yOffset : {SHEET_BACKGROUND_ONE_PLAYER.top}) {
        for (int32_t top : {SHEET_GAUGE_LIFE_TOP, SHEET_GAUGE_DRAG_TOP, SHEET_GAUGE_CYCLE_TOP}) {
            SCOPED_TRACE(yOffset + top);
            for (int32_t y = top; y < top + SHEET_GAUGE_HEIGHT; y++)
                for (int32_t x = SHEET_GAUGE_LEFT; x < SHEET_GAUGE_LEFT + SHEET_GAUGE_WIDTH; x++)
                    ASSERT_NE(at(x, yOffset + y), plain) << x << "," << y;
            // The label left of the bar.
            int label = 0;
            for (int32_t y = top; y < top + 20; y++)
                for (int32_t x = 150; x < SHEET_GAUGE_LEFT - 4; x++) label += at(x, yOffset + y) != plain;
            EXPECT_GT(label, 30);
            // Blanking covers (150, top)-(400, top + 20): nothing of the row lies
            // in the plain rows just above and below it.
            for (int32_t x = 150; x < 400; x++) {
                EXPECT_EQ(at(x, yOffset + top - 1), plain) << x;
                EXPECT_EQ(at(x, yOffset + top + 20), plain) << x;
            }
        }
    }
}

TEST_F(BuiltSheet, LoadsThroughTheLoadersFromTheWorkingFolder) {
    char oldDir[4096];
    ASSERT_NE(getcwd(oldDir, sizeof oldDir), nullptr);
    char dir[] = "/tmp/tq_sheet_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    ASSERT_EQ(chdir(dir), 0);
    FILE* f = std::fopen("ALL", "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    headlessReset();
    gSheetPalette = nullptr;
    VidDirectDraw dd{true};
    VidPalette* palette = vidLoadPalette(&dd, "ALL");
    PlatSurface* sheet = vidLoadBitmapSurface(&dd, "ALL", 0, 0);
    std::remove("ALL");
    EXPECT_EQ(chdir(oldDir), 0);
    rmdir(dir);
    ASSERT_NE(palette, nullptr);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->width, SHEET_WIDTH);
    EXPECT_EQ(sheet->height, SHEET_HEIGHT);
    for (int i = 0; i < 256; i++) {
        Colour c = colour(uint8_t(i));
        EXPECT_EQ(palette->entries[i].r, c.r);
        EXPECT_EQ(palette->entries[i].g, c.g);
        EXPECT_EQ(palette->entries[i].b, c.b);
    }
    for (int32_t y = 0; y < SHEET_HEIGHT; y += 7)
        for (int32_t x = 0; x < SHEET_WIDTH; x += 3) ASSERT_EQ(sheet->pixels[y * sheet->pitch + x], at(x, y));
    gSheetPalette = palette;
    EXPECT_EQ(vidSetColorKey(sheet, VID_COLOR_BLACK), DD_OK);
    EXPECT_EQ(sheet->colorKey, 0);
    vidReleasePalette(palette);
    gSheetPalette = nullptr;
    headlessReset();
}

}  // namespace
