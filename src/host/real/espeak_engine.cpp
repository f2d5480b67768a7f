// Speech over libespeak-ng. espeak-ng is not re-entrant, so one worker thread
// makes every call into it: initialisation, voice and rate changes and the
// synthesis itself. The synthesis runs in synchronous mode, far faster than
// real time, and its chunks are handed to the mixer's speech channel as they
// come, so speech starts within milliseconds and a purge is immediate.
#include "host/real/espeak_engine.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace sw::host::real {

namespace {

struct VoiceChoice {
    const char* spec;  // espeak voice name, optionally with "+variant"
    const char* name;  // what the player hears the voice called
};

// The English voices offered, in this order; those the installed data cannot
// load are left out. The first one that loads is the default.
constexpr VoiceChoice kChoices[] = {
    {"en-us", "American English, male"},
    {"en-us+f3", "American English, female"},
    {"en", "British English, male"},
    {"en+f4", "British English, female"},
    {"en-gb-x-rp", "British English, received pronunciation"},
    {"en-gb-scotland", "Scottish English"},
    {"en-029", "Caribbean English"},
    {"en-us+m3", "American English, deep male"},
};

constexpr int kBufferMs = 20;  // synthesis chunk length

int WordsPerMinute(int rate) {
    const double wpm = 175.0 * std::pow(3.0, rate / 10.0);
    return std::clamp(static_cast<int>(std::lround(wpm)), espeakRATE_MINIMUM, espeakRATE_MAXIMUM);
}

// The speaking side of one engine object; voices keep it alive.
struct Session {
    explicit Session(Mixer& m) : mixer(m) {}
    Mixer& mixer;
    bool closed = false;  // guarded by Worker::mu_
    int captionsPrinting = 0;  // taken from the mixer, not yet written; guarded by Worker::mu_
    unsigned long printingGeneration = 0;  // the purge generation they were taken in
    std::function<void(const std::string&)> started;  // told of each caption as it is taken; guarded by Worker::mu_
};

struct Utterance {
    std::string text;
    int voice = 0;
    int rate = 0;
    std::shared_ptr<Session> session;
};

int SynthCallback(short* wav, int count, espeak_EVENT* events);

// The one espeak-ng instance of the process and the thread that makes all
// calls into it. It is set up on first use and lives as long as the process:
// espeak-ng cannot be shut down and started again within one process.
class Worker {
public:
    static Worker& Get() {
        static Worker* const worker = new Worker();  // never destroyed: its thread may still wait at exit
        return *worker;
    }

    // Empty when the engine is usable, else why not.
    const std::string& error() const { return error_; }

    int VoiceCount() const { return static_cast<int>(voices_.size()); }

    std::string VoiceName(int index) const {
        if (index < 0 || index >= VoiceCount()) return "";
        return kChoices[voices_[static_cast<size_t>(index)]].name;
    }

    void Speak(const std::shared_ptr<Session>& session, const std::string& text, int flags, int voice, int rate) {
        if ((flags & kSpeakPurge) != 0) Purge(*session);
        if (text.empty() && (flags & kSpeakPurge) != 0) return;
        {
            std::lock_guard lock(mu_);
            if (session->closed) return;
            queue_.push_back(Utterance{text, voice, rate, session});
        }
        work_.notify_one();
        if ((flags & kSpeakAsync) == 0) WaitUntilHeard(*session);
    }

    void Purge(Session& session) {
        std::deque<Utterance> dropped;  // freed after unlocking
        std::vector<std::string> heard;  // captions of texts that did start to sound
        {
            std::lock_guard lock(mu_);
            dropped.swap(queue_);
            ++generation_;  // the synthesis in progress aborts at its next chunk
            if (!session.closed) {
                heard = session.mixer.SpeechTakeCaptions();
                session.mixer.SpeechPurge();
                Tell(session, heard);
            }
        }
        for (const auto& t : heard) Caption(t);
    }

    void SetListener(Session& session, std::function<void(const std::string&)> listener) {
        std::lock_guard lock(mu_);
        session.started = std::move(listener);
    }

    void SetGain(Session& session, double gain) {
        std::lock_guard lock(mu_);
        if (!session.closed) session.mixer.SpeechSetGain(gain);
    }

    // After this the session's mixer is never touched again.
    void Close(Session& session) {
        Purge(session);
        std::lock_guard lock(mu_);
        session.closed = true;
    }

    int RunningState(Session& session) {
        std::lock_guard lock(mu_);
        return BusyLocked(session) ? kSpeechSpeaking : kSpeechDone;
    }

    // Called on the worker thread for each synthesised chunk. The check and the
    // append are made under the lock a purge takes, so no chunk of a purged
    // utterance can slip into the mixer after the purge.
    int Deliver(const short* wav, int count) {
        std::lock_guard lock(mu_);
        if (!current_ || current_->closed || synthGeneration_ != generation_) return 1;  // abort this text
        if (wav != nullptr && count > 0) {
            current_->mixer.SpeechAppend(reinterpret_cast<const int16_t*>(wav), static_cast<size_t>(count), sampleRate_);
        }
        return 0;
    }

private:
    Worker() {
        std::promise<void> ready;
        auto started = ready.get_future();
        std::thread([this, p = std::move(ready)]() mutable { Run(std::move(p)); }).detach();
        started.wait();
        std::thread([this] { CaptionLoop(); }).detach();
    }

