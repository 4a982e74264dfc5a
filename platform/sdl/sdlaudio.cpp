// The port layer's audio device over SDL2: stereo 16-bit samples at the rate
// the device likes, pulled by SDL's audio thread.
#include <SDL2/SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace {

struct SdlAudio {
    SDL_AudioDeviceID device;
    bool subsystemUp;
    PlatAudioCallback callback;
    void* user;
    char error[256];
};

SdlAudio audio;

void sdlAudioPull(void* user, Uint8* stream, int length) {
    (void)user;
    audio.callback(reinterpret_cast<int16_t*>(stream), length / 4, audio.user);
}

// On a machine without a sound card ALSA's library prints a dozen lines of
// its own to standard error while SDL looks for one; the game says in one
// line why it plays silently, so those are kept from the player's terminal.
class SdlQuietStderr {
public:
    SdlQuietStderr() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~SdlQuietStderr() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    SdlQuietStderr(const SdlQuietStderr&) = delete;
    SdlQuietStderr& operator=(const SdlQuietStderr&) = delete;

private:
    int saved_;
};

bool sdlAudioFail(const char* why) {
    std::snprintf(audio.error, sizeof audio.error, "%s", why);
    platAudioClose();
    return false;
}

}  // namespace

bool platAudioOpen(const PlatAudioFormat* want, PlatAudioCallback callback, void* user, PlatAudioFormat* got) {
    platAudioClose();
    SdlQuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return sdlAudioFail(SDL_GetError());
    audio.subsystemUp = true;
    // The dummy driver takes samples and plays nothing: mixing for it would be
    // work for no one.
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver != nullptr && std::strcmp(driver, "dummy") == 0) return sdlAudioFail("SDL's dummy audio driver");
    SDL_AudioSpec asked = {};
    asked.freq = want->rate;
    asked.format = AUDIO_S16SYS;
    asked.channels = 2;
    asked.samples = static_cast<Uint16>(want->bufferFrames);
    asked.callback = sdlAudioPull;
    SDL_AudioSpec given = {};
    audio.callback = callback;
    audio.user = user;
    // The format and the channels are the mixer's; the rate and the buffer are
    // the device's choice, so SDL does not resample behind our back.
    audio.device = SDL_OpenAudioDevice(nullptr, 0, &asked, &given,
                                       SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (audio.device == 0) return sdlAudioFail(SDL_GetError());
    got->rate = given.freq;
    got->bufferFrames = given.samples;
    SDL_PauseAudioDevice(audio.device, 0);
    return true;
}

const char* platAudioError() { return audio.error; }

void platAudioClose() {
    if (audio.device != 0) SDL_CloseAudioDevice(audio.device);
    audio.device = 0;
    if (audio.subsystemUp) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audio.subsystemUp = false;
}
