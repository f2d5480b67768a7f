// The player's own voice against a private speech server the test starts,
// with its own configuration and socket and its sound sent to ALSA's null
// device, so no sound card and no session are needed. The server runs in a
// process group of its own, which the test ends with it (its speech module
// included).
#include "host/real/speechd_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sw::host::real {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char kServer[] = "/usr/bin/speech-dispatcher";
constexpr char kModule[] = "/usr/lib/speech-dispatcher-modules/sd_espeak-ng";

// Text long enough to keep the server busy for a while, even unheard.
std::string LongText() {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "the pitcher looks in, winds up and delivers to the plate. ";
    return text;
}

class PrivateServer {
public:
    // Empty when started, else why not.
    std::string Start() {
        if (::access(kServer, X_OK) != 0 || ::access(kModule, X_OK) != 0)
            return "speech-dispatcher or its espeak-ng module is not installed";
        char pattern[] = "/tmp/sw-spd-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) return "no temporary folder";
        dir_ = pattern;
        fs::create_directories(dir_ / "conf" / "modules");
        std::ofstream(dir_ / "conf" / "speechd.conf")
            << "LogLevel 1\nLogDir \"" << dir_.string() << "\"\nDefaultVolume 100\n"
            << "AddModule \"espeak-ng\" \"sd_espeak-ng\" \"espeak-ng.conf\"\nDefaultModule espeak-ng\n"
            << "AudioOutputMethod \"alsa\"\nAudioALSADevice \"null\"\n";
        std::ofstream(dir_ / "conf" / "modules" / "espeak-ng.conf") << "";
        // It also ends by itself 30 s after its last client has gone.
        const std::vector<std::string> args = {kServer, "-s", "-t", "30", "-c", "unix_socket",
                                               "-C", (dir_ / "conf").string(), "-S", socket(),
                                               "-P", (dir_ / "pid").string(), "-L", dir_.string()};
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        // In a group of its own with its module, and killed with this process
        // should the test be killed (a timeout). Its module, should it
        // outlive the server, comes to us to be reaped.
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        const pid_t parent = ::getpid();
        group_ = ::fork();
        if (group_ == 0) {
            ::setpgid(0, 0);
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent) ::_exit(127);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execv(kServer, argv.data());
            ::_exit(127);
        }
        if (group_ < 0) return "speech-dispatcher could not be started";
        ::setpgid(group_, group_);  // whichever of the two comes first
        // It listens once its module has loaded.
        const auto deadline = Clock::now() + std::chrono::seconds(15);
        while (!fs::exists(socket())) {
            if (Clock::now() > deadline || ::waitpid(group_, nullptr, WNOHANG) == group_)
                return "speech-dispatcher did not start listening";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return {};
    }

    // Ends the server and its module, at once and for good.
    void Kill() {
        if (group_ <= 0) return;
        ::kill(-group_, SIGKILL);
        while (::waitpid(-group_, nullptr, 0) > 0) {
        }
        group_ = 0;
    }

    ~PrivateServer() {
        Kill();
        std::error_code ec;
        if (!dir_.empty()) fs::remove_all(dir_, ec);
    }

    std::string socket() const { return (dir_ / "sock").string(); }

private:
    fs::path dir_;
    pid_t group_ = 0;  // the server's pid and process group
};

// What a voice of the built-in engine was asked to say.
class FakeVoice : public SpeechVoice {
public:
    explicit FakeVoice(std::vector<std::string>& said) : said_(said) {}
    void Speak(const std::string& text, int flags) override {
        said_.push_back((flags & kSpeakPurge) != 0 && text.empty() ? "<purge>" : text);
    }
    int RunningState() override { return kSpeechDone; }
    int Rate() override { return 0; }
    void SetRate(int) override {}
    void SetVolume(int) override {}
    bool SelectVoice(int index) override { return index >= 0 && index < 2; }

private:
    std::vector<std::string>& said_;
};

class FakeEngine : public SpeechEngine {
public:
    int VoiceCount() override { return 2; }
    std::string VoiceName(int index) override { return "built-in " + std::to_string(index); }
    std::unique_ptr<SpeechVoice> CreateVoice() override { return std::make_unique<FakeVoice>(said); }
    std::vector<std::string> said;
};