    // Writes each utterance's caption when it starts to sound: while captions
    // are on their way it looks every 2 ms, otherwise it sleeps.
    void CaptionLoop() {
        std::vector<std::pair<std::shared_ptr<Session>, std::vector<std::string>>> due;
        std::unique_lock lock(mu_);
        for (;;) {
            captionWork_.wait_for(lock, std::chrono::milliseconds(2));
            due.clear();
            for (auto it = captioned_.begin(); it != captioned_.end();) {
                Session& s = **it;
                if (s.closed || !s.mixer.SpeechCaptionsWaiting()) {
                    it = captioned_.erase(it);
                    continue;
                }
                auto texts = s.mixer.SpeechTakeCaptions();
                Tell(s, texts);
                if (!texts.empty()) {
                    s.captionsPrinting += static_cast<int>(texts.size());
                    s.printingGeneration = generation_;
                    due.emplace_back(*it, std::move(texts));
                }
                ++it;
            }
            if (due.empty()) {
                if (captioned_.empty()) captionWork_.wait(lock, [this] { return !captioned_.empty(); });
                continue;
            }
            lock.unlock();
            for (const auto& [session, texts] : due)
                for (const auto& t : texts) Caption(t);
            lock.lock();
            for (auto& [session, texts] : due) session->captionsPrinting -= static_cast<int>(texts.size());
            done_.notify_all();
        }
    }

    bool BusyLocked(Session& session) const {
        if (session.closed) return false;
        if (!queue_.empty()) return true;
        if (synthesizing_ && synthGeneration_ == generation_ && current_.get() == &session) return true;
        // Speech ends once its captions are written too, unless a purge came since.
        if (session.captionsPrinting > 0 && session.printingGeneration == generation_) return true;
        if (session.mixer.SpeechCaptionsWaiting()) return true;
        return session.mixer.SpeechPending();
    }

    // Sleeps in short steps: completion depends on the sound being heard, which
    // only the passing of time tells.
    void WaitUntilHeard(Session& session) {
        std::unique_lock lock(mu_);
        while (BusyLocked(session)) done_.wait_for(lock, std::chrono::milliseconds(2));
    }

    void Run(std::promise<void> ready) {
        const std::string data = EspeakDataParent();
        sampleRate_ = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, kBufferMs, data.empty() ? nullptr : data.c_str(),
                                        espeakINITIALIZE_DONT_EXIT);
        if (sampleRate_ <= 0) {
            error_ = "the speech engine espeak-ng could not be initialised";
        } else {
            espeak_SetSynthCallback(&SynthCallback);
            FindVoices();
            if (voices_.empty()) error_ = "the speech engine has no English voice";
        }
        ready.set_value();
        if (!error_.empty()) return;

        int loadedVoice = 0;
        int loadedWpm = -1;
        for (;;) {
            Utterance u;
            {
                std::unique_lock lock(mu_);
                work_.wait(lock, [this] { return !queue_.empty(); });
                u = std::move(queue_.front());
                queue_.pop_front();
                current_ = u.session;
                synthesizing_ = true;
                synthGeneration_ = generation_;
                // The caption goes out when the text starts to sound.
                if (!current_->closed) {
                    current_->mixer.SpeechMark(u.text);
                    if (std::find(captioned_.begin(), captioned_.end(), current_) == captioned_.end())
                        captioned_.push_back(current_);
                }
            }
            captionWork_.notify_one();
            if (u.voice != loadedVoice && u.voice >= 0 && u.voice < VoiceCount()) {
                if (espeak_SetVoiceByName(kChoices[voices_[static_cast<size_t>(u.voice)]].spec) == EE_OK) {
                    loadedVoice = u.voice;
                    loadedWpm = -1;  // a voice change resets the rate
                }
            }
            const int wpm = WordsPerMinute(u.rate);
            if (wpm != loadedWpm) {
                espeak_SetParameter(espeakRATE, wpm, 0);
                loadedWpm = wpm;
            }
            const std::string spoken = SpeakableText(u.text);
            const espeak_ERROR err = espeak_Synth(spoken.c_str(), spoken.size() + 1, 0, POS_CHARACTER, 0,
                                                  espeakCHARS_UTF8, nullptr, nullptr);
            if (err != EE_OK) {
                std::fprintf(stderr, "speech: the engine could not speak a text (error %d)\n", static_cast<int>(err));
            }
            std::shared_ptr<Session> finished;  // released after unlocking
            {
                std::lock_guard lock(mu_);
                synthesizing_ = false;
                finished = std::move(current_);
            }
            done_.notify_all();
        }
    }

