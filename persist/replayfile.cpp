#include "persist/replayfile.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace {

const uint8_t REPLAY_MAGIC[8] = {'T', 'Q', 'R', 'E', 'P', 'L', 'A', 'Y'};

constexpr uint8_t IDLE_FLAGS = INPUT_FRAME_RAN | INPUT_FRAME_DRAWN | INPUT_POINTER_READ;
constexpr uint8_t KNOWN_FLAGS = IDLE_FLAGS;

constexpr uint8_t TAG_RUN = 1;
constexpr uint8_t TAG_BITMAP = 2;  // in a run's tag
constexpr uint8_t TAG_FLAGS = 2;   // in a record's tag, and the rest below
constexpr uint8_t TAG_EVENTS = 4;
constexpr uint8_t TAG_BUTTON = 8;   // player 1's; player 2's is the next bit up
constexpr uint8_t TAG_MOTION = 32;  // the same
constexpr uint8_t TAG_UNUSED = 128;

// Length, count and check value around a block's payload.
constexpr uint32_t BLOCK_FRAMING = 12;
constexpr uint32_t BLOCK_PAYLOAD_MAX = REPLAY_BLOCK_SIZE - BLOCK_FRAMING;
constexpr uint32_t VARINT_MAX = 5;
constexpr uint32_t RECORD_ITEM_MAX = 1 + VARINT_MAX + 1 + 1 + 2 * INPUT_MAX_EVENTS + INPUT_PLAYERS * (1 + 2 * VARINT_MAX);
constexpr uint32_t RUN_ITEM_MAX = 1 + 2 * VARINT_MAX + REPLAY_BLOCK_RECORDS / 8;
// What one replayWriterAdd and the block's end may code: the pending run,
// the record, and the run the record starts.
constexpr uint32_t ADD_ROOM = 2 * RUN_ITEM_MAX + RECORD_ITEM_MAX;
static_assert(ADD_ROOM * 8 < BLOCK_PAYLOAD_MAX);

uint32_t crcOf(uint32_t crc, const uint8_t* bytes, size_t size) {
    return static_cast<uint32_t>(crc32(crc, bytes, static_cast<uInt>(size)));
}

// ---- Fixed-size little-endian fields ----------------------------------------

uint8_t* put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    return p + 2;
}

uint8_t* put32(uint8_t* p, uint32_t v) {
    for (int32_t i = 0; i < 4; i++) p[i] = static_cast<uint8_t>(v >> (8 * i));
    return p + 4;
}

uint8_t* put64(uint8_t* p, uint64_t v) {
    for (int32_t i = 0; i < 8; i++) p[i] = static_cast<uint8_t>(v >> (8 * i));
    return p + 8;
}

uint16_t get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint64_t get64(const uint8_t* p) {
    return static_cast<uint64_t>(get32(p)) | static_cast<uint64_t>(get32(p + 4)) << 32;
}

// ---- The header ----------------------------------------------------------

bool headerIsSane(const ReplayHeader& h) {
    if (h.twoPlayer != 0 && h.twoPlayer != 1) return false;
    if (h.hiScoreCount < 0 || h.hiScoreCount > HISCORE_ROWS) return false;
    if (h.soundMuted > 1 || h.soundVolume > REPLAY_VOLUME_MAX) return false;
    for (int32_t binding : h.prefs.bindings) {
        if (binding < 0 || binding > 255) return false;
    }
    for (const HiScoreRow& row : h.hiScores) {
        if (!memchr(row.word, '\0', HISCORE_TEXT) || !memchr(row.wordScoreText, '\0', HISCORE_TEXT)) return false;
    }
    return true;
}

void headerPut(uint8_t* p, const ReplayHeader& h) {
    p = put32(p, h.startTime);
    p = put32(p, h.seed);
    p = put32(p, static_cast<uint32_t>(h.twoPlayer));
    p = put64(p, h.dictHash);
    for (int32_t binding : h.prefs.bindings) p = put32(p, static_cast<uint32_t>(binding));
    memcpy(p, h.prefs.tipDoNotShow, PREFS_TIPS);
    p += PREFS_TIPS;
    *p++ = h.prefsSpareFlag;
    for (const HiScoreRow& row : h.hiScores) {
        p = put32(p, static_cast<uint32_t>(row.score));
        memcpy(p, row.word, HISCORE_TEXT);
        p += HISCORE_TEXT;
        memcpy(p, row.wordScoreText, HISCORE_TEXT);
        p += HISCORE_TEXT;
    }
    p = put32(p, static_cast<uint32_t>(h.hiScoreCount));
    *p++ = h.soundMuted;
    *p = h.soundVolume;
}

