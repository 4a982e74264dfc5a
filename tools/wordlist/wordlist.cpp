// Makes worddiction.txt from a word list with one word per line: only words of
// 3 to 15 lower-case letters a to z, sorted, each once, with CR LF line ends.
// Refuses (exit 1, no file written) unless the result is smaller than the
// game's file buffer and every word length can be drawn by the random word
// picker, which only reaches buckets 0 to 32767.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Core/cmrand.h"
#include "dict/dictionary.h"

namespace {

constexpr size_t WORD_MIN = 3;
constexpr size_t WORD_MAX = 15;

bool isGameWord(const std::string& line) {
    if (line.size() < WORD_MIN || line.size() > WORD_MAX) return false;
    return std::all_of(line.begin(), line.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tq_wordlist <word list> <worddiction.txt>\n";
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "tq_wordlist: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<std::string> words;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (isGameWord(line)) words.push_back(line);
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());

    size_t bytes = 0;
    for (const std::string& w : words) bytes += w.size() + 2;
    bool ok = true;
    if (bytes >= FILE_TEXT_SIZE) {
        std::cerr << "tq_wordlist: " << bytes << " bytes; the game reads at most " << FILE_TEXT_SIZE - 1 << "\n";
        ok = false;
    }
    size_t reachable[WORD_MAX + 1] = {};
    for (const std::string& w : words) {
        std::string upper = w;
        for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
        if (dictHash(upper.c_str()) <= CM_RAND_MAX) reachable[w.size()]++;
    }
    for (size_t length = WORD_MIN; length <= WORD_MAX; length++) {
        if (reachable[length] == 0) {
            std::cerr << "tq_wordlist: no word of " << length << " letters in buckets 0 to " << CM_RAND_MAX << "\n";
            ok = false;
        }
    }
    if (!ok) return 1;

    // Written beside the target and renamed, so a failed run leaves no half file.
    const std::string temp = std::string(argv[2]) + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        for (const std::string& w : words) out << w << "\r\n";
        if (!out.flush()) {
            std::cerr << "tq_wordlist: cannot write " << temp << "\n";
            std::remove(temp.c_str());
            return 1;
        }
    }
    if (std::rename(temp.c_str(), argv[2]) != 0) {
        std::cerr << "tq_wordlist: cannot write " << argv[2] << "\n";
        std::remove(temp.c_str());
        return 1;
    }
    std::cout << "worddiction.txt: " << words.size() << " words, " << bytes << " bytes; reachable by length 3-15:";
    for (size_t length = WORD_MIN; length <= WORD_MAX; length++) std::cout << ' ' << reachable[length];
    std::cout << "\n";
    return 0;
}
