// The screen's command keys reach prefs.txt, so they live apart from the
// bindings and names, which link without the file code.
#include "flow/keydefs.h"
#include "persist/prefs.h"

namespace {

constexpr uint32_t VK_RETURN = 13;
constexpr uint32_t VK_ESCAPE = 27;
constexpr uint32_t VK_UP = 38;
constexpr uint32_t VK_DOWN = 40;
constexpr uint32_t VK_L = 76;
constexpr uint32_t VK_S = 83;
constexpr uint32_t VK_F12 = 123;

}  // namespace

bool keyDefSave() {
    // prefsSave clears keysChanged itself, and only when the file was written.
    const bool saved = prefsSave();
    keyDefSaveFailed = saved ? 0 : 1;
    return saved;
}

bool keyDefLoad() {
    return prefsLoad();
}

bool keyDefCommandKey(uint32_t k) {
    if (!keyDefActive) {
        return false;
    }
    keyDefSaveFailed = 0;  // shown until the next key press
    switch (k) {
    case VK_RETURN:
        keyDefCaptureBegin();
        return true;
    case VK_ESCAPE:
    case VK_F12:
        keyDefClose();
        return true;
    case VK_UP:
        keyDefMoveSelection(-1);
        return true;
    case VK_DOWN:
        keyDefMoveSelection(1);
        return true;
    case VK_L:
        keyDefLoad();
        return true;
    case VK_S:
        keyDefSave();
        return true;
    default:
        return false;
    }
}