void headerGet(const uint8_t* p, uint16_t version, ReplayHeader* h) {
    h->startTime = get32(p);
    h->seed = get32(p + 4);
    h->twoPlayer = static_cast<int32_t>(get32(p + 8));
    h->dictHash = get64(p + 12);
    p += 20;
    for (int32_t& binding : h->prefs.bindings) {
        binding = static_cast<int32_t>(get32(p));
        p += 4;
    }
    memcpy(h->prefs.tipDoNotShow, p, PREFS_TIPS);
    p += PREFS_TIPS;
    h->prefsSpareFlag = *p++;
    for (HiScoreRow& row : h->hiScores) {
        row.score = static_cast<int32_t>(get32(p));
        p += 4;
        memcpy(row.word, p, HISCORE_TEXT);
        p += HISCORE_TEXT;
        memcpy(row.wordScoreText, p, HISCORE_TEXT);
        p += HISCORE_TEXT;
    }
    h->hiScoreCount = static_cast<int32_t>(get32(p));
    p += 4;
    h->version = version;
    // Version 1 games started unmuted at the default volume.
    h->soundMuted = version >= 2 ? p[0] : 0;
    h->soundVolume = version >= 2 ? p[1] : SETTINGS_DEFAULT_VOLUME;
}

// ---- Varints -------------------------------------------------------------

uint8_t* putVarint(uint8_t* p, uint32_t v) {
    while (v >= 0x80) {
        *p++ = static_cast<uint8_t>(v | 0x80);
        v >>= 7;
    }
    *p++ = static_cast<uint8_t>(v);
    return p;
}

uint32_t zigzag(int32_t v) {
    return static_cast<uint32_t>(v) << 1 ^ static_cast<uint32_t>(v >> 31);
}

int32_t unzigzag(uint32_t u) {
    return static_cast<int32_t>(u >> 1 ^ (0u - (u & 1)));
}

// Reads from a block's payload; every read checks the end, so hostile bytes
// can only make a read fail.
struct PayloadReader {
    const uint8_t* p;
    const uint8_t* end;

    bool byte(uint8_t* v) {
        if (p == end) return false;
        *v = *p++;
        return true;
    }

    // At most five bytes, and the fifth holds only the top four bits.
    bool varint(uint32_t* v) {
        uint32_t value = 0;
        for (uint32_t i = 0; i < VARINT_MAX; i++) {
            uint8_t b;
            if (!byte(&b)) return false;
            if (i == VARINT_MAX - 1 && b > 0x0f) return false;
            value |= static_cast<uint32_t>(b & 0x7f) << (7 * i);
            if (!(b & 0x80)) {
                *v = value;
                return true;
            }
        }
        return false;
    }

    bool signedVarint(int32_t* v) {
        uint32_t u;
        if (!varint(&u)) return false;
        *v = unzigzag(u);
        return true;
    }
};

// ---- Items ---------------------------------------------------------------

enum ItemKind { ITEM_BAD, ITEM_RECORD, ITEM_RUN };

struct RunItem {
    uint32_t count;
    uint32_t delta;
    const uint8_t* bitmap;  // null when every difference is delta
};

