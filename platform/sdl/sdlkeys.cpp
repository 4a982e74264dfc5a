#include "platform/sdl/sdlkeys.h"

#include "platform/platform.h"

namespace {

// The keypad's codes with Num Lock off, 1 to 9 then 0.
constexpr uint32_t keypadNavigation[10] = {VK_END, VK_DOWN, VK_NEXT, VK_LEFT, VK_CLEAR,
                                           VK_RIGHT, VK_HOME, VK_UP, VK_PRIOR, VK_INSERT};

}  // namespace

uint32_t sdlVirtualKey(SDL_Scancode scancode, bool numLock) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return 'A' + static_cast<uint32_t>(scancode - SDL_SCANCODE_A);
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return '1' + static_cast<uint32_t>(scancode - SDL_SCANCODE_1);
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return VK_F1 + static_cast<uint32_t>(scancode - SDL_SCANCODE_F1);
    }
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) {
        return VK_F13 + static_cast<uint32_t>(scancode - SDL_SCANCODE_F13);
    }
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0) {
        int index = scancode - SDL_SCANCODE_KP_1;  // keypad 1 .. 9, then 0
        if (!numLock) return keypadNavigation[index];
        return VK_NUMPAD0 + static_cast<uint32_t>(index == 9 ? 0 : index + 1);
    }
    switch (scancode) {
        case SDL_SCANCODE_0: return '0';
        case SDL_SCANCODE_RETURN: return VK_RETURN;
        case SDL_SCANCODE_RETURN2: return VK_RETURN;
        case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
        case SDL_SCANCODE_BACKSPACE: return VK_BACK;
        case SDL_SCANCODE_TAB: return VK_TAB;
        case SDL_SCANCODE_SPACE: return VK_SPACE;
        case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
        case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
        case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
        case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
        case SDL_SCANCODE_BACKSLASH: return VK_OEM_7;  // the # key of an ISO keyboard
        case SDL_SCANCODE_NONUSHASH: return VK_OEM_7;
        case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
        case SDL_SCANCODE_APOSTROPHE: return VK_OEM_3;
        case SDL_SCANCODE_GRAVE: return VK_OEM_8;
        case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
        case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
        case SDL_SCANCODE_SLASH: return VK_OEM_2;
        case SDL_SCANCODE_NONUSBACKSLASH: return VK_OEM_5;
        case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
        case SDL_SCANCODE_PRINTSCREEN: return VK_SNAPSHOT;
        case SDL_SCANCODE_SCROLLLOCK: return VK_SCROLL;
        case SDL_SCANCODE_PAUSE: return VK_PAUSE;
        case SDL_SCANCODE_INSERT: return VK_INSERT;
        case SDL_SCANCODE_HOME: return VK_HOME;
        case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
        case SDL_SCANCODE_DELETE: return VK_DELETE;
        case SDL_SCANCODE_END: return VK_END;
        case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
        case SDL_SCANCODE_RIGHT: return VK_RIGHT;
        case SDL_SCANCODE_LEFT: return VK_LEFT;
        case SDL_SCANCODE_DOWN: return VK_DOWN;
        case SDL_SCANCODE_UP: return VK_UP;
        case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
        case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
        case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
        case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
        case SDL_SCANCODE_KP_PLUS: return VK_ADD;
        case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
        case SDL_SCANCODE_KP_PERIOD: return numLock ? VK_DECIMAL : VK_DELETE;
        case SDL_SCANCODE_KP_COMMA: return VK_SEPARATOR;
        case SDL_SCANCODE_APPLICATION: return VK_APPS;
        case SDL_SCANCODE_MENU: return VK_APPS;
        case SDL_SCANCODE_SELECT: return VK_SELECT;
        case SDL_SCANCODE_EXECUTE: return VK_EXECUTE;
        case SDL_SCANCODE_HELP: return VK_HELP;
        case SDL_SCANCODE_SLEEP: return VK_SLEEP;
        case SDL_SCANCODE_MUTE: return VK_VOLUME_MUTE;
        case SDL_SCANCODE_VOLUMEDOWN: return VK_VOLUME_DOWN;
        case SDL_SCANCODE_VOLUMEUP: return VK_VOLUME_UP;
        case SDL_SCANCODE_AUDIONEXT: return VK_MEDIA_NEXT_TRACK;
        case SDL_SCANCODE_AUDIOPREV: return VK_MEDIA_PREV_TRACK;
        case SDL_SCANCODE_AUDIOSTOP: return VK_MEDIA_STOP;
        case SDL_SCANCODE_AUDIOPLAY: return VK_MEDIA_PLAY_PAUSE;
        // Windows reports both keys of a pair under one code.
        case SDL_SCANCODE_LSHIFT: return VK_SHIFT;
        case SDL_SCANCODE_RSHIFT: return VK_SHIFT;
        case SDL_SCANCODE_LCTRL: return VK_CONTROL;
        case SDL_SCANCODE_RCTRL: return VK_CONTROL;
        case SDL_SCANCODE_LALT: return VK_MENU;
        case SDL_SCANCODE_RALT: return VK_MENU;
        case SDL_SCANCODE_LGUI: return VK_LWIN;
        case SDL_SCANCODE_RGUI: return VK_RWIN;
        default: return 0;
    }
}
