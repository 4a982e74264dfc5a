#include "persist/inireader.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace {

// inih's longest line and name.
constexpr int INI_LINE_SIZE = 512;
constexpr int INI_SECTION_SIZE = 50;

bool iniSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

char* iniSkipSpace(char* s) {
    while (*s && iniSpace(*s)) s++;
    return s;
}

void iniTrimEnd(char* s) {
    size_t n = std::strlen(s);
    while (n > 0 && iniSpace(s[n - 1])) s[--n] = '\0';
}

// The first of `chars` in s; a ';' counts only after a space, as a comment
// after a value. The end of s when there is none.
char* iniFindOf(char* s, const char* chars, bool inlineComment) {
    bool afterSpace = false;
    while (*s && !std::strchr(chars, *s) && !(inlineComment && afterSpace && *s == ';')) {
        afterSpace = iniSpace(*s);
        s++;
    }
    return s;
}

}  // namespace

int iniReaderParse(const char* filename, IniHandler handler, void* user) {
    FILE* file = platFileOpen(filename, "rb");
    if (!file) return -1;
    char line[INI_LINE_SIZE];
    char section[INI_SECTION_SIZE] = "";
    int number = 0;
    int error = 0;
    while (std::fgets(line, sizeof line, file)) {
        number++;
        char* start = line;
        if (number == 1 && std::strncmp(start, "\xEF\xBB\xBF", 3) == 0) start += 3;
        iniTrimEnd(start);
        start = iniSkipSpace(start);
        bool ok = true;
        if (*start == ';' || *start == '#' || *start == '\0') {
            // A comment or an empty line.
        } else if (*start == '[') {
            char* end = iniFindOf(start + 1, "]", false);
            if (*end == ']') {
                *end = '\0';
                std::snprintf(section, sizeof section, "%s", start + 1);
            } else {
                ok = false;
            }
        } else {
            char* end = iniFindOf(start, "=:", true);
            if (*end == '=' || *end == ':') {
                *end = '\0';
                iniTrimEnd(start);
                char* value = iniSkipSpace(end + 1);
                *iniFindOf(value, "", true) = '\0';
                iniTrimEnd(value);
                ok = handler(user, section, start, value) != 0;
            } else {
                ok = false;
            }
        }
        if (!ok && error == 0) error = number;
    }
    std::fclose(file);
    return error;
}
