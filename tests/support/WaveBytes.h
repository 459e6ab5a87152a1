#pragma once

#include <cstdint>
#include <string>

namespace zelmox::test {

// WAV files, whole or crafted chunk by chunk.

inline std::string Le32(std::uint32_t value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

// A chunk that declares the given size (by default its own), padded to an even length.
inline std::string WaveChunk(const std::string& id, const std::string& body,
                             std::int64_t size = -1) {
    return id + Le32(static_cast<std::uint32_t>(size < 0 ? body.size() : size)) + body +
           std::string(body.size() % 2, '\0');
}

// The format chunk of 8-bit mono PCM at the given bytes per second.
inline std::string WaveFormat(std::uint32_t byteRate) {
    return WaveChunk("fmt ", std::string("\1\0\1\0", 4) + Le32(byteRate) + Le32(byteRate) +
                                 std::string("\1\0\x08\0", 4));
}

inline std::string WaveFile(const std::string& chunks) {
    return "RIFF" + Le32(static_cast<std::uint32_t>(chunks.size() + 4)) + "WAVE" + chunks;
}

inline std::string SilentWave(int milliseconds) {
    return WaveFile(WaveFormat(8000) + WaveChunk("data", std::string(8 * milliseconds, '\x80')));
}

} // namespace zelmox::test
