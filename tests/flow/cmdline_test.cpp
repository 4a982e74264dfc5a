#include "flow/cmdline.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Parsed {
    CmdLineResult result;
    LaunchOptions options;
    // Copies: the options point into the words, gone after the parse.
    std::string saveDir, recordFile, replayFile;
    std::string out, err;
};

std::string readBack(FILE* f) {
    std::string text;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

Parsed parse(std::vector<std::string> words) {
    words.insert(words.begin(), "tarvoquelms");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    Parsed p;
    p.result = cmdLineParse(static_cast<int>(words.size()), argv.data(), &p.options, out, err);
    p.saveDir = p.options.saveDir ? p.options.saveDir : "<none>";
    p.recordFile = p.options.recordFile ? p.options.recordFile : "<none>";
    p.replayFile = p.options.replayFile ? p.options.replayFile : "<none>";
    p.out = readBack(out);
    p.err = readBack(err);
    return p;
}

TEST(CmdLine, OptionsThatStartTheGame) {
    struct Case {
        std::vector<std::string> words;
        int32_t fullscreen, scale;
        const char* saveDir;
    };
    const Case cases[] = {
        {{}, -1, 0, nullptr},  // all from settings.ini
        {{"--window"}, 0, 0, nullptr},
        {{"--fullscreen"}, 1, 0, nullptr},
        {{"--window", "--window"}, 0, 0, nullptr},
        {{"--scale", "3"}, -1, 3, nullptr},
        {{"--scale=8", "--window"}, 0, 8, nullptr},
        {{"--save-dir", "/tmp/s p a c e"}, -1, 0, "/tmp/s p a c e"},
        {{"--save-dir=rel", "--scale", "1", "--fullscreen"}, 1, 1, "rel"},
        {{"--win"}, 0, 0, nullptr},  // a long option may be shortened while it stays unique
    };
    for (const Case& c : cases) {
        Parsed p = parse(c.words);
        ASSERT_EQ(p.result, CMDLINE_RUN) << p.err;
        EXPECT_EQ(p.options.fullscreen, c.fullscreen);
        EXPECT_EQ(p.options.scale, c.scale);
        EXPECT_EQ(p.saveDir, c.saveDir ? c.saveDir : "<none>");
        EXPECT_EQ(p.out + p.err, "");
    }
}

TEST(CmdLine, MuteLeavesTheSoundOffForTheRun) {
    EXPECT_FALSE(parse({"--window"}).options.mute);
    Parsed p = parse({"--mute", "--window"});
    ASSERT_EQ(p.result, CMDLINE_RUN) << p.err;
    EXPECT_TRUE(p.options.mute);
    EXPECT_EQ(p.options.fullscreen, 0);
}

TEST(CmdLine, RecordingAndPlayingBack) {
    struct Case {
        std::vector<std::string> words;
        const char* record;
        const char* replay;
        bool headless;
    };
    const Case cases[] = {
        {{}, "<none>", "<none>", false},
        {{"--record", "bug.tqr", "--window"}, "bug.tqr", "<none>", false},
        {{"--replay=bug.tqr"}, "<none>", "bug.tqr", false},
        {{"--headless", "--replay", "bug.tqr", "--save-dir", "s"}, "<none>", "bug.tqr", true},
    };
    for (const Case& c : cases) {
        Parsed p = parse(c.words);
        ASSERT_EQ(p.result, CMDLINE_RUN) << p.err;
        EXPECT_EQ(p.recordFile, c.record);
        EXPECT_EQ(p.replayFile, c.replay);
        EXPECT_EQ(p.options.headless, c.headless);
    }
}

TEST(CmdLine, HelpAndVersionPrintOnStandardOutputAndEndTheRun) {
    for (const char* help : {"--help", "-h"}) {
        Parsed p = parse({"--window", help});
        EXPECT_EQ(p.result, CMDLINE_EXIT_OK);
        EXPECT_EQ(p.out.rfind("Usage: tarvoquelms [--window | --fullscreen] [--scale N] [--save-dir DIR]", 0), 0u)
            << p.out;
        for (const char* option : {"--window", "--fullscreen", "--scale N", "--save-dir DIR", "--record FILE",
                                   "--replay FILE", "--headless", "--mute", "--version", "TQ_SAVE_DIR"}) {
            EXPECT_NE(p.out.find(option), std::string::npos) << option;
        }
        EXPECT_EQ(p.err, "");
    }
    Parsed v = parse({"--version"});
    EXPECT_EQ(v.result, CMDLINE_EXIT_OK);
    EXPECT_EQ(v.out, std::string("tarvoquelms ") + TQ_VERSION + "\n");
}

TEST(CmdLine, MistakesSayWhatIsWrongThenTheUsageOnStandardError) {
    struct Case {
        std::vector<std::string> words;
        const char* said;
    };
    const Case cases[] = {
        {{"--bogus"}, "unknown option: --bogus"},
        {{"-x"}, "unknown option: -x"},
        {{"--scale"}, "needs a value: --scale"},
        {{"--scale", "0"}, "from 1 to 8, not 0"},
        {{"--scale", "9"}, "from 1 to 8, not 9"},
        {{"--scale", "2x"}, "not 2x"},
        {{"--scale", ""}, "from 1 to 8"},
        {{"--save-dir", ""}, "--save-dir needs a folder"},
        {{"--window", "--fullscreen"}, "cannot both be given"},
        {{"level3"}, "unexpected argument: level3"},
        {{"--help", "--bogus"}, "unknown option: --bogus"},  // a mistake wins over help
        {{"--record", ""}, "--record needs a file"},
        {{"--replay="}, "--replay needs a file"},
        {{"--record", "a", "--replay", "b"}, "--record and --replay cannot both be given"},
        {{"--headless"}, "--headless only plays back a recording"},
        {{"--headless", "--record", "a"}, "--headless only plays back a recording"},
    };
    for (const Case& c : cases) {
        Parsed p = parse(c.words);
        EXPECT_EQ(p.result, CMDLINE_EXIT_USAGE) << c.said;
        EXPECT_EQ(p.out, "");
        EXPECT_NE(p.err.find(c.said), std::string::npos) << p.err;
        EXPECT_NE(p.err.find("Usage: tarvoquelms"), std::string::npos) << p.err;
    }
}

}  // namespace
