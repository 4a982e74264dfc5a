#include "platform/sdl/sdlkeys.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    SDL_Scancode scancode;
    uint32_t vk;
    const char* what;
};

TEST(SdlKeys, LettersDigitsAndFunctionKeysRunInOrder) {
    for (int i = 0; i < 26; i++) {
        EXPECT_EQ(sdlVirtualKey(static_cast<SDL_Scancode>(SDL_SCANCODE_A + i), true), static_cast<uint32_t>('A' + i));
    }
    for (int i = 0; i < 9; i++) {
        EXPECT_EQ(sdlVirtualKey(static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i), true), static_cast<uint32_t>('1' + i));
    }
    EXPECT_EQ(sdlVirtualKey(SDL_SCANCODE_0, true), static_cast<uint32_t>('0'));
    for (int i = 0; i < 12; i++) {
        EXPECT_EQ(sdlVirtualKey(static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i), true), 112u + i) << "F" << i + 1;
        EXPECT_EQ(sdlVirtualKey(static_cast<SDL_Scancode>(SDL_SCANCODE_F13 + i), true), 124u + i) << "F" << i + 13;
    }
}

TEST(SdlKeys, CommandAndControlKeysHaveTheirWindowsCodes) {
    const KeyCase cases[] = {
        {SDL_SCANCODE_RETURN, 13, "Enter"},         {SDL_SCANCODE_KP_ENTER, 13, "keypad Enter"},
        {SDL_SCANCODE_ESCAPE, 27, "Escape"},        {SDL_SCANCODE_SPACE, 32, "Space"},
        {SDL_SCANCODE_TAB, 9, "Tab"},               {SDL_SCANCODE_BACKSPACE, 8, "Backspace"},
        {SDL_SCANCODE_LEFT, 37, "Left"},            {SDL_SCANCODE_UP, 38, "Up"},
        {SDL_SCANCODE_RIGHT, 39, "Right"},          {SDL_SCANCODE_DOWN, 40, "Down"},
        {SDL_SCANCODE_LSHIFT, 16, "left Shift"},    {SDL_SCANCODE_RSHIFT, 16, "right Shift"},
        {SDL_SCANCODE_LCTRL, 17, "left Control"},   {SDL_SCANCODE_RCTRL, 17, "right Control"},
        {SDL_SCANCODE_LALT, 18, "Alt"},             {SDL_SCANCODE_PAUSE, 19, "Pause"},
        {SDL_SCANCODE_CAPSLOCK, 20, "Caps Lock"},   {SDL_SCANCODE_PAGEUP, 33, "Page Up"},
        {SDL_SCANCODE_PAGEDOWN, 34, "Page Down"},   {SDL_SCANCODE_END, 35, "End"},
        {SDL_SCANCODE_HOME, 36, "Home"},            {SDL_SCANCODE_INSERT, 45, "Insert"},
        {SDL_SCANCODE_DELETE, 46, "Delete"},        {SDL_SCANCODE_LGUI, 91, "left Windows"},
        {SDL_SCANCODE_RGUI, 92, "right Windows"},   {SDL_SCANCODE_APPLICATION, 93, "Menu"},
        {SDL_SCANCODE_NUMLOCKCLEAR, 144, "Num Lock"}, {SDL_SCANCODE_SCROLLLOCK, 145, "Scroll Lock"},
        {SDL_SCANCODE_KP_MULTIPLY, 106, "MULTIPLY"}, {SDL_SCANCODE_KP_PLUS, 107, "ADD"},
        {SDL_SCANCODE_KP_MINUS, 109, "SUBTRACT"},   {SDL_SCANCODE_KP_DIVIDE, 111, "DIVIDE"},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(sdlVirtualKey(c.scancode, true), c.vk) << c.what;
        EXPECT_EQ(sdlVirtualKey(c.scancode, false), c.vk) << c.what << " does not depend on Num Lock";
    }
}

TEST(SdlKeys, PunctuationHasTheUnitedKingdomLayoutsCodes) {
    const KeyCase cases[] = {
        {SDL_SCANCODE_SEMICOLON, 186, "; (SEMICOLON)"},
        {SDL_SCANCODE_EQUALS, 187, "="},
        {SDL_SCANCODE_COMMA, 188, ","},
        {SDL_SCANCODE_MINUS, 189, "-"},
        {SDL_SCANCODE_PERIOD, 190, "."},
        {SDL_SCANCODE_SLASH, 191, "/"},
        {SDL_SCANCODE_APOSTROPHE, 192, "' (the @ key)"},
        {SDL_SCANCODE_LEFTBRACKET, 219, "["},
        {SDL_SCANCODE_NONUSBACKSLASH, 220, "\\ beside the left Shift"},
        {SDL_SCANCODE_RIGHTBRACKET, 221, "]"},
        {SDL_SCANCODE_NONUSHASH, 222, "# (HASH)"},
        {SDL_SCANCODE_BACKSLASH, 222, "# reported as the backslash position"},
        {SDL_SCANCODE_GRAVE, 223, "` (TWIDDLE)"},
    };
    for (const KeyCase& c : cases) EXPECT_EQ(sdlVirtualKey(c.scancode, true), c.vk) << c.what;
}

TEST(SdlKeys, KeypadFollowsNumLockAsWindowsDoes) {
    const SDL_Scancode keypad[10] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2, SDL_SCANCODE_KP_3,
                                     SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5, SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7,
                                     SDL_SCANCODE_KP_8, SDL_SCANCODE_KP_9};
    // Num Lock off: Insert, End, Down, Page Down, Left, Clear, Right, Home, Up, Page Up.
    const uint32_t navigation[10] = {45, 35, 40, 34, 37, 12, 39, 36, 38, 33};
    for (int d = 0; d < 10; d++) {
        EXPECT_EQ(sdlVirtualKey(keypad[d], true), 96u + d) << "NUMPAD" << d;
        EXPECT_EQ(sdlVirtualKey(keypad[d], false), navigation[d]) << "keypad " << d << " without Num Lock";
    }
    EXPECT_EQ(sdlVirtualKey(SDL_SCANCODE_KP_PERIOD, true), 110u);   // DECIMAL
    EXPECT_EQ(sdlVirtualKey(SDL_SCANCODE_KP_PERIOD, false), 46u);   // DELETE
}

TEST(SdlKeys, KeysWindowsHasNoCodeForGiveZero) {
    EXPECT_EQ(sdlVirtualKey(SDL_SCANCODE_UNKNOWN, true), 0u);
    EXPECT_EQ(sdlVirtualKey(SDL_SCANCODE_KP_EQUALSAS400, true), 0u);
    EXPECT_EQ(sdlVirtualKey(SDL_SCANCODE_LANG9, true), 0u);
}

}  // namespace
