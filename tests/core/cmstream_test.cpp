#include "Core/cmstream/cmstream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Core/cmdebug.h"
#include "Core/cmheap.h"
#include "coretestdir.h"
#include "platform/headless/headless.h"

namespace {

struct Member {
    std::string name;  // stored as given, with its zero unless rawName says otherwise
    std::string data;
};

void putU32(std::string& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

// An archive: 12-byte header, the directory, then for each member its name
// record followed by its data.
std::string buildArchive(const std::vector<Member>& members, std::vector<cmMungeDirEntry>* dir) {
    std::string bytes(12 + 12 * members.size(), '\0');
    std::memcpy(bytes.data(), "MUNGE-TEST\0\0", 12);
    dir->clear();
    for (size_t i = 0; i < members.size(); i++) {
        cmMungeDirEntry e;
        e.nameOffset = static_cast<uint32_t>(bytes.size());
        const std::string name = members[i].name + '\0';
        bytes.append(4, '\0');
        putU32(bytes, e.nameOffset, static_cast<uint32_t>(name.size()));
        bytes += name;
        e.dataOffset = static_cast<uint32_t>(bytes.size());
        e.dataSize = static_cast<uint32_t>(members[i].data.size());
        bytes += members[i].data;
        putU32(bytes, 12 + 12 * i, e.nameOffset);
        putU32(bytes, 12 + 12 * i + 4, e.dataOffset);
        putU32(bytes, 12 + 12 * i + 8, e.dataSize);
        dir->push_back(e);
    }
    return bytes;
}

class CmStream : public CoreTestDir {
protected:
    void SetUp() override {
        CoreTestDir::SetUp();
        headlessReset();
        cmHeapInit();
        cmLastReportedError[0] = '\0';
    }
    void TearDown() override {
        if (munge.stream != nullptr) {
            EXPECT_EQ(cmStreamDestroy(&munge.stream), CM_OK);
        }
        cmHeapInit();
        CoreTestDir::TearDown();
    }

    int32_t open(const char* name, const char* mode, cmStream** out, cmMunge* m = nullptr) {
        std::snprintf(nameText, sizeof nameText, "%s", name);
        cmStreamOpenDesc desc = {nameText, mode, m};
        return cmStreamOpenFile(out, &desc);
    }

    // Writes the archive and opens it as a munge; dirInMemory picks where the
    // directory is read from.
    void openArchive(const std::string& bytes, uint8_t dirInMemory, uint32_t count) {
        writeFile("test.mng", bytes);
        ASSERT_EQ(open("test.mng", "rb", &munge.stream), CM_OK);
        munge.isOpen = 1;
        munge.dirInMemory = dirInMemory;
        munge.count = count;
        munge.directory = directory.data();
    }

    char nameText[512];
    cmMunge munge = {};
    std::vector<cmMungeDirEntry> directory;
};

int openFileCount() {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        n++;
    }
    return n;
}

}  // namespace

TEST_F(CmStream, StandAloneFileReadsToItsSizeThenReportsTheEnd) {
    writeFile("data.txt", "0123456789");
    cmStream* s = nullptr;
    ASSERT_EQ(open("data.txt", "rb", &s), CM_OK);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->munge, nullptr);
    EXPECT_EQ(cmHeapTable[0].block, s);
    EXPECT_STREQ(cmHeapTable[0].owner, "Core/cmstream");

    uint32_t size = 0;
    EXPECT_EQ(cmStreamGetSize(s, &size), CM_OK);
    EXPECT_EQ(size, 10u);
    char buffer[16] = {};
    EXPECT_EQ(cmStreamRead(s, buffer, 10), CM_OK);
    EXPECT_STREQ(buffer, "0123456789");
    EXPECT_EQ(cmStreamRead(s, buffer, 1), CM_ERR_EOF);
    EXPECT_EQ(cmStreamRead(s, buffer, 1), CM_ERR_EOF);  // the end stays until a seek
    // The size is the one fixed at open, not what is left.
    EXPECT_EQ(cmStreamGetSize(s, &size), CM_OK);
    EXPECT_EQ(size, 10u);

    EXPECT_EQ(cmStreamSeek(s, -4, 2), CM_OK);
    char tail[8] = {};
    EXPECT_EQ(cmStreamRead(s, tail, 4), CM_OK);
    EXPECT_STREQ(tail, "6789");
    // A short read keeps what it got.
    EXPECT_EQ(cmStreamSeek(s, 8, 0), CM_OK);
    char shortRead[8] = {};
    EXPECT_EQ(cmStreamRead(s, shortRead, 5), CM_ERR_EOF);
    EXPECT_STREQ(shortRead, "89");

    EXPECT_EQ(cmStreamDestroy(&s), CM_OK);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(cmHeapTable[0].block, nullptr);
}

