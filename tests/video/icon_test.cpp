// The game's icon: drawn from a small made-up sheet where the layout must show,
// and from the built sheet ALL where it must read well.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "video/icon.h"
#include "video/sheet.h"
#include "video/sheetlayout.h"

#ifndef TQ_SHEET_FILE
#define TQ_SHEET_FILE "../game/ALL"
#endif

namespace {

struct Rgba {
    uint8_t r, g, b, a;
    bool operator==(const Rgba&) const = default;
};

struct Icon {
    int32_t size;
    std::vector<uint8_t> bytes;
    Rgba at(int32_t x, int32_t y) const {
        const uint8_t* p = &bytes[(size_t(y) * size + x) * 4];
        return Rgba{p[0], p[1], p[2], p[3]};
    }
};

struct Box {
    int32_t left, top, right, bottom;  // right and bottom exclusive
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

Box opaqueBox(const Icon& icon) {
    Box b{icon.size, icon.size, 0, 0};
    for (int32_t y = 0; y < icon.size; y++)
        for (int32_t x = 0; x < icon.size; x++)
            if (icon.at(x, y).a != 0) b = Box{std::min(b.left, x), std::min(b.top, y), std::max(b.right, x + 1),
                                              std::max(b.bottom, y + 1)};
    return b;
}

struct Sheet {
    std::vector<uint8_t> pixels;
    int32_t pitch = SHEET_WIDTH;
    PlatColor palette[256] = {};
    Icon draw(int32_t size) const {
        // Bytes the icon must overwrite start as a pattern it never writes.
        Icon icon{size, std::vector<uint8_t>(size_t(size) * size * 4, 0xA5)};
        vidIconDraw(pixels.data(), pitch, palette, size, icon.bytes.data());
        return icon;
    }
};

// Solid square tiles, T red and Q green, on a sheet whose rows are longer than
// its width; the Q has one transparent pixel where it lies over the T.
constexpr uint8_t FAKE_T = 10, FAKE_Q = 20;
constexpr PlatColor FAKE_RED = {200, 0, 0}, FAKE_GREEN = {0, 200, 0};
constexpr int32_t FAKE_HOLE = 1;  // the hole's x and y inside the Q tile

Sheet fakeSheet() {
    Sheet s;
    s.pitch = SHEET_WIDTH + 12;
    s.pixels.assign(size_t(s.pitch) * SHEET_HEIGHT, 0);
    // Other letters get a third colour: it must never show.
    for (int i = 0; i < 26; i++) {
        SheetRect r = sheetBigLetter(i);
        uint8_t index = i == 'T' - 'A' ? FAKE_T : i == 'Q' - 'A' ? FAKE_Q : 30;
        for (int32_t y = r.top; y < r.bottom; y++)
            for (int32_t x = r.left; x < r.right; x++) s.pixels[size_t(y) * s.pitch + x] = index;
    }
    SheetRect q = sheetBigLetter('Q' - 'A');
    s.pixels[size_t(q.top + FAKE_HOLE) * s.pitch + q.left + FAKE_HOLE] = 0;
    s.palette[FAKE_T] = FAKE_RED;
    s.palette[FAKE_Q] = FAKE_GREEN;
    s.palette[30] = PlatColor{0, 0, 200};
    return s;
}

const Sheet& builtSheet() {
    static Sheet s = [] {
        Sheet loaded;
        const VidBitmap* bitmap = vidBitmapLoad(TQ_SHEET_FILE);
        if (!bitmap) return loaded;
        loaded.pixels.assign(bitmap->pixels, bitmap->pixels + size_t(bitmap->width) * bitmap->height);
        loaded.pitch = bitmap->width;
        vidLoadPalette(nullptr, TQ_SHEET_FILE);
        const VidPaletteEntry* e = vidLastPaletteEntries();
        for (int i = 0; i < 256; i++) loaded.palette[i] = PlatColor{e[i].red, e[i].green, e[i].blue};
        return loaded;
    }();
    return s;
}

Rgba opaque(PlatColor c) { return Rgba{c.r, c.g, c.b, 255}; }

TEST(IconLayout, TheQLiesOverTheTDiagonallyAndItsTransparentPixelShowsTheT) {
    Sheet sheet = fakeSheet();
    Icon icon = sheet.draw(VID_ICON_ART_SIZE);
    EXPECT_EQ(icon.at(0, 0), opaque(FAKE_RED));
    EXPECT_EQ(icon.at(VID_ICON_ART_SIZE - 1, VID_ICON_ART_SIZE - 1), opaque(FAKE_GREEN));
    EXPECT_EQ(icon.at(VID_ICON_ART_SIZE - 1, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(icon.at(0, VID_ICON_ART_SIZE - 1), (Rgba{0, 0, 0, 0}));
    // Where the tiles overlap the Q wins, except through its hole.
    int32_t hole = VID_ICON_TILE_OFFSET + FAKE_HOLE;
    EXPECT_EQ(icon.at(hole + 1, hole), opaque(FAKE_GREEN));
    EXPECT_EQ(icon.at(hole, hole), opaque(FAKE_RED));
    for (size_t i = 0; i < icon.bytes.size(); i += 4) EXPECT_NE(icon.bytes[i + 2], 200) << "another letter showed";
}

TEST(IconLayout, EveryByteIsWrittenAndTransparentPixelsAreAllZero) {
    Sheet sheet = fakeSheet();
    for (int32_t size : VID_ICON_SIZES) {
        Icon icon = sheet.draw(size);
        for (int32_t y = 0; y < size; y++)
            for (int32_t x = 0; x < size; x++) {
                Rgba p = icon.at(x, y);
                if (p.a == 0) ASSERT_EQ(p, (Rgba{0, 0, 0, 0})) << size << ": " << x << "," << y;
                else ASSERT_NE(p.a, 0xA5) << size << ": " << x << "," << y;
            }
    }
}

// Shrunk icons average blocks of the picture: the edges fade out through their
// alpha, and the transparent black never darkens a colour.
TEST(IconLayout, ShrunkIconsFadeTheirEdgesWithoutDarkeningThem) {
    Sheet sheet = fakeSheet();
    for (int32_t size : VID_ICON_SIZES) {
        if (size >= VID_ICON_ART_SIZE) continue;
        Icon icon = sheet.draw(size);
        int partial = 0, full = 0;
        for (int32_t y = 0; y < size; y++)
            for (int32_t x = 0; x < size; x++) {
                Rgba p = icon.at(x, y);
                if (p.a == 0) continue;
                EXPECT_NEAR(p.r + p.g, 200, 1) << size << ": " << x << "," << y;
                EXPECT_EQ(p.b, 0) << size << ": " << x << "," << y;
                (p.a == 255 ? full : partial)++;
            }
        Box box = opaqueBox(icon);
        EXPECT_GT(partial, 0) << size;
        EXPECT_GT(full * 2, box.width() * box.height()) << size;
    }
}

class BuiltSheetIcon : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(builtSheet().pixels.empty()) << TQ_SHEET_FILE; }
    // The colours of the T and Q tiles' opaque pixels.
    static std::set<std::tuple<int, int, int>> tileColours() {
        std::set<std::tuple<int, int, int>> colours;
        const Sheet& s = builtSheet();
        for (char letter : {'T', 'Q'}) {
            SheetRect r = sheetBigLetter(letter - 'A');
            for (int32_t y = r.top; y < r.bottom; y++)
                for (int32_t x = r.left; x < r.right; x++) {
                    uint8_t i = s.pixels[size_t(y) * s.pitch + x];
                    if (i != 0) colours.insert({s.palette[i].r, s.palette[i].g, s.palette[i].b});
                }
        }
        return colours;
    }
    static int luma(const Rgba& p) { return (299 * p.r + 587 * p.g + 114 * p.b) / 1000; }
};

// The tiles stand on the diagonal, so two corners are empty; the other two are
// the tiles' rounded corners, left out when enlarged and at most partly covered
// when shrunk.
TEST_F(BuiltSheetIcon, EverySizeHasOpenCornersAndACentredPictureFillingMostOfIt) {
    for (int32_t size : VID_ICON_SIZES) {
        Icon icon = builtSheet().draw(size);
        EXPECT_EQ(icon.at(size - 1, 0).a, 0) << size;
        EXPECT_EQ(icon.at(0, size - 1).a, 0) << size;
        uint8_t most = size >= VID_ICON_ART_SIZE ? 0 : 254;
        EXPECT_LE(icon.at(0, 0).a, most) << size;
        EXPECT_LE(icon.at(size - 1, size - 1).a, most) << size;
        Box box = opaqueBox(icon);
        EXPECT_EQ(box.width(), box.height()) << size;
        EXPECT_GE(box.width() * 3, size * 2) << size;
        EXPECT_EQ(box.left, box.top) << size;
        EXPECT_LE(std::abs((size - box.right) - box.left), 1) << size;
    }
}

// Inside each tile, away from its rim, the letter shows as pixels nearly as
// dark as its ink, and the tile around it stays light: the letters can be told
// apart from the tiles even at 16 pixels.
TEST_F(BuiltSheetIcon, EachTileShowsItsDarkLetterOnALightFaceAtEverySize) {
    int darkest = 255, lightest = 0;
    for (auto [r, g, b] : tileColours()) {
        int l = luma(Rgba{uint8_t(r), uint8_t(g), uint8_t(b), 255});
        darkest = std::min(darkest, l);
        lightest = std::max(lightest, l);
    }
    ASSERT_GT(lightest - darkest, 100);
    int middle = (lightest + darkest) / 2;
    // Insides of the tiles in the picture's own pixels: the T's part left
    // uncovered by the Q, and the Q's.
    const int32_t rim = 4, tile = SHEET_BIG_LETTER_WIDTH, offset = VID_ICON_TILE_OFFSET;
    struct Inside {
        const char* name;
        int32_t from, to;
    } insides[] = {{"T", rim, offset - 1}, {"Q", offset + rim, offset + tile - rim}};
    for (int32_t size : VID_ICON_SIZES) {
        Icon icon = builtSheet().draw(size);
        Box box = opaqueBox(icon);
        for (const Inside& in : insides) {
            int32_t from = box.left + in.from * box.width() / VID_ICON_ART_SIZE;
            int32_t to = box.left + in.to * box.width() / VID_ICON_ART_SIZE;
            int dark = 0, light = 0, all = 0, darkestSeen = 255;
            for (int32_t y = from; y < to; y++)
                for (int32_t x = from; x < to; x++) {
                    Rgba p = icon.at(x, y);
                    ASSERT_EQ(p.a, 255) << in.name << " " << size << ": " << x << "," << y;
                    all++;
                    dark += luma(p) < middle;
                    light += luma(p) >= middle;
                    darkestSeen = std::min(darkestSeen, luma(p));
                }
            EXPECT_GE(dark * 10, all) << in.name << " " << size;
            EXPECT_GE(light * 2, all) << in.name << " " << size;
            EXPECT_LE(darkestSeen, darkest + (lightest - darkest) / 4) << in.name << " " << size;
        }
    }
}

// At the picture's own size and above, every pixel is one of the tiles' own
// colours: nothing is blended.
TEST_F(BuiltSheetIcon, EnlargedIconsUseOnlyTheTilesOwnColours) {
    std::set<std::tuple<int, int, int>> allowed = tileColours();
    for (int32_t size : VID_ICON_SIZES) {
        if (size < VID_ICON_ART_SIZE) continue;
        Icon icon = builtSheet().draw(size);
        for (int32_t y = 0; y < size; y++)
            for (int32_t x = 0; x < size; x++) {
                Rgba p = icon.at(x, y);
                if (p.a == 0) continue;
                ASSERT_EQ(p.a, 255) << size;
                ASSERT_TRUE(allowed.count({p.r, p.g, p.b})) << size << ": " << x << "," << y;
            }
    }
}

// Each enlarged icon is the smallest enlarged one with every pixel a square
// block, and as large as fits: one step more would not.
TEST_F(BuiltSheetIcon, EnlargedIconsAreWholeNumberBlowUpsOfOnePicture) {
    Icon base = builtSheet().draw(VID_ICON_ART_SIZE);
    Box b = opaqueBox(base);
    ASSERT_EQ(b.width(), VID_ICON_ART_SIZE);
    for (int32_t size : VID_ICON_SIZES) {
        if (size < VID_ICON_ART_SIZE) continue;
        Icon icon = builtSheet().draw(size);
        Box box = opaqueBox(icon);
        ASSERT_EQ(box.width() % b.width(), 0) << size;
        int32_t scale = box.width() / b.width();
        EXPECT_GT(box.width() + b.width(), size) << size;
        for (int32_t y = 0; y < box.height(); y++)
            for (int32_t x = 0; x < box.width(); x++)
                ASSERT_EQ(icon.at(box.left + x, box.top + y), base.at(b.left + x / scale, b.top + y / scale))
                    << size << ": " << x << "," << y;
    }
}

}  // namespace
