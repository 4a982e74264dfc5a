// Writes the desktop icons: hicolor/<size>x<size>/apps/<id>.png for every icon
// size, drawn from the built sprite sheet by the game's own icon code.
//
//     tq_icon_tool SHEET OUT_DIR APP_ID
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "video/icon.h"
#include "video/sheet.h"
#include "video/sheetlayout.h"

namespace {

bool writePng(const std::string& path, const uint8_t* rgba, int32_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    // Fixed settings and no time chunk: the same sheet always gives the same bytes.
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(size), static_cast<png_uint_32>(size), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < size; y++) png_write_row(png, rgba + static_cast<size_t>(y) * size * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SHEET OUT_DIR APP_ID\n", argv[0]);
        return 2;
    }
    const char* sheetPath = argv[1];
    std::filesystem::path outDir = argv[2];
    std::string appId = argv[3];

    const VidBitmap* sheet = vidBitmapLoad(sheetPath);
    if (!sheet || sheet->width != SHEET_WIDTH || sheet->height != SHEET_HEIGHT) {
        std::fprintf(stderr, "%s: not the %d x %d sprite sheet\n", sheetPath, SHEET_WIDTH, SHEET_HEIGHT);
        return 1;
    }
    // Without a display no palette object is made, but the entries are read all the same.
    vidLoadPalette(nullptr, sheetPath);
    const VidPaletteEntry* entries = vidLastPaletteEntries();
    PlatColor palette[256];
    for (int i = 0; i < 256; i++) palette[i] = PlatColor{entries[i].red, entries[i].green, entries[i].blue};

    std::vector<uint8_t> rgba(static_cast<size_t>(VID_ICON_MAX_SIZE) * VID_ICON_MAX_SIZE * 4);
    for (int32_t size : VID_ICON_SIZES) {
        vidIconDraw(sheet->pixels, sheet->width, palette, size, rgba.data());
        std::string name = std::to_string(size) + "x" + std::to_string(size);
        std::filesystem::path dir = outDir / "hicolor" / name / "apps";
        std::error_code error;
        std::filesystem::create_directories(dir, error);
        std::filesystem::path file = dir / (appId + ".png");
        if (error || !writePng(file.string(), rgba.data(), size)) {
            std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
            return 1;
        }
    }
    return 0;
}
