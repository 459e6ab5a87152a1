#include "TfrmComparison.h"

#include "AtomicFile.h"
#include "DisplayText.h"
#include "PageView.h"
#include "Ports.h"
#include "Settings.h"
#include "Snapshot.h"
#include "SnapshotSchemeHandler.h"
#include "TfrmDifferences.h"
#include "VisibleText.h"
#include "WebViews.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineProfile>

namespace zelmox {

namespace {

QToolButton* MakeButton(const QString& name, const QString& caption) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    return button;
}

} // namespace

TfrmComparison::TfrmComparison(const TWatch& watch, std::string dataFolder, TSettings& settings,
                               UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), watch_(watch), dataFolder_(std::move(dataFolder)), settings_(settings),
      prompts_(prompts), profile_(new QWebEngineProfile(this)),
      snapshots_(new SnapshotSchemeHandler(this)) {
    setObjectName(QStringLiteral("frmComparison"));
    profile_->installUrlSchemeHandler(SnapshotScheme, snapshots_);
    setWindowTitle(watch_.Description.empty()
                       ? QStringLiteral("Comparison Display")
                       : QStringLiteral("Comparison Display [") + ShowText(watch_.Description) +
                             QLatin1Char(']'));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setHandleWidth(SplitterWidth);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(BuildHalf(left_, QLatin1Char('L'), QStringLiteral("sbSaveLeft"),
                                   QStringLiteral("wbBefore")));
    splitter_->addWidget(BuildHalf(right_, QLatin1Char('R'), QStringLiteral("sbSaveRight"),
                                   QStringLiteral("wbAfter")));
    layout->addWidget(splitter_);
    findChild<QToolButton*>(QStringLiteral("sbLBefore"))->setChecked(true);
    findChild<QToolButton*>(QStringLiteral("sbRAfter"))->setChecked(true);

    resize(InitialWidth, InitialHeight);
    if (const QScreen* shown = screen()) {
        move(shown->availableGeometry().center() - rect().center());
    }
    ShowLeftWindow(SnapshotPath(SuffixBefore));
    ShowRightWindow(SnapshotPath(SuffixAfter));
}

TfrmComparison::~TfrmComparison() {
    // The views' pages must go before the profile they were made in.
    delete splitter_;
}

void TfrmComparison::ShowComparison(const TWatch& watch, std::string dataFolder,
                                    TSettings& settings, UserPrompts& prompts, QWidget* parent) {
    TfrmComparison window(watch, std::move(dataFolder), settings, prompts, parent);
    window.exec();
}

QWidget* TfrmComparison::BuildHalf(Half& half, QChar side, const QString& saveName,
                                   const QString& viewName) {
    const bool left = side == QLatin1Char('L');
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(panel);
    bar->setObjectName(left ? QStringLiteral("tbLeft") : QStringLiteral("tbRight"));
    auto* group = new QButtonGroup(panel);
    const struct {
        const char* Caption;
        void (TfrmComparison::*Handler)();
    } views[] = {
        {"Original", left ? &TfrmComparison::sbLOriginalClick : &TfrmComparison::sbROriginalClick},
        {"Before", left ? &TfrmComparison::sbLBeforeClick : &TfrmComparison::sbRBeforeClick},
        {"After", left ? &TfrmComparison::sbLAfterClick : &TfrmComparison::sbRAfterClick},
        {"Live", left ? &TfrmComparison::sbLLiveClick : &TfrmComparison::sbRLiveClick},
    };
    for (const auto& view : views) {
        const QString caption = QString::fromLatin1(view.Caption);
        QToolButton* button = MakeButton(QStringLiteral("sb") + side + caption, caption);
        button->setCheckable(true);
        group->addButton(button);
        bar->addWidget(button);
        connect(button, &QToolButton::clicked, this, view.Handler);
    }
    bar->addSeparator();
    half.Save = MakeButton(saveName, QStringLiteral("Save"));
    bar->addWidget(half.Save);
    connect(half.Save, &QToolButton::clicked, this,
            left ? &TfrmComparison::sbSaveLeftClick : &TfrmComparison::sbSaveRightClick);
    if (!left) {
        auto* spacer = new QWidget;
        spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        bar->addWidget(spacer);
        bar->addSeparator();
        sbDifferences_ = MakeButton(QStringLiteral("sbDifferences"), QStringLiteral("Differences"));
        sbDifferences_->setToolTip(
            QStringLiteral("show the words that changed between the halves"));
        // Only web pages have a text to compare.
        sbDifferences_->setEnabled(SnapshotExtension(watch_.Address) == ".html");
        bar->addWidget(sbDifferences_);
        connect(sbDifferences_, &QToolButton::clicked, this, &TfrmComparison::sbDifferencesClick);
    }
    half.View = new PageView(profile_, *snapshots_, panel);
    half.View->setObjectName(viewName);
    layout->addWidget(bar);
    layout->addWidget(half.View, 1);
    return panel;
}

std::string TfrmComparison::SnapshotPath(std::string_view suffix) const {
    return SnapshotFileName(dataFolder_, watch_, suffix);
}

