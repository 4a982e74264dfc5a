// One frame's input. The window procedure and the mouse read fill it and the
// frame consumes it, so everything the game does follows from the generator's
// seed and the sequence of these records: that is what makes a recorded game
// play back exactly.
#pragma once

#include <cstdint>

constexpr int32_t INPUT_PLAYERS = 2;
// More key messages than this between two frames are dropped; at 60 frames a
// second nobody presses that fast.
constexpr int32_t INPUT_MAX_EVENTS = 32;

enum InputEventKind : uint8_t {
    INPUT_KEY_DOWN = 1,
    INPUT_KEY_UP = 2,
    INPUT_CLOSE = 3,    // the window's close button, or a request to end the program
    INPUT_DESTROY = 4,  // the display is gone for good
};

// In message order. Command keys belong to no player, so keys are not split.
struct InputEvent {
    uint8_t kind;
    uint8_t key;  // virtual-key code of a key event; 0 otherwise
};

// What happened after the events.
constexpr uint8_t INPUT_FRAME_RAN = 1;     // a frame ran
constexpr uint8_t INPUT_FRAME_DRAWN = 2;   // its background copy worked, so the whole frame ran
constexpr uint8_t INPUT_POINTER_READ = 4;  // the frame read the mouse into players[0]

struct PlayerInput {
    int32_t moveX, moveY;  // pointer motion in device units
    uint8_t button;        // non-zero while the button is down
    // What this player's pointer is over (HOVER_*), worked out by the frame
    // from the motion; derived, so never stored in a recording.
    int32_t hoverTarget;
};

struct FrameInput {
    uint32_t time;  // the tick count, read once at the start of the frame
    uint8_t flags;
    int32_t eventCount;
    InputEvent events[INPUT_MAX_EVENTS];
    PlayerInput players[INPUT_PLAYERS];
};
