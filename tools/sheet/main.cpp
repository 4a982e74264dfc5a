// Draws the sprite sheet and writes it as the 8-bit bitmap file the game loads.
// Usage: tq_sheet <output file> <font folder>
#include <cstdio>

#include "tools/sheet/canvas.h"
#include "tools/sheet/sheetart.h"
#include "tools/sheet/sheetfile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output file> <font folder>\n", argv[0]);
        return 2;
    }
    if (!fontsInit(argv[2])) {
        std::fprintf(stderr, "sheet: FreeType did not start\n");
        return 1;
    }
    Canvas canvas;
    bool drawn = artDrawSheet(canvas);
    fontsDone();
    if (!drawn) return 1;
    IndexedImage image = quantize(canvas, artKeyColours());
    if (!writeBitmap(image, argv[1])) {
        std::fprintf(stderr, "sheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
