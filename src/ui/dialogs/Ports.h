#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace zelmox {

// The outside world as the main window reaches it. The program plugs in Qt implementations;
// tests plug in doubles that answer from a script and record what was asked.

// Message boxes, input boxes and file choosers.
class UserPrompts {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~UserPrompts() = default;
    virtual void Error(const QString& text) = 0;
    virtual void Warning(const QString& text) = 0;
    virtual void Information(const QString& text) = 0;
    // A warning with Yes and No.
    virtual bool AskYesNo(const QString& text) = 0;
    // A warning with Yes, No and Cancel.
    virtual Answer AskYesNoCancel(const QString& text) = 0;
    // A one-line input box; empty on Cancel.
    virtual QString AskText(const QString& caption, const QString& prompt,
                            const QString& initial) = 0;
    // File choosers; empty when cancelled. The filter is in Qt's form ("Name (*.ext)").
    virtual QString ChooseOpenFile(const QString& title, const QString& folder,
                                   const QString& filter) = 0;
    virtual QString ChooseSaveFile(const QString& title, const QString& folder,
                                   const QString& filter, const QString& defaultSuffix) = 0;
    // The same chooser, asking before a file that exists is replaced.
    virtual QString ChooseSaveFileAskingToReplace(const QString& title, const QString& folder,
                                                  const QString& filter,
                                                  const QString& defaultSuffix) = 0;
    // A chooser of folders only, starting at `folder`; the folder ends in "/", empty when
    // cancelled.
    virtual QString ChooseFolder(const QString& folder) = 0;
};

// Plays a sound file to its end; a file that cannot be played gives the system's alert sound.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const QString& file) = 0;
};

// Opens a file path, a web address or a "mailto:" address with the system's default handler.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    virtual void RunProgram(const QString& target) = 0;
};

// Opens the program's help on one of its pages ("addwatch.htm"), in a window that stays usable
// beside the dialog that asks for it.
using HelpOpener = std::function<void(const QString& page, QWidget* opener)>;

// The notification-area icon.
class TrayIcon {
public:
    enum Image { Idle = 0, AutoScan = 1, ChangeDetected = 2 };

    virtual ~TrayIcon() = default;
    // False where the desktop has no notification area: minimising then keeps a taskbar entry.
    virtual bool IsAvailable() const = 0;
    virtual void SetImage(Image image) = 0;
    virtual Image CurrentImage() const = 0;
    virtual void SetHint(const QString& hint) = 0;
    // While the radar runs, the tray shows its frames in turn instead of the image.
    virtual void SetRadar(bool running) = 0;
    // A notice from the tray (the desktop's notification where the tray offers one).
    virtual void ShowBalloon(const QString& title, const QString& text, int milliseconds) = 0;
};

} // namespace zelmox
