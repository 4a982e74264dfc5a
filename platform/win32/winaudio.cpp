// The port layer's audio device on Windows: waveOut, stereo 16-bit, a few
// buffers kept queued by a thread of its own that refills each one the device
// has played. The game thread never waits for it.
#include "platform/win32/win32.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int WIN_AUDIO_BUFFERS = 4;
constexpr int32_t WIN_AUDIO_MAX_FRAMES = 4096;

struct WinAudio {
    HWAVEOUT device;
    HANDLE done;    // signalled by the device as each buffer is played
    HANDLE thread;
    volatile LONG stopping;
    PlatAudioCallback callback;
    void* user;
    int32_t frames;
    WAVEHDR headers[WIN_AUDIO_BUFFERS];
    int16_t samples[WIN_AUDIO_BUFFERS][WIN_AUDIO_MAX_FRAMES * 2];
    char error[256];
};

WinAudio audio;

void fillAndQueue(WAVEHDR& header, int16_t* samples) {
    audio.callback(samples, audio.frames, audio.user);
    waveOutWrite(audio.device, &header, sizeof header);
}

// Mixes into every buffer the device has given back, and queues it again.
DWORD WINAPI audioThread(void*) {
    for (int i = 0; i < WIN_AUDIO_BUFFERS; i++) fillAndQueue(audio.headers[i], audio.samples[i]);
    while (!audio.stopping) {
        WaitForSingleObject(audio.done, INFINITE);
        if (audio.stopping) break;
        for (int i = 0; i < WIN_AUDIO_BUFFERS; i++) {
            if (audio.headers[i].dwFlags & WHDR_DONE) {
                audio.headers[i].dwFlags &= ~WHDR_DONE;
                fillAndQueue(audio.headers[i], audio.samples[i]);
            }
        }
    }
    return 0;
}

bool audioFail(const char* why, MMRESULT code) {
    char text[MAXERRORLENGTH] = "";
    if (code != MMSYSERR_NOERROR) waveOutGetErrorTextA(code, text, sizeof text);
    std::snprintf(audio.error, sizeof audio.error, "%s%s%s", why, text[0] ? ": " : "", text);
    platAudioClose();
    return false;
}

}  // namespace

bool platAudioOpen(const PlatAudioFormat* want, PlatAudioCallback callback, void* user, PlatAudioFormat* got) {
    platAudioClose();
    audio.error[0] = '\0';
    audio.callback = callback;
    audio.user = user;
    audio.frames = want->bufferFrames > 0 && want->bufferFrames <= WIN_AUDIO_MAX_FRAMES ? want->bufferFrames : 512;
    if (waveOutGetNumDevs() == 0) return audioFail("Windows has no sound output", MMSYSERR_NOERROR);
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(want->rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    audio.done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!audio.done) return audioFail("the sound device's event cannot be made", MMSYSERR_NOERROR);
    MMRESULT result = waveOutOpen(&audio.device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(audio.done), 0,
                                  CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        audio.device = nullptr;
        return audioFail("the sound device cannot be opened", result);
    }
    for (int i = 0; i < WIN_AUDIO_BUFFERS; i++) {
        WAVEHDR& h = audio.headers[i];
        h = WAVEHDR{};
        h.lpData = reinterpret_cast<LPSTR>(audio.samples[i]);
        h.dwBufferLength = static_cast<DWORD>(audio.frames) * 4;
        result = waveOutPrepareHeader(audio.device, &h, sizeof h);
        if (result != MMSYSERR_NOERROR) return audioFail("the sound buffers cannot be prepared", result);
    }
    audio.stopping = 0;
    audio.thread = CreateThread(nullptr, 0, audioThread, nullptr, 0, nullptr);
    if (!audio.thread) return audioFail("the sound thread cannot be started", MMSYSERR_NOERROR);
    SetThreadPriority(audio.thread, THREAD_PRIORITY_TIME_CRITICAL);
    got->rate = want->rate;
    got->bufferFrames = audio.frames;
    return true;
}

const char* platAudioError() { return audio.error; }

void platAudioClose() {
    if (audio.thread) {
        InterlockedExchange(&audio.stopping, 1);
        SetEvent(audio.done);
        WaitForSingleObject(audio.thread, INFINITE);
        CloseHandle(audio.thread);
        audio.thread = nullptr;
    }
    if (audio.device) {
        waveOutReset(audio.device);
        for (WAVEHDR& h : audio.headers) {
            if (h.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(audio.device, &h, sizeof h);
        }
        waveOutClose(audio.device);
        audio.device = nullptr;
    }
    if (audio.done) CloseHandle(audio.done);
    audio.done = nullptr;
}
