// What the backends share of the file services: the file size as the system
// tells it, under a backend's own platFileSize.
#pragma once

#include <cstdint>

// -1 when the file cannot be found.
int64_t filesSystemSize(const char* name);
