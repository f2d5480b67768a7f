// The SAPI engine's bookkeeping against a voice object of our own that
// answers the ISpVoice calls the engine makes, records them, and speaks each
// text for a time that grows with its length, in real time.
#include "host/win/sapi_engine.h"

#include <windows.h>
#include <sapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <deque>
#include <mutex>
#include <thread>

namespace sw::host::win {
namespace {

using Clock = std::chrono::steady_clock;

// What every fake voice object of one test shares: the calls made, the
// texts that have started to sound, and the faults to answer with.
struct FakeSapi {
    std::mutex mu;
    std::vector<std::string> calls;
    std::vector<std::string> started;  // texts whose input stream has started
    int msPerChar = 4;
    long forcedState = -1;  // a running state to report instead of the true one
    HRESULT createFails = S_OK, interestFails = S_OK, speakFails = S_OK, waitFails = S_OK, statusFails = S_OK;
    int live = 0;  // voice objects not yet released

    void Record(const std::string& call) {
        std::lock_guard lock(mu);
        calls.push_back(call);
    }
    std::vector<std::string> Calls() {
        std::lock_guard lock(mu);
        return calls;
    }
    bool Started(const std::string& text) {
        std::lock_guard lock(mu);
        return std::find(started.begin(), started.end(), text) != started.end();
    }
};

std::string Utf8(const wchar_t* text) {
    char buf[256] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

// The calls the engine does not make.
#define NOT_USED(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

class FakeVoice final : public ISpVoice {
public:
    FakeVoice(FakeSapi& sapi, int index) : sapi_(sapi), index_(index) {
        std::lock_guard lock(sapi_.mu);
        ++sapi_.live;
    }
    ~FakeVoice() {
        if (event_ != nullptr) CloseHandle(event_);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) {
            {
                std::lock_guard lock(sapi_.mu);
                --sapi_.live;
            }
            delete this;
        }
        return left;
    }

    NOT_USED(SetNotifySink, ISpNotifySink*) NOT_USED(SetNotifyWindowMessage, HWND, UINT, WPARAM, LPARAM)
    NOT_USED(SetNotifyCallbackFunction, SPNOTIFYCALLBACK*, WPARAM, LPARAM)
    NOT_USED(SetNotifyCallbackInterface, ISpNotifyCallback*, WPARAM, LPARAM)
    HRESULT STDMETHODCALLTYPE SetNotifyWin32Event() override {
        std::lock_guard lock(mu_);
        if (event_ == nullptr) event_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        return S_OK;
    }
    NOT_USED(WaitForNotifyEvent, DWORD)
    HANDLE STDMETHODCALLTYPE GetNotifyEventHandle() override { return event_; }

    HRESULT STDMETHODCALLTYPE SetInterest(ULONGLONG interest, ULONGLONG) override {
        if (sapi_.interestFails != S_OK) return sapi_.interestFails;
        std::lock_guard lock(mu_);
        interest_ = interest;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetEvents(ULONG count, SPEVENT* events, ULONG* fetched) override {
        std::lock_guard lock(mu_);
        Advance();
        ULONG n = 0;
        while (n < count && !events_.empty()) {
            events[n++] = events_.front();
            events_.pop_front();
        }
        *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    NOT_USED(GetInfo, SPEVENTSOURCEINFO*)

    NOT_USED(SetOutput, IUnknown*, WINBOOL) NOT_USED(GetOutputObjectToken, ISpObjectToken**)
    NOT_USED(GetOutputStream, ISpStreamFormat**) NOT_USED(Pause, ) NOT_USED(Resume, )
    NOT_USED(SetVoice, ISpObjectToken*) NOT_USED(GetVoice, ISpObjectToken**)
    HRESULT STDMETHODCALLTYPE Speak(LPCWSTR text, DWORD flags, ULONG* stream) override {
        const std::string t = Utf8(text);
        sapi_.Record("voice " + std::to_string(index_) + (flags & SPF_PURGEBEFORESPEAK ? " purge" : "") +
                     (flags & SPF_ASYNC ? " async" : "") + (flags & SPF_IS_NOT_XML ? "" : " xml") + " '" + t + "'");
        if (sapi_.speakFails != S_OK) return sapi_.speakFails;
        std::lock_guard lock(mu_);
        if ((flags & SPF_PURGEBEFORESPEAK) != 0) queue_.clear();
        const ULONG n = next_++;
        if (stream != nullptr) *stream = n;
        if (!t.empty() || (flags & SPF_PURGEBEFORESPEAK) == 0) queue_.push_back(Text{n, t, false, {}});
        Advance();
        return S_OK;
    }
    NOT_USED(SpeakStream, IStream*, DWORD, ULONG*)
    HRESULT STDMETHODCALLTYPE GetStatus(SPVOICESTATUS* status, LPWSTR* bookmark) override {
        if (sapi_.statusFails != S_OK) return sapi_.statusFails;
        if (bookmark != nullptr) *bookmark = nullptr;
        std::lock_guard lock(mu_);
        Advance();
        *status = SPVOICESTATUS{};
        if (queue_.empty()) status->dwRunningState = SPRS_DONE;
        else if (queue_.front().started) status->dwRunningState = SPRS_IS_SPEAKING;
        if (sapi_.forcedState >= 0) status->dwRunningState = static_cast<DWORD>(sapi_.forcedState);
        status->ulLastStreamQueued = next_ - 1;
        return S_OK;
    }
    NOT_USED(Skip, LPCWSTR, LONG, ULONG*) NOT_USED(SetPriority, SPVPRIORITY) NOT_USED(GetPriority, SPVPRIORITY*)
    NOT_USED(SetAlertBoundary, SPEVENTENUM) NOT_USED(GetAlertBoundary, SPEVENTENUM*)
    HRESULT STDMETHODCALLTYPE SetRate(LONG rate) override {
        sapi_.Record("voice " + std::to_string(index_) + " rate " + std::to_string(rate));
        return S_OK;
    }
    NOT_USED(GetRate, LONG*)
    HRESULT STDMETHODCALLTYPE SetVolume(USHORT volume) override {
        sapi_.Record("voice " + std::to_string(index_) + " volume " + std::to_string(volume));
        return S_OK;
    }
    NOT_USED(GetVolume, USHORT*)
    HRESULT STDMETHODCALLTYPE WaitUntilDone(ULONG ms) override {
        if (sapi_.waitFails != S_OK) return sapi_.waitFails;
        const auto until = Clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            {
                std::lock_guard lock(mu_);
                Advance();
                if (queue_.empty()) return S_OK;
            }
            if (Clock::now() >= until) return S_FALSE;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    NOT_USED(SetSyncSpeakTimeout, ULONG) NOT_USED(GetSyncSpeakTimeout, ULONG*)
    HANDLE STDMETHODCALLTYPE SpeakCompleteEvent() override { return nullptr; }
    NOT_USED(IsUISupported, LPCWSTR, void*, ULONG, WINBOOL*) NOT_USED(DisplayUI, HWND, LPCWSTR, LPCWSTR, void*, ULONG)

private:
    struct Text {
        ULONG stream;
        std::string text;
        bool started;
        Clock::time_point end;
    };

    // Lets the time that has passed act on the queue. Under mu_.
    void Advance() {
        const auto now = Clock::now();
        while (!queue_.empty()) {
            Text& t = queue_.front();
            if (!t.started) {
                t.started = true;
                t.end = now + std::chrono::milliseconds(sapi_.msPerChar * static_cast<int>(t.text.size() + 1));
                {
                    std::lock_guard lock(sapi_.mu);
                    sapi_.started.push_back(t.text);
                }
                Event(SPEI_START_INPUT_STREAM, t.stream);
            }
            if (now < t.end) return;
            Event(SPEI_END_INPUT_STREAM, t.stream);
            queue_.pop_front();
        }
    }

    void Event(SPEVENTENUM id, ULONG stream) {
        if ((interest_ & (1ull << id)) == 0) return;
        SPEVENT e{};
        e.eEventId = id;
        e.elParamType = SPET_LPARAM_IS_UNDEFINED;
        e.ulStreamNum = stream;
        events_.push_back(e);
        if (event_ != nullptr) SetEvent(event_);
    }

    FakeSapi& sapi_;
    const int index_;
    std::atomic<ULONG> refs_{1};
    std::mutex mu_;
    HANDLE event_ = nullptr;
    ULONGLONG interest_ = 0;
    std::deque<Text> queue_;
    std::deque<SPEVENT> events_;
    ULONG next_ = 1;
};

// The built-in engine, as far as the list needs it.
class FakeBuiltIn : public SpeechEngine {
public:
    struct Voice : SpeechVoice {
        explicit Voice(FakeBuiltIn& e) : engine(e) {}
        void Speak(const std::string& text, int flags) override {
            if (flags == kSpeakPurge && text.empty()) return;
            engine.spoken.push_back(std::to_string(voice) + " '" + text + "'");
        }
        int RunningState() override { return kSpeechDone; }
        int Rate() override { return rate; }
        void SetRate(int r) override { rate = r; }
        void SetVolume(int v) override { volume = v; }
        bool SelectVoice(int index) override {
            if (index < 0 || index >= engine.VoiceCount()) return false;
            voice = index;
            return true;
        }
        FakeBuiltIn& engine;
        int voice = 0, rate = 0, volume = 100;
    };
    int VoiceCount() override { return 2; }
    std::string VoiceName(int index) override {
        return index == 0 ? "built-in male" : index == 1 ? "built-in female" : "";
    }
    std::unique_ptr<SpeechVoice> CreateVoice() override { return std::make_unique<Voice>(*this); }
    std::vector<std::string> spoken;
};

bool WaitFor(const std::function<bool()>& done, double limit = 5.0) {
    const auto start = Clock::now();
    while (!done()) {
        if (std::chrono::duration<double>(Clock::now() - start).count() > limit) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class Sapi : public ::testing::Test {
protected:
    // Each caption with whether its text had started to sound when it was written.
    struct Caption {
        std::string text;
        bool started;
        bool operator==(const Caption&) const = default;
        friend std::ostream& operator<<(std::ostream& os, const Caption& c) {
            return os << "'" << c.text << (c.started ? "' started" : "' not started");
        }
    };

    std::unique_ptr<SapiEngine> Engine(std::vector<std::string> names = {"Anna", "Ben"}) {
        return std::make_unique<SapiEngine>(
            std::move(names),
            [this](int index, ISpVoice** out) -> long {
                *out = nullptr;
                if (fake.createFails != S_OK) return fake.createFails;
                fake.Record("create " + std::to_string(index));
                *out = new FakeVoice(fake, index);
                return S_OK;
            },
            [this](const std::string& text) {
                const bool started = fake.Started(text);
                std::lock_guard lock(captionMu);
                captions.push_back({text, started});
            });
    }
    std::vector<Caption> Captions() {
        std::lock_guard lock(captionMu);
        return captions;
    }

    FakeSapi fake;
    std::mutex captionMu;
    std::vector<Caption> captions;
};

TEST_F(Sapi, QueuesTextsAndCaptionsEachWhenItStartsToSound) {
    auto voice = Engine()->CreateVoice();
    fake.msPerChar = 10;
    const auto start = Clock::now();
    voice->Speak(" batter up ", kSpeakAsync);
    voice->Speak("caf\xc3\xa9 au lait", kSpeakAsync);
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 0.1);
    EXPECT_EQ(voice->RunningState(), kSpeechSpeaking);
    ASSERT_TRUE(WaitFor([&] { return voice->RunningState() == kSpeechDone; }));
    EXPECT_EQ(Captions(), (std::vector<Caption>{{" batter up ", true}, {"caf\xc3\xa9 au lait", true}}));
    EXPECT_EQ(fake.Calls(), (std::vector<std::string>{"create 0", "voice 0 async ' batter up '",
                                                      "voice 0 async 'caf\xc3\xa9 au lait'"}));
}

TEST_F(Sapi, WaitingSpeakReturnsWhenAllIsSpoken) {
    auto voice = Engine()->CreateVoice();
    voice->Speak("first", kSpeakAsync);
    const auto start = Clock::now();
    voice->Speak("and then the second", kSpeakWait);
    // Both texts last (5 + 1 + 19 + 1) * 4 ms in the fake.
    EXPECT_GE(std::chrono::duration<double>(Clock::now() - start).count(), 0.09);
    EXPECT_EQ(Captions(), (std::vector<Caption>{{"first", true}, {"and then the second", true}}));
    EXPECT_EQ(voice->RunningState(), kSpeechDone);
}

TEST_F(Sapi, PurgeDropsTheQueueAndStopsAtOnce) {
    auto voice = Engine()->CreateVoice();
    fake.msPerChar = 200;
    voice->Speak("a long reading of the rules", kSpeakAsync);
    voice->Speak("never heard", kSpeakAsync);
    ASSERT_TRUE(WaitFor([&] { return !Captions().empty(); }));
    voice->Speak("", kSpeakPurge);
    EXPECT_EQ(voice->RunningState(), kSpeechDone);
    EXPECT_EQ(fake.Calls().back(), "voice 0 purge async ''");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(Captions(), (std::vector<Caption>{{"a long reading of the rules", true}}));
    EXPECT_FALSE(fake.Started("never heard"));

    fake.msPerChar = 2;
    voice->Speak("strike", kSpeakPurge | kSpeakAsync);  // purges, then speaks
    EXPECT_EQ(fake.Calls().back(), "voice 0 async 'strike'");
    ASSERT_TRUE(WaitFor([&] { return voice->RunningState() == kSpeechDone; }));
    EXPECT_EQ(Captions().back(), (Caption{"strike", true}));
}

// SAPI's running state as the game sees it. Between two texts SAPI is
// neither speaking nor done, and that still counts as speaking.
TEST_F(Sapi, RunningStateFollowsSapisStatus) {
    auto voice = Engine()->CreateVoice();
    EXPECT_EQ(voice->RunningState(), kSpeechDone);  // nothing queued yet
    fake.msPerChar = 1000;
    voice->Speak("ball", kSpeakAsync);
    const struct {
        long state;
        int expected;
    } cases[] = {
        {SPRS_IS_SPEAKING, kSpeechSpeaking},
        {SPRS_IS_SPEAKING | SPRS_DONE, kSpeechSpeaking},
        {0, kSpeechSpeaking},
        {SPRS_DONE, kSpeechDone},
    };
    for (const auto& c : cases) {
        fake.forcedState = c.state;
        voice->Speak("ball", kSpeakAsync);
        EXPECT_EQ(voice->RunningState(), c.expected) << "state " << c.state;
    }
    // SAPI done means every text was spoken: each has its caption by then.
    EXPECT_EQ(Captions(), std::vector<Caption>(5, Caption{"ball", true}));
    fake.forcedState = 0;
    EXPECT_EQ(voice->RunningState(), kSpeechDone) << "nothing queued since SAPI was done";
}

TEST_F(Sapi, RateAndVolumeAreClampedAndGoStraightToSapi) {
    auto engine = Engine();
    auto voice = engine->CreateVoice();
    EXPECT_EQ(voice->Rate(), 0);
    const int rates[][2] = {{-11, -10}, {14, 10}, {3, 3}};
    for (const auto& r : rates) {
        voice->SetRate(r[0]);
        EXPECT_EQ(voice->Rate(), r[1]);
        EXPECT_EQ(fake.Calls().back(), "voice 0 rate " + std::to_string(r[1]));
    }
    const int volumes[][2] = {{-5, 0}, {140, 100}, {40, 40}};
    for (const auto& v : volumes) {
        voice->SetVolume(v[0]);
        EXPECT_EQ(fake.Calls().back(), "voice 0 volume " + std::to_string(v[1]));
    }
    // Another voice gets its own object, with the rate and volume chosen.
    EXPECT_FALSE(voice->SelectVoice(2));
    EXPECT_FALSE(voice->SelectVoice(-1));
    ASSERT_TRUE(voice->SelectVoice(1));
    const auto calls = fake.Calls();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 4, calls.end()),
              (std::vector<std::string>{"voice 0 purge async ''", "create 1", "voice 1 rate 3", "voice 1 volume 40"}));
    EXPECT_EQ(fake.live, 1);
    voice.reset();
    EXPECT_EQ(fake.live, 0);
}

TEST(SapiCaption, WrittenAsTheBuiltInEngineWritesThem) {
    testing::internal::CaptureStdout();
    for (const char* text : {" batter up ", "", "two\n", "caf\xc3\xa9"}) WriteCaption(text);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " batter up \n\ntwo\ncaf\xc3\xa9\n");
}

TEST_F(Sapi, TheListOffersSapiVoicesFirst) {
    FakeBuiltIn builtIn;
    std::vector<std::string> reported;
    VoiceList list(Engine(), "", builtIn, [&](const std::string& m) { reported.push_back(m); });
    std::vector<std::string> names;
    for (int i = -1; i <= list.VoiceCount(); ++i) names.push_back(list.VoiceName(i));
    EXPECT_EQ(names, (std::vector<std::string>{"", "Anna", "Ben", "built-in male", "built-in female", ""}));
    EXPECT_EQ(list.FindSystemVoice(), 0) << "the player's own voice is the first SAPI one";

    fake.msPerChar = 1;
    auto voice = list.CreateVoice();
    voice->Speak("one", kSpeakWait);
    EXPECT_TRUE(voice->SelectVoice(3));
    voice->Speak("two", kSpeakWait);
    EXPECT_TRUE(voice->SelectVoice(1));
    voice->Speak("three", kSpeakWait);
    EXPECT_FALSE(voice->SelectVoice(4));
    EXPECT_EQ(builtIn.spoken, std::vector<std::string>{"1 'two'"});
    const auto calls = fake.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "voice 0 async 'one'"), calls.end());
    EXPECT_EQ(calls.back(), "voice 1 async 'three'");
    EXPECT_TRUE(reported.empty());
}

// Wherever SAPI fails, it is told once and the built-in voice says the text.
TEST_F(Sapi, AFailingSapiIsToldOnceAndTheBuiltInVoiceSpeaks) {
    const struct {
        const char* name;
        HRESULT FakeSapi::*fault;
        const char* told;
    } cases[] = {
        {"create", &FakeSapi::createFails, "creating the SAPI voice"},
        {"interest", &FakeSapi::interestFails, "SetInterest"},
        {"speak", &FakeSapi::speakFails, "ISpVoice::Speak"},
        {"wait", &FakeSapi::waitFails, "WaitUntilDone"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSapi& f = fake;
        f.createFails = f.interestFails = f.speakFails = f.waitFails = S_OK;
        f.*c.fault = E_NOTIMPL;
        FakeBuiltIn builtIn;
        std::vector<std::string> reported;
        VoiceList list(Engine(), "", builtIn, [&](const std::string& m) { reported.push_back(m); });
        testing::internal::CaptureStderr();
        auto voice = list.CreateVoice();
        voice->SetRate(4);
        voice->Speak("ball one", kSpeakWait);
        voice->Speak("ball two", kSpeakWait);
        EXPECT_EQ(voice->RunningState(), kSpeechDone);
        auto second = list.CreateVoice();
        second->Speak("ball three", kSpeakAsync);
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_NE(reported[0].find(c.told), std::string::npos) << reported[0];
        EXPECT_EQ(err, reported[0] + "\n");
        EXPECT_EQ(builtIn.spoken, (std::vector<std::string>{"0 'ball one'", "0 'ball two'", "0 'ball three'"}));
    }
    // A failing status ends SAPI's turn too, without hanging the running state.
    fake.waitFails = S_OK;
    fake.statusFails = E_FAIL;
    FakeBuiltIn builtIn;
    VoiceList list(Engine(), "", builtIn);
    testing::internal::CaptureStderr();
    auto voice = list.CreateVoice();
    voice->Speak("foul ball", kSpeakAsync);
    EXPECT_EQ(voice->RunningState(), kSpeechDone);
    voice->Speak("strike two", kSpeakAsync);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("GetStatus"), std::string::npos);
    EXPECT_EQ(builtIn.spoken, std::vector<std::string>{"0 'strike two'"});
}

TEST_F(Sapi, WithoutSapiVoicesTheListIsTheBuiltInOne) {
    for (bool opened : {false, true}) {
        FakeBuiltIn builtIn;
        std::vector<std::string> reported;
        testing::internal::CaptureStderr();
        VoiceList list(opened ? Engine({}) : nullptr, opened ? "" : "CoCreateInstance failed", builtIn,
                       [&](const std::string& m) { reported.push_back(m); });
        auto voice = list.CreateVoice();
        voice->Speak("play ball", kSpeakWait);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(list.VoiceCount(), 2);
        EXPECT_EQ(list.VoiceName(0), "built-in male");
        EXPECT_EQ(list.FindSystemVoice(), -1) << "no voice of the player's own";
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_NE(reported[0].find(opened ? "no SAPI voice" : "CoCreateInstance failed"), std::string::npos);
        EXPECT_EQ(builtIn.spoken, std::vector<std::string>{"0 'play ball'"});
    }
}

}  // namespace
}  // namespace sw::host::win
