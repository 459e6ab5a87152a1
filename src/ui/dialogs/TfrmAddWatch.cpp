#include "TfrmAddWatch.h"

#include "Address.h"
#include "DisplayText.h"
#include "FixedSizeWindow.h"
#include "PageText.h"
#include "Ports.h"
#include "Settings.h"
#include "Snapshot.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zelmox {

namespace {

constexpr int DialogWidth = 402;
constexpr int DialogHeight = 385;

const char* const ScanTypeCaptions[4] = {"Entire File", "Text Between Tags", "Size Comparison",
                                         "Keywords"};

// The extension of the address's last path element, upper-cased; empty when it has none.
QString LastElementExtension(const QString& address) {
    const qsizetype separator =
        std::max(address.lastIndexOf(QLatin1Char('/')), address.lastIndexOf(QLatin1Char('\\')));
    const QString element = address.mid(separator + 1);
    const qsizetype dot = element.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : element.mid(dot).toUpper();
}

bool IsEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QPushButton* MakeButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    // Enter presses OK, the default button, wherever the focus is.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

TfrmAddWatch::TfrmAddWatch(const TSettings& settings, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), settings_(settings), prompts_(prompts), client_(this) {
    setObjectName(QStringLiteral("frmAddWatch"));
    setWindowTitle(QStringLiteral("Add Watch"));
    FixWindowSize(*this, QSize(DialogWidth, DialogHeight));
    BuildControls();
    ApplyConnectionSettings(client_, settings_);
    eDescription_->setFocus();
}

void TfrmAddWatch::BuildControls() {
    auto* layout = new QVBoxLayout(this);

    auto* details = new QGroupBox(QStringLiteral(" Watch Details "));
    auto* detailsLayout = new QGridLayout(details);
    eDescription_ = new QLineEdit;
    eDescription_->setObjectName(QStringLiteral("eDescription"));
    ePageAddress_ = new QLineEdit;
    ePageAddress_->setObjectName(QStringLiteral("ePageAddress"));
    ePageAddress_->installEventFilter(this);
    sbGetLocalFile_ = new QToolButton;
    sbGetLocalFile_->setObjectName(QStringLiteral("sbGetLocalFile"));
    sbGetLocalFile_->setText(QStringLiteral("..."));
    sbGetLocalFile_->setToolTip(QStringLiteral("pick from file system"));
    detailsLayout->addWidget(new QLabel(QStringLiteral("Description")), 0, 0, 1, 2);
    detailsLayout->addWidget(eDescription_, 1, 0, 1, 2);
    detailsLayout->addWidget(new QLabel(QStringLiteral("Address (either http:// or file system)")),
                             2, 0, 1, 2);
    detailsLayout->addWidget(ePageAddress_, 3, 0);
    detailsLayout->addWidget(sbGetLocalFile_, 3, 1);
    layout->addWidget(details);

    auto* method = new QGroupBox(QStringLiteral(" Detection Method "));
    auto* methodLayout = new QHBoxLayout(method);
    auto* radios = new QVBoxLayout;
    scanTypes_ = new QButtonGroup(this);
    for (int type = 0; type < 4; ++type) {
        rbScanType_[type] = new QRadioButton(QString::fromLatin1(ScanTypeCaptions[type]));
        rbScanType_[type]->setObjectName(QStringLiteral("rbScanType%1").arg(type + 1));
        scanTypes_->addButton(rbScanType_[type], type);
        radios->addWidget(rbScanType_[type]);
    }
    rbScanType_[ScanEntireFile]->setChecked(true);
    methodLayout->addLayout(radios);
    pKeywords_ = new QWidget;
    pKeywords_->setObjectName(QStringLiteral("pKeywords"));
    auto* keywordLayout = new QGridLayout(pKeywords_);
    keywordLayout->setContentsMargins(0, 0, 0, 0);
    eKeyword_ = new QLineEdit;
    eKeyword_->setObjectName(QStringLiteral("eKeyword"));
    eKeyword_->installEventFilter(this);
    QPushButton* add = MakeButton(QStringLiteral("sbAddKeyword"), QStringLiteral("add"));
    QPushButton* remove = MakeButton(QStringLiteral("sbDelKeyword"), QStringLiteral("remove"));
    lbKeywords_ = new QListWidget;
    lbKeywords_->setObjectName(QStringLiteral("lbKeywords"));
    lbKeywords_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    keywordLayout->addWidget(new QLabel(QStringLiteral("Keyword")), 0, 0);
    keywordLayout->addWidget(eKeyword_, 1, 0);
    keywordLayout->addWidget(add, 1, 1);
    keywordLayout->addWidget(lbKeywords_, 2, 0);
    keywordLayout->addWidget(remove, 2, 1, Qt::AlignTop);
    pKeywords_->hide();
    methodLayout->addWidget(pKeywords_, 1);
    layout->addWidget(method, 1);

    cbManual_ = new QCheckBox(QStringLiteral("Manual scan mode"));
    cbManual_->setObjectName(QStringLiteral("cbManual"));
    layout->addWidget(cbManual_);

    checking_ = new QLabel(QStringLiteral("Checking the address..."));
    checking_->setObjectName(QStringLiteral("lChecking"));
    checking_->hide();
    BitBtn1_ = MakeButton(QStringLiteral("BitBtn1"), QStringLiteral("&Help"));
    BitBtn1_->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1_);
    buttons->addWidget(checking_);
    buttons->addStretch();
    bOK_ = MakeButton(QStringLiteral("bOK"), QStringLiteral("&OK"));
    bOK_->setEnabled(false);
    bOK_->setDefault(true);
    bCancel_ = MakeButton(QStringLiteral("bCancel"), QStringLiteral("&Cancel"));
    buttons->addWidget(bOK_);
    buttons->addWidget(bCancel_);
    layout->addLayout(buttons);

