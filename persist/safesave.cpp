#include "persist/safesave.h"

#include "platform/platform.h"

bool safeSaveFile(const char* name, const char* bytes, int32_t length) { return platFileSave(name, bytes, length); }
