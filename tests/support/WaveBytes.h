#pragma once

#include <cstdint>
#include <string>

namespace zelmox::test {

// The bytes of WAV files, whole or crafted chunk by chunk.

inline std::string Le32(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xff);
    }
    return bytes;
}

// A chunk that declares the given size, padded to an even length.
inline std::string WaveChunk(const std::string& id, const std::string& body,
                             std::uint32_t declared) {
    return id + Le32(declared) + body + (body.size() % 2 != 0 ? std::string(1, '\0') : "");
}
inline std::string WaveChunk(const std::string& id, const std::string& body) {
    return WaveChunk(id, body, static_cast<std::uint32_t>(body.size()));
}

// A format chunk of 8-bit PCM, one channel, at the given bytes per second.
inline std::string WaveFormat(std::uint32_t byteRate) {
    return WaveChunk("fmt ", std::string("\x01\0\x01\0", 4) + Le32(byteRate) + Le32(byteRate) +
                                 std::string("\x01\0\x08\0", 4));
}

inline std::string WaveFile(const std::string& chunks) {
    return "RIFF" + Le32(static_cast<std::uint32_t>(chunks.size() + 4)) + "WAVE" + chunks;
}

// Silence that plays for the given time.
inline std::string SilentWave(int milliseconds) {
    constexpr std::uint32_t rate = 8000;
    return WaveFile(WaveFormat(rate) +
                    WaveChunk("data", std::string(rate * milliseconds / 1000, '\x80')));
}

} // namespace zelmox::test
