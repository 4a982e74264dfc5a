// The program's entry point on Linux: the game's own entry point does the
// rest. The window starts shown normally (SW_SHOWNORMAL).
#include "flow/startup.h"
#include "video/display.h"

int main() {
    int32_t code = WinMain(nullptr, nullptr, "", 1);
    // The mouse device exists exactly when start-up got through; a game that
    // could not start must not report success.
    if (!gMouseDevice) return 1;
    return code;
}
