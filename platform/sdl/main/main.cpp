// The program's entry point on Linux.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "flow/launch.h"
#include "platform/exefolder.h"

int main(int argc, char** argv) {
    const int status = gameMain(argc, argv);
    if (status != LAUNCH_RUN_HEADLESS) return status;
    // The headless replay is its own program, installed beside this one.
    char folder[4096];
    if (!exeFolderRead(folder, sizeof folder)) {
        std::fprintf(stderr, "tarvoquelms: cannot tell where %s is.\n", LAUNCH_HEADLESS_PROGRAM);
        return 1;
    }
    const std::string program = std::string(folder) + "/" + LAUNCH_HEADLESS_PROGRAM;
    execv(program.c_str(), argv);
    std::fprintf(stderr, "tarvoquelms: cannot run %s: %s.\n", program.c_str(), std::strerror(errno));
    return 1;
}
