#pragma once

#include "LocalHttpServer.h"
#include "Ports.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

// Failure messages show texts, not their code units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace zelmox::test {

// Message boxes, input boxes and file choosers answered from queues. Every box is recorded; one
// nobody scripted is answered No, Cancel or an empty text (a cancelled chooser).
class QueuedPrompts final : public UserPrompts {
public:
    enum class Kind { Error, Warning, Information, YesNo, YesNoCancel, Text, OpenFile, SaveFile };
    struct Shown {
        Kind kind;
        QString text; // the message, or the chooser's title
    };

    std::deque<bool> yesNo;
    std::deque<Answer> yesNoCancel;
    std::deque<QString> texts;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    std::vector<Shown> shown;

    void Error(const QString& text) override { shown.push_back({Kind::Error, text}); }
    void Warning(const QString& text) override { shown.push_back({Kind::Warning, text}); }
    void Information(const QString& text) override { shown.push_back({Kind::Information, text}); }
    bool AskYesNo(const QString& text) override {
        shown.push_back({Kind::YesNo, text});
        return Next(yesNo, false);
    }
    Answer AskYesNoCancel(const QString& text) override {
        shown.push_back({Kind::YesNoCancel, text});
        return Next(yesNoCancel, Answer::Cancel);
    }
    QString AskText(const QString& caption, const QString&, const QString&) override {
        shown.push_back({Kind::Text, caption});
        return Next(texts, QString());
    }
    QString ChooseOpenFile(const QString& title, const QString&, const QString&) override {
        shown.push_back({Kind::OpenFile, title});
        return Next(openFiles, QString());
    }
    QString ChooseSaveFile(const QString& title, const QString&, const QString&,
                           const QString&) override {
        shown.push_back({Kind::SaveFile, title});
        return Next(saveFiles, QString());
    }

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
    template <typename T> static T Next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

// Pages on 127.0.0.1, each answering from a list: one answer per request, the last one repeated.
// A status other than 200 is a failed fetch; an answer may come after a delay.
class PageScript {
public:
    struct Answer {
        int status = 200;
        std::string body;
        int delayMs = 0;
    };

    PageScript() {
        http_.Server().set_keep_alive_timeout(1);
        http_.Server().Get(".*", [this](const httplib::Request& request,
                                        httplib::Response& response) { Serve(request, response); });
        started_ = http_.Start();
    }

    bool Started() const { return started_; }
    std::string Url(const std::string& path) const { return http_.Url(path); }

    void Set(const std::string& path, std::vector<Answer> answers) {
        const std::lock_guard lock(mutex_);
        answers_[path] = std::deque<Answer>(answers.begin(), answers.end());
    }
    void SetPage(const std::string& path, std::string body) { Set(path, {{200, std::move(body)}}); }

    int Hits(const std::string& path) const {
        const std::lock_guard lock(mutex_);
        const auto found = hits_.find(path);
        return found == hits_.end() ? 0 : found->second;
    }
    int TotalHits() const {
        const std::lock_guard lock(mutex_);
        int total = 0;
        for (const auto& [path, count] : hits_) {
            total += count;
        }
        return total;
    }

private:
    void Serve(const httplib::Request& request, httplib::Response& response) {
        Answer answer{404, {}, 0};
        {
            const std::lock_guard lock(mutex_);
            ++hits_[request.path];
            if (auto found = answers_.find(request.path);
                found != answers_.end() && !found->second.empty()) {
                answer = found->second.front();
                if (found->second.size() > 1) {
                    found->second.pop_front();
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(answer.delayMs));
        response.status = answer.status;
        response.set_content(answer.body, "text/html");
    }

    LocalHttpServer http_;
    bool started_ = false;
    mutable std::mutex mutex_;
    std::map<std::string, std::deque<Answer>> answers_;
    std::map<std::string, int> hits_;
};

} // namespace zelmox::test
