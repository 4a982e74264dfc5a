#include "dict/wordstore.h"

wsCell wsArena[WS_ARENA_CELLS];

namespace {

// WS_NULL when the block is used up; nothing past its end is ever written.
uint32_t wsTakeCell() {
    if (wsArenaUsed + WS_CELL_SIZE > WS_ARENA_CELLS * WS_CELL_SIZE) return WS_NULL;
    const uint32_t offset = wsArenaUsed;
    wsArenaUsed += WS_CELL_SIZE;
    return offset;
}

wsNode& wsNodeAt(uint32_t offset) { return wsArena[offset / WS_CELL_SIZE].node; }

}  // namespace

uint32_t wsArenaUsed = 0;

int32_t wsListCreate(wsList** slot) {
    const uint32_t cell = wsTakeCell();
    if (cell == WS_NULL) return WS_ERR_FULL;
    wsList* list = &wsArena[cell / WS_CELL_SIZE].list;
    list->first = WS_NULL;
    list->last = WS_NULL;
    list->cursor = list->first;
    *slot = list;
    return WS_OK;
}

int32_t wsListAppend(wsList* list, uint32_t value) {
    const uint32_t cell = wsTakeCell();
    if (cell == WS_NULL) return WS_ERR_FULL;
    wsNode& node = wsNodeAt(cell);
    node.value = value;
    node.next = WS_NULL;
    node.previous = list->last;
    if (list->last != WS_NULL) wsNodeAt(list->last).next = cell;
    else list->first = cell;
    list->last = cell;
    return WS_OK;
}

int32_t wsListRewind(wsList* list) {
    list->cursor = list->first;
    return WS_OK;
}

uint32_t wsCellsFree() { return WS_ARENA_CELLS - wsArenaUsed / WS_CELL_SIZE; }

void wsArenaReset() { wsArenaUsed = 0; }
