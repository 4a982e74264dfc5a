// Streams over stand-alone files and members of a munge archive (one file
// holding several named files behind a directory).
#pragma once

#include <cstdint>
#include <cstdio>

// Stream result codes.
constexpr int32_t CM_OK = 0;
constexpr int32_t CM_ERR_OPEN = 1;    // the file cannot be opened, or no member has that name
constexpr int32_t CM_ERR_CLOSE = 2;   // the file cannot be closed
constexpr int32_t CM_ERR_READ = 3;    // a read failed
constexpr int32_t CM_ERR_SEEK = 5;    // a seek failed or left the member's bounds
constexpr int32_t CM_ERR_NOMEM = 12;  // no memory for the stream record
constexpr int32_t CM_ERR_EOF = 14;    // a read reached the end of the file or member

// Longest stored member name, terminating zero included.
constexpr uint32_t CM_MUNGE_NAME_SIZE = 128;

struct cmMunge;

struct cmStream {
    FILE* handle;    // stand-alone: the open file; null for a member
    uint32_t pos;    // member: current absolute position inside the archive file
    uint32_t size;   // bytes, fixed at open (stand-alone: 0 when the directory search finds nothing)
    uint32_t start;  // member: offset of its first byte in the archive
    uint32_t end;    // member: start + size
    cmMunge* munge;  // null for a stand-alone file
};

// One archive directory entry as stored in the file (12 bytes, little-endian).
struct cmMungeDirEntry {
    uint32_t nameOffset;  // offset of the name record: 4-byte length, then the name with its zero
    uint32_t dataOffset;
    uint32_t dataSize;
};

// An open archive, made by whoever owns it; this module only reads it.
struct cmMunge {
    cmStream* stream;            // the archive file itself, opened stand-alone
    uint8_t isOpen;              // 1 while in use
    uint8_t dirInMemory;         // 1: entries are at directory; otherwise read from the file at 12 + 12i
    uint32_t count;              // number of directory entries
    cmMungeDirEntry* directory;
};

struct cmStreamOpenDesc {
    char* name;  // member opens upper-case it in place
    const char* mode;
    cmMunge* munge;  // null (or not open): a stand-alone file
};

// Opens a member when desc->munge is open, otherwise a stand-alone file. On
// success *out holds the new stream; on failure *out is untouched.
int32_t cmStreamOpenFile(cmStream** out, cmStreamOpenDesc* desc);
int32_t cmStreamOpenFileStandAlone(cmStream** out, cmStreamOpenDesc* desc);
int32_t cmStreamOpenFileMunge(cmStream** out, cmStreamOpenDesc* desc);
// Reads exactly count bytes; CM_ERR_EOF when the file or member ends first.
int32_t cmStreamRead(cmStream* s, void* buffer, uint32_t count);
// origin 0: from the start, 1: from the current position, 2: from the end.
int32_t cmStreamSeek(cmStream* s, int32_t offset, int32_t origin);
// The size fixed at open, not the bytes left. Returns 0.
int32_t cmStreamGetSize(cmStream* s, uint32_t* size);
// Closes the stream; on success *ps becomes null.
int32_t cmStreamDestroy(cmStream** ps);
// Changes a to z into A to Z in place; returns text.
char* cmStrUpper(char* text);
