#include "Core/cmdebug.h"

#include <gtest/gtest.h>

#include <string>

#include "coretestdir.h"
#include "platform/headless/headless.h"

namespace {

int32_t logLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int32_t result = cmDebugLogV(format, args);
    va_end(args);
    return result;
}

class CmDebug : public CoreTestDir {
protected:
    void SetUp() override {
        CoreTestDir::SetUp();
        headlessReset();
        gDebugLogPath[0] = '\0';
    }
    void TearDown() override {
        gDebugLogPath[0] = '\0';
        CoreTestDir::TearDown();
    }
};

}  // namespace

TEST_F(CmDebug, LogLineGoesToTheDebuggerOutputWithALineFeed) {
    EXPECT_EQ(logLine("vid mem %s, %d surfaces", "OK", 3), CM_LOG_OK);
    EXPECT_STREQ(headless.debugText, "vid mem OK, 3 surfaces\n");
}

TEST_F(CmDebug, LongLineIsCutTo511CharactersBeforeItsLineFeed) {
    const std::string long600(600, 'x');
    EXPECT_EQ(logLine("%s", long600.c_str()), CM_LOG_OK);
    EXPECT_EQ(std::string(headless.debugText), std::string(511, 'x') + "\n");
}

TEST_F(CmDebug, WithALogPathEachLineIsAppendedToTheFileAndNotToTheDebugger) {
    std::snprintf(gDebugLogPath, sizeof gDebugLogPath, "%s/debug.log", dir);
    EXPECT_EQ(logLine("first %d", 1), CM_LOG_OK);
    EXPECT_EQ(logLine("second"), CM_LOG_OK);
    EXPECT_EQ(readFile("debug.log"), "first 1\nsecond\n");
    EXPECT_EQ(headless.debugTextLength, 0);
}

TEST_F(CmDebug, LogFileFailuresGiveTheirCodes) {
    // A folder that does not exist cannot hold the file.
    std::snprintf(gDebugLogPath, sizeof gDebugLogPath, "%s/missing/debug.log", dir);
    EXPECT_EQ(logLine("lost"), CM_LOG_ERR_OPEN);
    EXPECT_FALSE(std::filesystem::exists("missing"));
    // /dev/full takes the buffered line and fails when it is flushed at close.
    std::snprintf(gDebugLogPath, sizeof gDebugLogPath, "/dev/full");
    EXPECT_EQ(logLine("lost"), CM_LOG_ERR_CLOSE);
    EXPECT_EQ(headless.debugTextLength, 0);
}

TEST_F(CmDebug, WarningWithATrueConditionDoesNothing) {
    EXPECT_EQ(cmWarning(1, "never shown %d", 7), 0);
    EXPECT_EQ(headless.debugTextLength, 0);
    EXPECT_EQ(headless.messageBoxCount, 0);
    EXPECT_EQ(headless.debugBreakCount, 0);
}

TEST_F(CmDebug, WarningWithAFalseConditionLogsShowsABoxAndBreaks) {
    EXPECT_EQ(cmWarning(0, "table %s at %d", "full", 16384), 0);
    EXPECT_STREQ(headless.debugText, "table full at 16384\n");
    EXPECT_EQ(headless.messageBoxCount, 1);
    EXPECT_STREQ(headless.lastMessageBoxText, "table full at 16384");
    EXPECT_STREQ(headless.lastMessageBoxCaption, "Debug Warning");
    EXPECT_EQ(headless.debugBreakCount, 1);
}

TEST_F(CmDebug, HooksShowNothingAndTheLogPathStaysEmpty) {
    cmDebugPrint("Word is longer than wrap width.\n");
    EXPECT_EQ(cmReportError("Error performing fread() in cmStreamRead()"), 0);
    EXPECT_EQ(cmDebugSetLogFile("game.log"), 0);
    EXPECT_STREQ(gDebugLogPath, "");
    EXPECT_EQ(headless.debugTextLength, 0);
    EXPECT_EQ(headless.messageBoxCount, 0);
    EXPECT_FALSE(std::filesystem::exists("game.log"));
    // The reported text is kept for a debugger, nowhere else.
    EXPECT_STREQ(cmLastReportedError, "Error performing fread() in cmStreamRead()");
}
