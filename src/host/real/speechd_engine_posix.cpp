// The system's speech service through its client library. The library tells
// of each text's start and end on a thread of its own, through plain function
// pointers: the events are routed to the connection by its client id, and the
// callback only takes our lock, never calls the library. Every call into the
// library is made on the game's thread, outside that lock (a call waits for
// its reply on the library's thread, which may be waiting for our lock).
//
// Once a call has failed the connection is not used again: the library's
// state after a lost server is only safe to close.
#include "host/real/speechd_engine.h"

#include "host/speech_ledger.h"

#include <libspeechd.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

namespace sw::host::real {

namespace {

using SteadyTime = std::chrono::steady_clock::time_point;

// Speech that has gone this long without news has the connection checked:
// a server that went away sends no more events.
constexpr std::chrono::milliseconds kQuiet(250);

constexpr char kNotice[] = "your screen reader's voice cannot be reached. the game's own voice speaks instead.";

void WriteCaptionLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The library writes to its socket without asking the system to spare the
// program a broken pipe's signal, which would end it when the server has
// gone. Each call is made with that signal blocked on this thread, and one it
// raised is taken before the signal is let through again.
template <typename Call>
auto Quietly(Call call) {
    sigset_t pipe, before;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, &before);
    const auto result = call();
    sigset_t pending;
    if (sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1 && sigismember(&before, SIGPIPE) == 0) {
        const timespec now{0, 0};
        sigtimedwait(&pipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    return result;
}

// Takes a string the library allocated.
std::string TakeError(char* error, const char* otherwise) {
    std::string out = error != nullptr ? error : otherwise;
    std::free(error);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

}  // namespace

int ServiceRate(int rate) { return std::clamp(rate, -10, 10) * 10; }

int ServiceVolume(int volume) { return std::clamp(volume, 0, 100) * 2 - 100; }

// One connection to the service, shared by the voices of the list.
struct SystemVoices::Link {
    SPDConnection* connection = nullptr;  // game thread only
    SystemVoices::CaptionWriter caption;

    std::mutex mu;
    std::condition_variable changed;
    SpeechLedger ledger;                                   // mu
    bool failed = false;                                   // mu
    std::string why;                                       // mu
    SteadyTime news{};                                     // mu: the last event or check
    std::function<void(const std::string&)> started;       // mu

    // What the connection was last set to; game thread only.
    int sentRate = 0;
    int sentVolume = 100;

    // The library's thread: one event.
    void Tell(std::size_t id, SpeechLedger::Event event) {
        std::lock_guard lock(mu);
        news = std::chrono::steady_clock::now();
        for (const std::string& text : ledger.Told(id, event)) Started(text);
        changed.notify_all();
    }

    // Under mu: the caption and the listener, in that order.
    void Started(const std::string& text) {
        if (caption) caption(text);
        if (started) started(text);
    }

    bool Failed() {
        std::lock_guard lock(mu);
        return failed;
    }

    std::string Why() {
        std::lock_guard lock(mu);
        return why;
    }

    void Fail(const std::string& what) {
        std::lock_guard lock(mu);
        if (failed) return;
        failed = true;
        why = what;
        ledger.Purge();
        changed.notify_all();
    }

    // False once the connection has failed.
    bool Say(const std::string& text, int rate, int volume) {
        {
            std::lock_guard lock(mu);
            if (failed) return false;
            ledger.Sending();
        }
        auto unsent = [&](const std::string& what) {
            {
                std::lock_guard lock(mu);
                ledger.SendFailed();
            }
            Fail(what);
            return false;
        };
        if (rate != sentRate) {
            if (Quietly([&] { return spd_set_voice_rate(connection, ServiceRate(rate)); }) < 0)
                return unsent("it did not take the rate");
            sentRate = rate;
        }
        if (volume != sentVolume) {
            if (Quietly([&] { return spd_set_volume(connection, ServiceVolume(volume)); }) < 0)
                return unsent("it did not take the volume");
            sentVolume = volume;
        }
        // "message": queued behind our own texts and never dropped for
        // another client's ordinary speech; "important" is left to the
        // screen reader.
        const int id = Quietly([&] { return spd_say(connection, SPD_MESSAGE, text.c_str()); });
        if (id < 0) return unsent("it did not take a text");
        std::lock_guard lock(mu);
        news = std::chrono::steady_clock::now();
        for (const std::string& t : ledger.Queued(static_cast<std::size_t>(id), text)) Started(t);
        changed.notify_all();
        return true;
    }

    void Purge() {
        {
            std::lock_guard lock(mu);
            if (failed || !ledger.Speaking()) return;
            ledger.Purge();
            changed.notify_all();
        }
        if (Quietly([&] { return spd_cancel(connection); }) < 0) Fail("it did not stop speaking");
    }

    // Asks the server something harmless; a lost server fails the call.
    void Check() {
        if (Quietly([&] { return spd_set_notification_on(connection, SPD_END); }) < 0)
            return Fail("it stopped answering");
        std::lock_guard lock(mu);
        news = std::chrono::steady_clock::now();
    }

    bool Speaking() {
        std::unique_lock lock(mu);
        if (failed || !ledger.Speaking()) return false;
        if (std::chrono::steady_clock::now() - news < kQuiet) return true;
        lock.unlock();
        Check();
        lock.lock();
        return !failed && ledger.Speaking();
    }

    void WaitHeard() {
        std::unique_lock lock(mu);
        while (!failed && ledger.Speaking()) {
            if (changed.wait_for(lock, kQuiet) == std::cv_status::no_timeout) continue;
            if (std::chrono::steady_clock::now() - news < kQuiet) continue;
            lock.unlock();
            Check();
            lock.lock();
        }
    }
};

namespace {

// The open connections by the client id the service gave them.
class Links {
public:
    static Links& Get() {
        static Links* const links = new Links();  // never destroyed: the library's threads may still call in at exit
        return *links;
    }
    void Add(int client, const std::shared_ptr<SystemVoices::Link>& link) {
        std::lock_guard lock(mu_);
        links_[client] = link;
    }
    void Remove(int client) {
        std::lock_guard lock(mu_);
        links_.erase(client);
    }
    std::shared_ptr<SystemVoices::Link> Find(std::size_t client) {
        std::lock_guard lock(mu_);
        auto it = links_.find(static_cast<int>(client));
        return it == links_.end() ? nullptr : it->second.lock();
    }

private:
    std::mutex mu_;
    std::map<int, std::weak_ptr<SystemVoices::Link>> links_;
};

void OnEvent(std::size_t id, std::size_t client, SPDNotificationType type) {
    auto link = Links::Get().Find(client);
    if (!link) return;
    switch (type) {
    case SPD_EVENT_BEGIN:
        return link->Tell(id, SpeechLedger::Event::Begin);
    case SPD_EVENT_END:
        return link->Tell(id, SpeechLedger::Event::End);
    case SPD_EVENT_CANCEL:
        return link->Tell(id, SpeechLedger::Event::Cancel);
    default:
        return;
    }
}

}  // namespace

struct SystemVoices::Shared {
    std::string socketPath;
    Report report;
    CaptionWriter caption;
    std::shared_ptr<Link> link;  // once the service has answered
    int client = -1;
    bool unreachableTold = false;
    bool failureTold = false;
    bool noticeSpoken = false;
    std::function<void(const std::string&)> started;

    // The first failure is told; the service is not used again after it.
    void Failed(const std::string& why) {
        if (failureTold) return;
        failureTold = true;
        const std::string message =
            "speech: the speech service failed (" + why + "); the built-in voice speaks instead";
        std::fprintf(stderr, "%s\n", message.c_str());
        std::fflush(stderr);
        if (report) report(message);
    }
};

namespace {

class ListVoice : public SpeechVoice {
public:
    ListVoice(SpeechEngine& builtIn, std::shared_ptr<SystemVoices::Shared> shared)
        : builtIn_(builtIn.CreateVoice()), builtInCount_(builtIn.VoiceCount()), shared_(std::move(shared)) {}

    // A voice that goes away takes its speech with it.
    ~ListVoice() override {
        if (UsesSystem()) shared_->link->Purge();
    }

    ListVoice(const ListVoice&) = delete;
    ListVoice& operator=(const ListVoice&) = delete;

    void Speak(const std::string& text, int flags) override {
        const bool purge = (flags & kSpeakPurge) != 0;
        if (UsesSystem()) {
            Link& link = *shared_->link;
            if (purge) link.Purge();
            if (purge && text.empty() && !link.Failed()) return;
            if (!link.Failed() && link.Say(text, rate_, volume_)) {
                if ((flags & kSpeakAsync) == 0) link.WaitHeard();
                if (!link.Failed()) return;
            }
            FallBack();
            if (purge && text.empty()) return;
            builtIn_->Speak(text, flags & ~kSpeakPurge);  // the notice is not to be cut
            return;
        }
        builtIn_->Speak(text, flags);
    }

    int RunningState() override {
        if (UsesSystem()) {
            if (shared_->link->Speaking()) return kSpeechSpeaking;
            if (shared_->link->Failed()) FallBack();
        }
        return builtIn_->RunningState();
    }

    int Rate() override { return rate_; }

    void SetRate(int rate) override {
        rate_ = std::clamp(rate, -10, 10);
        builtIn_->SetRate(rate_);
    }

    void SetVolume(int volume) override {
        volume_ = std::clamp(volume, 0, 100);
        builtIn_->SetVolume(volume_);
    }

    bool SelectVoice(int index) override {
        if (index == builtInCount_ && shared_->link) {
            builtIn_->Speak("", kSpeakPurge);
            index_ = index;
            return true;
        }
        if (UsesSystem()) shared_->link->Purge();
        if (!builtIn_->SelectVoice(index)) return false;
        index_ = index;
        return true;
    }

private:
    using Link = SystemVoices::Link;

    bool UsesSystem() const { return index_ == builtInCount_ && shared_->link && !shared_->link->Failed(); }

    // The built-in voice takes over, first saying so, once.
    void FallBack() {
        shared_->Failed(shared_->link->Why());
        index_ = 0;
        builtIn_->Speak("", kSpeakPurge);
        if (shared_->noticeSpoken) return;
        shared_->noticeSpoken = true;
        builtIn_->Speak(kNotice, kSpeakAsync);
    }

    std::unique_ptr<SpeechVoice> builtIn_;
    const int builtInCount_;
    std::shared_ptr<SystemVoices::Shared> shared_;
    int index_ = 0;
    int rate_ = 0;
    int volume_ = 100;
};

}  // namespace

SystemVoices::SystemVoices(SpeechEngine& builtIn, std::string socketPath, Report report, CaptionWriter caption)
    : builtIn_(builtIn), shared_(std::make_shared<Shared>()) {
    shared_->socketPath = std::move(socketPath);
    shared_->report = std::move(report);
    shared_->caption = caption ? std::move(caption) : CaptionWriter(WriteCaptionLine);
}

SystemVoices::~SystemVoices() {
    if (!shared_->link) return;
    Links::Get().Remove(shared_->client);
    {
        std::lock_guard lock(shared_->link->mu);
        shared_->link->failed = true;  // the voices left speak with the built-in voice
        shared_->link->why = "it was closed";
        shared_->link->ledger.Purge();
    }
    shared_->failureTold = true;  // a closing engine is no failure to tell of
    shared_->noticeSpoken = true;
    Quietly([&] {
        spd_close(shared_->link->connection);
        return 0;
    });
    shared_->link->connection = nullptr;
}

int SystemVoices::VoiceCount() { return builtIn_.VoiceCount() + (shared_->link ? 1 : 0); }

std::string SystemVoices::VoiceName(int index) {
    if (index >= 0 && index < builtIn_.VoiceCount()) return builtIn_.VoiceName(index);
    if (index == builtIn_.VoiceCount() && shared_->link) return kSystemVoiceName;
    return {};
}

std::unique_ptr<SpeechVoice> SystemVoices::CreateVoice() { return std::make_unique<ListVoice>(builtIn_, shared_); }

void SystemVoices::OnStarted(std::function<void(const std::string& text)> listener) {
    if (shared_->link) {
        std::lock_guard lock(shared_->link->mu);
        shared_->link->started = listener;
    }
    shared_->started = listener;
    builtIn_.OnStarted(std::move(listener));
}

int SystemVoices::FindSystemVoice() {
    if (shared_->link) return builtIn_.VoiceCount();
    char* error = nullptr;
    SPDConnectionAddress own{};
    SPDConnectionAddress* address = nullptr;
    if (shared_->socketPath.empty()) {
        address = spd_get_default_address(&error);
    } else {
        own.method = SPD_METHOD_UNIX_SOCKET;
        own.unix_socket_name = shared_->socketPath.data();
        address = &own;
    }
    SPDConnection* connection = nullptr;
    std::string absent;
    if (address != nullptr && address->method == SPD_METHOD_UNIX_SOCKET && address->unix_socket_name != nullptr &&
        ::access(address->unix_socket_name, F_OK) != 0) {
        // No server has been there: said without asking the library, which
        // keeps a refused connection's reason for ever (19 bytes a time).
        absent = std::string("nothing listens at ") + address->unix_socket_name;
    } else if (address != nullptr) {
        // Never started for us: a server started now would not speak with
        // the player's voice, and starting one costs a quarter of a second.
        connection = Quietly(
            [&] { return spd_open2("sluggerwood", "main", nullptr, SPD_MODE_THREADED, address, 0, &error); });
    }
    if (address != nullptr && address != &own) SPDConnectionAddress__free(address);
    if (connection == nullptr) {
        std::string why = TakeError(error, "no address");
        if (!absent.empty()) why = absent;
        if (!shared_->unreachableTold) {
            shared_->unreachableTold = true;
            std::fprintf(stderr, "speech: the speech service cannot be reached (%s)\n", why.c_str());
        }
        return -1;
    }
    std::free(error);

    auto link = std::make_shared<Link>();
    link->connection = connection;
    link->caption = shared_->caption;
    link->started = shared_->started;
    const int client = Quietly([&] { return spd_get_client_id(connection); });
    Links::Get().Add(client, link);
    connection->callback_begin = OnEvent;
    connection->callback_end = OnEvent;
    connection->callback_cancel = OnEvent;
    const bool ready = Quietly([&] {
        return spd_set_notification_on(connection, SPD_BEGIN) >= 0 &&
               spd_set_notification_on(connection, SPD_END) >= 0 &&
               spd_set_notification_on(connection, SPD_CANCEL) >= 0 &&
               spd_set_volume(connection, ServiceVolume(link->sentVolume)) >= 0 &&
               spd_set_voice_rate(connection, ServiceRate(link->sentRate)) >= 0;
    });
    if (!ready) {
        Links::Get().Remove(client);
        Quietly([&] {
            spd_close(connection);
            return 0;
        });
        std::fprintf(stderr, "speech: the speech service does not tell when it speaks\n");
        return -1;
    }
    shared_->client = client;
    shared_->link = std::move(link);
    return builtIn_.VoiceCount();
}

}  // namespace sw::host::real
