// Helpers shared by the fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>

// Moves into a private scratch folder once per process, so targets can write
// the files the game reads by their fixed names.
void fuzzEnterScratchFolder();
// Writes the bytes to the named file in the current folder.
void fuzzWriteFile(const char* name, const uint8_t* data, size_t size);
