#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zelmox {

// How long a WAV file plays, in milliseconds, rounded up: the bytes of its data chunk (as many as
// the file really holds) over the bytes per second of its format chunk. Empty when the file cannot
// be read or is no RIFF WAVE file with both chunks.
std::optional<std::int64_t> WaveLengthMs(const std::string& path);

} // namespace zelmox
