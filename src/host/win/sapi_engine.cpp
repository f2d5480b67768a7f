// Speech over SAPI 5. Each voice object lives on a thread of its own, in the
// multithreaded COM apartment, whatever the game's thread has made of COM:
// every call into ISpVoice is made there. The thread also waits on the
// voice's event and writes each text's caption when SAPI starts to speak it.
#include "host/win/sapi_engine.h"

#include <windows.h>
// SAPI's class and interface ids are defined here: mingw-w64's uuid library
// lacks them.
#include <initguid.h>
#include <sapi.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <thread>

namespace sw::host::win {

namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Narrow(const wchar_t* text) {
    if (text == nullptr || *text == 0) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));  // without the terminating zero
    return out;
}

std::string Failed(const char* what, HRESULT hr) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%s failed (0x%08lx)", what, static_cast<unsigned long>(hr));
    return buf;
}

// Frees what an event may carry.
void ClearEvent(SPEVENT& e) {
    switch (e.elParamType) {
    case SPET_LPARAM_IS_TOKEN:
    case SPET_LPARAM_IS_OBJECT:
        if (e.lParam != 0) reinterpret_cast<IUnknown*>(e.lParam)->Release();
        break;
    case SPET_LPARAM_IS_POINTER:
    case SPET_LPARAM_IS_STRING:
        CoTaskMemFree(reinterpret_cast<void*>(e.lParam));
        break;
    default:
        break;
    }
    e.lParam = 0;
}

template <typename T>
void ReleaseAndClear(T*& p) {
    if (p != nullptr) p->Release();
    p = nullptr;
}

// The tokens of the installed voices; the caller releases the enumeration.
HRESULT EnumVoices(IEnumSpObjectTokens** tokens) {
    ISpObjectTokenCategory* category = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                                  reinterpret_cast<void**>(&category));
    if (FAILED(hr)) return hr;
    hr = category->SetId(SPCAT_VOICES, FALSE);
    if (SUCCEEDED(hr)) hr = category->EnumTokens(nullptr, nullptr, tokens);
    category->Release();
    return hr;
}

constexpr DWORD kPollMs = 10;  // how often a busy voice looks for events its notification missed
constexpr ULONG kWaitSliceMs = 20;

class Voice : public SapiVoice {
public:
    Voice(SapiVoiceFactory factory, CaptionWriter caption, int count)
        : factory_(std::move(factory)), caption_(std::move(caption)), count_(count) {
        wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        thread_ = std::thread([this] { Run(); });
        Call([this] { Open(0); });
    }

    ~Voice() override {
        Call([this] {
            if (voice_ != nullptr) Purge();
            ReleaseAndClear(voice_);
            stop_ = true;
        });
        thread_.join();
        CloseHandle(wake_);
    }

    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    void Speak(const std::string& text, int flags) override {
        const std::wstring wide = Wide(text);
        Call([&] {
            if (voice_ == nullptr) return;
            const bool purge = (flags & kSpeakPurge) != 0;
            if (purge) {
                Purge();
                if (text.empty()) return;
            }
            ULONG stream = 0;
            const HRESULT hr = voice_->Speak(wide.c_str(), SPF_ASYNC | SPF_IS_NOT_XML, &stream);
            if (FAILED(hr)) return Fail(Failed("ISpVoice::Speak", hr));
            streams_[stream] = Stream{text, false};
            queued_ = true;
        });
        if ((flags & kSpeakAsync) != 0) return;
        bool done = false;
        while (!done) Call([&] { done = WaitSlice(); });
    }

    int RunningState() override {
        bool speaking = false;
        Call([&] { speaking = Speaking(); });
        return speaking ? kSpeechSpeaking : kSpeechDone;
    }

    int Rate() override { return rate_; }

    void SetRate(int rate) override {
        rate_ = std::clamp(rate, -10, 10);
        Call([this] { ApplyRate(); });
    }

