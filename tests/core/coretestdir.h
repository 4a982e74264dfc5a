// A fresh empty working folder for tests that touch files; the old working
// folder comes back and the folder is removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

class CoreTestDir : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getcwd(oldDir, sizeof oldDir), nullptr);
        std::strcpy(dir, "/tmp/tqcoreXXXXXX");
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
    }

    void TearDown() override {
        ASSERT_EQ(chdir(oldDir), 0);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    static void writeFile(const char* name, const std::string& bytes) {
        FILE* f = std::fopen(name, "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty()) {
            ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
        }
        ASSERT_EQ(std::fclose(f), 0);
    }

    static std::string readFile(const char* name) {
        std::string text;
        FILE* f = std::fopen(name, "rb");
        if (f == nullptr) return text;
        int c;
        while ((c = std::fgetc(f)) != EOF) text.push_back(static_cast<char>(c));
        std::fclose(f);
        return text;
    }

    char oldDir[PATH_MAX];
    char dir[32];
};