TEST_F(CmStream, StandAloneOpenFailuresLeaveOutUntouched) {
    cmStream* const untouched = reinterpret_cast<cmStream*>(&munge);
    cmStream* s = untouched;
    EXPECT_EQ(open("missing.txt", "rb", &s), CM_ERR_OPEN);
    EXPECT_EQ(s, untouched);
    EXPECT_STREQ(cmLastReportedError,
                 "Error performing fopen() in cmStreamOpenFileStandAlone() for file 'missing.txt'");
    // Found by the directory search but not openable for writing: a folder.
    ASSERT_EQ(mkdir("folder", 0755), 0);
    EXPECT_EQ(open("folder", "rb+", &s), CM_ERR_OPEN);
    EXPECT_EQ(s, untouched);
    EXPECT_EQ(cmHeapTable[0].block, nullptr);
}

TEST_F(CmStream, FileTheDirectorySearchMissesOpensWithSizeZero) {
    writeFile("data.txt", "abc");
    headlessSetFileSizeOverride(-1);
    cmStream* s = nullptr;
    ASSERT_EQ(open("data.txt", "rb", &s), CM_OK);
    uint32_t size = 99;
    cmStreamGetSize(s, &size);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(cmStreamDestroy(&s), CM_OK);
}

TEST_F(CmStream, StandAloneReadSeekAndCloseErrors) {
    // A folder opens for reading on Linux, and reading it fails.
    ASSERT_EQ(mkdir("folder", 0755), 0);
    cmStream* s = nullptr;
    ASSERT_EQ(open("folder", "rb", &s), CM_OK);
    char buffer[4];
    EXPECT_EQ(cmStreamRead(s, buffer, 4), CM_ERR_READ);
    EXPECT_STREQ(cmLastReportedError, "Error performing fread() in cmStreamRead()");
    EXPECT_EQ(cmStreamDestroy(&s), CM_OK);

    writeFile("data.txt", "abc");
    ASSERT_EQ(open("data.txt", "rb", &s), CM_OK);
    EXPECT_EQ(cmStreamSeek(s, -1, 0), CM_ERR_SEEK);
    EXPECT_STREQ(cmLastReportedError, "Error performing fseek() in cmStreamSeek()");
    EXPECT_EQ(cmStreamDestroy(&s), CM_OK);

    // Bytes waiting for /dev/full make the close fail; the stream is gone all
    // the same, so its record is released and a second destroy cannot happen.
    ASSERT_EQ(open("/dev/full", "wb", &s), CM_OK);
    ASSERT_NE(std::fputc('x', s->handle), EOF);
    EXPECT_EQ(cmStreamDestroy(&s), CM_ERR_CLOSE);
    EXPECT_STREQ(cmLastReportedError, "Cannot fclose() stream in cmStreamDestroy");
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(cmHeapTable[0].block, nullptr);
}

TEST_F(CmStream, FullHeapTableRefusesTheRecordAndClosesTheFile) {
    writeFile("data.txt", "abc");
    char dummy = 0;
    for (cmHeapEntry& e : cmHeapTable) e.block = &dummy;
    const int filesBefore = openFileCount();
    cmStream* s = nullptr;
    EXPECT_EQ(open("data.txt", "rb", &s), CM_ERR_NOMEM);
    EXPECT_EQ(s, nullptr);
    EXPECT_STREQ(cmLastReportedError, "Out of memory allocating pf in cmStreamOpenFileStandAlone() for file 'data.txt'");
    EXPECT_EQ(openFileCount(), filesBefore);
    EXPECT_EQ(headless.messageBoxCount, 1);  // the heap table's own warning
    cmHeapInit();
}

