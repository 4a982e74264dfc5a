#include "flow/keydefs.h"
#include "video/text.h"

void keyDefScreenDraw() {
    KeyDefTextLine lines[KEYDEF_TEXT_LINES];
    int32_t count = keyDefTextLines(lines);
    for (int32_t i = 0; i < count; i++) {
        txtDrawSmallString(lines[i].text, 320, lines[i].y, TXT_ALIGN_CENTRE);
    }
    char label[KEY_NAME_SIZE];
    char name[KEY_NAME_SIZE];
    for (int32_t row = 0; row < KEYDEF_ROWS; row++) {
        keyDefRowLabel(label, row);
        keyNameFormat(name, *keyDefBinding(row), row);
        int32_t y = keyDefRowY(row);
        // Each coordinate shakes on its own, in this order.
        int32_t labelY = y + keyDefRowJitter(row);
        int32_t labelX = 315 + keyDefRowJitter(row);
        int32_t nameY = y + keyDefRowJitter(row);
        int32_t nameX = 325 + keyDefRowJitter(row);
        txtDrawSmallString(label, labelX, labelY, TXT_ALIGN_RIGHT);
        txtDrawSmallString(name, nameX, nameY, TXT_ALIGN_LEFT);
    }
}
