// A reader of INI files with inih's interface and behaviour, for systems that
// have no inih (Windows): [sections], "name = value" and "name: value" lines,
// ';' and '#' comment lines, ';' comments after a value, a UTF-8 byte-order
// mark, CR LF line ends. settings.ini is read with it where inih is missing.
#pragma once

using IniHandler = int (*)(void* user, const char* section, const char* name, const char* value);

// Calls `handler` for each name and value, names and values trimmed, with the
// section they stand in ("" before the first). Returns 0 when every line made
// sense, the number of the first line that did not (a line that is neither a
// section, a name with a value nor a comment, or one the handler refused with
// 0; reading still goes on to the end), or -1 when the file cannot be opened.
int iniReaderParse(const char* filename, IniHandler handler, void* user);