TEST_F(CmStream, MemberIsFoundByItsLowerCaseNameWhereverTheDirectoryIs) {
    for (uint8_t inMemory : {0, 1}) {
        SCOPED_TRACE(inMemory);
        const std::string bytes =
            buildArchive({{"HI.TXT", "high scores"}, {"PREFS.TXT", "prefs"}, {"WORDS.TXT", "CAT\r\nDOG\r\n"}},
                         &directory);
        openArchive(bytes, inMemory, 3);
        cmStream* s = nullptr;
        ASSERT_EQ(open("prefs.txt", "rb", &s, &munge), CM_OK);
        EXPECT_STREQ(nameText, "PREFS.TXT");
        EXPECT_EQ(s->munge, &munge);
        EXPECT_EQ(s->start, directory[1].dataOffset);
        EXPECT_EQ(s->pos, s->start);
        EXPECT_EQ(s->end, s->start + 5);
        uint32_t size = 0;
        cmStreamGetSize(s, &size);
        EXPECT_EQ(size, 5u);
        char buffer[8] = {};
        EXPECT_EQ(cmStreamRead(s, buffer, 5), CM_OK);
        EXPECT_STREQ(buffer, "prefs");
        EXPECT_EQ(cmStreamRead(s, buffer, 1), CM_ERR_EOF);
        EXPECT_EQ(cmStreamDestroy(&s), CM_OK);
        EXPECT_EQ(s, nullptr);

        // The archive stays usable for the next member.
        ASSERT_EQ(open("Words.txt", "rb", &s, &munge), CM_OK);
        char words[11] = {};
        EXPECT_EQ(cmStreamRead(s, words, 10), CM_OK);
        EXPECT_STREQ(words, "CAT\r\nDOG\r\n");
        EXPECT_EQ(cmStreamDestroy(&s), CM_OK);
        EXPECT_EQ(cmStreamDestroy(&munge.stream), CM_OK);
    }
}

TEST_F(CmStream, MemberSeeksAndReadsStayInsideItsBytes) {
    // A member of size 10 at offset 100.
    std::string bytes = buildArchive({{"A", ""}}, &directory);
    bytes.resize(100, '.');
    bytes += "0123456789after";
    directory[0].dataOffset = 100;
    directory[0].dataSize = 10;
    openArchive(bytes, 1, 1);
    cmStream* s = nullptr;
    ASSERT_EQ(open("a", "rb", &s, &munge), CM_OK);

    EXPECT_EQ(cmStreamSeek(s, 0, 2), CM_OK);
    EXPECT_EQ(s->pos, 110u);
    EXPECT_EQ(cmStreamSeek(s, 11, 0), CM_ERR_SEEK);
    EXPECT_STREQ(cmLastReportedError, "Out of file bounds in cmStreamSeek()");
    EXPECT_EQ(s->pos, 111u);
    EXPECT_EQ(cmStreamSeek(s, -3, 2), CM_OK);
    EXPECT_EQ(cmStreamSeek(s, 1, 1), CM_OK);
    EXPECT_EQ(s->pos, 108u);
    EXPECT_EQ(cmStreamSeek(s, 3, 1), CM_ERR_SEEK);

    EXPECT_EQ(cmStreamSeek(s, 0, 0), CM_OK);
    char buffer[16] = {};
    EXPECT_EQ(cmStreamRead(s, buffer, 10), CM_OK);
    EXPECT_STREQ(buffer, "0123456789");
    EXPECT_EQ(s->pos, 110u);

    // Reading past the end reads nothing, and the position stays advanced.
    EXPECT_EQ(cmStreamSeek(s, 0, 0), CM_OK);
    std::memset(buffer, '-', sizeof buffer);
    EXPECT_EQ(cmStreamRead(s, buffer, 11), CM_ERR_EOF);
    EXPECT_EQ(buffer[0], '-');
    EXPECT_EQ(s->pos, 111u);
    // A count that would wrap the position around cannot bring it back in bounds.
    EXPECT_EQ(cmStreamSeek(s, 5, 0), CM_OK);
    EXPECT_EQ(cmStreamRead(s, buffer, 0xFFFFFFF0u), CM_ERR_EOF);
    EXPECT_EQ(buffer[0], '-');
    EXPECT_EQ(cmStreamRead(s, buffer, 1), CM_ERR_EOF);

    // A failed seek below the start leaves pos there; reading from it would
    // read the archive's bytes before the member, so it reads nothing.
    EXPECT_EQ(cmStreamSeek(s, -1, 0), CM_ERR_SEEK);
    EXPECT_EQ(s->pos, 99u);
    EXPECT_EQ(cmStreamRead(s, buffer, 1), CM_ERR_EOF);
    EXPECT_EQ(buffer[0], '-');
    EXPECT_EQ(cmStreamDestroy(&s), CM_OK);
}

