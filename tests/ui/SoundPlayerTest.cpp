// Sounds as the program plays them: to their end, never waited on for long, and the alert sound
// for a file that cannot be played.
#include "QtPorts.h"
#include "TempDir.h"
#include "WaveBytes.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

TEST(SoundPlayerTest, WaitsNoLongerThanTheSoundAndTheMarginAndAlertsForUnplayableFiles) {
    TempDir dir;
    WriteFile(dir.File("short.wav"), SilentWave(300));
    WriteFile(dir.File("text.wav"), "not a sound at all");
    WriteFile(dir.File("undecodable.wav"),
              WaveFile(WaveChunk("fmt ", std::string(16, '\x7f')) + WaveChunk("data", "xy")));
    constexpr int MarginMs = 200;
    int alerts = 0;
    QtSoundPlayer player([&alerts] { ++alerts; }, MarginMs);
    const struct {
        std::string file;
        bool alert;
        int longestMs;
    } cases[] = {
        {"", true, 100},
        {dir.File("missing.wav"), true, 100},
        {dir.File("text.wav"), true, 100},
        {dir.File("undecodable.wav"), true, 1000 + MarginMs},
        // Played to its end, or, with no audio device, given up after the margin.
        {dir.File("short.wav"), false, 300 + MarginMs + 1000},
    };
    for (const auto& c : cases) {
        alerts = 0;
        QElapsedTimer waited;
        waited.start();
        player.Play(QString::fromStdString(c.file));
        EXPECT_LT(waited.elapsed(), c.longestMs) << c.file;
        if (c.alert) {
            EXPECT_EQ(alerts, 1) << c.file;
        }
    }
}

} // namespace
} // namespace zelmox::test