// The captions and the listener's texts, as the service's thread writes them.
class Heard {
public:
    void Caption(const std::string& text) { Add("caption " + text); }
    void Started(const std::string& text) { Add("started " + text); }
    std::vector<std::string> lines() {
        std::lock_guard lock(mu_);
        return lines_;
    }
    // Waits up to 10 s for a line; false when it did not come.
    bool WaitFor(const std::string& line) {
        std::unique_lock lock(mu_);
        return cv_.wait_for(lock, std::chrono::seconds(10),
                            [&] { return std::find(lines_.begin(), lines_.end(), line) != lines_.end(); });
    }
    double firstAt = 0;  // seconds from `since` to the first line
    Clock::time_point since = Clock::now();

private:
    void Add(const std::string& line) {
        std::lock_guard lock(mu_);
        if (lines_.empty()) firstAt = std::chrono::duration<double>(Clock::now() - since).count();
        lines_.push_back(line);
        cv_.notify_all();
    }
    std::mutex mu_;
    std::condition_variable cv_;
    std::vector<std::string> lines_;
};

class SystemVoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string why = server_.Start();
        if (!why.empty()) GTEST_SKIP() << "no private speech server: " << why;
        voices_ = std::make_unique<SystemVoices>(
            builtIn_, server_.socket(), [this](const std::string& m) { reports_.push_back(m); },
            [this](const std::string& t) { heard_.Caption(t); });
        voices_->OnStarted([this](const std::string& t) { heard_.Started(t); });
    }

    // A voice of the list on the player's own voice.
    std::unique_ptr<SpeechVoice> OwnVoice() {
        EXPECT_EQ(voices_->FindSystemVoice(), 2);
        auto voice = voices_->CreateVoice();
        EXPECT_TRUE(voice->SelectVoice(builtIn_.VoiceCount()));
        return voice;
    }

    PrivateServer server_;
    FakeEngine builtIn_;
    Heard heard_;
    std::vector<std::string> reports_;
    std::unique_ptr<SystemVoices> voices_;
};

TEST(SystemVoiceScales, RateAndVolumeMapOntoTheServicesScales) {
    const int rates[][2] = {{-11, -100}, {-10, -100}, {-1, -10}, {0, 0}, {3, 30}, {10, 100}, {11, 100}};
    for (const auto& r : rates) EXPECT_EQ(ServiceRate(r[0]), r[1]) << r[0];
    const int volumes[][2] = {{-1, -100}, {0, -100}, {50, 0}, {90, 80}, {100, 100}, {101, 100}};
    for (const auto& v : volumes) EXPECT_EQ(ServiceVolume(v[0]), v[1]) << v[0];
}

TEST(SystemVoiceFallback, NoServerLeavesTheBuiltInVoicesAlone) {
    FakeEngine builtIn;
    SystemVoices voices(builtIn, "/tmp/sw-no-speech-server-here/sock");
    const auto start = Clock::now();
    EXPECT_EQ(voices.FindSystemVoice(), -1);
    EXPECT_EQ(voices.FindSystemVoice(), -1);  // asked again, still no server, still quick
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 0.5);
    EXPECT_EQ(voices.VoiceCount(), 2);
    EXPECT_EQ(voices.VoiceName(2), "");
    auto voice = voices.CreateVoice();
    EXPECT_FALSE(voice->SelectVoice(2));
    voice->SetRate(11);
    EXPECT_EQ(voice->Rate(), 10);
    voice->Speak("hello", kSpeakAsync);
    EXPECT_EQ(builtIn.said, std::vector<std::string>{"hello"});
}