    // Keeps the choices whose voice (and variant) the installed data has.
    void FindVoices() {
        std::set<std::string> variants;
        espeak_VOICE spec{};
        spec.languages = "variant";
        if (const espeak_VOICE** list = espeak_ListVoices(&spec)) {
            for (; *list != nullptr; ++list) {
                const std::string id = (*list)->identifier ? (*list)->identifier : "";
                const auto slash = id.rfind('/');
                variants.insert(slash == std::string::npos ? id : id.substr(slash + 1));
            }
        }
        for (size_t i = 0; i < std::size(kChoices); ++i) {
            const std::string full = kChoices[i].spec;
            const auto plus = full.find('+');
            const std::string base = full.substr(0, plus);
            if (plus != std::string::npos && variants.count(full.substr(plus + 1)) == 0) continue;
            if (espeak_SetVoiceByName(base.c_str()) != EE_OK) continue;
            voices_.push_back(i);
        }
        if (!voices_.empty()) espeak_SetVoiceByName(kChoices[voices_.front()].spec);
    }

    // The session's listener hears the texts as they are taken from the
    // mixer, under the lock, so that a purge returns only once it has heard
    // every text that started before it.
    static void Tell(Session& session, const std::vector<std::string>& texts) {
        if (session.started)
            for (const auto& t : texts) session.started(t);
    }

    // Every utterance goes to standard output as one line when it starts, for
    // a terminal, a braille display or a test to follow.
    static void Caption(const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        if (text.empty() || text.back() != '\n') std::fputc('\n', stdout);
        std::fflush(stdout);
    }

    // Fixed once the worker has started.
    std::string error_;
    std::vector<size_t> voices_;  // indices into kChoices
    int sampleRate_ = 22050;

    std::mutex mu_;
    std::condition_variable work_;  // wakes the worker
    std::condition_variable done_;  // an utterance finished synthesis
    std::condition_variable captionWork_;  // wakes the caption writer
    std::vector<std::shared_ptr<Session>> captioned_;  // sessions whose captions are on their way
    std::deque<Utterance> queue_;
    std::shared_ptr<Session> current_;   // whose text is being synthesised
    bool synthesizing_ = false;
    unsigned long generation_ = 0;       // bumped by every purge
    unsigned long synthGeneration_ = 0;  // generation of the text being synthesised
};

int SynthCallback(short* wav, int count, espeak_EVENT* /*events*/) { return Worker::Get().Deliver(wav, count); }

class EspeakVoice : public SpeechVoice {
public:
    explicit EspeakVoice(std::shared_ptr<Session> session) : session_(std::move(session)) {
        Worker::Get().SetGain(*session_, 1.0);
    }

    // A voice that goes away takes its speech with it.
    ~EspeakVoice() override { Worker::Get().Purge(*session_); }

    EspeakVoice(const EspeakVoice&) = delete;
    EspeakVoice& operator=(const EspeakVoice&) = delete;

    void Speak(const std::string& text, int flags) override {
        Worker::Get().Speak(session_, text, flags, voice_, rate_);
    }
    int RunningState() override { return Worker::Get().RunningState(*session_); }
    int Rate() override { return rate_; }
    void SetRate(int rate) override { rate_ = std::clamp(rate, -10, 10); }

    void SetVolume(int volume) override {
        volume_ = std::clamp(volume, 0, 100);
        Worker::Get().SetGain(*session_, volume_ / 100.0);
    }

    bool SelectVoice(int index) override {
        if (index < 0 || index >= Worker::Get().VoiceCount()) return false;
        voice_ = index;
        return true;
    }

private:
    std::shared_ptr<Session> session_;
    int voice_ = 0;
    int rate_ = 0;
    int volume_ = 100;
};

}  // namespace

class EspeakEngine::Impl {
public:
    explicit Impl(Mixer& mixer) : session(std::make_shared<Session>(mixer)) {}
    std::shared_ptr<Session> session;
};

EspeakEngine::EspeakEngine(Mixer& mixer, const Clock& /*clock*/) {
    if (!Worker::Get().error().empty()) throw HostError(Worker::Get().error());
    impl_ = std::make_unique<Impl>(mixer);
}

EspeakEngine::~EspeakEngine() { Worker::Get().Close(*impl_->session); }

std::string SpeakableText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 4);
    int capitals = 0;  // capitals just before this character
    for (char c : text) {
        const bool capital = c >= 'A' && c <= 'Z', small = c >= 'a' && c <= 'z';
        if (small && capitals >= 2) out += ' ';
        out += c;
        capitals = capital ? capitals + 1 : 0;
    }
    return out;
}

int EspeakEngine::VoiceCount() { return Worker::Get().VoiceCount(); }

std::string EspeakEngine::VoiceName(int index) { return Worker::Get().VoiceName(index); }

std::unique_ptr<SpeechVoice> EspeakEngine::CreateVoice() { return std::make_unique<EspeakVoice>(impl_->session); }

void EspeakEngine::OnStarted(std::function<void(const std::string& text)> listener) {
    Worker::Get().SetListener(*impl_->session, std::move(listener));
}

}  // namespace sw::host::real