TEST_F(CmStream, ClosedArchiveMakesMemberOperationsNoOpsAndOpensStandAlone) {
    openArchive(buildArchive({{"DATA.TXT", "member"}}, &directory), 0, 1);
    cmStream* s = nullptr;
    ASSERT_EQ(open("data.txt", "rb", &s, &munge), CM_OK);
    munge.isOpen = 0;
    char buffer[8] = {'-'};
    EXPECT_EQ(cmStreamRead(s, buffer, 6), CM_OK);
    EXPECT_EQ(buffer[0], '-');
    EXPECT_EQ(cmStreamSeek(s, 100, 0), CM_OK);
    EXPECT_EQ(s->pos, s->start);
    cmStream* kept = s;
    EXPECT_EQ(cmStreamDestroy(&s), CM_OK);
    EXPECT_EQ(s, kept);
    EXPECT_EQ(cmHeapTable[1].block, kept);

    // With the archive not in use, the name is a stand-alone file.
    writeFile("data.txt", "loose file");
    cmStream* loose = nullptr;
    ASSERT_EQ(open("data.txt", "rb", &loose, &munge), CM_OK);
    EXPECT_EQ(loose->munge, nullptr);
    EXPECT_STREQ(nameText, "data.txt");
    EXPECT_EQ(cmStreamDestroy(&loose), CM_OK);

    munge.isOpen = 1;
    EXPECT_EQ(cmStreamDestroy(&s), CM_OK);
    EXPECT_EQ(s, nullptr);
}

TEST_F(CmStream, MissingMemberAndFullHeapTable) {
    openArchive(buildArchive({{"A.TXT", "a"}}, &directory), 0, 1);
    cmStream* s = nullptr;
    EXPECT_EQ(open("b.txt", "rb", &s, &munge), CM_ERR_OPEN);
    EXPECT_STREQ(cmLastReportedError, "Couldn't find requested file in cmStreamOpenFileMunge()");
    munge.count = 0;
    cmLastReportedError[0] = '\0';
    EXPECT_EQ(open("a.txt", "rb", &s, &munge), CM_ERR_OPEN);
    EXPECT_STREQ(cmLastReportedError, "Couldn't find requested file in cmStreamOpenFileMunge()");
    munge.count = 1;

    char dummy = 0;
    for (int i = 1; i < CM_HEAP_ENTRIES; i++) cmHeapTable[i].block = &dummy;  // entry 0 is the archive
    EXPECT_EQ(open("a.txt", "rb", &s, &munge), CM_ERR_NOMEM);
    EXPECT_STREQ(cmLastReportedError, "Out of memory allocating ps in cmStreamOpenFileMunge()");
    EXPECT_EQ(s, nullptr);
    for (int i = 1; i < CM_HEAP_ENTRIES; i++) cmHeapTable[i].block = nullptr;
}

TEST_F(CmStream, StoredNamesOfUpTo128BytesMatchAndLongerOnesAreRejected) {
    const std::string name127(127, 'N');
    openArchive(buildArchive({{name127, "ok"}}, &directory), 1, 1);
    cmStream* s = nullptr;
    ASSERT_EQ(open(std::string(127, 'n').c_str(), "rb", &s, &munge), CM_OK);
    EXPECT_EQ(cmStreamDestroy(&s), CM_OK);
    EXPECT_EQ(cmStreamDestroy(&munge.stream), CM_OK);

    const std::string name128(128, 'N');
    openArchive(buildArchive({{name128, "too long"}}, &directory), 1, 1);
    EXPECT_EQ(open(name128.c_str(), "rb", &s, &munge), CM_ERR_READ);
    EXPECT_STREQ(cmLastReportedError, "Error reading filename in cmStreamOpenFileMunge()");
    EXPECT_EQ(s, nullptr);
}