    void SetVolume(int volume) override {
        volume_ = std::clamp(volume, 0, 100);
        Call([this] { ApplyVolume(); });
    }

    bool SelectVoice(int index) override {
        if (index < 0 || index >= count_) return false;
        Call([&] {
            if (voice_ == nullptr) return;
            Purge();
            ReleaseAndClear(voice_);
            Open(index);
        });
        return true;
    }

    std::string Failure() override {
        std::lock_guard lock(mu_);
        return failure_;
    }

private:
    struct Stream {
        std::string text;
        bool captioned = false;
    };

    // Runs `fn` on the voice's thread and returns when it has.
    void Call(const std::function<void()>& fn) {
        std::packaged_task<void()> task(fn);
        auto done = task.get_future();
        {
            std::lock_guard lock(mu_);
            tasks_.push_back(std::move(task));
        }
        SetEvent(wake_);
        done.get();
    }

    void Run() {
        const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        while (!stop_) {
            HANDLE handles[2] = {wake_, notify_};
            const DWORD n = notify_ != nullptr ? 2 : 1;
            WaitForMultipleObjects(n, handles, FALSE, queued_ ? kPollMs : INFINITE);
            if (voice_ != nullptr) TakeEvents();
            for (;;) {
                std::packaged_task<void()> task;
                {
                    std::lock_guard lock(mu_);
                    if (tasks_.empty()) break;
                    task = std::move(tasks_.front());
                    tasks_.pop_front();
                }
                task();
            }
        }
        if (SUCCEEDED(init)) CoUninitialize();
    }

    // On the voice's thread from here on.

    void Fail(const std::string& why) {
        ReleaseAndClear(voice_);
        notify_ = nullptr;
        streams_.clear();
        queued_ = false;
        std::lock_guard lock(mu_);
        if (failure_.empty()) failure_ = why;
    }

    void Open(int index) {
        HRESULT hr = factory_(index, &voice_);
        if (FAILED(hr) || voice_ == nullptr) {
            voice_ = nullptr;
            return Fail(Failed("creating the SAPI voice", hr));
        }
        const ULONGLONG interest = SPFEI(SPEI_START_INPUT_STREAM) | SPFEI(SPEI_END_INPUT_STREAM);
        hr = voice_->SetInterest(interest, interest);
        if (FAILED(hr)) return Fail(Failed("ISpVoice::SetInterest", hr));
        hr = voice_->SetNotifyWin32Event();
        if (FAILED(hr)) return Fail(Failed("ISpVoice::SetNotifyWin32Event", hr));
        notify_ = voice_->GetNotifyEventHandle();
        if (notify_ == INVALID_HANDLE_VALUE) notify_ = nullptr;
        if (rate_ != 0) ApplyRate();
        if (volume_ != 100) ApplyVolume();
    }

    void ApplyRate() {
        if (voice_ == nullptr) return;
        const HRESULT hr = voice_->SetRate(rate_);
        if (FAILED(hr)) Fail(Failed("ISpVoice::SetRate", hr));
    }

    void ApplyVolume() {
        if (voice_ == nullptr) return;
        const HRESULT hr = voice_->SetVolume(static_cast<USHORT>(volume_));
        if (FAILED(hr)) Fail(Failed("ISpVoice::SetVolume", hr));
    }

    // Captions the texts that have started to sound since the last look.
    void TakeEvents() {
        for (;;) {
            SPEVENT e{};
            ULONG got = 0;
            const HRESULT hr = voice_->GetEvents(1, &e, &got);
            if (FAILED(hr)) return Fail(Failed("ISpVoice::GetEvents", hr));
            if (got == 0) return;
            const ULONG stream = e.ulStreamNum;
            const auto id = static_cast<SPEVENTENUM>(e.eEventId);
            ClearEvent(e);
            auto it = streams_.find(stream);
            if (it == streams_.end()) continue;
            if (!it->second.captioned) {
                it->second.captioned = true;
                caption_(it->second.text);
            }
            if (id == SPEI_END_INPUT_STREAM) streams_.erase(it);
        }
    }

