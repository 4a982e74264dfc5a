#include "dict/dictionary.h"

int32_t dictHash(const char* text) {
    // The product is taken in 64 bits so that a very long text cannot overflow;
    // for any word the game sees it equals the 32-bit result.
    int64_t h = 1;
    for (int64_t i = 0; text[i] != '\0'; i++) {
        const int64_t c = static_cast<signed char>(text[i]);
        h = ((c + i) * h) % DICT_BUCKETS;
    }
    // Bytes of 128 and above are negative as signed chars and can leave h
    // negative; fold it back into the table.
    if (h < 0) h += DICT_BUCKETS;
    return static_cast<int32_t>(h);
}
