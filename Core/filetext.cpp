#include "Core/filetext.h"

#include <cstring>

#include "Core/cmstream/cmstream.h"

char fileText[FILE_TEXT_SIZE];
int32_t fileReadPos;
int32_t fileTextLength;

const char* fileTextBytes() {
    return fileText;
}

bool fileReadWhole(const char* name) {
    char nameText[256];
    size_t length = strlen(name);
    if (length >= sizeof nameText) {
        return false;
    }
    memcpy(nameText, name, length + 1);
    cmStreamOpenDesc desc = {nameText, "rb", nullptr};
    cmStream* stream = nullptr;
    if (cmStreamOpenFile(&stream, &desc) != CM_OK) {
        return false;
    }
    uint32_t size = 0;
    cmStreamGetSize(stream, &size);
    // A file the buffer cannot hold is refused like an unreadable one.
    int32_t result = size < FILE_TEXT_SIZE ? cmStreamRead(stream, fileText, size) : CM_ERR_READ;
    // Closed on every path, a failed read included, so no file stays open.
    cmStreamDestroy(&stream);
    if (result != CM_OK) {
        return false;
    }
    fileText[size] = '\0';
    fileTextLength = static_cast<int32_t>(size);
    fileReadPos = 0;
    return true;
}
