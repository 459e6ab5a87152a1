#pragma once

#include "Ports.h"

#include <QApplication>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

class QMenu;
class QSystemTrayIcon;

namespace zelmox {

class QtUserPrompts final : public UserPrompts {
public:
    explicit QtUserPrompts(QWidget* parent) : parent_(parent) {}

    void Error(const QString& text) override;
    void Warning(const QString& text) override;
    void Information(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    Answer AskYesNoCancel(const QString& text) override;
    QString AskText(const QString& caption, const QString& prompt, const QString& initial) override;
    QString ChooseOpenFile(const QString& title, const QString& folder,
                           const QString& filter) override;
    QString ChooseSaveFile(const QString& title, const QString& folder, const QString& filter,
                           const QString& defaultSuffix) override;
    QString ChooseSaveFileAskingToReplace(const QString& title, const QString& folder,
                                          const QString& filter,
                                          const QString& defaultSuffix) override;
    QString ChooseFolder(const QString& folder) override;

private:
    QString SaveChooser(const QString& title, const QString& folder, const QString& filter,
                        const QString& defaultSuffix, bool askToReplace);

    QPointer<QWidget> parent_;
};

// Plays a WAV file to its end. With no audio device a sound never reports its end, so the wait
// ends at the latest `margin` after the file's length.
class QtSoundPlayer final : public SoundPlayer {
public:
    static constexpr int DefaultMarginMs = 3000;

    // alert plays the system's alert sound.
    explicit QtSoundPlayer(std::function<void()> alert = &QApplication::beep,
                           int marginMs = DefaultMarginMs)
        : alert_(std::move(alert)), marginMs_(marginMs) {}

    void Play(const QString& file) override;

private:
    std::function<void()> alert_;
    int marginMs_;
};

class QtShellOpener final : public ShellOpener {
public:
    void RunProgram(const QString& target) override;
};

class QtTrayIcon final : public QObject, public TrayIcon {
    Q_OBJECT

public:
    // menu is the tray's pop-up menu; activated runs on a double-click.
    QtTrayIcon(QMenu* menu, std::function<void()> activated, QObject* parent);

    bool IsAvailable() const override;
    void SetImage(Image image) override;
    Image CurrentImage() const override { return image_; }
    void SetHint(const QString& hint) override;
    void SetRadar(bool running) override;
    void ShowBalloon(const QString& title, const QString& text, int milliseconds) override;

private:
    static constexpr int RadarFrameMs = 100;

    QSystemTrayIcon* icon_;
    Image image_ = Idle;
    QTimer* radarTimer_;
    QList<QIcon> radarFrames_;
    int radarFrame_ = 0;
};

} // namespace zelmox