    connect(ePageAddress_, &QLineEdit::textChanged, this, &TfrmAddWatch::rbScanType1Click);
    connect(scanTypes_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            rbScanType1Click();
        }
    });
    connect(add, &QPushButton::clicked, this, &TfrmAddWatch::sbAddKeywordClick);
    connect(remove, &QPushButton::clicked, this, &TfrmAddWatch::sbDelKeywordClick);
    connect(sbGetLocalFile_, &QToolButton::clicked, this, &TfrmAddWatch::sbGetLocalFileClick);
    connect(BitBtn1_, &QPushButton::clicked, this, &TfrmAddWatch::BitBtn1Click);
    connect(bOK_, &QPushButton::clicked, this, &TfrmAddWatch::bOKClick);
    connect(bCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::finished, this, [this] {
        if (fetch_ != nullptr) {
            fetch_->disconnect(this);
            fetch_->Abort();
            fetch_ = nullptr;
        }
    });
}

void TfrmAddWatch::SetHelpOpener(HelpOpener showHelp) {
    showHelp_ = std::move(showHelp);
    BitBtn1_->setEnabled(static_cast<bool>(showHelp_));
}

void TfrmAddWatch::BitBtn1Click() {
    if (showHelp_) {
        showHelp_(QStringLiteral("addwatch.htm"), this);
    }
}

