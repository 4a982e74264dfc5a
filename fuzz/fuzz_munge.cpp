// The munge archive: any archive bytes, any member name, then reads and seeks.
// Input: flags, entry count, name length, five operation bytes, the name, then
// the archive file itself.
#include <cstring>

#include "Core/cmheap.h"
#include "Core/cmstream/cmstream.h"
#include "fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static char buffer[4096];
    static cmMungeDirEntry directory[64];
    static bool heapReady = false;
    if (!heapReady) {
        cmHeapInit();
        heapReady = true;
    }
    fuzzEnterScratchFolder();
    if (size < 8) return 0;
    const uint8_t flags = data[0];
    const uint32_t count = flags & 0x80 ? 0xFFFFFFFFu - data[1] : data[1] % 64;
    const size_t nameLength = data[2] % 32;
    const uint8_t* ops = data + 3;
    if (size < 8 + nameLength) return 0;
    char name[33] = {};
    std::memcpy(name, data + 8, nameLength);
    const uint8_t* archive = data + 8 + nameLength;
    const size_t archiveSize = size - 8 - nameLength;
    fuzzWriteFile("a.mng", archive, archiveSize);

    cmMunge munge = {};
    char archiveName[] = "a.mng";
    cmStreamOpenDesc archiveDesc = {archiveName, "rb", nullptr};
    if (cmStreamOpenFile(&munge.stream, &archiveDesc) != CM_OK) return 0;
    munge.isOpen = 1;
    munge.dirInMemory = flags & 1;
    munge.count = count;
    if (munge.dirInMemory) {
        // An in-memory directory holds at most what the caller gave it.
        munge.count = count % 64;
        for (uint32_t i = 0; i < munge.count; i++) {
            size_t at = 12 + 12 * static_cast<size_t>(i);
            directory[i] = {};
            if (at + 12 <= archiveSize) std::memcpy(&directory[i], archive + at, 12);
        }
        munge.directory = directory;
    }

    cmStream* member = nullptr;
    cmStreamOpenDesc desc = {name, "rb", &munge};
    if (cmStreamOpenFile(&member, &desc) == CM_OK) {
        for (int i = 0; i < 5; i++) {
            const uint8_t op = ops[i];
            if (op & 1) {
                cmStreamRead(member, buffer, (op >> 1) * 37u % sizeof buffer);
            } else {
                cmStreamSeek(member, static_cast<int8_t>(op) * 131, (op >> 1) % 4);
            }
        }
        uint32_t memberSize = 0;
        cmStreamGetSize(member, &memberSize);
        cmStreamDestroy(&member);
    }
    cmStreamDestroy(&munge.stream);
    return 0;
}