// Decodes the item at in.p. A record comes out whole, its time and absent
// buttons taken from (and left in) lastTime and lastButtons; a run only as
// what it holds, for the caller to play out.
ItemKind decodeItem(PayloadReader* in, uint32_t* lastTime, uint8_t* lastButtons, FrameInput* record, RunItem* run) {
    uint8_t tag;
    if (!in->byte(&tag)) return ITEM_BAD;
    if (tag & TAG_RUN) {
        if (tag & ~(TAG_RUN | TAG_BITMAP)) return ITEM_BAD;
        if (!in->varint(&run->count) || run->count == 0 || run->count > REPLAY_BLOCK_RECORDS) return ITEM_BAD;
        if (!in->varint(&run->delta)) return ITEM_BAD;
        run->bitmap = nullptr;
        if (tag & TAG_BITMAP) {
            const size_t bytes = (run->count + 7) / 8;
            if (static_cast<size_t>(in->end - in->p) < bytes) return ITEM_BAD;
            run->bitmap = in->p;
            in->p += bytes;
        }
        return ITEM_RUN;
    }
    if (tag & TAG_UNUSED) return ITEM_BAD;
    *record = FrameInput{};
    uint32_t delta;
    if (!in->varint(&delta)) return ITEM_BAD;
    record->flags = IDLE_FLAGS;
    if ((tag & TAG_FLAGS) && (!in->byte(&record->flags) || (record->flags & ~KNOWN_FLAGS))) return ITEM_BAD;
    if (tag & TAG_EVENTS) {
        uint32_t count;
        if (!in->varint(&count) || count == 0 || count > static_cast<uint32_t>(INPUT_MAX_EVENTS)) return ITEM_BAD;
        record->eventCount = static_cast<int32_t>(count);
        for (uint32_t i = 0; i < count; i++) {
            InputEvent& e = record->events[i];
            if (!in->byte(&e.kind) || !in->byte(&e.key)) return ITEM_BAD;
            if (e.kind < INPUT_KEY_DOWN || e.kind > INPUT_DESTROY) return ITEM_BAD;
        }
    }
    for (int32_t i = 0; i < INPUT_PLAYERS; i++) {
        PlayerInput& player = record->players[i];
        player.button = lastButtons[i];
        if ((tag & (TAG_BUTTON << i)) && !in->byte(&player.button)) return ITEM_BAD;
    }
    for (int32_t i = 0; i < INPUT_PLAYERS; i++) {
        PlayerInput& player = record->players[i];
        if ((tag & (TAG_MOTION << i)) && (!in->signedVarint(&player.moveX) || !in->signedVarint(&player.moveY))) {
            return ITEM_BAD;
        }
    }
    *lastTime += delta;
    record->time = *lastTime;
    for (int32_t i = 0; i < INPUT_PLAYERS; i++) lastButtons[i] = record->players[i].button;
    return ITEM_RECORD;
}

// ---- Writing -------------------------------------------------------------

// The file is unbuffered: each block goes to the system as it is written, so
// a crash loses at most the block being filled.
bool writeAll(FILE* file, const uint8_t* bytes, size_t length) {
    return std::fwrite(bytes, 1, length, file) == length;
}

bool recordIsValid(const FrameInput& record) {
    if (record.flags & ~KNOWN_FLAGS) return false;
    if (record.eventCount < 0 || record.eventCount > INPUT_MAX_EVENTS) return false;
    for (int32_t i = 0; i < record.eventCount; i++) {
        const uint8_t kind = record.events[i].kind;
        if (kind < INPUT_KEY_DOWN || kind > INPUT_DESTROY) return false;
    }
    return true;
}

// The usual flags, no events, no motion and the buttons as they were: the
// frames of a player who is only watching or thinking.
bool recordIsIdle(const ReplayWriter& w, const FrameInput& record) {
    if (record.flags != IDLE_FLAGS || record.eventCount != 0) return false;
    for (int32_t i = 0; i < INPUT_PLAYERS; i++) {
        const PlayerInput& player = record.players[i];
        if (player.moveX != 0 || player.moveY != 0 || player.button != w.lastButtons[i]) return false;
    }
    return true;
}

uint8_t* payloadEnd(ReplayWriter* w) {
    return w->block + 8 + w->blockLength;
}

void noteCoded(ReplayWriter* w, const uint8_t* end) {
    w->blockLength = static_cast<uint32_t>(end - (w->block + 8));
}

