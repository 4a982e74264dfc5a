// The message loop. Kept apart from WinMain so it runs with any frame function.
#include "flow/startup.h"
#include "platform/platform.h"

int32_t appActive = 0;

int32_t startMessageLoop(void (*frame)()) {
    PlatMsg msg;
    for (;;) {
        // Look first without taking: a frame runs only when nothing waits.
        if (platPeekMessage(&msg)) {
            if (platGetMessage(&msg) == 0) return static_cast<int32_t>(msg.wParam);
            platTranslateMessage(&msg);
            platDispatchMessage(&msg);
        } else if (appActive != 0) {
            frame();
        } else {
            platWaitMessage();
        }
    }
}
