// Streams over stand-alone files and munge archive members.
#include "Core/cmstream/cmstream.h"

#include <cstring>

#include "Core/cmdebug.h"
#include "Core/cmheap.h"
#include "platform/platform.h"

namespace {

const char* const CM_STREAM_OWNER = "Core/cmstream";

// Every read, stand-alone or member, ends by testing the file's flags: the
// flags stay set, so after the end every read returns CM_ERR_EOF until a seek.
int32_t cmStreamReadFile(FILE* file, void* buffer, uint32_t count) {
    if (count > 0) std::fread(buffer, count, 1, file);
    if (std::ferror(file)) {
        cmReportError("Error performing fread() in cmStreamRead()");
        return CM_ERR_READ;
    }
    if (std::feof(file)) return CM_ERR_EOF;
    return CM_OK;
}

bool cmMungeIsOpen(const cmStream* s) { return s->munge->isOpen == 1; }

}  // namespace

int32_t cmStreamOpenFile(cmStream** out, cmStreamOpenDesc* desc) {
    if (desc->munge == nullptr || desc->munge->isOpen != 1) return cmStreamOpenFileStandAlone(out, desc);
    return cmStreamOpenFileMunge(out, desc);
}

int32_t cmStreamOpenFileStandAlone(cmStream** out, cmStreamOpenDesc* desc) {
    const int64_t found = platFileSize(desc->name);
    const uint32_t size = found < 0 ? 0 : static_cast<uint32_t>(found);

    FILE* file = platFileOpen(desc->name, desc->mode);
    if (file == nullptr) {
        cmReportError("Error performing fopen() in cmStreamOpenFileStandAlone() for file '%s'", desc->name);
        return CM_ERR_OPEN;
    }

    void* record = nullptr;
    if (cmHeapMallocPrivate(&record, sizeof(cmStream), __LINE__, CM_STREAM_OWNER) != 0) {
        cmReportError("Out of memory allocating pf in cmStreamOpenFileStandAlone() for file '%s'", desc->name);
        std::fclose(file);  // nobody else could ever close it
        return CM_ERR_NOMEM;
    }
    cmStream* s = static_cast<cmStream*>(record);
    std::memset(s, 0, sizeof *s);
    s->handle = file;
    s->size = size;
    *out = s;
    return CM_OK;
}

int32_t cmStreamOpenFileMunge(cmStream** out, cmStreamOpenDesc* desc) {
    cmMunge* m = desc->munge;
    for (uint32_t i = 0; i < m->count; i++) {
        cmMungeDirEntry entry;
        if (m->dirInMemory == 1) {
            entry = m->directory[i];
        } else {
            // Offsets past 2^31 cannot be sought to; they fail like any bad seek.
            const uint64_t at = 12 + 12 * static_cast<uint64_t>(i);
            if (at > INT32_MAX || cmStreamSeek(m->stream, static_cast<int32_t>(at), 0) != CM_OK) {
                cmReportError("Error seeking to munge directory area in cmStreamOpenFileMunge()");
                return CM_ERR_SEEK;
            }
            uint8_t raw[12];
            if (cmStreamRead(m->stream, raw, sizeof raw) != CM_OK) {
                cmReportError("Error reading munge directory in cmStreamOpenFileMunge()");
                return CM_ERR_READ;
            }
            entry.nameOffset = raw[0] | raw[1] << 8 | raw[2] << 16 | static_cast<uint32_t>(raw[3]) << 24;
            entry.dataOffset = raw[4] | raw[5] << 8 | raw[6] << 16 | static_cast<uint32_t>(raw[7]) << 24;
            entry.dataSize = raw[8] | raw[9] << 8 | raw[10] << 16 | static_cast<uint32_t>(raw[11]) << 24;
        }

        if (entry.nameOffset > INT32_MAX ||
            cmStreamSeek(m->stream, static_cast<int32_t>(entry.nameOffset), 0) != CM_OK) {
            cmReportError("Error seeking to file in munge in cmStreamOpenFileMunge()");
            return CM_ERR_SEEK;
        }
        uint8_t rawLength[4];
        if (cmStreamRead(m->stream, rawLength, sizeof rawLength) != CM_OK) {
            cmReportError("Error reading filename size in cmStreamOpenFileMunge()");
            return CM_ERR_READ;
        }
        const uint32_t length = rawLength[0] | rawLength[1] << 8 | rawLength[2] << 16 |
                                static_cast<uint32_t>(rawLength[3]) << 24;
        // The name buffer holds CM_MUNGE_NAME_SIZE bytes; a longer name cannot be read.
        char stored[CM_MUNGE_NAME_SIZE + 1];
        if (length > CM_MUNGE_NAME_SIZE || cmStreamRead(m->stream, stored, length) != CM_OK) {
            cmReportError("Error reading filename in cmStreamOpenFileMunge()");
            return CM_ERR_READ;
        }
        // A stored name without its zero ends at its length.
        stored[length] = '\0';

        cmStrUpper(desc->name);
        if (std::strcmp(desc->name, stored) != 0) continue;

        void* record = nullptr;
        if (cmHeapMallocPrivate(&record, sizeof(cmStream), __LINE__, CM_STREAM_OWNER) != 0) {
            cmReportError("Out of memory allocating ps in cmStreamOpenFileMunge()");
            return CM_ERR_NOMEM;
        }
        cmStream* s = static_cast<cmStream*>(record);
        std::memset(s, 0, sizeof *s);
        s->munge = m;
        s->pos = entry.dataOffset;
        s->start = entry.dataOffset;
        s->size = entry.dataSize;
        s->end = entry.dataOffset + entry.dataSize;
        *out = s;
        return CM_OK;
    }
    cmReportError("Couldn't find requested file in cmStreamOpenFileMunge()");
    return CM_ERR_OPEN;
}

