// Reading and writing the set's one file format: RIFF WAVE, PCM, 16-bit,
// mono, 11025 Hz, with the canonical 44-byte header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dsp.hpp"

namespace sg {

// Converts to 16-bit samples (rounded, clamped) and writes the file.
void writeWav(const std::filesystem::path& path, const Signal& signal);

// Bytes a file of that many samples takes.
std::uintmax_t wavBytes(std::size_t sampleCount);

// Reads a file written by writeWav; returns nothing (and sets error) when the
// file is not in exactly that format.
std::optional<std::vector<std::int16_t>> readWav(const std::filesystem::path& path,
                                                  std::string& error);

}  // namespace sg