// Buttons are coded against the writer's last ones, so this comes before
// they are updated.
void putRecord(ReplayWriter* w, const FrameInput& record, uint32_t delta) {
    uint8_t tag = 0;
    if (record.flags != IDLE_FLAGS) tag |= TAG_FLAGS;
    if (record.eventCount > 0) tag |= TAG_EVENTS;
    for (int32_t i = 0; i < INPUT_PLAYERS; i++) {
        const PlayerInput& player = record.players[i];
        if (player.button != w->lastButtons[i]) tag |= static_cast<uint8_t>(TAG_BUTTON << i);
        if (player.moveX != 0 || player.moveY != 0) tag |= static_cast<uint8_t>(TAG_MOTION << i);
    }
    uint8_t* p = payloadEnd(w);
    *p++ = tag;
    p = putVarint(p, delta);
    if (tag & TAG_FLAGS) *p++ = record.flags;
    if (tag & TAG_EVENTS) {
        p = putVarint(p, static_cast<uint32_t>(record.eventCount));
        for (int32_t i = 0; i < record.eventCount; i++) {
            *p++ = record.events[i].kind;
            *p++ = record.events[i].key;
        }
    }
    for (int32_t i = 0; i < INPUT_PLAYERS; i++) {
        if (tag & (TAG_BUTTON << i)) *p++ = record.players[i].button;
    }
    for (int32_t i = 0; i < INPUT_PLAYERS; i++) {
        if (tag & (TAG_MOTION << i)) {
            p = putVarint(p, zigzag(record.players[i].moveX));
            p = putVarint(p, zigzag(record.players[i].moveY));
        }
    }
    noteCoded(w, p);
}

void putRun(ReplayWriter* w) {
    uint8_t* p = payloadEnd(w);
    if (w->runCount == 1) {
        // A lone idle record is shorter as a record: tag and difference.
        *p++ = 0;
        p = putVarint(p, w->runFirst);
    } else {
        const bool bitmap = w->runLow != w->runHigh;
        *p++ = bitmap ? TAG_RUN | TAG_BITMAP : TAG_RUN;
        p = putVarint(p, w->runCount);
        p = putVarint(p, w->runLow);
        if (bitmap) {
            // runBits marks the differences other than the first; the file
            // marks those of runLow + 1.
            const bool invert = w->runFirst != w->runLow;
            const uint32_t bytes = (w->runCount + 7) / 8;
            for (uint32_t i = 0; i < bytes; i++) {
                uint8_t b = invert ? static_cast<uint8_t>(~w->runBits[i]) : w->runBits[i];
                if (i == bytes - 1 && w->runCount % 8 != 0) b &= static_cast<uint8_t>((1u << (w->runCount % 8)) - 1);
                *p++ = b;
            }
        }
    }
    noteCoded(w, p);
    w->runCount = 0;
}

void fail(ReplayWriter* w, int error) {
    w->failed = true;
    w->error = error;
}

void writeBlock(ReplayWriter* w) {
    if (w->runCount > 0) putRun(w);
    if (w->blockRecords == 0) return;
    put32(w->block, w->blockLength);
    put32(w->block + 4, w->blockRecords);
    uint8_t* end = payloadEnd(w);
    put32(end, crcOf(0, w->block, 8 + w->blockLength));
    if (!writeAll(w->file, w->block, BLOCK_FRAMING + w->blockLength)) fail(w, errno);
    w->blockLength = 0;
    w->blockRecords = 0;
    w->blockSpan = 0;
}

// ---- Reading -------------------------------------------------------------

void readerReset(ReplayReader* r) {
    r->text[0] = '\0';
    r->owned.clear();
    r->owned.shrink_to_fit();
    r->data = nullptr;
    r->wholeEnd = 0;
    r->recordCount = 0;
    r->cutShort = false;
    r->nextBlock = 0;
    r->pos = 0;
    r->payloadEnd = 0;
    r->lastTime = 0;
    for (uint8_t& b : r->lastButtons) b = 0;
    r->runLeft = 0;
    r->runIndex = 0;
    r->runDelta = 0;
    r->runBitmap = nullptr;
}

ReplayOpenResult readerFail(ReplayReader* r, ReplayOpenResult result, const char* text) {
    readerReset(r);
    snprintf(r->text, sizeof r->text, "%s", text);
    return result;
}

enum BlockCheck { BLOCK_WHOLE, BLOCK_CUT, BLOCK_FAILS_CHECK, BLOCK_NOT_OURS };