TEST_F(CmStream, BadArchivesGiveTheirCodesAndMessages) {
    struct Case {
        const char* what;
        uint32_t count;            // directory entries claimed
        uint32_t nameOffset;       // for entry 0
        int64_t nameLength;        // written at nameOffset when not negative
        int32_t code;
        const char* message;
    };
    const Case cases[] = {
        {"directory past the end", 5, 0, -1, CM_ERR_READ, "Error reading munge directory in cmStreamOpenFileMunge()"},
        {"name record past the end", 1, 5000, -1, CM_ERR_READ, "Error reading filename size in cmStreamOpenFileMunge()"},
        {"name offset beyond seeking", 1, 0x80000000u, -1, CM_ERR_SEEK,
         "Error seeking to file in munge in cmStreamOpenFileMunge()"},
        {"name length 129", 1, 0, 129, CM_ERR_READ, "Error reading filename in cmStreamOpenFileMunge()"},
        {"name length 2^32 - 1", 1, 0, 0xFFFFFFFF, CM_ERR_READ, "Error reading filename in cmStreamOpenFileMunge()"},
        {"name longer than the file", 1, 0, 100, CM_ERR_READ, "Error reading filename in cmStreamOpenFileMunge()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = buildArchive({{"X", "data"}}, &directory);
        const uint32_t nameAt = c.nameOffset != 0 ? c.nameOffset : directory[0].nameOffset;
        putU32(bytes, 12, nameAt);
        if (c.nameLength >= 0) putU32(bytes, nameAt, static_cast<uint32_t>(c.nameLength));
        openArchive(bytes, 0, c.count);
        cmStream* s = nullptr;
        EXPECT_EQ(open("missing", "rb", &s, &munge), c.code);
        EXPECT_STREQ(cmLastReportedError, c.message);
        EXPECT_EQ(s, nullptr);
        EXPECT_EQ(cmStreamDestroy(&munge.stream), CM_OK);
    }
}

TEST_F(CmStream, ArchiveWhoseDirectoryCannotBeSoughtReportsIt) {
    // The archive's own stream is a 5-byte member of an outer archive, so the
    // seek to the directory at 12 leaves its bounds.
    openArchive(buildArchive({{"INNER", "12345"}}, &directory), 1, 1);
    cmStream* inner = nullptr;
    ASSERT_EQ(open("inner", "rb", &inner, &munge), CM_OK);
    cmMunge innerMunge = {inner, 1, 0, 1, nullptr};
    cmStream* s = nullptr;
    EXPECT_EQ(open("any", "rb", &s, &innerMunge), CM_ERR_SEEK);
    EXPECT_STREQ(cmLastReportedError, "Error seeking to munge directory area in cmStreamOpenFileMunge()");
    EXPECT_EQ(cmStreamDestroy(&inner), CM_OK);
}

TEST_F(CmStream, MemberWhoseDataLiesPastTheArchiveEndReadsAsTheEnd) {
    std::string bytes = buildArchive({{"A", "abc"}}, &directory);
    directory[0].dataSize = 1000;
    openArchive(bytes, 1, 1);
    cmStream* s = nullptr;
    ASSERT_EQ(open("a", "rb", &s, &munge), CM_OK);
    char buffer[1000];
    EXPECT_EQ(cmStreamRead(s, buffer, 1000), CM_ERR_EOF);
    EXPECT_EQ(std::memcmp(buffer, "abc", 3), 0);
    EXPECT_EQ(cmStreamDestroy(&s), CM_OK);
}

TEST(CmStrUpper, ChangesOnlyLowerCaseLettersInPlace) {
    char text[] = "worddiction.txt az{`@[ \xe9";
    EXPECT_EQ(cmStrUpper(text), text);
    EXPECT_STREQ(text, "WORDDICTION.TXT AZ{`@[ \xe9");
}
