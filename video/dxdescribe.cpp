#include "Core/cmdebug.h"
#include "video/dxresults.h"

void vidDescribeDisplayResult(int32_t code) {
    char line[VID_RESULT_LINE_SIZE];
    vidFormatDisplayResult(code, line, sizeof line);
    cmDebugPrint("%s", line);
}

void vidDescribeInputResult(int32_t code) {
    char line[VID_RESULT_LINE_SIZE];
    vidFormatInputResult(code, line, sizeof line);
    cmDebugPrint("%s", line);
}
