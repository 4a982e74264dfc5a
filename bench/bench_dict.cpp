// The dictionary against a std::unordered_set<std::string> holding the same
// words: loading the shipped worddiction.txt, and looking up a fixed mix of
// hits and misses.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "Core/cmrand.h"
#include "dict/dictionary.h"

namespace {

// dictLoad reads worddiction.txt from the working folder.
void enterGameFolder() {
    static bool entered = false;
    if (entered) return;
    if (chdir(TQ_GAME_DIR) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", TQ_GAME_DIR);
        std::exit(1);
    }
    entered = true;
}

// The same reading as dictLoad: the whole file, then one upper-case word per
// line, comment and empty lines skipped.
void loadUnorderedSet(std::unordered_set<std::string>& words, std::string& text) {
    FILE* f = std::fopen("worddiction.txt", "rb");
    if (f == nullptr) std::exit(1);
    std::fseek(f, 0, SEEK_END);
    text.resize(static_cast<size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(text.data(), 1, text.size(), f) != text.size()) std::exit(1);
    std::fclose(f);
    size_t start = 0;
    for (size_t lf = text.find('\n'); lf != std::string::npos; start = lf + 1, lf = text.find('\n', start)) {
        size_t end = lf;
        if (end > start && text[end - 1] == '\r') end--;
        if (end == start || text[start] == '\r' || text[start] == '/') continue;
        std::string word(text, start, end - start);
        for (char& c : word)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        words.insert(std::move(word));
    }
}

// Every 50th word of the file and as many words that are not in it, shuffled.
std::vector<std::string> lookupMix() {
    std::unordered_set<std::string> words;
    std::string text;
    loadUnorderedSet(words, text);
    std::vector<std::string> mix;
    size_t n = 0;
    size_t start = 0;
    for (size_t lf = text.find('\n'); lf != std::string::npos; start = lf + 1, lf = text.find('\n', start), n++) {
        if (n % 50 != 0) continue;
        std::string word = text.substr(start, lf - 1 - start);
        for (char& c : word) c = static_cast<char>(c - 32);
        mix.push_back(word);
        std::string miss = word;
        miss.back() = miss.back() == 'Q' ? 'X' : 'Q';
        if (words.count(miss) != 0) miss += "QX";
        mix.push_back(miss);
    }
    // Play asks for words in no particular order: a fixed shuffle.
    cmSrand(2024);
    for (size_t i = mix.size() - 1; i > 0; i--) std::swap(mix[i], mix[static_cast<size_t>(cmRand()) % (i + 1)]);
    return mix;
}

void BM_DictLoad(benchmark::State& state) {
    enterGameFolder();
    for (auto _ : state) {
        if (!dictLoad()) state.SkipWithError("dictLoad failed");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DictLoad)->Unit(benchmark::kMillisecond);

void BM_DictLoadUnorderedSet(benchmark::State& state) {
    enterGameFolder();
    for (auto _ : state) {
        auto* words = new std::unordered_set<std::string>;
        std::string text;
        loadUnorderedSet(*words, text);
        benchmark::DoNotOptimize(words->size());
        state.PauseTiming();
        delete words;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DictLoadUnorderedSet)->Unit(benchmark::kMillisecond);

void BM_DictLookup(benchmark::State& state) {
    enterGameFolder();
    // Each side loads its words last, right before its lookups.
    const std::vector<std::string> mix = lookupMix();
    if (!dictLoad()) state.SkipWithError("dictLoad failed");
    std::vector<const char*> queries;
    for (const std::string& w : mix) queries.push_back(w.c_str());
    size_t hits = 0;
    for (auto _ : state)
        for (const char* q : queries) hits += dictIsWord(q);
    if (hits * 2 != queries.size() * state.iterations()) state.SkipWithError("wrong hit count");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * queries.size()));
}
BENCHMARK(BM_DictLookup);

void BM_DictLookupUnorderedSet(benchmark::State& state) {
    enterGameFolder();
    const std::vector<std::string> queries = lookupMix();
    std::unordered_set<std::string> words;
    std::string text;
    loadUnorderedSet(words, text);
    size_t hits = 0;
    for (auto _ : state)
        for (const std::string& q : queries) hits += words.find(q) != words.end();
    if (hits * 2 != queries.size() * state.iterations()) state.SkipWithError("wrong hit count");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * queries.size()));
}
BENCHMARK(BM_DictLookupUnorderedSet);

}  // namespace