// Checks the block at data[at]: its framing, check value and every item.
BlockCheck checkBlock(const uint8_t* data, size_t size, size_t at, uint32_t* records) {
    if (size - at < BLOCK_FRAMING) return BLOCK_CUT;
    const uint32_t length = get32(data + at);
    const uint32_t count = get32(data + at + 4);
    if (length > BLOCK_PAYLOAD_MAX || count == 0 || count > REPLAY_BLOCK_RECORDS) return BLOCK_NOT_OURS;
    if (size - at - BLOCK_FRAMING < length) return BLOCK_CUT;
    if (crcOf(0, data + at, 8 + length) != get32(data + at + 8 + length)) return BLOCK_FAILS_CHECK;
    PayloadReader in{data + at + 8, data + at + 8 + length};
    // Only the count matters here; time and buttons are followed on play.
    uint32_t time = 0;
    uint8_t buttons[INPUT_PLAYERS] = {};
    FrameInput record;
    RunItem run;
    uint32_t found = 0;
    while (in.p < in.end) {
        switch (decodeItem(&in, &time, buttons, &record, &run)) {
            case ITEM_BAD: return BLOCK_NOT_OURS;
            case ITEM_RECORD: found++; break;
            case ITEM_RUN: found += run.count; break;
        }
        if (found > count) return BLOCK_NOT_OURS;
    }
    if (found != count) return BLOCK_NOT_OURS;
    *records = count;
    return BLOCK_WHOLE;
}

ReplayOpenResult openData(ReplayReader* r, const uint8_t* data, size_t size, ReplayHeader* header) {
    if (size < sizeof REPLAY_MAGIC || memcmp(data, REPLAY_MAGIC, sizeof REPLAY_MAGIC) != 0) {
        return readerFail(r, REPLAY_NOT_A_REPLAY, "not a Tarvo Quelms replay");
    }
    if (size < 10) return readerFail(r, REPLAY_BAD_HEADER, "damaged: its header is cut short");
    const uint16_t version = get16(data + 8);
    if (version != 1 && version != REPLAY_VERSION) {
        char text[sizeof r->text];
        snprintf(text, sizeof text, "made by another version of the game (version %u)",
                 static_cast<unsigned>(version));
        return readerFail(r, REPLAY_WRONG_VERSION, text);
    }
    if (size < 14) return readerFail(r, REPLAY_BAD_HEADER, "damaged: its header is cut short");
    const uint32_t payloadSize = version == 1 ? REPLAY_HEADER_PAYLOAD_V1 : REPLAY_HEADER_PAYLOAD;
    if (get32(data + 10) != payloadSize) {
        return readerFail(r, REPLAY_BAD_HEADER, "damaged: its header has the wrong length");
    }
    const size_t headerSize = REPLAY_HEADER_FRAMING + payloadSize;
    if (size < headerSize) return readerFail(r, REPLAY_BAD_HEADER, "damaged: its header is cut short");
    const uint8_t* payload = data + 14;
    if (crcOf(0, payload, payloadSize) != get32(payload + payloadSize)) {
        return readerFail(r, REPLAY_BAD_HEADER, "damaged: its header fails its check value");
    }
    ReplayHeader read;
    headerGet(payload, version, &read);
    if (!headerIsSane(read)) {
        return readerFail(r, REPLAY_BAD_HEADER, "damaged: its header holds values the game never writes");
    }

    int64_t records = 0;
    size_t at = headerSize;
    BlockCheck check = BLOCK_WHOLE;
    while (at < size) {
        uint32_t count = 0;
        check = checkBlock(data, size, at, &count);
        if (check != BLOCK_WHOLE) break;
        records += count;
        at += BLOCK_FRAMING + get32(data + at);
    }
    if (records == 0) {
        const char* why = check == BLOCK_CUT           ? "damaged: its first block is cut short"
                          : check == BLOCK_FAILS_CHECK ? "damaged: its first block fails its check value"
                          : check == BLOCK_NOT_OURS    ? "damaged: its first block holds data the game never writes"
                                                       : "holds no moves: it ends after its header";
        return readerFail(r, REPLAY_NO_WHOLE_BLOCK, why);
    }

    r->data = data;
    r->wholeEnd = at;
    r->recordCount = records;
    r->cutShort = at < size;
    r->nextBlock = headerSize;
    r->pos = 0;
    r->payloadEnd = 0;
    r->lastTime = read.startTime;
    snprintf(r->text, sizeof r->text, "a replay of %lld frames%s", static_cast<long long>(records),
             r->cutShort ? ", its end missing or damaged" : "");
    *header = read;
    return REPLAY_OPENED;
}

}  // namespace