void TfrmComparison::ShowStep(Half& half, const std::string& path) {
    half.Live = false;
    if (QFileInfo(QString::fromStdString(path)).isFile()) {
        half.View->ShowStored(path, watch_.Address);
        half.File = path;
        half.Save->setEnabled(true);
    } else {
        half.View->ShowPlaceholder();
        half.File.clear();
        half.Save->setEnabled(false);
    }
}

// Saving a live half stores the live page, so it can be saved even where no snapshot exists.
void TfrmComparison::ShowLive(Half& half) {
    half.Live = true;
    half.View->ShowLive(watch_.Address);
    half.Save->setEnabled(true);
}

void TfrmComparison::ShowLeftWindow(const std::string& path) {
    ShowStep(left_, path);
}

void TfrmComparison::ShowRightWindow(const std::string& path) {
    ShowStep(right_, path);
}

void TfrmComparison::sbLOriginalClick() {
    ShowStep(left_, SnapshotPath(SuffixOriginal));
}

void TfrmComparison::sbLBeforeClick() {
    ShowStep(left_, SnapshotPath(SuffixBefore));
}

void TfrmComparison::sbLAfterClick() {
    ShowStep(left_, SnapshotPath(SuffixAfter));
}

void TfrmComparison::sbLLiveClick() {
    ShowLive(left_);
}

void TfrmComparison::sbROriginalClick() {
    ShowStep(right_, SnapshotPath(SuffixOriginal));
}

void TfrmComparison::sbRBeforeClick() {
    ShowStep(right_, SnapshotPath(SuffixBefore));
}

void TfrmComparison::sbRAfterClick() {
    ShowStep(right_, SnapshotPath(SuffixAfter));
}

void TfrmComparison::sbRLiveClick() {
    ShowLive(right_);
}

void TfrmComparison::sbSaveLeftClick() {
    SaveHalf(left_);
}

void TfrmComparison::sbSaveRightClick() {
    SaveHalf(right_);
}

void TfrmComparison::SaveHalf(Half& half) {
    if (half.File.empty() && !half.Live) {
        return;
    }
    const QString target = prompts_.ChooseSaveFile(
        QStringLiteral("Save"), ShowText(settings_.LastCompareSaveDir), QString(), QString());
    if (target.isEmpty()) {
        return;
    }
    settings_.LastCompareSaveDir = StoreText(QFileInfo(target).absolutePath()) + '/';
    if (half.Live) {
        ContentFetch* fetch = client_.FetchContent(QByteArray::fromStdString(watch_.Address));
        connect(fetch, &ContentFetch::Finished, this,
                [this, target](bool ok, const QByteArray& content) {
                    if (ok) {
                        WriteCopy(target, content.toStdString());
                        return;
                    }
                    prompts_.Error(QStringLiteral("Could not save \"") + target +
                                   QStringLiteral("\".\r\rThe page could not be fetched from ") +
                                   ShowText(watch_.Address) + QLatin1Char('.'));
                    emit SaveFinished();
                });
        return;
    }
    QFile source(QString::fromStdString(half.File));
    if (!source.open(QIODevice::ReadOnly)) {
        prompts_.Error(QStringLiteral("Could not save \"") + target + QStringLiteral("\".\r\r") +
                       source.fileName() + QStringLiteral(": ") + source.errorString());
        emit SaveFinished();
        return;
    }
    WriteCopy(target, source.readAll().toStdString());
}

void TfrmComparison::WriteCopy(const QString& target, const std::string& bytes) {
    AtomicFile file(StoreText(target));
    bool saved = file.Open();
    if (saved) {
        file.Write(bytes);
        saved = file.Commit();
    }
    if (!saved) {
        prompts_.Error(QStringLiteral("Could not save \"") + target + QStringLiteral("\".\r\r") +
                       QString::fromStdString(file.Error()));
    }
    emit SaveFinished();
}

void TfrmComparison::HalfContent(const Half& half, std::function<void(const std::string&)> done) {
    if (!half.Live) {
        done(half.File.empty() ? std::string() : ReadWholeFile(half.File));
        return;
    }
    ContentFetch* fetch = client_.FetchContent(QByteArray::fromStdString(watch_.Address));
    connect(fetch, &ContentFetch::Finished, this,
            [this, done = std::move(done)](bool ok, const QByteArray& content) {
                // An empty text in its place would read as a page whose every word was deleted.
                if (!ok) {
                    prompts_.Error(QStringLiteral("Could not fetch the live version of \"") +
                                   ShowText(watch_.Address) + QStringLiteral("\"."));
                    return;
                }
                done(content.toStdString());
            });
}

void TfrmComparison::sbDifferencesClick() {
    HalfContent(left_, [this](const std::string& before) {
        HalfContent(right_, [this, before](const std::string& after) {
            TfrmDifferences::ShowDifferences(before, after, watch_.Description, this);
        });
    });
}

void TfrmComparison::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

// The halves stay equal: the left takes half of what the splitter leaves, a half rounded to the
// even neighbour.
void TfrmComparison::FormResize() {
    const int rest = width() - SplitterWidth;
    int leftWidth = rest / 2;
    if (rest % 2 != 0 && leftWidth % 2 != 0) {
        ++leftWidth;
    }
    splitter_->setSizes({leftWidth, rest - leftWidth});
}

} // namespace zelmox
