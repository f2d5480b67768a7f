// Proves the cache's libraries work in a Windows program: SDL2 starts (with
// whatever drivers the environment names), espeak-ng reads its data from the
// folder given and synthesises one sentence into memory on a std::thread.
// Prints what it got; exits 0 only when there is half a second of speech or
// more (the sentence takes about two).
//
//   smoke.exe DATA_FOLDER
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <espeak-ng/speak_lib.h>

#include <cstdio>
#include <thread>
#include <vector>

namespace {

std::vector<short> g_samples;

int Collect(short* wav, int count, espeak_EVENT*) {
    if (wav != nullptr && count > 0) g_samples.insert(g_samples.end(), wav, wav + count);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: smoke DATA_FOLDER\n");
        return 2;
    }
    SDL_SetMainReady();
    SDL_version linked;
    SDL_GetVersion(&linked);
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL_Init failed: %s\n", SDL_GetError());
        return 1;
    }
    std::printf("SDL %d.%d.%d, video %s, audio %s\n", linked.major, linked.minor, linked.patch,
                SDL_GetCurrentVideoDriver(), SDL_GetCurrentAudioDriver());

    int rate = 0;
    espeak_ERROR voice = EE_INTERNAL_ERROR;
    espeak_ERROR synth = EE_INTERNAL_ERROR;
    std::thread speaker([&] {
        rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 20, argv[1], espeakINITIALIZE_DONT_EXIT);
        if (rate <= 0) return;
        espeak_SetSynthCallback(&Collect);
        voice = espeak_SetVoiceByName("en-us+f3");
        static const char kText[] = "Strike one, on the outside corner.";
        synth = espeak_Synth(kText, sizeof kText, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
        espeak_Synchronize();
        espeak_Terminate();
    });
    speaker.join();
    SDL_Quit();

    if (rate <= 0) {
        std::fprintf(stderr, "espeak_Initialize failed with the data folder %s\n", argv[1]);
        return 1;
    }
    std::printf("espeak-ng %s, voice %s, synthesis %s\n", espeak_Info(nullptr), voice == EE_OK ? "set" : "NOT set",
                synth == EE_OK ? "ok" : "FAILED");
    std::printf("samples %zu at %d Hz (%.2f s)\n", g_samples.size(), rate,
                static_cast<double>(g_samples.size()) / rate);
    std::fflush(stdout);
    const bool spoken = g_samples.size() >= static_cast<size_t>(rate / 2);
    return voice == EE_OK && synth == EE_OK && spoken ? 0 : 1;
}
