// The frame's input arithmetic: cursor-key repeat, pointer motion and the hover
// regions. Kept apart from the frame itself so it needs only the game state.
#include <cstdint>

#include "flow/frame.h"
#include "flow/layout.h"
#include "game/gamestate.h"
#include "game/grid.h"

namespace {

constexpr int64_t KEY_REPEAT_MS = 200;

constexpr float POINTER_MIN = 10.0f;
constexpr float POINTER_MAX_X = 600.0f;
constexpr float POINTER_MAX_Y = 440.0f;

// The pointer must be this far inside a cell on both axes, and the larger
// margin on at least one, so a pointer resting on a border keeps the old cell.
constexpr float HOVER_MARGIN_NEAR = 4.0f;
constexpr float HOVER_MARGIN_FAR = 7.0f;

bool inBox(const LayoutHover& b, float x, float y) {
    return x >= static_cast<float>(b.left) && x <= static_cast<float>(b.right) && y >= static_cast<float>(b.top) &&
           y <= static_cast<float>(b.bottom);
}

// Truncation toward zero puts a point just outside either edge in the edge cell.
int32_t gridCellAt(float offset, float span) {
    int32_t cell = static_cast<int32_t>(offset / (span / static_cast<float>(GRID_SIZE)));
    if (cell == -1) cell = 0;
    if (cell == GRID_SIZE) cell = GRID_SIZE - 1;
    return cell;
}

bool columnStable(float x, int32_t c, float margin) {
    return gridColumnAt(x - margin) == c && gridColumnAt(x + margin) == c;
}

bool rowStable(float y, int32_t r, float margin) { return gridRowAt(y - margin) == r && gridRowAt(y + margin) == r; }

}  // namespace

int32_t gridColumnAt(float x) {
    const ScreenLayout& layout = layoutNow();
    return gridCellAt(x - layout.gridHitLeft, layout.gridHitWidth);
}

int32_t gridRowAt(float y) {
    const ScreenLayout& layout = layoutNow();
    return gridCellAt(y - layout.gridHitTop, layout.gridHitHeight);
}

bool enterGameButtonShown() { return gameState == STATE_GAME_OVER || gameState == STATE_TURN_WORLD; }

bool frameCursorKeys(int32_t p) {
    // Elapsed time, not a sum: the tick count wraps after 49.7 days.
    const uint32_t elapsed = frameInput.time - lastMoveTime[p];
    const bool due = static_cast<int64_t>(elapsed) > KEY_REPEAT_MS;
    // On a view turned upside down LEFT moves right in the grid, so that the
    // cursor goes left on the picture the player sees.
    const int32_t back = viewTurned[p] ? 1 : GRID_SIZE - 1;  // what LEFT and UP add
    const int32_t ahead = GRID_SIZE - back;                  // what RIGHT and DOWN add
    // Only the first held direction counts; if it is not due, nothing moves.
    if (heldLeft[p]) {
        if (due) cursorX[p] = (cursorX[p] + back) % GRID_SIZE;
    } else if (heldRight[p]) {
        if (due) cursorX[p] = (cursorX[p] + ahead) % GRID_SIZE;
    } else if (heldUp[p]) {
        if (due) cursorY[p] = (cursorY[p] + back) % GRID_SIZE;
    } else if (heldDown[p]) {
        if (due) cursorY[p] = (cursorY[p] + ahead) % GRID_SIZE;
    } else {
        return false;
    }
    return due;
}

void framePointerMove(const PlayerInput& mouse) {
    pointerX += 0.5f * static_cast<float>(mouse.moveX);
    pointerY += 0.5f * static_cast<float>(mouse.moveY);
    // The pointer picture is 21 x 19: these bounds keep every copy of it on screen.
    if (pointerX < POINTER_MIN) pointerX = POINTER_MIN;
    if (pointerY < POINTER_MIN) pointerY = POINTER_MIN;
    if (pointerX > POINTER_MAX_X) pointerX = POINTER_MAX_X;
    if (pointerY > POINTER_MAX_Y) pointerY = POINTER_MAX_Y;
}

bool frameHoverTest() {
    const float x = pointerX;
    const float y = pointerY;
    const ScreenLayout& layout = layoutNow();
    int32_t& hoverTarget = frameInput.players[0].hoverTarget;
    hoverTarget = HOVER_NONE;
    if (inBox(layout.upperHover, x, y)) hoverTarget = HOVER_UPPER_BUTTON;
    if (inBox(layout.lowerHover, x, y)) hoverTarget = HOVER_LOWER_BUTTON;
    if (gameState == STATE_TIP) {
        if (inBox(layout.continueHover, x, y)) hoverTarget = HOVER_CONTINUE;
        if (inBox(layout.doNotShowHover, x, y)) hoverTarget = HOVER_DO_NOT_SHOW;
        // The tip's buttons are drawn over the grid: the grid under them is out of reach.
        if (hoverTarget == HOVER_CONTINUE || hoverTarget == HOVER_DO_NOT_SHOW) {
            mouseCellX = mouseCellY = -1;
            return false;
        }
    }
    if (!inBox(layout.gridHover, x, y)) {
        mouseCellX = mouseCellY = -1;
        return false;
    }
    int32_t c = gridColumnAt(x);
    int32_t r = gridRowAt(y);
    const bool inner = columnStable(x, c, HOVER_MARGIN_NEAR) && rowStable(y, r, HOVER_MARGIN_NEAR);
    const bool deep = columnStable(x, c, HOVER_MARGIN_FAR) || rowStable(y, r, HOVER_MARGIN_FAR);
    if (!inner || !deep) return false;
    hoverTarget = HOVER_GRID;
    // The cell drawn under the pointer: a turned view draws cell (c, r) where (6 - c, 6 - r) would stand.
    if (viewTurned[0]) {
        c = GRID_SIZE - 1 - c;
        r = GRID_SIZE - 1 - r;
    }
    // Player 0's keys may have moved the cursor off a resting pointer's cell;
    // a press or another cell brings it back under the pointer.
    const bool follow = c != mouseCellX || r != mouseCellY || frameInput.players[0].button != 0;
    mouseCellX = c;
    mouseCellY = r;
    if (!follow) return false;
    if (c == cursorX[0] && r == cursorY[0]) return false;
    cursorX[0] = c;
    cursorY[0] = r;
    return true;
}
