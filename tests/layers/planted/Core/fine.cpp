// Only the floor itself and the port layer's interface: nothing to report.
#include "Core/cmdebug.h"
#include "platform/platform.h"
