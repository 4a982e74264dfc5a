// The folder of the running program, as the system tells it; the backends and
// the programs' entry points use it.
#pragma once

#include <cstdint>

// Without a trailing '/' (the root keeps its own); false when it cannot be told.
bool exeFolderRead(char* out, int32_t size);
