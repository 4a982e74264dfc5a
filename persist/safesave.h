// Replacing a saved file so that a crash or power cut during the save leaves
// either the old file or the new one whole, never a torn one.
#pragma once

#include <cstdint>

// Writes `length` bytes as the whole new content of the file `name`: a
// temporary file beside it, flushed to disk, then renamed over the old one.
// False, with the old file untouched and errno telling why, when any step fails.
bool safeSaveFile(const char* name, const char* bytes, int32_t length);