bool replayWriterOpen(ReplayWriter* w, const char* path, const ReplayHeader& header) {
    w->file = nullptr;
    fail(w, 0);
    w->lastTime = header.startTime;
    for (uint8_t& b : w->lastButtons) b = 0;
    w->blockLength = 0;
    w->blockRecords = 0;
    w->blockSpan = 0;
    w->runCount = 0;
    if (!headerIsSane(header)) {
        fail(w, EINVAL);
        errno = EINVAL;
        return false;
    }
    uint8_t bytes[REPLAY_HEADER_SIZE];
    memcpy(bytes, REPLAY_MAGIC, sizeof REPLAY_MAGIC);
    put16(bytes + 8, REPLAY_VERSION);
    put32(bytes + 10, REPLAY_HEADER_PAYLOAD);
    headerPut(bytes + 14, header);
    put32(bytes + 14 + REPLAY_HEADER_PAYLOAD, crcOf(0, bytes + 14, REPLAY_HEADER_PAYLOAD));

    FILE* file = platFileOpen(path, "wb");
    if (!file) {
        fail(w, errno);
        return false;
    }
    std::setvbuf(file, nullptr, _IONBF, 0);
    if (!writeAll(file, bytes, sizeof bytes)) {
        const int reason = errno;
        std::fclose(file);
        fail(w, reason);
        errno = reason;
        return false;
    }
    w->file = file;
    w->failed = false;
    w->error = 0;
    return true;
}

bool replayWriterAdd(ReplayWriter* w, const FrameInput& record) {
    if (w->failed) {
        errno = w->error;
        return false;
    }
    if (!recordIsValid(record)) {
        fail(w, EINVAL);
        errno = EINVAL;
        return false;
    }
    const uint32_t delta = record.time - w->lastTime;
    const bool idle = recordIsIdle(*w, record);
    const uint32_t low = delta < w->runLow ? delta : w->runLow;
    const uint32_t high = delta > w->runHigh ? delta : w->runHigh;
    if (idle && w->runCount > 0 && high - low <= 1) {
        if (delta != w->runFirst) w->runBits[w->runCount / 8] |= static_cast<uint8_t>(1u << (w->runCount % 8));
        w->runLow = low;
        w->runHigh = high;
        w->runCount++;
    } else {
        if (w->runCount > 0) putRun(w);
        if (idle) {
            memset(w->runBits, 0, sizeof w->runBits);
            w->runCount = 1;
            w->runFirst = w->runLow = w->runHigh = delta;
        } else {
            putRecord(w, record, delta);
        }
    }
    w->lastTime = record.time;
    for (int32_t i = 0; i < INPUT_PLAYERS; i++) w->lastButtons[i] = record.players[i].button;
    w->blockRecords++;
    w->blockSpan += delta;
    if (w->blockSpan >= REPLAY_BLOCK_MS || w->blockRecords == REPLAY_BLOCK_RECORDS ||
        w->blockLength + ADD_ROOM > BLOCK_PAYLOAD_MAX) {
        writeBlock(w);
    }
    if (w->failed) errno = w->error;
    return !w->failed;
}

bool replayWriterClose(ReplayWriter* w) {
    if (!w->file) {
        errno = w->error;
        return false;
    }
    if (!w->failed) writeBlock(w);
    if (std::fclose(w->file) != 0 && !w->failed) fail(w, errno);
    w->file = nullptr;
    const bool ok = !w->failed;
    if (ok) fail(w, 0);  // nothing more goes in
    errno = w->error;
    return ok;
}

