#pragma once

#include "Ports.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <ostream>
#include <vector>

// Qt texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{' << texts.join(", ").toStdString() << '}';
}

namespace zelmox::test {

// Message boxes, input boxes and file choosers answered from queues. Every box shown is recorded
// with its kind; one nobody scripted is answered No, Cancel or an empty text (a cancelled
// chooser), so that an unexpected question never loses or overwrites anything.
class ScriptedPrompts final : public UserPrompts {
public:
    enum class Kind {
        Error,
        Warning,
        Information,
        YesNo,
        YesNoCancel,
        Text,
        OpenFile,
        SaveFile,
        Folder
    };
    struct Shown {
        Kind kind;
        // The message, "caption|prompt|initial" for an input box, a file chooser's title, a folder
        // chooser's starting folder.
        QString text;
    };

    std::deque<bool> yesNo;
    std::deque<Answer> yesNoCancel;
    std::deque<QString> texts;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    std::deque<QString> folders;
    std::vector<Shown> shown;
    // Runs while a box is shown, as a real box's event loop runs what comes meanwhile.
    std::function<void()> whileShown;

    void Error(const QString& text) override { Show(Kind::Error, text); }
    void Warning(const QString& text) override { Show(Kind::Warning, text); }
    void Information(const QString& text) override { Show(Kind::Information, text); }
    bool AskYesNo(const QString& text) override {
        Show(Kind::YesNo, text);
        return Next(yesNo, false);
    }
    Answer AskYesNoCancel(const QString& text) override {
        Show(Kind::YesNoCancel, text);
        return Next(yesNoCancel, Answer::Cancel);
    }
    QString AskText(const QString& caption, const QString& prompt,
                    const QString& initial) override {
        Show(Kind::Text, caption + '|' + prompt + '|' + initial);
        return Next(texts, QString());
    }
    QString ChooseOpenFile(const QString& title, const QString&, const QString&) override {
        Show(Kind::OpenFile, title);
        return Next(openFiles, QString());
    }
    QString ChooseSaveFile(const QString& title, const QString&, const QString&,
                           const QString&) override {
        Show(Kind::SaveFile, title);
        return Next(saveFiles, QString());
    }
    QString ChooseSaveFileAskingToReplace(const QString& title, const QString& folder,
                                          const QString& filter,
                                          const QString& defaultSuffix) override {
        return ChooseSaveFile(title, folder, filter, defaultSuffix);
    }
    QString ChooseFolder(const QString& folder) override {
        Show(Kind::Folder, folder);
        return Next(folders, QString());
    }

    // The texts of the boxes of one kind, in the order shown.
    QStringList Of(Kind kind) const {
        QStringList result;
        for (const Shown& box : shown) {
            if (box.kind == kind) {
                result << box.text;
            }
        }
        return result;
    }
    std::size_t Count() const { return shown.size(); }

private:
    void Show(Kind kind, const QString& text) {
        shown.push_back({kind, text});
        if (whileShown) {
            whileShown();
        }
    }
    template <typename T> static T Next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

class RecordingTray final : public TrayIcon {
public:
    struct Balloon {
        QString title;
        QString text;
        int milliseconds;
    };

    bool available = false;
    std::vector<Image> images;
    QStringList hints;
    std::vector<Balloon> balloons;
    // Every start (true) and stop (false) of the radar.
    std::vector<bool> radar;

    bool IsAvailable() const override { return available; }
    void SetImage(Image image) override { images.push_back(image); }
    Image CurrentImage() const override { return images.empty() ? Idle : images.back(); }
    void SetHint(const QString& hint) override { hints << hint; }
    void SetRadar(bool running) override { radar.push_back(running); }
    void ShowBalloon(const QString& title, const QString& text, int milliseconds) override {
        balloons.push_back({title, text, milliseconds});
    }
};

class RecordingSounds final : public SoundPlayer {
public:
    QStringList played;
    // Runs while a sound plays, as the real player waits for its end (or gives up on it).
    std::function<void()> whilePlaying;
    void Play(const QString& file) override {
        played << file;
        if (whilePlaying) {
            whilePlaying();
        }
    }
};

class RecordingShell final : public ShellOpener {
public:
    QStringList opened;
    void RunProgram(const QString& target) override { opened << target; }
};

} // namespace zelmox::test
