#include "WaveLength.h"

#include "TempDir.h"
#include "WaveBytes.h"

#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

TEST(WaveLengthTest, DataBytesOverBytesPerSecondRoundedUp) {
    const std::string half(4000, '\x80');
    const struct {
        const char* what;
        std::string bytes;
        std::optional<std::int64_t> ms;
    } cases[] = {
        {"plain", WaveFile(WaveFormat(8000) + WaveChunk("data", half)), 500},
        {"rounded up", WaveFile(WaveFormat(3) + WaveChunk("data", "ab")), 667},
        {"odd chunk padded before",
         WaveFile(WaveChunk("LIST", "abc") + WaveFormat(8000) + WaveChunk("data", half)), 500},
        {"data before format", WaveFile(WaveChunk("data", half) + WaveFormat(8000)), 500},
        {"cut short", WaveFile(WaveFormat(8000) + WaveChunk("data", half, 80'000)), 500},
        {"streamed, no size", WaveFile(WaveFormat(8000) + WaveChunk("data", half, 0xffffffff)),
         500},
        {"no data", WaveFile(WaveFormat(8000)), std::nullopt},
        {"no format", WaveFile(WaveChunk("data", half)), std::nullopt},
        {"format too short", WaveFile(WaveChunk("fmt ", "\x01\0") + WaveChunk("data", half)),
         std::nullopt},
        {"no bytes per second", WaveFile(WaveFormat(0) + WaveChunk("data", half)), std::nullopt},
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
