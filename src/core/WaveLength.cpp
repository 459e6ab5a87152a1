#include "WaveLength.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace zelmox {

namespace {

constexpr std::size_t FormatChunkMinimum = 16;
constexpr std::streamoff ByteRateOffset = 8;

std::uint32_t LittleEndian32(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

} // namespace

std::optional<std::int64_t> WaveLengthMs(const std::string& path) {
    std::error_code error;
    const auto fileSize = static_cast<std::int64_t>(std::filesystem::file_size(path, error));
    std::ifstream in(path, std::ios::binary);
    std::array<char, 12> riff{};
    if (error || !in.read(riff.data(), riff.size()) || std::string_view(riff.data(), 4) != "RIFF" ||
        std::string_view(riff.data() + 8, 4) != "WAVE") {
        return std::nullopt;
    }
    std::int64_t position = static_cast<std::int64_t>(riff.size());
    std::optional<std::int64_t> byteRate;
    std::optional<std::int64_t> dataBytes;
    std::array<char, 8> header{};
    while ((!byteRate || !dataBytes) && in.seekg(position) && in.read(header.data(), 8)) {
        const std::string_view id(header.data(), 4);
        const std::int64_t size = LittleEndian32(header.data() + 4);
        const std::int64_t body = position + 8;
        if (id == "fmt ") {
            std::array<char, 4> rate{};
            if (size < static_cast<std::int64_t>(FormatChunkMinimum) ||
                !in.seekg(body + ByteRateOffset) || !in.read(rate.data(), rate.size())) {
                return std::nullopt;
            }
            byteRate = LittleEndian32(rate.data());
        } else if (id == "data") {
            // A file cut short, or written as a stream with no final size, plays what it holds.
            dataBytes = std::min(size, fileSize - body);
        }
        // Chunks are padded to an even length.
        position = body + size + (size % 2);
    }
    if (!byteRate || !dataBytes || *byteRate == 0) {
        return std::nullopt;
    }
    return (*dataBytes * 1000 + *byteRate - 1) / *byteRate;
}

} // namespace zelmox
