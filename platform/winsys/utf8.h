// UTF-8 inside the game, UTF-16 at the Windows boundary.
#pragma once

#include <string>

// Invalid UTF-8 gives an empty string (no system name is empty).
std::wstring utf8ToWide(const char* text);
std::string wideToUtf8(const wchar_t* text);
// A name for the wide file functions: '/' turned into '\'.
std::wstring utf8ToWidePath(const char* path);
// The error of the last failed system call as errno has it.
int winErrno(unsigned long error);
