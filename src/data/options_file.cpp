#include "data/options_file.h"

#include "data/settings_files.h"
#include "host/files.h"

#include <cstdio>
#include <exception>

namespace sw::data {

namespace {

constexpr const char* kKeys[] = {"channels", "pitch_cue", "latency_ms", "speech"};

struct ChannelWord {
    const char* word;
    host::ChannelMode mode;
};
constexpr ChannelWord kChannelWords[] = {
    {"stereo", host::ChannelMode::Stereo},
    {"mono", host::ChannelMode::Mono},
    {"left", host::ChannelMode::Left},
    {"right", host::ChannelMode::Right},
};

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// A line split at its first '=': the key in lower case and the value, both
// without blanks around them. Nothing for a line with no '=' or no key.
struct Entry {
    std::string key;
    std::string value;
};
std::optional<Entry> SplitEntry(std::string line) {
    // A byte order mark, as some editors leave at the start of a file.
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    Entry e{Lower(Trim(line.substr(0, eq))), Trim(line.substr(eq + 1))};
    if (e.key.empty()) return std::nullopt;
    return e;
}

bool Ignorable(const std::string& line) {
    const std::string t = Trim(line);
    return t.empty() || t[0] == '#' || t[0] == ';';
}

bool IsKnownKey(const std::string& key) {
    for (const char* k : kKeys)
        if (key == k) return true;
    return false;
}

std::string ValueOf(const std::string& key, const PlayerOptions& o) {
    if (key == "channels") return ChannelsWord(o.channels);
    if (key == "pitch_cue") return o.pitchCue ? "on" : "off";
    if (key == "speech") return o.systemSpeech ? "system" : "built-in";
    return std::to_string(o.latencyMs);
}

// Sets the option `key` from `value`; false when the value is not one it takes.
bool SetOption(const std::string& key, const std::string& value, PlayerOptions& o) {
    const std::string v = Lower(value);
    if (key == "channels") {
        for (const ChannelWord& w : kChannelWords) {
            if (v == w.word) {
                o.channels = w.mode;
                return true;
            }
        }
        return false;
    }
    if (key == "pitch_cue") {
        if (v != "on" && v != "off") return false;
        o.pitchCue = v == "on";
        return true;
    }
    if (key == "speech") {
        if (v != "system" && v != "built-in" && v != "builtin") return false;
        o.systemSpeech = v == "system";
        return true;
    }
    auto n = ParseNumber(v);
    if (v.empty() || !n || *n < kLatencyMin || *n > kLatencyMax) return false;
    o.latencyMs = static_cast<int>(*n);
    return true;
}

const char* Allowed(const std::string& key) {
    if (key == "channels") return "stereo, mono, left or right";
    if (key == "pitch_cue") return "on or off";
    if (key == "speech") return "system or built-in";
    return "a whole number of milliseconds from -100 to 400";
}

}  // namespace

const char* ChannelsWord(host::ChannelMode mode) {
    for (const ChannelWord& w : kChannelWords)
        if (w.mode == mode) return w.word;
    return "stereo";
}

PlayerOptions ParseOptions(const std::string& text, std::vector<std::string>* problems) {
    PlayerOptions o;
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (Ignorable(lines[i])) continue;
        const std::string where = std::string(kOptionsFileName) + " line " + std::to_string(i + 1) + ": ";
        auto e = SplitEntry(lines[i]);
        if (!e) {
            if (problems) problems->push_back(where + "not a \"key = value\" line; ignored");
            continue;
        }
        if (!IsKnownKey(e->key)) continue;
        if (!SetOption(e->key, e->value, o) && problems)
            problems->push_back(where + e->key + " cannot be \"" + e->value + "\" (it takes " + Allowed(e->key) +
                                "); ignored");
    }
    return o;
}

std::string FormatOptions(const std::string& oldText, const PlayerOptions& options) {
    std::string out;
    std::vector<std::string> written;
    for (const std::string& line : SplitLines(oldText)) {
        auto e = Ignorable(line) ? std::nullopt : SplitEntry(line);
        if (e && IsKnownKey(e->key)) {
            bool seen = false;
            for (const std::string& k : written) seen = seen || k == e->key;
            if (seen) continue;
            written.push_back(e->key);
            out += e->key + " = " + ValueOf(e->key, options) + "\r\n";
            continue;
        }
        out += line + "\r\n";
    }
    for (const char* k : kKeys) {
        bool seen = false;
        for (const std::string& w : written) seen = seen || w == k;
        // Files without the key stay as they were while the voice is the built-in one.
        if (std::string(k) == "speech" && !options.systemSpeech) continue;
        if (!seen) out += std::string(k) + " = " + ValueOf(k, options) + "\r\n";
    }
    return out;
}

void OptionsFile::Load(const std::string& folder) {
    values = {};
    text_.clear();
    unreadable_ = false;
    auto found = host::FindFile(folder, kOptionsFileName);
    path_ = found ? *found : host::JoinPath(folder, kOptionsFileName);
    if (!found) return;
    try {
        text_ = host::ReadText(path_);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "options: %s; every option keeps its default\n", e.what());
        unreadable_ = true;
        return;
    }
    std::vector<std::string> problems;
    values = ParseOptions(text_, &problems);
    for (const std::string& p : problems) std::fprintf(stderr, "options: %s\n", p.c_str());
}

bool OptionsFile::Save() {
    if (path_.empty()) return false;
    if (unreadable_) {
        std::fprintf(stderr, "options: %s could not be read, so it is not written\n", path_.c_str());
        return false;
    }
    const std::string text = FormatOptions(text_, values);
    try {
        host::WriteFileAtomic(path_, text);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "options: %s\n", e.what());
        return false;
    }
    text_ = text;
    return true;
}

std::string OptionsFolder(const host::Folders& folders) {
    if (auto dataFolder = ExistingDataFolder(folders)) return *dataFolder;
    return folders.working;
}

}  // namespace sw::data
