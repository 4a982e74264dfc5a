#include "dict/dicthash.h"

#include <cstring>

#include "dict/dictionary.h"

static_assert(DICT_HASH_MODULUS == DICT_BUCKETS);

int32_t dictHash(const char* text) { return dictHashBytes<false>(text, static_cast<uint32_t>(std::strlen(text))); }