    // What is left once SAPI says all is spoken: captions not yet written
    // belong to texts that did sound.
    void Finished() {
        for (auto& [stream, s] : streams_)
            if (!s.captioned) caption_(s.text);
        streams_.clear();
        queued_ = false;
    }

    void Purge() {
        TakeEvents();
        if (voice_ == nullptr) return;
        streams_.clear();
        queued_ = false;
        const HRESULT hr = voice_->Speak(L"", SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, nullptr);
        if (FAILED(hr)) Fail(Failed("ISpVoice::Speak (purge)", hr));
    }

    bool Speaking() {
        if (voice_ == nullptr || !queued_) return false;
        SPVOICESTATUS status{};
        const HRESULT hr = voice_->GetStatus(&status, nullptr);
        if (FAILED(hr)) {
            Fail(Failed("ISpVoice::GetStatus", hr));
            return false;
        }
        TakeEvents();
        if ((status.dwRunningState & SPRS_IS_SPEAKING) != 0) return true;
        // Between two texts SAPI is neither speaking nor done.
        if ((status.dwRunningState & SPRS_DONE) == 0) return true;
        Finished();
        return false;
    }

    // One slice of a speak-and-wait; true when there is no more to wait for.
    bool WaitSlice() {
        if (voice_ == nullptr) return true;
        TakeEvents();
        if (voice_ == nullptr) return true;
        const HRESULT hr = voice_->WaitUntilDone(kWaitSliceMs);
        if (FAILED(hr)) {
            Fail(Failed("ISpVoice::WaitUntilDone", hr));
            return true;
        }
        TakeEvents();
        if (hr != S_OK) return false;
        Finished();
        return true;
    }

    const SapiVoiceFactory factory_;
    const CaptionWriter caption_;
    const int count_;
    int rate_ = 0;
    int volume_ = 100;

    std::thread thread_;
    HANDLE wake_ = nullptr;
    std::mutex mu_;
    std::deque<std::packaged_task<void()>> tasks_;  // guarded by mu_
    std::string failure_;                           // guarded by mu_

    // The voice's thread only.
    bool stop_ = false;
    ISpVoice* voice_ = nullptr;
    HANDLE notify_ = nullptr;
    std::map<ULONG, Stream> streams_;  // texts queued and not yet heard out
    bool queued_ = false;              // something was queued since SAPI last said it was done
};

}  // namespace

void WriteCaption(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The listener of the engine's voices, which hear it from their own threads.
struct SapiEngine::Started {
    std::mutex mu;
    std::function<void(const std::string&)> listener;

    void Tell(const std::string& text) {
        std::lock_guard lock(mu);
        if (listener) listener(text);
    }
};

SapiEngine::SapiEngine(std::vector<std::string> names, SapiVoiceFactory factory, CaptionWriter caption)
    : names_(std::move(names)),
      factory_(std::move(factory)),
      caption_(std::move(caption)),
      started_(std::make_shared<Started>()) {}

std::unique_ptr<SapiEngine> SapiEngine::OpenInstalled(std::string& error) {
    std::vector<std::string> names;
    // Asked on a thread of its own, so the answer does not depend on what the
    // game's thread has made of COM.
    std::thread([&] {
        const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (FAILED(init)) {
            error = Failed("CoInitializeEx", init);
            return;
        }
        IEnumSpObjectTokens* tokens = nullptr;
        HRESULT hr = EnumVoices(&tokens);
        ULONG count = 0;
        if (SUCCEEDED(hr)) hr = tokens->GetCount(&count);
        for (ULONG i = 0; SUCCEEDED(hr) && i < count; ++i) {
            ISpObjectToken* token = nullptr;
            hr = tokens->Item(i, &token);
            if (FAILED(hr)) break;
            wchar_t* description = nullptr;
            const HRESULT named = token->GetStringValue(nullptr, &description);
            std::string name = SUCCEEDED(named) ? Narrow(description) : std::string();
            if (name.empty()) name = "SAPI voice " + std::to_string(i + 1);
            names.push_back(name);
            CoTaskMemFree(description);
            token->Release();
        }
        if (tokens != nullptr) tokens->Release();
        if (FAILED(hr)) error = Failed("listing the SAPI voices", hr);
        CoUninitialize();
    }).join();
    if (!error.empty()) return nullptr;

    auto factory = [](int index, ISpVoice** out) -> long {
        *out = nullptr;
        IEnumSpObjectTokens* tokens = nullptr;
        HRESULT hr = EnumVoices(&tokens);
        ISpObjectToken* token = nullptr;
        if (SUCCEEDED(hr)) hr = tokens->Item(static_cast<ULONG>(index), &token);
        ISpVoice* voice = nullptr;
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, reinterpret_cast<void**>(&voice));
        if (SUCCEEDED(hr)) hr = voice->SetVoice(token);
        ReleaseAndClear(token);
        ReleaseAndClear(tokens);
        if (FAILED(hr)) {
            ReleaseAndClear(voice);
            return hr;
        }
        *out = voice;
        return S_OK;
    };
    return std::make_unique<SapiEngine>(std::move(names), factory);
}

