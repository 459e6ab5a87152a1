#include "TfrmDifferences.h"
#include "WindowTestPorts.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

TEST(DifferencesWindowTest, StepsThroughTheChangesWithF7AndF8) {
    std::vector<std::string> before;
    for (int i = 1; i <= 12; ++i) {
        before.push_back("line " + std::to_string(i));
    }
    std::vector<std::string> after = before;
    after[1] = "line two";
    after[9] = "line 10 more";
    TfrmDifferences window(CompareTexts(before, after), "my page");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(window.windowTitle(), "Differences [my page]");
    EXPECT_EQ(window.findChild<QLabel*>("lChanges")->text(), "2 changes.");
    auto* previous = window.findChild<QToolButton*>("sbPreviousChange");
    auto* next = window.findChild<QToolButton*>("sbNextChange");

    const struct {
        Qt::Key key;
        int change;
        QString selected;
    } steps[] = {
        {Qt::Key_F8, 0, "2 two"}, {Qt::Key_F8, 1, "more"},  {Qt::Key_F8, 1, "more"},
        {Qt::Key_F7, 0, "2 two"}, {Qt::Key_F7, 0, "2 two"},
    };
    for (const auto& step : steps) {
        QTest::keyClick(window.windowHandle(), step.key);
        EXPECT_EQ(window.CurrentChange(), step.change);
        EXPECT_EQ(window.SelectedText(), step.selected);
        EXPECT_EQ(previous->isEnabled(), step.change > 0);
        EXPECT_EQ(next->isEnabled(), step.change < 1);
    }

    // Only the changed lines with two lines around them, the selection kept.
    auto* memo = window.findChild<QPlainTextEdit*>("memoDifferences");
    window.ShowChangedLinesOnly(true);
    EXPECT_EQ(memo->toPlainText(), "line 1\nline 2 two\nline 3\nline 4\n\u2026\n"
                                   "line 8\nline 9\nline 10 more\nline 11\nline 12");
    EXPECT_EQ(window.SelectedText(), "2 two");
    window.ShowChangedLinesOnly(false);
    EXPECT_EQ(memo->document()->blockCount(), 12);
}

} // namespace
} // namespace zelmox::test
