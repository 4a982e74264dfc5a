// The word store: doubly linked lists whose heads and nodes are 12-byte cells
// cut from one static block. Lists only grow; nothing is ever freed.
// Links and values are 32-bit so that a cell stays 12 bytes on 64-bit machines:
// a link is the cell's byte offset in the block, WS_NULL for none.
#pragma once

#include <cstdint>

constexpr int32_t WS_OK = 0;
constexpr int32_t WS_ERR_RANGE = 7;  // empty list, or an index past the end
constexpr int32_t WS_ERR_FULL = 8;   // the block has no cell left; nothing was written

constexpr uint32_t WS_ARENA_SIZE = 3500000;
constexpr uint32_t WS_CELL_SIZE = 12;
constexpr uint32_t WS_ARENA_CELLS = WS_ARENA_SIZE / WS_CELL_SIZE;  // 291,666
constexpr uint32_t WS_NULL = 0xFFFFFFFFu;

struct wsNode {
    uint32_t value;  // the payload: the dictionary stores the word's offset in its pool
    uint32_t next;
    uint32_t previous;
};

struct wsList {
    uint32_t first;
    uint32_t last;
    uint32_t cursor;  // set to first by creation and wsListRewind; nothing else reads it
};

static_assert(sizeof(wsNode) == WS_CELL_SIZE && sizeof(wsList) == WS_CELL_SIZE);

union wsCell {
    wsNode node;
    wsList list;
};

// The block every head and node is cut from, one cell per request.
extern wsCell wsArena[WS_ARENA_CELLS];

// Takes one cell for a new empty list and stores its address in *slot.
int32_t wsListCreate(wsList** slot);
// Takes one cell for a node holding value at the tail.
int32_t wsListAppend(wsList* list, uint32_t value);
int32_t wsListRewind(wsList* list);

// The readers are inline: a dictionary lookup calls them for every word it
// compares.

// Writes the value of the node at index (0 = first) to *result; untouched on error.
inline int32_t wsListGet(const wsList* list, uint32_t index, uint32_t* result) {
    uint32_t at = list->first;
    if (at == WS_NULL) return WS_ERR_RANGE;
    for (uint32_t i = 0; i < index; i++) {
        at = wsArena[at / WS_CELL_SIZE].node.next;
        if (at == WS_NULL) return WS_ERR_RANGE;
    }
    *result = wsArena[at / WS_CELL_SIZE].node.value;
    return WS_OK;
}

inline int32_t wsListCount(const wsList* list, uint32_t* count) {
    *count = 0;
    for (uint32_t at = list->first; at != WS_NULL; at = wsArena[at / WS_CELL_SIZE].node.next) (*count)++;
    return WS_OK;
}

// Bytes handed out so far.
extern uint32_t wsArenaUsed;
// Cells still free in the block.
uint32_t wsCellsFree();
// Empties the block. Every list made before becomes invalid: only a reload of
// the whole dictionary (and tests) may call it.
void wsArenaReset();
