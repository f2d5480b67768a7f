// The SDL2 audio device, or a silent stand-in that keeps the mixer's clock
// running when no device can be opened.
#include "host/real/audio_device.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

namespace sw::host::real {

namespace {

constexpr int kChannels = 2;
constexpr Uint16 kDevicePeriod = 512;  // frames per callback
constexpr int kSilentPeriod = 256;     // frames per step of the silent stand-in

}  // namespace

class AudioDevice::Impl {
public:
    explicit Impl(Mixer& mixer) : mixer(mixer) {}

    Mixer& mixer;
    SDL_AudioDeviceID device = 0;

    std::thread silent;
    std::mutex mu;
    std::condition_variable wake;
    bool stopping = false;

    static void Callback(void* user, Uint8* stream, int len) {
        auto* self = static_cast<Impl*>(user);
        const int frames = len / static_cast<int>(kChannels * sizeof(int16_t));
        self->mixer.Render(reinterpret_cast<int16_t*>(stream), frames, self->mixer.clock().now());
    }

    bool OpenSdl(std::string& why) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            why = SDL_GetError();
            return false;
        }
        SDL_AudioSpec want{};
        want.freq = mixer.DeviceRate();
        want.format = AUDIO_S16SYS;
        want.channels = kChannels;
        want.samples = kDevicePeriod;
        want.callback = &Impl::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware takes.
        device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device == 0) {
            why = SDL_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        // A frame rendered in a callback is heard after roughly the device
        // buffer in front of it: about two periods.
        mixer.SetOutputLatency(2.0 * have.samples / have.freq);
        SDL_PauseAudioDevice(device, 0);
        return true;
    }

    // Renders in real time into nowhere, like a device with a short period, so
    // that cursors advance and one-shot sounds end. Each step is stamped with
    // the time it was due, which keeps the cursor exact despite late wake-ups.
    void RunSilent() {
        const int rate = mixer.DeviceRate();
        const double period = static_cast<double>(kSilentPeriod) / rate;
        mixer.SetOutputLatency(2 * period);
        std::array<int16_t, kSilentPeriod * kChannels> scratch{};
        const Clock& clock = mixer.clock();
        double due = clock.now();
        std::unique_lock lock(mu);
        while (!stopping) {
            const double now = clock.now();
            if (now - due > 0.25) due = now;  // far behind (the process was stopped): skip ahead
            while (due <= now && !stopping) {
                lock.unlock();
                mixer.Render(scratch.data(), kSilentPeriod, due);
                lock.lock();
                due += period;
            }
            const double wait = std::clamp(due - clock.now(), 0.001, 0.050);
            wake.wait_for(lock, std::chrono::duration<double>(wait));
        }
    }
};

AudioDevice::AudioDevice(Mixer& mixer) : impl_(std::make_unique<Impl>(mixer)) {}

AudioDevice::~AudioDevice() { Close(); }

bool AudioDevice::Open() {
    Close();
    std::string why;
    if (impl_->OpenSdl(why)) return true;
    std::fprintf(stderr, "No sound device could be opened (%s); the game runs without sound.\n", why.c_str());
    std::fflush(stderr);
    impl_->stopping = false;
    impl_->silent = std::thread([this] { impl_->RunSilent(); });
    return false;
}

void AudioDevice::Close() {
    if (impl_->device != 0) {
        SDL_CloseAudioDevice(impl_->device);
        impl_->device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    if (impl_->silent.joinable()) {
        {
            std::lock_guard lock(impl_->mu);
            impl_->stopping = true;
        }
        impl_->wake.notify_all();
        impl_->silent.join();
    }
}

}  // namespace sw::host::real
