// The program's entry point on Linux.
#include "flow/launch.h"

int main(int argc, char** argv) { return gameMain(argc, argv); }
