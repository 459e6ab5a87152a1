// Sounds are waited for to their end, never long past it, and a file that cannot be played gives
// the alert sound.
#include "QtPorts.h"
#include "TempDir.h"
#include "WaveBytes.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

TEST(SoundPlayerTest, WaitsAtMostTheSoundAndTheMarginAndAlertsForWhatCannotPlay) {
    TempDir dir;
    WriteFile(dir.File("short.wav"), SilentWave(300));
    WriteFile(dir.File("text.wav"), "not a sound at all");
    WriteFile(dir.File("undecodable.wav"),
              WaveFile(WaveChunk("fmt ", std::string(16, '\x7f')) + WaveChunk("data", "xy")));
    int alerts = 0;
    QtSoundPlayer player([&alerts] { ++alerts; }, 200);
    // File, alert expected, longest wait: with no audio device the short sound never reports its
    // end, and the player gives up after its length and the margin.
    const std::tuple<std::string, bool, int> cases[] = {
        {"", true, 100},
        {dir.File("missing.wav"), true, 100},
        {dir.File("text.wav"), true, 100},
        {dir.File("undecodable.wav"), true, 1200},
        {dir.File("short.wav"), false, 1500},
    };
    for (const auto& [file, alert, longestMs] : cases) {
        alerts = 0;
        QElapsedTimer waited;
        waited.start();
        player.Play(QString::fromStdString(file));
        EXPECT_LT(waited.elapsed(), longestMs) << file;
        EXPECT_EQ(alerts, alert ? 1 : 0) << file;
    }
}

} // namespace
} // namespace zelmox::test
