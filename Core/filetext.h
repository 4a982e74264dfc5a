// The one buffer each loader reads a whole file into: the dictionary and the
// saved files alike.
#pragma once

#include <cstdint>

// A file must be at most FILE_TEXT_SIZE - 1 bytes so a zero byte fits after it.
constexpr uint32_t FILE_TEXT_SIZE = 2000000;

extern char fileText[FILE_TEXT_SIZE];

// Read position in fileText, and how many bytes of it came from the file.
extern int32_t fileReadPos;
extern int32_t fileTextLength;

// Reads the named file whole into fileText and starts reading at its first
// byte. False, with the read position and length untouched, when it cannot be
// opened or read, or when it is too big for the buffer.
bool fileReadWhole(const char* name);

// The bytes of the file last read whole: fileTextLength of them, then a zero.
const char* fileTextBytes();
