#include "data/settings_files.h"

#include "host/files.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <exception>

namespace sw::data {

std::string FormatNumber(long value) {
    if (value < 0) return "-" + std::to_string(-value) + " ";
    return " " + std::to_string(value) + " ";
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\n') {
            if (!cur.empty() && cur.back() == '\r') cur.pop_back();
            lines.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) {
        if (cur.back() == '\r') cur.pop_back();
        lines.push_back(cur);
    }
    return lines;
}

std::optional<long> ParseNumber(const std::string& line) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) return 0;
    bool neg = false;
    if (line[i] == '-' || line[i] == '+') {
        neg = line[i] == '-';
        ++i;
    }
    // Wider than any setting, whatever the width of long (32 bits on Windows).
    long long v = 0;
    size_t digits = 0;
    bool tooBig = false;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) {
        v = v * 10 + (line[i] - '0');
        // A number no setting can hold is not a number for these files.
        if (v > static_cast<long long>(INT_MAX) + (neg ? 1 : 0)) {
            tooBig = true;
            v = 0;
        }
        ++i;
        ++digits;
    }
    if (tooBig) return std::nullopt;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (digits == 0 || i != line.size()) return std::nullopt;
    return static_cast<long>(neg ? -v : v);
}

namespace {

std::optional<std::string> ReadWhole(const std::string& path) {
    try {
        return host::ReadText(path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "settings: %s\n", e.what());
        return std::nullopt;
    }
}

void ReadInto(const std::vector<std::string>& lines, size_t index, int& field) {
    if (index >= lines.size()) return;
    if (auto n = ParseNumber(lines[index])) field = static_cast<int>(*n);
}

bool WriteLines(const std::string& path, const std::string& text) {
    try {
        host::WriteFileAtomic(path, text);
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "settings: %s\n", e.what());
        return false;
    }
}

}  // namespace

VoiceConfig ParseVoiceConfig(const std::string& text) {
    auto lines = SplitLines(text);
    VoiceConfig cfg;
    ReadInto(lines, 0, cfg.voiceIndex);
    ReadInto(lines, 1, cfg.speechRate);
    return cfg;
}

Volumes ParseVolumes(const std::string& text, const Volumes& defaults) {
    auto lines = SplitLines(text);
    Volumes vol = defaults;
    ReadInto(lines, 0, vol.waveVolume);
    ReadInto(lines, 1, vol.speechVolume);
    return vol;
}

std::optional<VoiceConfig> ReadVoiceConfig(const std::string& path) {
    auto text = ReadWhole(path);
    if (!text) return std::nullopt;
    return ParseVoiceConfig(*text);
}

std::optional<Volumes> ReadVolumes(const std::string& path, const Volumes& defaults) {
    auto text = ReadWhole(path);
    if (!text) return std::nullopt;
    return ParseVolumes(*text, defaults);
}

bool WriteVoiceConfig(const std::string& path, const VoiceConfig& cfg) {
    return WriteLines(path, FormatNumber(cfg.voiceIndex) + "\r\n" + FormatNumber(cfg.speechRate) + "\r\n");
}

bool WriteVolumes(const std::string& path, const Volumes& vol) {
    return WriteLines(path, FormatNumber(vol.waveVolume) + "\r\n" + FormatNumber(vol.speechVolume) + "\r\n");
}

std::optional<std::string> ExistingDataFolder(const host::Folders& folders) {
    if (folders.documents.empty()) return std::nullopt;
    auto found = host::FindFile(folders.documents, "tamberlyn");
    if (found && host::IsFolder(*found)) return found;
    return std::nullopt;
}

std::optional<VoiceConfig> ReadGameVoiceConfig(const host::Folders& folders) {
    std::string folder = folders.working;
    if (auto dataFolder = ExistingDataFolder(folders)) {
        if (host::FindFile(*dataFolder, "baseball.cfg")) folder = *dataFolder;
    }
    if (auto path = host::FindFile(folder, "baseball.cfg")) return ReadVoiceConfig(*path);
    return std::nullopt;
}

}  // namespace sw::data
