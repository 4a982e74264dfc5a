// The INI reader settings.ini is read with where inih is missing (Windows):
// what it hands the handler and which line it reports. On Linux every case
// also goes through inih itself, so the two cannot drift apart.
#include "persist/inireader.h"

#include <gtest/gtest.h>

#include <string>

#include "testfolder.h"

#ifndef _WIN32
#include <ini.h>
#endif

namespace {

struct Calls {
    std::string seen;        // "section|name|value;" per call
    const char* refuse;      // a name the handler refuses; null: none
};

int record(void* user, const char* section, const char* name, const char* value) {
    Calls* calls = static_cast<Calls*>(user);
    calls->seen += std::string(section) + "|" + name + "|" + value + ";";
    return calls->refuse && std::string(name) == calls->refuse ? 0 : 1;
}

class IniReader : public TestFolder {};

TEST_F(IniReader, ReadsWhatInihReadsAndReportsTheSameFirstBadLine) {
    struct Case {
        const char* text;
        const char* refuse;
        const char* seen;
        int result;
    };
    const Case cases[] = {
        {"[display]\nfullscreen = true\nscale=2\n", nullptr, "display|fullscreen|true;display|scale|2;", 0},
        {"name: value\n", nullptr, "|name|value;", 0},
        {"\xEF\xBB\xBF[s]\r\na = 1\r\n", nullptr, "s|a|1;", 0},
        {"; a comment\n# another\n\n  [ spaced ]  \n  k  =  v w  \n", nullptr, " spaced |k|v w;", 0},
        {"[s]\nscale=1 ; a note\nx=a;b\n", nullptr, "s|scale|1;s|x|a;b;", 0},
        {"[s]\nempty=\n", nullptr, "s|empty|;", 0},
        {"[s]\nthis is not a setting\nlater=1\n", nullptr, "s|later|1;", 2},
        {"[unclosed\nk=v\n", nullptr, "|k|v;", 1},
        {"[s]\na=1\nb=2\nc=3\n", "b", "s|a|1;s|b|2;s|c|3;", 3},
        {"[s]\nname ; comment = no\n", nullptr, "", 2},
        {"", nullptr, "", 0},
    };
    for (const Case& c : cases) {
        writeFile("case.ini", c.text);
        Calls ours{"", c.refuse};
        EXPECT_EQ(iniReaderParse("case.ini", record, &ours), c.result) << c.text;
        EXPECT_EQ(ours.seen, c.seen) << c.text;
#ifndef _WIN32
        Calls inih{"", c.refuse};
        EXPECT_EQ(ini_parse("case.ini", record, &inih), c.result) << "inih: " << c.text;
        EXPECT_EQ(inih.seen, ours.seen) << "inih: " << c.text;
#endif
    }
}

TEST_F(IniReader, AFileThatCannotBeOpenedIsMinusOne) {
    Calls calls{"", nullptr};
    EXPECT_EQ(iniReaderParse("missing.ini", record, &calls), -1);
    EXPECT_EQ(calls.seen, "");
}

}  // namespace
