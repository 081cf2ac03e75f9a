#include <SDL2/SDL.h>

#include <cstdio>

#include "host/AudioOutput.h"

namespace host {

bool SdlAudioOutput::open(AudioMixer& target)
{
    close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Sound is off: %s\n", SDL_GetError());
        return false;
    }
    subsystemStarted = true;
    mixer = &target;
    SDL_AudioSpec wanted{};
    wanted.freq = kAudioRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = &SdlAudioOutput::callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the device wants.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        std::fprintf(stderr, "Sound is off: %s\n", SDL_GetError());
        mixer = nullptr;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted = false;
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlAudioOutput::close()
{
    if (device != 0) {
        SDL_CloseAudioDevice(device);
        device = 0;
    }
    mixer = nullptr;
    if (subsystemStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted = false;
    }
}

void SdlAudioOutput::callback(void* userData, uint8_t* stream, int length)
{
    auto* self = static_cast<SdlAudioOutput*>(userData);
    auto* samples = reinterpret_cast<int16_t*>(stream);
    const int frames = length / 4;
    if (self->mixer)
        self->mixer->mix(samples, frames);
    else
        SDL_memset(stream, 0, length);
}

} // namespace host
