// The game's sound files: what the build ships, what the tool writes and what
// the synthesiser makes in memory must be the same bytes, in the one format the
// game's mixer reads.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tools/sounds/recipes.h"
#include "tools/sounds/wavfile.h"

namespace {

namespace fs = std::filesystem;

constexpr int RATE = 48000;

struct Expected {
    const char* file;
    double minSeconds, maxSeconds;
    double minPeakDb, maxPeakDb;
};
void PrintTo(const Expected& e, std::ostream* os) { *os << e.file; }

// Every sound the game loads. The frequent ones stay under 0.25 s, the longest
// jingle within 1.5 s; all peak between -6 and -1 dBFS but the landing thump,
// which sits well under the rest.
const Expected EXPECTED[] = {
    {"letter.wav", 0.04, 0.09, -6, -1},     {"undo.wav", 0.04, 0.09, -6, -1},
    {"word.wav", 0.2, 0.4, -6, -1},         {"refused.wav", 0.14, 0.249, -6, -1},
    {"land.wav", 0.03, 0.07, -16, -12},     {"button.wav", 0.025, 0.06, -6, -1},
    {"tip.wav", 0.18, 0.249, -6, -1},       {"dragstart.wav", 0.14, 0.249, -6, -1},
    {"dragstop.wav", 0.14, 0.249, -6, -1},  {"swap.wav", 0.05, 0.11, -6, -1},
    {"turn.wav", 0.07, 0.13, -6, -1},       {"lowlife.wav", 0.22, 0.38, -6, -1},
    {"levelbonus.wav", 0.75, 1.25, -6, -1}, {"levelintro.wav", 0.5, 0.9, -6, -1},
    {"gameover.wav", 0.9, 1.5, -6, -1},     {"highscore.wav", 0.9, 1.5, -6, -1},
};

std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t le32(const std::vector<uint8_t>& b, size_t at) { return le16(b, at) | (le16(b, at + 2) << 16); }
bool tag(const std::vector<uint8_t>& b, size_t at, const char* t) {
    return std::equal(t, t + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

// What is wrong with a file's 44-byte header, read field by field apart from
// the writer; empty when it is the header the game's mixer reads.
std::string headerFault(const std::vector<uint8_t>& b) {
    if (b.size() < 44) return "shorter than the 44-byte header";
    if (!tag(b, 0, "RIFF") || !tag(b, 8, "WAVE")) return "not RIFF WAVE";
    if (le32(b, 4) != b.size() - 8) return "RIFF size is not the file's size less 8";
    if (!tag(b, 12, "fmt ") || le32(b, 16) != 16) return "no 16-byte fmt chunk at 12";
    if (le16(b, 20) != 1) return "not PCM";
    if (le16(b, 22) != 1) return "not one channel";
    if (le32(b, 24) != RATE) return "not 48000 Hz";
    if (le32(b, 28) != RATE * 2 || le16(b, 32) != 2) return "byte rate or frame size wrong for 16-bit mono";
    if (le16(b, 34) != 16) return "not 16 bits a sample";
    if (!tag(b, 36, "data")) return "no data chunk at 36";
    if (le32(b, 40) != b.size() - 44 || b.size() % 2) return "data is not the rest of the file";
    return "";
}

// The samples after the header, whatever the header says.
std::vector<int16_t> samplesOf(const std::vector<uint8_t>& b) {
    std::vector<int16_t> samples;
    for (size_t at = 44; at + 1 < b.size(); at += 2) samples.push_back(static_cast<int16_t>(le16(b, at)));
    return samples;
}

const Sound* findSound(const std::vector<Sound>& sounds, const std::string& file) {
    for (const Sound& s : sounds)
        if (s.file == file) return &s;
    return nullptr;
}

// The sounds as the build made them, read once.
const std::vector<Sound>& made() {
    static const std::vector<Sound> sounds = makeSounds();
    return sounds;
}

int peakOf(const std::vector<int16_t>& s, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i < to && i < s.size(); i++) peak = std::max(peak, std::abs(int(s[i])));
    return peak;
}

// The strongest frequency between 100 Hz and 5 kHz in samples [from, to).
double dominantHz(const std::vector<int16_t>& s, size_t from, size_t to) {
    double best = 0, bestPower = -1;
    for (double hz = 100; hz < 5000; hz *= 1.005) {
        // Goertzel: the power of one frequency.
        const double k = 2 * std::cos(2 * std::numbers::pi * hz / RATE);
        double a = 0, b = 0;
        for (size_t i = from; i < to; i++) {
            const double c = s[i] + k * a - b;
            b = a;
            a = c;
        }
        const double power = a * a + b * b - k * a * b;
        if (power > bestPower) {
            bestPower = power;
            best = hz;
        }
    }
    return best;
}

// Appended, not built with a literal + std::string, which g++ 12 warns about at
// -O3 (GCC bug 105329).
std::string quoted(const std::string& text) {
    std::string q = "'";
    q += text;
    q += "'";
    return q;
}

int runTool(const std::string& args) {
    std::string command = quoted(TQ_SOUND_TOOL);
    command += " ";
    command += args;
    command += " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Each file in `folder` holds what the synthesiser makes, and nothing else is there.
void expectFolderHoldsTheSounds(const fs::path& folder) {
    std::set<std::string> found;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) found.insert(e.path().filename().string());
    std::set<std::string> wanted;
    for (const Sound& s : made()) wanted.insert(s.file);
    EXPECT_EQ(found, wanted);
    for (const Sound& s : made()) EXPECT_TRUE(readBytes(folder / s.file) == wavBytes(s.samples)) << s.file;
}

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "tq-sounds-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(SoundSet, HoldsExactlyTheFilesTheGameLoads) {
    std::multiset<std::string> names;
    for (const Sound& s : made()) names.insert(s.file);
    std::multiset<std::string> wanted;
    for (const Expected& e : EXPECTED) wanted.insert(e.file);
    EXPECT_EQ(names, wanted);
}

TEST(SoundSet, MakingItAgainGivesTheSameBytes) {
    const std::vector<Sound> again = makeSounds();
    ASSERT_EQ(again.size(), made().size());
    for (size_t i = 0; i < again.size(); i++) {
        EXPECT_EQ(again[i].file, made()[i].file);
        EXPECT_TRUE(wavBytes(again[i].samples) == wavBytes(made()[i].samples)) << again[i].file;
    }
}

TEST(SoundSet, TheBuiltGameFolderHoldsTheSynthesisedBytes) { expectFolderHoldsTheSounds(TQ_SOUND_DIR); }

TEST(SoundTool, WritesTheSynthesisedBytesIntoANewFolder) {
    ScratchFolder scratch;
    ASSERT_FALSE(scratch.path().empty());
    const fs::path out = scratch.path() / "made" / "sounds";
    ASSERT_EQ(runTool(quoted(out.string())), 0);
    expectFolderHoldsTheSounds(out);
}

TEST(SoundTool, RefusesAMissingFolderOrOneItCannotWrite) {
    ScratchFolder scratch;
    ASSERT_FALSE(scratch.path().empty());
    EXPECT_EQ(runTool(""), 2);
    const fs::path file = scratch.path() / "a-file";
    std::ofstream(file) << "not a folder";
    EXPECT_EQ(runTool(quoted(file.string())), 1);
}

TEST(SoundSet, LetterIsPitchedAtA5) {
    // The game raises it by resampling, so its own pitch is the base of the scale.
    const Sound* letter = findSound(made(), "letter.wav");
    ASSERT_NE(letter, nullptr);
    EXPECT_NEAR(dominantHz(letter->samples, 0, letter->samples.size()), 880.0, 880.0 * 0.03);
}

// The pitch of the first and the last quarter: falling sounds fall, rising ones rise.
struct Glide {
    const char* file;
    bool rises;
};
void PrintTo(const Glide& g, std::ostream* os) { *os << g.file << (g.rises ? " rising" : " falling"); }
class SoundGlide : public testing::TestWithParam<Glide> {};

TEST_P(SoundGlide, MovesTheWayItShould) {
    const Sound* sound = findSound(made(), GetParam().file);
    ASSERT_NE(sound, nullptr);
    const size_t n = sound->samples.size();
    const double first = dominantHz(sound->samples, 0, n / 4);
    const double last = dominantHz(sound->samples, n - n / 4, n);
    if (GetParam().rises)
        EXPECT_GT(last, first * 1.1) << first << " Hz to " << last << " Hz";
    else
        EXPECT_LT(last * 1.1, first) << first << " Hz to " << last << " Hz";
}

INSTANTIATE_TEST_SUITE_P(Sounds, SoundGlide,
                         testing::Values(Glide{"undo.wav", false}, Glide{"dragstart.wav", true},
                                         Glide{"dragstop.wav", false}, Glide{"tip.wav", true},
                                         Glide{"levelbonus.wav", true}, Glide{"gameover.wav", false}),
                         [](const testing::TestParamInfo<Glide>& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

// Each shipped file, read back from the game folder.
class SoundFile : public testing::TestWithParam<Expected> {
protected:
    void SetUp() override {
        bytes_ = readBytes(fs::path(TQ_SOUND_DIR) / GetParam().file);
        samples_ = samplesOf(bytes_);
        ASSERT_GT(samples_.size(), 48u) << GetParam().file << " is missing or empty";
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    const std::vector<int16_t>& samples() const { return samples_; }
    int peak() const { return peakOf(samples_, 0, samples_.size()); }

private:
    std::vector<uint8_t> bytes_;
    std::vector<int16_t> samples_;
};

TEST_P(SoundFile, IsPcmMono48kHz16Bit) { EXPECT_EQ(headerFault(bytes()), ""); }

TEST_P(SoundFile, SoundsFromItsFirstMillisecond) {
    // No lead-in of silence: the game plays it the moment the event happens.
    EXPECT_GE(peakOf(samples(), 0, 48) * 10, peak());
}

TEST_P(SoundFile, PeaksWithinItsLevelsAndNeverClips) {
    const double db = 20 * std::log10(peak() / 32768.0);
    EXPECT_GE(db, GetParam().minPeakDb);
    EXPECT_LE(db, GetParam().maxPeakDb);
    for (int16_t s : samples()) ASSERT_TRUE(s > -32767 && s < 32767) << "a clipped sample";
}

TEST_P(SoundFile, EndsFadedToExactlyZero) {
    EXPECT_EQ(samples().back(), 0);
    // The last millisecond is already near silent: no click when it stops.
    EXPECT_LE(peakOf(samples(), samples().size() - 48, samples().size()) * 100, peak());
}

TEST_P(SoundFile, LastsWithinItsBounds) {
    const double seconds = double(samples().size()) / RATE;
    EXPECT_GE(seconds, GetParam().minSeconds);
    EXPECT_LE(seconds, GetParam().maxSeconds);
}

INSTANTIATE_TEST_SUITE_P(Sounds, SoundFile, testing::ValuesIn(EXPECTED),
                         [](const testing::TestParamInfo<Expected>& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
