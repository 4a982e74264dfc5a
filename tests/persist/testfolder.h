// A fresh empty working folder for a test that reads or writes files; the old
// working folder comes back and the folder is removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class TestFolder : public ::testing::Test {
protected:
    void SetUp() override {
        oldFolder = std::filesystem::current_path();
        // A new folder of our own in the system's temporary folder.
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        folder[0] = '\0';
        for (int i = 0; i < 100 && !folder[0]; i++) {
            const std::filesystem::path candidate = base / ("tqpersist" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                std::snprintf(folder, sizeof folder, "%s", candidate.generic_string().c_str());
            }
        }
        ASSERT_TRUE(folder[0]);
        std::filesystem::current_path(folder);
    }

    void TearDown() override {
        std::filesystem::current_path(oldFolder);
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

    // A folder where a file is expected: what a save cannot write over.
    static bool makeFolder(const char* name) {
        return std::filesystem::create_directory(name);
    }

protected:
    std::filesystem::path oldFolder;
    char folder[512];
};