int SapiEngine::VoiceCount() { return static_cast<int>(names_.size()); }

std::string SapiEngine::VoiceName(int index) {
    if (index < 0 || index >= VoiceCount()) return "";
    return names_[static_cast<size_t>(index)];
}

std::unique_ptr<SpeechVoice> SapiEngine::CreateVoice() { return CreateSapiVoice(); }

std::unique_ptr<SapiVoice> SapiEngine::CreateSapiVoice() {
    auto caption = [caption = caption_, started = started_](const std::string& text) {
        caption(text);
        started->Tell(text);
    };
    return std::make_unique<Voice>(factory_, std::move(caption), VoiceCount());
}

void SapiEngine::OnStarted(std::function<void(const std::string& text)> listener) {
    std::lock_guard lock(started_->mu);
    started_->listener = std::move(listener);
}

// ---- The combined list ----

struct VoiceList::Shared {
    Report report;
    bool sapiFailed = false;

    // The first failure is told; SAPI is not used again after it.
    void SapiFailed(const std::string& why) {
        if (sapiFailed) return;
        sapiFailed = true;
        const std::string message = "speech: SAPI cannot speak (" + why + "); the built-in voice speaks instead";
        std::fprintf(stderr, "%s\n", message.c_str());
        std::fflush(stderr);
        if (report) report(message);
    }
};

namespace {

class ListVoice : public SpeechVoice {
public:
    ListVoice(SapiEngine* sapi, SpeechEngine& builtIn, std::shared_ptr<VoiceList::Shared> shared)
        : sapiCount_(sapi != nullptr ? sapi->VoiceCount() : 0), builtInEngine_(builtIn), shared_(std::move(shared)) {
        if (sapiCount_ > 0 && !shared_->sapiFailed) {
            sapi_ = sapi->CreateSapiVoice();
            Check();
        }
    }

    void Speak(const std::string& text, int flags) override {
        if (UsesSapi()) {
            sapi_->Speak(text, flags);
            if (Check()) return;
        }
        BuiltIn().Speak(text, flags);
    }

    int RunningState() override {
        bool speaking = false;
        if (sapi_ != nullptr && !shared_->sapiFailed) speaking = sapi_->RunningState() == kSpeechSpeaking;
        Check();
        if (builtIn_ != nullptr && builtIn_->RunningState() == kSpeechSpeaking) speaking = true;
        return speaking ? kSpeechSpeaking : kSpeechDone;
    }

    int Rate() override { return rate_; }

    void SetRate(int rate) override {
        rate_ = std::clamp(rate, -10, 10);
        if (UsesSapi()) {
            sapi_->SetRate(rate_);
            Check();
        }
        if (builtIn_ != nullptr) builtIn_->SetRate(rate_);
    }

