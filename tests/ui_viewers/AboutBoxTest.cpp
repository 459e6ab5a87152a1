#include "HelpCommands.h"
#include "MainWindowFixture.h"
#include "MakerSite.h"
#include "SystemText.h"
#include "TfrmAbout.h"

#include <QLabel>
#include <QMenu>

namespace zelmox::test {
namespace {

class AboutBoxTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateAndStart();
        about = window->Help().About();
    }

    bool Animating() const { return about->findChild<QTimer*>("Timer1")->isActive(); }
    // Waits for the cube to move away from where point 0 is now.
    bool WaitForTurn() const {
        const CubePoint before = about->Cube().Point(0);
        return QTest::qWaitFor([&] { return about->Cube().Point(0).X != before.X; }, 2000);
    }

    TfrmAbout* about = nullptr;
};

TEST_F(AboutBoxTest, HelpMenuOpensTheBoxAndTheMakersPages) {
    const QList<QAction*> items = Find<QMenu>("Help1")->actions();
    QStringList names;
    for (const QAction* item : items) {
        names << (item->isSeparator() ? "-"
                                      : item->objectName() + " " + item->shortcut().toString());
    }
    EXPECT_EQ(names, QStringList({"Help2 F1", "-", "ZelmoxWebsite1 ", "Checkforupdates1 F2", "-",
                                  "About1 F3"}));

    Action("About1")->trigger();
    ASSERT_TRUE(about->isVisible());
    EXPECT_TRUE(about->isModal());
    EXPECT_TRUE(about->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(about->size(), QSize(428, 316));
    EXPECT_LE(
        (about->frameGeometry().center() - window->frameGeometry().center()).manhattanLength(), 2);
    EXPECT_EQ(about->findChild<QLabel*>("lVersion")->text(), "February 3rd 2007 / v2.2");
    EXPECT_EQ(about->findChild<QLabel*>("lSystem")->text().toStdString(),
              SystemText(RunningSystem()));

    QTest::mouseClick(about->findChild<QToolButton*>("sbEmail"), Qt::LeftButton);
    QTest::mouseClick(about->findChild<QToolButton*>("sbWebsite"), Qt::LeftButton);
    QTest::mouseClick(about->findChild<QToolButton*>("sbClose"), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
    Action("ZelmoxWebsite1")->trigger();
    EXPECT_EQ(shell.opened,
              QStringList({"mailto:" + MakerEmail(), "http://" + MakerHost() + "/zelmox/index.htm",
                           "http://" + MakerHost() + "/zelmox/"}));
}

TEST_F(AboutBoxTest, CubeTurnsOnlyWhileShownAndKeepsItsAttitude) {
    EXPECT_FALSE(Animating());
    Action("About1")->trigger();
    EXPECT_TRUE(Animating());
    ASSERT_TRUE(WaitForTurn());

    // The picture shown is the cube's, pixel for pixel.
    const QImage shown = about->findChild<QLabel*>("Image3")->pixmap().toImage();
    int differing = 0;
    for (int y = 0; y < CubePicture::Size; ++y) {
        for (int x = 0; x < CubePicture::Size; ++x) {
            const QColor expected =
                about->Cube().Picture().IsSet(x, y) ? QColor(3, 107, 100) : QColor(218, 254, 251);
            differing += shown.pixelColor(x, y) != expected ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);

    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
    EXPECT_FALSE(Animating());
    const CubePoint closedAt = about->Cube().Point(0);
    QTest::qWait(60);
    EXPECT_EQ(about->Cube().Point(0).X, closedAt.X);

    Action("About1")->trigger();
    EXPECT_TRUE(Animating());
    EXPECT_EQ(about->Cube().Point(0).X, closedAt.X);
    EXPECT_TRUE(WaitForTurn());
    about->close();
}

} // namespace
} // namespace zelmox::test
