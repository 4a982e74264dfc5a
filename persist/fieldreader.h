// Reading the small ';'-ended text files (hi.txt, prefs.txt): the whole file
// goes into the shared fileText buffer and is taken apart one field at a time.
#pragma once

#include <cstdint>

#include "Core/filetext.h"

// A field buffer; a field holds at most 100 characters and its end.
constexpr int32_t FILE_FIELD_SIZE = 256;
// Characters copied before a field without ';' is cut.
constexpr int32_t FILE_FIELD_CUT = 100;

// Copies the next field into `field` (FILE_FIELD_SIZE bytes) without its ';'.
// Past the end of the text every field is empty.
void fileReadField(char* field);

// Decimal value of a field: leading blanks, an optional sign, digits up to the
// first other character; empty or non-numeric gives 0. Numbers beyond the
// 32-bit range give the nearest end of it.
int32_t fileFieldToInt(const char* field);
