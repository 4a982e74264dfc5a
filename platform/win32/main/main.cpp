// The program's entry point on Windows: the command line arrives as UTF-16
// and goes to the game as UTF-8.
#include "platform/platform.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "flow/launch.h"
#include "platform/winsys/utf8.h"

namespace {

// A game started from a console prints its usage and its complaints there;
// one started from the desktop has nowhere to print, and none is made.
void useParentConsole() {
    if (GetStdHandle(STD_ERROR_HANDLE) != nullptr && GetStdHandle(STD_ERROR_HANDLE) != INVALID_HANDLE_VALUE) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    useParentConsole();
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; i++) arguments.push_back(wideToUtf8(argv[i]));
    std::vector<char*> pointers;
    for (std::string& a : arguments) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    const int status = gameMain(argc, pointers.data());
    if (status != LAUNCH_RUN_HEADLESS) return status;
    std::fprintf(stderr, "tarvoquelms: --headless is not part of the Windows game; play the recording in the window.\n");
    return 2;
}
