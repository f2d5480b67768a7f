// baseball.opt: the player's options, one "key = value" line each. Every
// option is off until the file says otherwise; lines this program does not
// know are kept as they were when it writes the file again.
#pragma once

#include "host/host.h"

#include <optional>
#include <string>
#include <vector>

namespace sw::data {

inline constexpr char kOptionsFileName[] = "baseball.opt";
inline constexpr int kLatencyMin = -100;
inline constexpr int kLatencyMax = 400;

struct PlayerOptions {
    host::ChannelMode channels = host::ChannelMode::Stereo;
    bool pitchCue = false;
    // How much later than the mixer believes the player hears a sound.
    int latencyMs = 0;
    // Speak with the player's own voice, the system's ("speech = system"),
    // rather than the built-in one ("speech = built-in").
    bool systemSpeech = false;

    bool operator==(const PlayerOptions&) const = default;
};

// The words of the file for a channel mode: stereo, mono, left, right.
const char* ChannelsWord(host::ChannelMode mode);

// The file's text read into options. Each line that names a known key with
// a value that key cannot take, and each line that is no "key = value" at
// all, leaves the option as it was and adds one sentence to `problems`.
// Empty lines, lines starting with # or ;, and unknown keys are no problem.
PlayerOptions ParseOptions(const std::string& text, std::vector<std::string>* problems);

// The file's text again with `options` in it: the first line of each known
// key holds its value, later lines of the same key go, missing keys are
// added at the end (speech only when it is not the built-in voice), and
// every other line stays byte for byte. CR LF ends.
std::string FormatOptions(const std::string& oldText, const PlayerOptions& options);

// The options file of one folder as a program holds it.
class OptionsFile {
public:
    // Reads `folder`'s baseball.opt (found in any letter case); the problems
    // go to standard error, one line each. No file: every option off.
    void Load(const std::string& folder);
    // Writes the file whole with the current values; false (reported on
    // standard error) when it cannot. A file that was there and could not
    // be read is never overwritten: the lines it holds would be lost.
    bool Save();

    PlayerOptions values;
    int latencyMs() const { return values.latencyMs; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string text_;
    bool unreadable_ = false;
};

// Where the programs that do not make the data folder keep the file: the
// data folder when it exists, else the working folder.
std::string OptionsFolder(const host::Folders& folders);

}  // namespace sw::data
