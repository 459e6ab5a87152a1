#include "QtPorts.h"

#include "AddressUrl.h"
#include "Images.h"
#include "TfChooseDir.h"
#include "WaveLength.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSoundEffect>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <climits>
#include <optional>

namespace zelmox {

namespace {

const QString MessageCaption = QStringLiteral("Zelmox");

// Message texts break their lines with carriage returns.
QString Shown(const QString& text) {
    QString shown = text;
    return shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// Room for the icon and the buttons of a dialog's title bar.
constexpr int TitleBarButtonsWidth = 160;

} // namespace

void QtUserPrompts::Error(const QString& text) {
    QMessageBox::critical(parent_, MessageCaption, Shown(text));
}

void QtUserPrompts::Warning(const QString& text) {
    QMessageBox::warning(parent_, MessageCaption, Shown(text));
}

void QtUserPrompts::Information(const QString& text) {
    QMessageBox::information(parent_, MessageCaption, Shown(text));
}

bool QtUserPrompts::AskYesNo(const QString& text) {
    return QMessageBox::warning(parent_, MessageCaption, Shown(text),
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

UserPrompts::Answer QtUserPrompts::AskYesNoCancel(const QString& text) {
    switch (QMessageBox::warning(parent_, MessageCaption, Shown(text),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                 QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString QtUserPrompts::AskText(const QString& caption, const QString& prompt,
                               const QString& initial) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    // Wide enough that the title bar shows the whole caption beside its buttons.
    const int captionWidth = dialog.fontMetrics().horizontalAdvance(caption) + TitleBarButtonsWidth;
    dialog.resize(std::max(dialog.sizeHint().width(), captionWidth), dialog.sizeHint().height());
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

QString QtUserPrompts::ChooseOpenFile(const QString& title, const QString& folder,
                                      const QString& filter) {
    QFileDialog dialog(parent_, title, folder, filter);
    dialog.setObjectName(QStringLiteral("odMain"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString QtUserPrompts::ChooseSaveFile(const QString& title, const QString& folder,
                                      const QString& filter, const QString& defaultSuffix) {
    return SaveChooser(title, folder, filter, defaultSuffix, false);
}

QString QtUserPrompts::ChooseSaveFileAskingToReplace(const QString& title, const QString& folder,
                                                     const QString& filter,
                                                     const QString& defaultSuffix) {
    return SaveChooser(title, folder, filter, defaultSuffix, true);
}

QString QtUserPrompts::ChooseFolder(const QString& folder) {
    return TfChooseDir::Execute(folder, parent_);
}

QString QtUserPrompts::SaveChooser(const QString& title, const QString& folder,
                                   const QString& filter, const QString& defaultSuffix,
                                   bool askToReplace) {
    QFileDialog dialog(parent_, title, folder, filter);
    dialog.setObjectName(QStringLiteral("sdMain"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !askToReplace);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void QtSoundPlayer::Play(const QString& file) {
    const std::optional<std::int64_t> length =
        file.isEmpty() ? std::nullopt : WaveLengthMs(QFile::encodeName(file).toStdString());
    if (!length) {
        alert_();
        return;
    }
    QSoundEffect effect;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&effect, &loop] {
        if (!effect.isPlaying()) {
            loop.quit();
        }
    });
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [this, &effect, &loop] {
        if (effect.status() == QSoundEffect::Error) {
            alert_();
            loop.quit();
        } else if (effect.status() == QSoundEffect::Ready) {
            effect.play();
        }
    });
    effect.setSource(QUrl::fromLocalFile(file));
    limit.start(static_cast<int>(std::min<std::int64_t>(*length + marginMs_, INT_MAX)));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void QtShellOpener::RunProgram(const QString& target) {
    QDesktopServices::openUrl(AddressUrl(target));
}

QtTrayIcon::QtTrayIcon(QMenu* menu, std::function<void()> activated, QObject* parent)
    : QObject(parent), icon_(new QSystemTrayIcon(this)), radarTimer_(new QTimer(this)) {
    for (int frame = 0; frame < RadarFrameCount; ++frame) {
        radarFrames_ << RadarImage(frame);
    }
    radarTimer_->setInterval(RadarFrameMs);
    connect(radarTimer_, &QTimer::timeout, this, [this] {
        radarFrame_ = (radarFrame_ + 1) % RadarFrameCount;
        icon_->setIcon(radarFrames_[radarFrame_]);
    });
    icon_->setContextMenu(menu);
    icon_->setIcon(TrayImage(Idle));
    connect(icon_, &QSystemTrayIcon::activated, this,
            [activated = std::move(activated)](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick) {
                    activated();
                }
            });
    if (IsAvailable()) {
        icon_->show();
    }
}

bool QtTrayIcon::IsAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::SetImage(Image image) {
    image_ = image;
    if (!radarTimer_->isActive()) {
        icon_->setIcon(TrayImage(image));
    }
}

void QtTrayIcon::SetRadar(bool running) {
    if (running == radarTimer_->isActive()) {
        return;
    }
    if (running) {
        radarFrame_ = 0;
        icon_->setIcon(radarFrames_[0]);
        radarTimer_->start();
    } else {
        radarTimer_->stop();
        icon_->setIcon(TrayImage(image_));
    }
}

void QtTrayIcon::SetHint(const QString& hint) {
    icon_->setToolTip(hint);
}

void QtTrayIcon::ShowBalloon(const QString& title, const QString& text, int milliseconds) {
    if (IsAvailable()) {
        icon_->showMessage(title, text, QSystemTrayIcon::Information, milliseconds);
    }
}

} // namespace zelmox
