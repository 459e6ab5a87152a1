#include "TfrmExport.h"

#include "DisplayText.h"
#include "ImageButton.h"
#include "Ports.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace zelmox {

TfrmExport::TfrmExport(UserPrompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Export Watch List"));

    eFilename_ = new QLineEdit;
    eFilename_->setObjectName(QStringLiteral("eFilename"));
    eFilename_->setMinimumWidth(300);
    auto* label = new QLabel(QStringLiteral("File name"));
    label->setBuddy(eFilename_);
    QToolButton* browse = MakeImageButton(QStringLiteral("sbBrowse"), QStringLiteral("folder"),
                                          QStringLiteral("choose the export file"));
    cbIncludeFullPath_ = new QCheckBox(QStringLiteral("Include full path to file or URL"));
    cbIncludeFullPath_->setObjectName(QStringLiteral("cbIncludeFullPath"));
    cbIncludeFullPath_->setChecked(true);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("&Export"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("bExport"));
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("bCancel"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(eFilename_, 1, 0);
    layout->addWidget(browse, 1, 1);
    layout->addWidget(cbIncludeFullPath_, 2, 0, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browse, &QToolButton::clicked, this, &TfrmExport::sbBrowseClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TExport TfrmExport::Result() const {
    return {StoreText(eFilename_->text()), cbIncludeFullPath_->isChecked()};
}

void TfrmExport::sbBrowseClick() {
    const QString proposed =
        eFilename_->text().isEmpty() ? QStringLiteral("export.txt") : eFilename_->text();
    const QString path = prompts_.ChooseSaveFileAskingToReplace(
        QStringLiteral("Export Watch List"), proposed, QStringLiteral("Text files (*.txt)"),
        QStringLiteral("txt"));
    if (!path.isEmpty()) {
        eFilename_->setText(path);
    }
}

TExport ExecuteExport(UserPrompts& prompts, QWidget* parent) {
    TfrmExport dialog(prompts, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Result() : TExport{};
}

} // namespace zelmox
