// Where the game's files live: the read-only data (sprite sheet, dictionary)
// in one folder, the player's saved files in another. A folder left empty means
// the working folder, which is what tests use; the program's entry point sets
// both before anything is read.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t CM_PATH_SIZE = 4096;

enum CmPathKind { CM_PATH_DATA, CM_PATH_SAVE, CM_PATH_KINDS };

// Sets a folder; null marks it unusable, so every path in it fails to form
// (nothing is then read from or written to the working folder by mistake).
// False, leaving the folder as it was, when the name is too long.
bool cmPathSetFolder(CmPathKind kind, const char* folder);
// The folder as set; null when unusable.
const char* cmPathFolder(CmPathKind kind);
// folder/name into `out`. False, with `out` empty, when the folder is unusable
// or the path does not fit.
bool cmPathJoin(CmPathKind kind, const char* name, char* out, size_t size);
// The folder part of `path` (up to its last '/') into `out`; "." when it has none.
bool cmPathParent(const char* path, char* out, size_t size);
// Both folders back to the working folder.
void cmPathReset();