TEST_F(SystemVoiceTest, TheLastVoiceSpeaksInOrderCaptionedAtItsStart) {
    EXPECT_EQ(voices_->VoiceCount(), 2);  // not offered before it is looked for
    auto voice = OwnVoice();
    EXPECT_EQ(voices_->FindSystemVoice(), 2);  // asked again: the same connection
    EXPECT_EQ(voices_->VoiceCount(), 3);
    EXPECT_EQ(voices_->VoiceName(2), kSystemVoiceName);
    voice->SetRate(4);
    voice->SetVolume(80);

    heard_.since = Clock::now();
    voice->Speak("one", kSpeakAsync);
    EXPECT_EQ(voice->RunningState(), kSpeechSpeaking);  // from the call on
    voice->Speak("two", kSpeakAsync);
    voice->Speak("three", kSpeakWait);
    // Speak-and-wait returns once all is heard, every caption written.
    EXPECT_EQ(voice->RunningState(), kSpeechDone);
    EXPECT_EQ(heard_.lines(), (std::vector<std::string>{"caption one", "started one", "caption two", "started two",
                                                         "caption three", "started three"}));
    std::printf("call to the first caption: %.1f ms\n", heard_.firstAt * 1000);
    EXPECT_TRUE(builtIn_.said.empty() || builtIn_.said == std::vector<std::string>{"<purge>"});
    EXPECT_TRUE(reports_.empty());
}

TEST_F(SystemVoiceTest, ACaptionWaitsForItsTextsTurnAndAPurgeDropsTheRest) {
    auto voice = OwnVoice();
    const std::string longText = LongText();
    voice->Speak(longText, kSpeakAsync);
    ASSERT_TRUE(heard_.WaitFor("caption " + longText));
    voice->Speak("second", kSpeakAsync);
    voice->Speak("third", kSpeakAsync);
    // Queued behind a text still sounding: not captioned at the call.
    EXPECT_EQ(heard_.lines().size(), 2u);
    EXPECT_EQ(voice->RunningState(), kSpeechSpeaking);

    voice->Speak("", kSpeakPurge);
    EXPECT_EQ(voice->RunningState(), kSpeechDone);  // at once
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the server's cancel events come and go
    EXPECT_EQ(heard_.lines().size(), 2u);

    // The voice goes on after a purge.
    voice->Speak("fourth", kSpeakWait);
    EXPECT_EQ(heard_.lines().back(), "started fourth");
}

TEST_F(SystemVoiceTest, ALostServerHandsOverToTheBuiltInVoiceSayingSoOnce) {
    auto voice = OwnVoice();
    voice->Speak("before", kSpeakWait);
    server_.Kill();

    voice->Speak("after", kSpeakAsync);
    voice->Speak("later", kSpeakAsync);
    ASSERT_EQ(reports_.size(), 1u);
    // The notice first, never cut by the text that follows it.
    ASSERT_GE(builtIn_.said.size(), 3u);
    const std::vector<std::string> tail(builtIn_.said.end() - 3, builtIn_.said.end());
    EXPECT_NE(tail[0].find("cannot be reached"), std::string::npos) << tail[0];
    EXPECT_EQ(tail[1], "after");
    EXPECT_EQ(tail[2], "later");
    EXPECT_EQ(voice->RunningState(), kSpeechDone);

    // A new voice chosen as the player's own stays with the built-in one, told no more.
    auto again = voices_->CreateVoice();
    again->SelectVoice(2);
    again->Speak("again", kSpeakAsync);
    EXPECT_EQ(builtIn_.said.back(), "again");
    EXPECT_EQ(reports_.size(), 1u);
}

TEST_F(SystemVoiceTest, AVoiceLeftAfterTheEngineClosesSpeaksBuiltInWithoutAWord) {
    auto voice = OwnVoice();
    voices_.reset();
    voice->Speak("goodbye", kSpeakAsync);
    EXPECT_EQ(builtIn_.said.back(), "goodbye");
    EXPECT_EQ(std::count_if(builtIn_.said.begin(), builtIn_.said.end(),
                            [](const std::string& s) { return s.find("cannot be reached") != std::string::npos; }),
              0);
    EXPECT_TRUE(reports_.empty());
}

TEST_F(SystemVoiceTest, AServerLostMidSentenceDoesNotHangAWait) {
    auto voice = OwnVoice();
    const std::string longText = LongText();
    voice->Speak(longText, kSpeakAsync);
    ASSERT_TRUE(heard_.WaitFor("caption " + longText));
    std::thread killer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        server_.Kill();
    });
    const auto start = Clock::now();
    voice->Speak("waited for", kSpeakWait);
    killer.join();
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 3.0);
    EXPECT_EQ(reports_.size(), 1u);
    EXPECT_EQ(builtIn_.said.back(), "waited for");  // heard again from the built-in voice
}

}  // namespace
}  // namespace sw::host::real
