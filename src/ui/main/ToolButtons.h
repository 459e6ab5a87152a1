#pragma once

#include <QAction>
#include <QToolButton>

namespace zelmox {

// A large tool-bar button: the image above its caption, the hint shown on hover.
QToolButton* MakeToolButton(const QString& name, const QString& caption, const QString& hint,
                            const QString& image);
// A flat button of the bottom bar: a small image beside its caption.
QToolButton* MakeBottomButton(const QString& name, const QString& caption, const QString& hint,
                              const QString& image);

// The buttons whose enabled state the busy modes switch: mode 1 while automatic scanning is on,
// mode 2 while a scan or a file operation runs.
struct ToolButtons {
    static constexpr int ModeAutoScan = 1;
    static constexpr int ModeBusy = 2;

    QToolButton* tbSave = nullptr;
    QToolButton* tbScan = nullptr;
    QToolButton* tbScanCurrent = nullptr;
    QToolButton* tbAutoScan = nullptr;
    QToolButton* tbAddWatch = nullptr;
    QToolButton* tbDeleteWatch = nullptr;
    QToolButton* tbAddSection = nullptr;
    QToolButton* tbDeleteSection = nullptr;
    QToolButton* tbRenameSection = nullptr;
    QToolButton* sbCompare = nullptr;
    QToolButton* sbInfo = nullptr;
    QToolButton* sbClear = nullptr;
    QToolButton* sbEdit = nullptr;
    QAction* miTTStart = nullptr;
    QAction* miTTStop = nullptr;

    // Makes the buttons with their captions, hints and images, as a window that just opened shows
    // them: the four watch buttons and "Delete Section" disabled.
    void Create();
    void DisableToolButtons(int mode);
    // firstTabActive: "Delete Section" stays as it is while the first tab is shown.
    void EnableToolButtons(int mode, bool firstTabActive);
};

} // namespace zelmox
