// Makes the game's sounds and writes each as a WAVE file into a folder.
// Usage: tq_sound_tool <output folder>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/sounds/recipes.h"
#include "tools/sounds/wavfile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const Sound& sound : makeSounds()) {
        const std::filesystem::path path = folder / sound.file;
        if (!writeWav(path.string(), sound.samples)) {
            std::fprintf(stderr, "sounds: cannot write %s\n", path.string().c_str());
            return 1;
        }
    }
    return 0;
}
