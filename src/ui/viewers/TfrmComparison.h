#pragma once

#include "HttpClient.h"
#include "Watch.h"

#include <QDialog>
#include <functional>
#include <string>
#include <string_view>

class QSplitter;
class QToolButton;
class QWebEngineProfile;

namespace zelmox {

class PageView;
class SnapshotSchemeHandler;
class UserPrompts;
struct TSettings;

// Two versions of one watch side by side. Each half switches between the original, previous and
// current snapshot and the live page, and saves what it shows; the right half also opens the
// word differences of the two.
class TfrmComparison : public QDialog {
    Q_OBJECT

public:
    static constexpr int InitialWidth = 868;
    static constexpr int InitialHeight = 638;
    static constexpr int SplitterWidth = 4;

    // dataFolder holds the snapshots; settings keeps LastCompareSaveDir.
    TfrmComparison(const TWatch& watch, std::string dataFolder, TSettings& settings,
                   UserPrompts& prompts, QWidget* parent = nullptr);
    ~TfrmComparison() override;

    // Opens the window for the watch and returns when the user has closed it.
    static void ShowComparison(const TWatch& watch, std::string dataFolder, TSettings& settings,
                               UserPrompts& prompts, QWidget* parent);

    void ShowLeftWindow(const std::string& path);
    void ShowRightWindow(const std::string& path);

    void sbLOriginalClick();
    void sbLBeforeClick();
    void sbLAfterClick();
    void sbLLiveClick();
    void sbROriginalClick();
    void sbRBeforeClick();
    void sbRAfterClick();
    void sbRLiveClick();
    void sbSaveLeftClick();
    void sbSaveRightClick();
    void sbDifferencesClick();

    const std::string& LeftFile() const { return left_.File; }
    const std::string& RightFile() const { return right_.File; }
    PageView* LeftView() const { return left_.View; }
    PageView* RightView() const { return right_.View; }

signals:
    // A save ended (a live page's is fetched first), with or without a file written.
    void SaveFinished();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Half {
        PageView* View = nullptr;
        QToolButton* Save = nullptr;
        std::string File;
        bool Live = false;
    };

    QWidget* BuildHalf(Half& half, QChar side, const QString& saveName, const QString& viewName);
    std::string SnapshotPath(std::string_view suffix) const;
    void ShowStep(Half& half, const std::string& path);
    void ShowLive(Half& half);
    void SaveHalf(Half& half);
    void WriteCopy(const QString& target, const std::string& bytes);
    // The content a half shows: its file, the live page fetched, or nothing for the placeholder.
    void HalfContent(const Half& half, std::function<void(const std::string&)> done);
    void FormResize();

    TWatch watch_;
    std::string dataFolder_;
    TSettings& settings_;
    UserPrompts& prompts_;
    HttpClient client_;
    QWebEngineProfile* profile_;
    SnapshotSchemeHandler* snapshots_;
    QSplitter* splitter_ = nullptr;
    QToolButton* sbDifferences_ = nullptr;
    Half left_;
    Half right_;
};

} // namespace zelmox