bool TfrmAddWatch::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the address field leaves it, as a click on OK would, before OK is pressed.
    if (watched == ePageAddress_ && (event->type() == QEvent::FocusOut || IsEnterKey(event))) {
        ePageAddressExit();
    }
    // Enter in the keyword field adds the keyword and is not passed on to OK.
    if (watched == eKeyword_ && IsEnterKey(event)) {
        eKeywordKeyPress();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAddWatch::Fill(const TWatch& watch) {
    eDescription_->setText(ShowText(watch.Description));
    ePageAddress_->setText(ShowText(watch.Address));
    addressAtLastExit_ = ePageAddress_->text();
    if (watch.ScanType >= 0 && watch.ScanType < 4) {
        rbScanType_[watch.ScanType]->setChecked(true);
    }
    lbKeywords_->clear();
    for (const std::string& keyword : watch.Keyword) {
        InsertKeyword(ShowText(keyword));
    }
    cbManual_->setChecked(watch.Manual == 1);
    // With its keywords in place, a keyword watch can be confirmed as it stands.
    rbScanType1Click();
}

int TfrmAddWatch::CheckedScanType() const {
    const int type = scanTypes_->checkedId();
    return type < 0 ? ScanEntireFile : type;
}

void TfrmAddWatch::ReadResult(TWatch& watch) const {
    watch.Description = StoreText(eDescription_->text());
    watch.Address = StoreText(ePageAddress_->text());
    watch.Manual = cbManual_->isChecked() ? 1 : 0;
    watch.ScanType = CheckedScanType();
    watch.Keyword.clear();
    if (watch.ScanType == ScanKeywords) {
        for (int i = 0; i < lbKeywords_->count(); ++i) {
            watch.Keyword.push_back(StoreText(lbKeywords_->item(i)->text()));
        }
    }
}

bool TfrmAddWatch::OkRuleHolds() const {
    const bool keywords = CheckedScanType() == ScanKeywords;
    const bool hasAddress = !ePageAddress_->text().isEmpty();
    return hasAddress && (!keywords || lbKeywords_->count() > 0);
}

void TfrmAddWatch::rbScanType1Click() {
    pKeywords_->setVisible(CheckedScanType() == ScanKeywords);
    // While the address is being checked, OK waits for the answer.
    bOK_->setEnabled(fetch_ == nullptr && OkRuleHolds());
}

void TfrmAddWatch::ePageAddressExit() {
    QString address = ePageAddress_->text();
    if (address.toUpper().startsWith(QLatin1String("WWW"))) {
        address.prepend(QLatin1String("http://"));
        ePageAddress_->setText(address);
    }
    // Passing through the field of a keyword watch must not silently make it a whole-file watch:
    // the method goes back to "Entire File" only for a changed address.
    CheckFileType(address != addressAtLastExit_);
    addressAtLastExit_ = address;
}

void TfrmAddWatch::CheckFileType(bool resetMethod) {
    const bool known = IsKnownExtension(StoreText(LastElementExtension(ePageAddress_->text())));
    for (int type = ScanTextBetweenTags; type <= ScanKeywords; ++type) {
        rbScanType_[type]->setEnabled(!known);
    }
    if (known || resetMethod) {
        rbScanType_[ScanEntireFile]->setChecked(true);
    }
}

bool TfrmAddWatch::InsertKeyword(const QString& keyword) {
    int position = 0;
    for (; position < lbKeywords_->count(); ++position) {
        const int order =
            QString::compare(lbKeywords_->item(position)->text(), keyword, Qt::CaseInsensitive);
        if (order == 0) {
            return false;
        }
        if (order > 0) {
            break;
        }
    }
    lbKeywords_->insertItem(position, keyword);
    return true;
}

bool TfrmAddWatch::AddKeyword() {
    const QString keyword = eKeyword_->text();
    if (keyword.isEmpty()) {
        return false;
    }
    eKeyword_->clear();
    return InsertKeyword(keyword);
}

void TfrmAddWatch::sbAddKeywordClick() {
    AddKeyword();
    rbScanType1Click();
}

void TfrmAddWatch::eKeywordKeyPress() {
    AddKeyword();
}

void TfrmAddWatch::sbDelKeywordClick() {
    qDeleteAll(lbKeywords_->selectedItems());
    rbScanType1Click();
}

void TfrmAddWatch::sbGetLocalFileClick() {
    const QString path =
        prompts_.ChooseOpenFile(QStringLiteral("Open"), QString(), QStringLiteral("All files (*)"));
    if (!path.isEmpty()) {
        ePageAddress_->setText(path);
    }
}

void TfrmAddWatch::bOKClick() {
    if (cbManual_->isChecked()) {
        accept();
        return;
    }
    const QString address = ePageAddress_->text();
    if (!IsWebAddress(StoreText(address))) {
        if (QFileInfo(address).isFile()) {
            accept();
        } else {
            prompts_.Warning(QStringLiteral("Error opening local file!"));
            cbManual_->setChecked(true);
        }
        return;
    }
    fetch_ = client_.FetchContent(address.toUtf8());
    connect(fetch_, &ContentFetch::Finished, this, &TfrmAddWatch::OnPageFetched);
    SetChecking(true);
}

void TfrmAddWatch::OnPageFetched(bool ok, const QByteArray& content) {
    fetch_ = nullptr;
    SetChecking(false);
    // An empty page would only fail later, at the add; it is refused here like a failed fetch.
    if (!ok || content.isEmpty()) {
        prompts_.Warning(QStringLiteral("Error opening web page!"));
        cbManual_->setChecked(true);
        return;
    }
    // The method or the keywords may have changed during the check.
    if (!OkRuleHolds()) {
        return;
    }
    if (eDescription_->text().isEmpty() && settings_.AutoDescription) {
        const std::string_view page(content.constData(), static_cast<std::size_t>(content.size()));
        if (settings_.AutoDescriptionType == 1) {
            eDescription_->setText(ShowText(SingleLine(GetPageTitle(page))));
        } else if (settings_.AutoDescriptionType == 2) {
            eDescription_->setText(ShowText(SingleLine(GetMetaDescription(page))));
        }
    }
    accept();
}

void TfrmAddWatch::SetChecking(bool checking) {
    checking_->setVisible(checking);
    ePageAddress_->setReadOnly(checking);
    sbGetLocalFile_->setEnabled(!checking);
    rbScanType1Click();
}

TWatch ExecuteAddWatch(const TSettings& settings, UserPrompts& prompts, QWidget* parent,
                       const HelpOpener& showHelp) {
    TfrmAddWatch dialog(settings, prompts, parent);
    dialog.SetHelpOpener(showHelp);
    TWatch watch;
    if (dialog.exec() == QDialog::Accepted) {
        dialog.ReadResult(watch);
    }
    return watch;
}

TWatch ExecuteEditWatch(const TWatch& watch, const TSettings& settings, UserPrompts& prompts,
                        const Clock& clock, QWidget* parent, const HelpOpener& showHelp) {
    TfrmAddWatch dialog(settings, prompts, parent);
    dialog.SetHelpOpener(showHelp);
    dialog.setWindowTitle(QStringLiteral("Edit Watch"));
    dialog.Fill(watch);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    TWatch edited = watch;
    dialog.ReadResult(edited);
    if (edited.Address != watch.Address || edited.ScanType != watch.ScanType) {
        edited.Added = GetTimeStamp(clock);
        edited.LastScan = "n/a";
        edited.LastChange = "n/a";
        edited.MD5.clear();
        edited.BeforeSize = 0;
        edited.AfterSize = 0;
    }
    edited.AddressMD5 = ComputeAddressMD5(edited);
    return edited;
}

} // namespace zelmox
