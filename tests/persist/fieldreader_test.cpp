#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Core/filetext.h"
#include "persist/fieldreader.h"

namespace {

// Puts bytes where a whole-file read would and starts reading them.
void setText(const std::string& bytes) {
    memcpy(fileText, bytes.data(), bytes.size());
    fileTextLength = static_cast<int32_t>(bytes.size());
    fileReadPos = 0;
}

std::vector<std::string> readFields(int count) {
    std::vector<std::string> fields;
    char field[FILE_FIELD_SIZE];
    for (int i = 0; i < count; i++) {
        memset(field, 'z', sizeof field);
        fileReadField(field);
        fields.emplace_back(field);
    }
    return fields;
}

TEST(FileReadField, SplitsAtSemicolonsAndReadsEmptyPastTheEnd) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> fields;
    };
    const std::string c99(99, 'a');
    const std::string c100(100, 'b');
    const Case cases[] = {
        {"plain fields", "12;AB;;x;", {"12", "AB", "", "x", "", ""}},
        {"a last field without ';' ends at the end of the text", "1;tail", {"1", "tail", "", ""}},
        {"no text at all", "", {"", "", ""}},
        {"99 characters fit", c99 + ";x;", {c99, "x", ""}},
        {"100 characters are cut there; the ';' after them ends an empty field", c100 + ";x;", {c100, "", "x", ""}},
        {"a long run is read in pieces of 100", std::string(250, 'c'),
         {std::string(100, 'c'), std::string(100, 'c'), std::string(50, 'c'), ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setText(c.text);
        EXPECT_EQ(readFields(static_cast<int>(c.fields.size())), c.fields);
        EXPECT_LE(fileReadPos, fileTextLength);
    }
}

TEST(FileReadField, NeverReadsPastTheFileEvenWhenTheBufferHoldsMore) {
    // Bytes left in the buffer by an earlier, longer file are not part of this one.
    setText("OLD;OLDER;OLDEST;");
    fileTextLength = 4;
    EXPECT_EQ(readFields(3), (std::vector<std::string>{"OLD", "", ""}));
}

TEST(FileFieldToInt, ReadsADecimalPrefixAndStopsAtTheRangeEnds) {
    struct Case {
        const char* field;
        int32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"42", 42},
        {"  \t\r\n42", 42},
        {"-7x", -7},
        {"+5", 5},
        {"007", 7},
        {"12abc", 12},
        {"- 5", 0},
        {"0x10", 0},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"4294967361", INT32_MAX},
        {"99999999999999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"-99999999999999999999999999999", INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileFieldToInt(c.field), c.value) << '"' << c.field << '"';
    }
}

}  // namespace
