// Replacing a saved file so that a crash or power cut during the save leaves
// either the old file or the new one whole, never a torn one.
#pragma once

#include <cstdint>

// Writes `length` bytes as the whole new content of the file `name`: a
// temporary file beside it, flushed to disk, then moved over the old one, the
// way the system makes that safe (the port layer's platFileSave). False, with
// the old file untouched and errno telling why, when any step fails.
bool safeSaveFile(const char* name, const char* bytes, int32_t length);
