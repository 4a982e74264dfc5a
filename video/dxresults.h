// Names and explanations of DirectDraw and DirectInput result codes, for the
// debug lines written when display or input set-up fails.
#pragma once

#include <cstddef>
#include <cstdint>

struct VidResultText {
    int32_t code;
    const char* text;  // "[NAME] explanation"
};

constexpr int VID_DISPLAY_RESULT_COUNT = 108;
constexpr int VID_INPUT_RESULT_COUNT = 33;
// Room for the longest description and the longest formatted line.
constexpr int VID_RESULT_TEXT_SIZE = 300;
constexpr int VID_RESULT_LINE_SIZE = 340;

extern const VidResultText vidDisplayResults[VID_DISPLAY_RESULT_COUNT];
extern const VidResultText vidInputResults[VID_INPUT_RESULT_COUNT];

// The row's text for the code, or "Unknown error" / "NO SUCH ERROR".
const char* vidDisplayResultText(int32_t code);
const char* vidInputResultText(int32_t code);
// "DDraw error: <text> [<code>]" / "DInput error: <text> [<code>]", the code as
// a signed decimal; the line is cut to fit `size`.
void vidFormatDisplayResult(int32_t code, char* line, size_t size);
void vidFormatInputResult(int32_t code, char* line, size_t size);
// Format the line and hand it to the debug-print sink.
void vidDescribeDisplayResult(int32_t code);
void vidDescribeInputResult(int32_t code);