ReplayOpenResult replayReaderOpen(ReplayReader* r, const char* path, ReplayHeader* header) {
    readerReset(r);
    FILE* file = platFileOpen(path, "rb");
    if (!file) {
        if (errno == ENOENT) return readerFail(r, REPLAY_MISSING, "not found");
        char text[sizeof r->text];
        snprintf(text, sizeof text, "cannot be read (%s)", strerror(errno));
        return readerFail(r, REPLAY_UNREADABLE, text);
    }
    // Some systems open a folder as a file; it reads as nothing.
    if (platPathKind(path) == PLAT_PATH_FOLDER) {
        std::fclose(file);
        char text[sizeof r->text];
        snprintf(text, sizeof text, "cannot be read (%s)", strerror(EISDIR));
        return readerFail(r, REPLAY_UNREADABLE, text);
    }
    // A file that cannot seek (a pipe) tells no length.
    size_t expected = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long at = std::ftell(file);
        if (at > 0) expected = static_cast<size_t>(at);
        std::rewind(file);
    }
    // A file that grows while being read is taken as far as it goes; one that
    // is no regular file is read in chunks.
    size_t length = 0;
    bool tooBig = expected > REPLAY_FILE_MAX;
    int error = 0;
    if (!tooBig) r->owned.resize(expected > 0 ? expected + 1 : 65536);
    while (!tooBig) {
        if (length == r->owned.size()) {
            if (length > REPLAY_FILE_MAX) {
                tooBig = true;
                break;
            }
            r->owned.resize(length * 2 < REPLAY_FILE_MAX + 1 ? length * 2 : REPLAY_FILE_MAX + 1);
        }
        errno = 0;
        const size_t n = std::fread(r->owned.data() + length, 1, r->owned.size() - length, file);
        length += n;
        if (std::ferror(file)) {
            error = errno != 0 ? errno : EIO;
            break;
        }
        if (n == 0) break;
    }
    std::fclose(file);
    if (tooBig || length > REPLAY_FILE_MAX) return readerFail(r, REPLAY_UNREADABLE, "too big for a replay");
    if (error != 0) {
        char text[sizeof r->text];
        snprintf(text, sizeof text, "cannot be read (%s)", strerror(error));
        return readerFail(r, REPLAY_UNREADABLE, text);
    }
    r->owned.resize(length);
    return openData(r, r->owned.data(), length, header);
}

ReplayOpenResult replayReaderOpenBytes(ReplayReader* r, const uint8_t* data, size_t size, ReplayHeader* header) {
    readerReset(r);
    return openData(r, data, size, header);
}

const char* replayReaderOpenText(const ReplayReader& r) {
    return r.text;
}

bool replayReaderNext(ReplayReader* r, FrameInput* record) {
    for (;;) {
        if (r->runLeft > 0) {
            uint32_t delta = r->runDelta;
            if (r->runBitmap && (r->runBitmap[r->runIndex / 8] >> (r->runIndex % 8) & 1)) delta++;
            r->lastTime += delta;
            *record = FrameInput{};
            record->time = r->lastTime;
            record->flags = IDLE_FLAGS;
            for (int32_t i = 0; i < INPUT_PLAYERS; i++) record->players[i].button = r->lastButtons[i];
            r->runIndex++;
            r->runLeft--;
            return true;
        }
        if (r->pos < r->payloadEnd) {
            PayloadReader in{r->data + r->pos, r->data + r->payloadEnd};
            RunItem run;
            const ItemKind kind = decodeItem(&in, &r->lastTime, r->lastButtons, record, &run);
            r->pos = static_cast<size_t>(in.p - r->data);
            if (kind == ITEM_RECORD) return true;
            if (kind == ITEM_BAD) {
                // Checked at open, so never; stop rather than play on wrongly.
                r->pos = r->payloadEnd;
                r->nextBlock = r->wholeEnd;
                return false;
            }
            r->runLeft = run.count;
            r->runIndex = 0;
            r->runDelta = run.delta;
            r->runBitmap = run.bitmap;
            continue;
        }
        if (r->nextBlock >= r->wholeEnd) return false;
        r->pos = r->nextBlock + 8;
        r->payloadEnd = r->pos + get32(r->data + r->nextBlock);
        r->nextBlock = r->payloadEnd + 4;
    }
}

int64_t replayReaderRecordCount(const ReplayReader& r) {
    return r.recordCount;
}

bool replayReaderCutShort(const ReplayReader& r) {
    return r.cutShort;
}

void replayReaderClose(ReplayReader* r) {
    readerReset(r);
}
