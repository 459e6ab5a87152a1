#include "WaveLength.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

std::string Le32(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xff);
    }
    return bytes;
}

std::string Chunk(const std::string& id, const std::string& body, std::uint32_t declared) {
    return id + Le32(declared) + body + (body.size() % 2 != 0 ? std::string(1, '\0') : "");
}
std::string Chunk(const std::string& id, const std::string& body) {
    return Chunk(id, body, static_cast<std::uint32_t>(body.size()));
}

// A PCM format chunk: 1 channel at the given bytes per second.
std::string Format(std::uint32_t byteRate) {
    return Chunk("fmt ", std::string("\x01\0\x01\0", 4) + Le32(byteRate) + Le32(byteRate) +
                             std::string("\x01\0\x08\0", 4));
}

std::string Wave(const std::string& chunks) {
    return "RIFF" + Le32(static_cast<std::uint32_t>(chunks.size() + 4)) + "WAVE" + chunks;
}

TEST(WaveLengthTest, DataBytesOverBytesPerSecondRoundedUp) {
    const std::string half(4000, '\x80');
    const struct {
        const char* what;
        std::string bytes;
        std::optional<std::int64_t> ms;
    } cases[] = {
        {"plain", Wave(Format(8000) + Chunk("data", half)), 500},
        {"CD quality", Wave(Format(176'400) + Chunk("data", std::string(352'800, '\0'))), 2000},
        {"rounded up", Wave(Format(3) + Chunk("data", "ab")), 667},
        {"odd chunk padded before", Wave(Chunk("LIST", "abc") + Format(8000) + Chunk("data", half)),
         500},
        {"data before format", Wave(Chunk("data", half) + Format(8000)), 500},
        {"cut short", Wave(Format(8000) + Chunk("data", half, 80'000)), 500},
        {"streamed, no size", Wave(Format(8000) + Chunk("data", half, 0xffffffff)), 500},
        {"no data", Wave(Format(8000)), std::nullopt},
        {"no format", Wave(Chunk("data", half)), std::nullopt},
        {"format too short", Wave(Chunk("fmt ", "\x01\0") + Chunk("data", half)), std::nullopt},
        {"no bytes per second", Wave(Format(0) + Chunk("data", half)), std::nullopt},
        {"no WAVE", "RIFF" + Le32(4) + "AVI ", std::nullopt},
        {"text", "just some text that is long enough", std::nullopt},
        {"empty", "", std::nullopt},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteFile(dir.File("sound.wav"), c.bytes);
        EXPECT_EQ(WaveLengthMs(dir.File("sound.wav")), c.ms) << c.what;
    }
    EXPECT_EQ(WaveLengthMs(dir.File("missing.wav")), std::nullopt);
    EXPECT_EQ(WaveLengthMs(dir.Folder()), std::nullopt);
}

} // namespace
} // namespace zelmox::test
