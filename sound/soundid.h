// The game's sounds: one for every event a player makes or meets. Each is a
// WAV file of the data folder's sounds/ folder, made by our own tool.
#pragma once

#include <cstdint>

enum SoundId : uint8_t {
    SOUND_LETTER,       // a letter added to the path; higher for a longer path
    SOUND_UNDO,         // a letter taken back
    SOUND_WORD,         // a word accepted; higher for a longer word
    SOUND_REFUSED,      // three or more letters that are not a word
    SOUND_LAND,         // letters landing after a fall
    SOUND_BUTTON,       // a button pressed
    SOUND_TIP,          // a tip opening
    SOUND_DRAG_START,   // Drag Mode starting
    SOUND_DRAG_STOP,    // Drag Mode stopping
    SOUND_SWAP,         // two letters swapped in Drag Mode
    SOUND_TURN,         // the world turning a step
    SOUND_LOW_LIFE,     // the LIFE gauge running low
    SOUND_LEVEL_BONUS,  // a level completed with its bonus
    SOUND_LEVEL_INTRO,  // a new level's intro
    SOUND_GAME_OVER,
    SOUND_HIGH_SCORE,
    SOUND_COUNT
};

// The file's name in the sounds/ folder, e.g. "letter.wav".
const char* sndFileName(SoundId id);
