// The headless replay program: the game over the headless backend, which
// shows nothing and never waits, so a recording plays as fast as it computes.
#include <cstdio>

#include "flow/launch.h"
#include "platform/exefolder.h"
#include "platform/headless/headless.h"

int main(int argc, char** argv) {
    headlessReset();
    // The game finds its data beside the program, as the displayed game does.
    if (!exeFolderRead(headless.executableFolder, sizeof headless.executableFolder)) {
        headless.executableFolder[0] = '\0';
    }
    const int status = gameMainHeadless(argc, argv);
    // No box can be shown: what it would have said goes to standard error.
    if (headless.messageBoxCount > 0) {
        std::fprintf(stderr, "tarvoquelms: %s: %s\n", headless.lastMessageBoxCaption, headless.lastMessageBoxText);
    }
    return status;
}