    void SetVolume(int volume) override {
        volume_ = std::clamp(volume, 0, 100);
        if (UsesSapi()) {
            sapi_->SetVolume(volume_);
            Check();
        }
        if (builtIn_ != nullptr) builtIn_->SetVolume(volume_);
    }

    bool SelectVoice(int index) override {
        if (index < 0 || index >= sapiCount_ + builtInEngine_.VoiceCount()) return false;
        if (index < sapiCount_) {
            if (builtIn_ != nullptr) {
                builtIn_->Speak("", kSpeakPurge);
                builtIn_->SelectVoice(0);
            }
            if (sapi_ != nullptr && !shared_->sapiFailed) {
                sapi_->SelectVoice(index);
                Check();
            }
        } else {
            if (sapi_ != nullptr && !shared_->sapiFailed) {
                sapi_->Speak("", kSpeakPurge);
                Check();
            }
            if (!BuiltIn().SelectVoice(index - sapiCount_)) return false;
        }
        index_ = index;
        return true;
    }

private:
    bool UsesSapi() const { return index_ < sapiCount_ && sapi_ != nullptr && !shared_->sapiFailed; }

    // True while SAPI works; on its first failure the built-in voice takes over.
    bool Check() {
        if (sapi_ == nullptr || shared_->sapiFailed) return false;
        const std::string why = sapi_->Failure();
        if (why.empty()) return true;
        shared_->SapiFailed(why);
        return false;
    }

    // Created when first needed, with the rate and volume set so far. While a
    // SAPI voice is chosen (or SAPI has failed) it speaks with its first voice.
    SpeechVoice& BuiltIn() {
        if (builtIn_ == nullptr) {
            builtIn_ = builtInEngine_.CreateVoice();
            builtIn_->SetRate(rate_);
            builtIn_->SetVolume(volume_);
        }
        return *builtIn_;
    }

    const int sapiCount_;
    SpeechEngine& builtInEngine_;
    std::shared_ptr<VoiceList::Shared> shared_;
    std::unique_ptr<SapiVoice> sapi_;
    std::unique_ptr<SpeechVoice> builtIn_;
    int index_ = 0;
    int rate_ = 0;
    int volume_ = 100;
};

}  // namespace

VoiceList::VoiceList(std::unique_ptr<SapiEngine> sapi, const std::string& sapiError, SpeechEngine& builtIn,
                     Report report)
    : sapi_(std::move(sapi)), builtIn_(builtIn), shared_(std::make_shared<Shared>()) {
    shared_->report = std::move(report);
    if (sapi_ == nullptr)
        shared_->SapiFailed(sapiError.empty() ? "SAPI could not be opened" : sapiError);
    else if (sapi_->VoiceCount() == 0)
        shared_->SapiFailed("no SAPI voice is installed");
}

VoiceList::~VoiceList() = default;

int VoiceList::VoiceCount() { return (sapi_ != nullptr ? sapi_->VoiceCount() : 0) + builtIn_.VoiceCount(); }

int VoiceList::FindSystemVoice() { return sapi_ != nullptr && sapi_->VoiceCount() > 0 ? 0 : -1; }

std::string VoiceList::VoiceName(int index) {
    const int sapiCount = sapi_ != nullptr ? sapi_->VoiceCount() : 0;
    if (index < 0) return "";
    if (index < sapiCount) return sapi_->VoiceName(index);
    return builtIn_.VoiceName(index - sapiCount);
}

std::unique_ptr<SpeechVoice> VoiceList::CreateVoice() {
    return std::make_unique<ListVoice>(sapi_.get(), builtIn_, shared_);
}

void VoiceList::OnStarted(std::function<void(const std::string& text)> listener) {
    if (sapi_ != nullptr) sapi_->OnStarted(listener);
    builtIn_.OnStarted(std::move(listener));
}

}  // namespace sw::host::win