int32_t cmStreamRead(cmStream* s, void* buffer, uint32_t count) {
    if (s->munge == nullptr) return cmStreamReadFile(s->handle, buffer, count);
    if (!cmMungeIsOpen(s)) return CM_OK;

    // A member never reads outside its own bytes: a position a failed seek or
    // read left before its start is as unreadable as one past its end.
    if (s->pos < s->start || s->pos > s->end) return CM_ERR_EOF;
    const uint64_t after = static_cast<uint64_t>(s->pos) + count;
    // A position past 2^31 becomes a negative offset, which the seek refuses.
    const int32_t seek = cmStreamSeek(s->munge->stream, static_cast<int32_t>(s->pos), 0);
    if (seek != CM_OK) return seek;
    // Saturates rather than wrapping, so a huge count cannot bring pos back in bounds.
    s->pos = after > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(after);
    if (after > s->end) return CM_ERR_EOF;
    return cmStreamRead(s->munge->stream, buffer, count);
}

int32_t cmStreamSeek(cmStream* s, int32_t offset, int32_t origin) {
    if (s->munge == nullptr) {
        if (std::fseek(s->handle, offset, origin) != 0) {
            cmReportError("Error performing fseek() in cmStreamSeek()");
            return CM_ERR_SEEK;
        }
        return CM_OK;
    }
    if (!cmMungeIsOpen(s)) return CM_OK;

    const uint32_t step = static_cast<uint32_t>(offset);  // added with wrap-around
    if (origin == 0) s->pos = s->start + step;
    else if (origin == 1) s->pos = s->pos + step;
    else if (origin == 2) s->pos = s->end + step;
    if (s->pos < s->start || s->pos > s->end) {
        cmReportError("Out of file bounds in cmStreamSeek()");
        return CM_ERR_SEEK;
    }
    return CM_OK;
}

int32_t cmStreamGetSize(cmStream* s, uint32_t* size) {
    *size = s->size;
    return CM_OK;
}

int32_t cmStreamDestroy(cmStream** ps) {
    cmStream* s = *ps;
    if (s->munge == nullptr) {
        if (std::fclose(s->handle) != 0) {
            // fclose has let go of the file even when it fails, so the record is
            // released too: keeping it would invite a second fclose of a dead handle.
            cmReportError("Cannot fclose() stream in cmStreamDestroy");
            cmHeapFreePrivate(s, __LINE__, CM_STREAM_OWNER);
            *ps = nullptr;
            return CM_ERR_CLOSE;
        }
        cmHeapFreePrivate(s, __LINE__, CM_STREAM_OWNER);
        *ps = nullptr;
        return CM_OK;
    }
    if (!cmMungeIsOpen(s)) return CM_OK;
    cmHeapFreePrivate(s, __LINE__, CM_STREAM_OWNER);
    *ps = nullptr;
    return CM_OK;
}

char* cmStrUpper(char* text) {
    for (char* c = text; *c != '\0'; c++)
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 32);
    return text;
}
