// A fresh empty working folder for a test that reads or writes files; the old
// working folder comes back and the folder is removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TestFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getcwd(oldFolder, sizeof oldFolder), nullptr);
        strcpy(folder, "/tmp/tqpersistXXXXXX");
        ASSERT_NE(mkdtemp(folder), nullptr);
        ASSERT_EQ(chdir(folder), 0);
    }

    void TearDown() override {
        ASSERT_EQ(chdir(oldFolder), 0);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // The working folder disappears: nothing can be created in it any more,
    // even by a user whom permissions do not stop.
    void removeFolder() {
        std::filesystem::remove_all(folder);
    }

public:
    static void writeFile(const char* name, const std::string& bytes) {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good());
    }

    static std::string readFile(const char* name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static bool fileExists(const char* name) {
        return std::filesystem::exists(name);
    }

protected:
    char oldFolder[PATH_MAX];
    char folder[64];
};
