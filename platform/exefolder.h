// The folder of the running program, as Linux tells it; both backends use it.
#pragma once

#include <cstdint>

// Without a trailing '/' (the root keeps its own); false when it cannot be told.
bool exeFolderRead(char* out, int32_t size);
