#include "speech.hpp"

#include <espeak-ng/speak_lib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace sg {

namespace {

int collect(short* wav, int count, espeak_EVENT* events) {
    if (wav != nullptr && count > 0 && events != nullptr && events->user_data != nullptr) {
        auto* out = static_cast<std::vector<std::int16_t>*>(events->user_data);
        out->insert(out->end(), wav, wav + count);
    }
    return 0;  // keep going
}

bool writeAll(int fd, const void* data, std::size_t bytes) {
    const auto* p = static_cast<const char*>(data);
    while (bytes > 0) {
        const ssize_t n = ::write(fd, p, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        bytes -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(int fd, void* data, std::size_t bytes) {
    auto* p = static_cast<char*>(data);
    while (bytes > 0) {
        const ssize_t n = ::read(fd, p, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        bytes -= static_cast<std::size_t>(n);
    }
    return true;
}

void ensureEngine() {
    static const bool ready = [] {
        // Synchronous output: the engine calls back with the samples and
        // returns once the text is spoken, at 22050 Hz.
        const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
        if (rate != 22050)
            throw std::runtime_error("espeak-ng did not start (rate " + std::to_string(rate) + ")");
        espeak_SetSynthCallback(collect);
        return true;
    }();
    (void)ready;
}

Signal trimSilence(const Signal& s) {
    constexpr float kThreshold = 0.004f;  // about -48 dBFS
    std::size_t first = 0, last = s.size();
    while (first < s.size() && std::fabs(s[first]) < kThreshold) ++first;
    while (last > first && std::fabs(s[last - 1]) < kThreshold) --last;
    if (first >= last) return {};
    const std::size_t lead = samples(0.004), tail = samples(0.03);
    first = first > lead ? first - lead : 0;
    last = std::min(s.size(), last + tail);
    return Signal(s.begin() + static_cast<std::ptrdiff_t>(first),
                  s.begin() + static_cast<std::ptrdiff_t>(last));
}

// The engine carries state from one utterance to the next (the phase of its
// voice source, among others), so the same line would come out a little
// different each time. Every line is therefore spoken in a child process
// forked from the engine as it stands freshly initialised: the same text and
// voice always give the same samples, whatever was spoken before.
std::vector<std::int16_t> synthesise(const std::string& text, const Voice& voice) {
    ensureEngine();
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) throw std::runtime_error("speech: no pipe");
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("speech: cannot fork");
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::vector<std::int16_t> raw;
        bool ok = espeak_SetVoiceByName(voice.name.c_str()) == EE_OK;
        if (ok) {
            espeak_SetParameter(espeakRATE, std::clamp(voice.rate, 80, 450), 0);
            espeak_SetParameter(espeakPITCH, std::clamp(voice.pitch, 0, 100), 0);
            espeak_SetParameter(espeakRANGE, std::clamp(voice.range, 0, 100), 0);
            espeak_SetParameter(espeakVOLUME, 100, 0);
            espeak_SetParameter(espeakWORDGAP, 0, 0);
            const unsigned flags = espeakCHARS_UTF8 | (voice.ssml ? espeakSSML : 0);
            ok = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, flags, nullptr, &raw) == EE_OK &&
                 espeak_Synchronize() == EE_OK;
        }
        const std::int64_t count = ok ? static_cast<std::int64_t>(raw.size()) : -1;
        const bool sent = writeAll(pipeFds[1], &count, sizeof count) &&
                          (count <= 0 || writeAll(pipeFds[1], raw.data(), raw.size() * sizeof raw[0]));
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::int64_t count = -1;
    std::vector<std::int16_t> raw;
    bool ok = readAll(pipeFds[0], &count, sizeof count) && count >= 0;
    if (ok) {
        raw.resize(static_cast<std::size_t>(count));
        ok = readAll(pipeFds[0], raw.data(), raw.size() * sizeof raw[0]);
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!ok || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("espeak-ng could not speak \"" + text + "\" with voice " + voice.name);
    return raw;
}

}  // namespace

Signal speak(const std::string& text, const Voice& voice) {
    const std::vector<std::int16_t> raw = synthesise(text, voice);
    std::vector<float> wave(raw.size() + 256, 0.0f);  // the tail lets the low-pass settle
    for (std::size_t i = 0; i < raw.size(); ++i) wave[i] = static_cast<float>(raw[i] / 32768.0);
    return trimSilence(decimateByTwo(wave));
}

Signal speakWithin(const std::string& text, Voice voice, double maxSecs, int* finalRate) {
    Signal s = speak(text, voice);
    while (seconds(s.size()) > maxSecs && voice.rate < 450) {
        voice.rate = std::min(450, voice.rate + 8);
        s = speak(text, voice);
    }
    if (finalRate) *finalRate = voice.rate;
    return s;
}

}  // namespace sg
