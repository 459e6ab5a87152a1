#include "TfChooseDir.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace zelmox {

namespace {

constexpr int InitialWidth = 396;
constexpr int InitialHeight = 345;

QString WithSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

TfChooseDir::TfChooseDir(const QString& folder, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fChooseDir"));
    setWindowTitle(QStringLiteral("Choose Directory"));
    resize(InitialWidth, InitialHeight);

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath(QDir::rootPath());
    cbPath_ = new QComboBox;
    cbPath_->setObjectName(QStringLiteral("cbPath"));
    cbPath_->setAccessibleName(QStringLiteral("selected folder"));
    stvMain_ = new QTreeView;
    stvMain_->setObjectName(QStringLiteral("stvMain"));
    stvMain_->setModel(folders_);
    stvMain_->setHeaderHidden(true);
    for (int column = 1; column < folders_->columnCount(); ++column) {
        stvMain_->hideColumn(column);
    }
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("bOK"));
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("bCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cbPath_);
    layout->addWidget(stvMain_, 1);
    layout->addWidget(buttons);

    connect(stvMain_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TfChooseDir::ShowPathOf);
    // The folders are read in the background: once those beside the selected one are in, it is
    // brought into view.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& folder) {
        scrollPending_ = folders_->filePath(stvMain_->currentIndex().parent()) == folder;
    });
    connect(folders_, &QFileSystemModel::layoutChanged, this, [this] {
        if (scrollPending_) {
            scrollPending_ = false;
            ShowSelection();
        }
    });
    connect(cbPath_, &QComboBox::activated, this,
            [this](int item) { SelectFolder(cbPath_->itemText(item)); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    SelectFolder(QDir(folder).exists() && !folder.isEmpty() ? folder : QDir::homePath());
}

void TfChooseDir::SelectFolder(const QString& folder) {
    const QModelIndex index = folders_->index(QDir::cleanPath(folder));
    if (index.isValid()) {
        for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent()) {
            stvMain_->expand(parent);
        }
        stvMain_->setCurrentIndex(index);
        ShowSelection();
    }
}

void TfChooseDir::ShowSelection() {
    stvMain_->scrollTo(stvMain_->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void TfChooseDir::ShowPathOf(const QModelIndex& index) {
    cbPath_->clear();
    QStringList chain;
    for (QModelIndex step = index; step.isValid(); step = step.parent()) {
        chain.prepend(WithSlash(folders_->filePath(step)));
    }
    cbPath_->addItems(chain);
    cbPath_->setCurrentIndex(cbPath_->count() - 1);
}

QString TfChooseDir::SelectedFolder() const {
    const QModelIndex index = stvMain_->currentIndex();
    const QString path = index.isValid() ? folders_->filePath(index) : QString();
    return path.isEmpty() ? QString() : WithSlash(path);
}

QString TfChooseDir::Execute(const QString& folder, QWidget* parent) {
    TfChooseDir chooser(folder, parent);
    return chooser.exec() == QDialog::Accepted ? chooser.SelectedFolder() : QString();
}

} // namespace zelmox
