#include "TfrmImport.h"

#include "AddressList.h"
#include "DisplayText.h"
#include "ImageButton.h"
#include "Ports.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zelmox {

namespace {

const char* const ScanMethods[][2] = {{"rbAllText", "All text"},
                                      {"rbTextBetweenTags", "Text between tags"},
                                      {"rbSizeComparison", "Size comparison"}};

} // namespace

TfrmImport::TfrmImport(UserPrompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import"));

    auto* note = new QLabel(QStringLiteral("NB: In order to import multiple URLs from a file, the "
                                           "file must be ASCII, with only one URL to a line."));
    note->setWordWrap(true);
    eFilename_ = new QLineEdit;
    eFilename_->setObjectName(QStringLiteral("eFilename"));
    eFilename_->setReadOnly(true);
    auto* fileLabel = new QLabel(QStringLiteral("Filename of import list"));
    fileLabel->setBuddy(eFilename_);
    QToolButton* browse = MakeImageButton(QStringLiteral("sbImport"), QStringLiteral("folder"),
                                          QStringLiteral("choose the import list"));
    lbImport_ = new QListWidget;
    lbImport_->setObjectName(QStringLiteral("lbImport"));
    lbImport_->setUniformItemSizes(true);
    auto* listLabel = new QLabel(QStringLiteral("URLs to import"));
    listLabel->setBuddy(lbImport_);

    auto* methods = new QGroupBox(QStringLiteral(" Scan Method "));
    methods->setObjectName(QStringLiteral("gbScanMethod"));
    auto* methodLayout = new QVBoxLayout(methods);
    scanMethods_ = new QButtonGroup(this);
    for (int type = 0; type < 3; ++type) {
        auto* method = new QRadioButton(QString::fromLatin1(ScanMethods[type][1]));
        method->setObjectName(QString::fromLatin1(ScanMethods[type][0]));
        scanMethods_->addButton(method, type);
        methodLayout->addWidget(method);
    }
    scanMethods_->button(0)->setChecked(true);
    methodLayout->addStretch();

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("bImport"));
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("bCancel"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(note, 0, 0, 1, 3);
    layout->addWidget(fileLabel, 1, 0, 1, 2);
    layout->addWidget(eFilename_, 2, 0);
    layout->addWidget(browse, 2, 1);
    layout->addWidget(listLabel, 3, 0, 1, 2);
    layout->addWidget(lbImport_, 4, 0, 1, 2);
    layout->addWidget(methods, 4, 2);
    layout->addWidget(buttons, 5, 0, 1, 3);
    setFixedSize(460, 340);

    connect(browse, &QToolButton::clicked, this, &TfrmImport::sbImportClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ImportRequest TfrmImport::Result() const {
    return {lines_, scanMethods_->checkedId()};
}

void TfrmImport::sbImportClick() {
    const QString path =
        prompts_.ChooseOpenFile(QStringLiteral("Open"), QString(),
                                QStringLiteral("Zelmox Import File (*.txt);;All Files (*)"));
    if (!path.isEmpty()) {
        LoadList(path);
    }
}

void TfrmImport::LoadList(const QString& path) {
    std::vector<std::string> lines;
    std::string error;
    if (!ReadImportList(StoreText(path), lines, error)) {
        prompts_.Error(ShowText(error));
        return;
    }
    lines_ = std::move(lines);
    eFilename_->setText(path);
    lbImport_->clear();
    for (const std::string& line : lines_) {
        lbImport_->addItem(ShowText(line));
    }
}

ImportRequest ExecuteImport(UserPrompts& prompts, QWidget* parent) {
    TfrmImport dialog(prompts, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Result() : ImportRequest{};
}

} // namespace zelmox
