// The small settings files: baseball.cfg (voice and rate) and baseball.vol
// (wave and speech volumes), and where they are looked for.
#pragma once

#include "host/host.h"

#include <optional>
#include <string>
#include <vector>

namespace sw::data {

// A number as the files write it: one blank (or the minus sign) before the
// digits, one blank after.
std::string FormatNumber(long value);
// The lines of a text file with CR LF or LF ends.
std::vector<std::string> SplitLines(const std::string& text);
// A line read as a number: blanks skipped, an empty line reads as 0;
// nothing when the line is not a number.
std::optional<long> ParseNumber(const std::string& line);

struct VoiceConfig {
    int voiceIndex = 0;
    int speechRate = 0;
};
struct Volumes {
    int waveVolume = 0;
    int speechVolume = 90;
};

// Readers keep the defaults for whatever they cannot read; nothing when the
// file is missing or unreadable.
std::optional<VoiceConfig> ReadVoiceConfig(const std::string& path);
std::optional<Volumes> ReadVolumes(const std::string& path, const Volumes& defaults = {});
// The same readers over a file's text already in memory.
VoiceConfig ParseVoiceConfig(const std::string& text);
Volumes ParseVolumes(const std::string& text, const Volumes& defaults = {});
// Whole-file writes, atomic; false (reported on standard error) on failure.
bool WriteVoiceConfig(const std::string& path, const VoiceConfig& cfg);
bool WriteVolumes(const std::string& path, const Volumes& vol);

// The data folder "tamberlyn" in the documents folder, found in any letter
// case; nothing when it does not exist.
std::optional<std::string> ExistingDataFolder(const host::Folders& folders);

// The voice settings the game stored, for the programs that only read them
// (batting practice, the game menu): baseball.cfg of the data folder when it
// holds one, else of the working folder; nothing when neither can be read.
std::optional<VoiceConfig> ReadGameVoiceConfig(const host::Folders& folders);

}  // namespace sw::data
