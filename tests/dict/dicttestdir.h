// A fresh working folder for dictionary tests with a known starting state:
// empty word store and dictionary, cleared heap table, fixed random seed.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Core/cmheap.h"
#include "Core/cmrand.h"
#include "core/coretestdir.h"
#include "dict/dictionary.h"
#include "platform/headless/headless.h"

class DictTest : public CoreTestDir {
protected:
    void SetUp() override {
        CoreTestDir::SetUp();
        headlessReset();
        cmHeapInit();
        cmSrand(1);
        dictClear();
    }

    // Writes worddiction.txt and loads it.
    static bool load(const std::string& text) {
        writeFile("worddiction.txt", text);
        return dictLoad();
    }

    static int64_t storedWords() {
        int64_t n = 0;
        for (int32_t size : dictBucketSizes) n += size;
        return n;
    }
};
