#include "TfrmSettings.h"

#include "DisplayText.h"
#include "ImageButton.h"
#include "Ports.h"
#include "Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace zelmox {

namespace {

constexpr int DialogWidth = 450;
constexpr int DialogHeight = 327;
constexpr int LargestPort = 65535;

const char* const SoundLabels[TfrmSettings::SoundRowCount] = {
    "'all text'", "'text between tags'", "'size comparison'", "'keywords'", "scan finished"};

// What is wrong with a port text, or empty when it is a whole number from 0 to 65535.
QString PortProblem(const QString& text, const QString& field) {
    bool isInteger = false;
    const int port = text.trimmed().toInt(&isInteger, 10);
    if (!isInteger) {
        return QStringLiteral("'%1' is not a valid integer value").arg(text);
    }
    if (port < 0 || port > LargestPort) {
        return QStringLiteral("The %1 must be a number from 0 to %2.").arg(field).arg(LargestPort);
    }
    return {};
}

int PortValue(const QString& text) {
    return text.trimmed().toInt(nullptr, 10);
}

// What the field holds, as bytes to store: the stored bytes themselves while the text is as shown,
// so that a value that is not UTF-8 (a file name, say) survives the round trip.
std::string Edited(const QLineEdit* field, const std::string& stored) {
    return field->text() == ShowText(stored) ? stored : StoreText(field->text());
}

QString WithSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

template <typename Control> Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QLineEdit* MakeField(const char* name) {
    return Named(new QLineEdit, name);
}

QCheckBox* MakeCheckBox(const char* name, const char* caption) {
    return Named(new QCheckBox(QString::fromLatin1(caption)), name);
}

// A label for a field, which a screen reader then reads with it.
QLabel* LabelFor(const char* caption, QWidget* field) {
    auto* label = new QLabel(QString::fromLatin1(caption));
    label->setBuddy(field);
    return label;
}

QToolButton* MakePageButton(const char* name, const char* caption, const char* image) {
    auto* button = MakeImageButton(QString::fromLatin1(name), QString::fromLatin1(image),
                                   QString::fromLatin1(caption));
    button->setText(QString::fromLatin1(caption));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setMinimumWidth(76);
    return button;
}

QPushButton* MakeButton(const char* name, const char* caption) {
    auto* button = Named(new QPushButton(QString::fromLatin1(caption)), name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmSettings::TfrmSettings(TSettings& settings, std::string defaultDataFolder, UserPrompts& prompts,
                           SoundPlayer& sounds, QWidget* parent)
    : QDialog(parent), settings_(settings), defaultDataFolder_(std::move(defaultDataFolder)),
      prompts_(prompts), sounds_(sounds) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Settings"));
    setFixedSize(DialogWidth, DialogHeight);

    auto* pageButtons = new QVBoxLayout;
    pages_ = new QButtonGroup(this);
    const char* const pageNames[][3] = {{"sbGeneral", "general", "settings-general"},
                                        {"sbConnection", "connection", "settings-connection"},
                                        {"sbAudio", "audio", "settings-audio"}};
    for (int page = PageGeneral; page <= PageAudio; ++page) {
        QToolButton* button =
            MakePageButton(pageNames[page][0], pageNames[page][1], pageNames[page][2]);
        pages_->addButton(button, page);
        pageButtons->addWidget(button);
    }
    pageButtons->addStretch();
    pageStack_ = new QStackedWidget;
    pageStack_->addWidget(BuildGeneralPage());
    pageStack_->addWidget(BuildConnectionPage());
    pageStack_->addWidget(BuildAudioPage());

    auto* body = new QHBoxLayout;
    body->addLayout(pageButtons);
    body->addWidget(pageStack_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(BuildButtonRow());

    connect(pages_, &QButtonGroup::idClicked, this, &TfrmSettings::ShowPage);
    connect(cbCUseProxy_, &QCheckBox::toggled, this, &TfrmSettings::cbCUseProxyClick);
    connect(cbUseCCF_, &QCheckBox::toggled, this, &TfrmSettings::cbUseCCFClick);
    connect(cbPlaySounds_, &QCheckBox::toggled, this, &TfrmSettings::cbPlaySoundsClick);
    connect(sbCCFolder_, &QToolButton::clicked, this, &TfrmSettings::sbCCFolderClick);
    for (int row = 0; row < SoundRowCount; ++row) {
        const SoundRow& sound = soundRows_[static_cast<std::size_t>(row)];
        connect(sound.Play, &QToolButton::clicked, this, [this, row] { eSoundPlayClick(row); });
        connect(sound.Choose, &QToolButton::clicked, this, [this, row] { eSoundChooseClick(row); });
    }
    ShowPage(PageGeneral);
}

QWidget* TfrmSettings::BuildGeneralPage() {
    auto* page = Named(new QWidget, "pGeneral");
    cbGAutoscan_ = MakeCheckBox("cbGAutoscan", "Automatically scan after loading");
    cbGAutoSave_ = MakeCheckBox("cbGAutoSave", "Autosave when closing");
    cbAutoDescription_ =
        MakeCheckBox("cbAutoDescription", "Automatically create 'Description' if left blank");
    cbADTitle_ = Named(new QRadioButton(QStringLiteral("Use <title> tag")), "cbADTitle");
    cbADMeta_ = Named(new QRadioButton(QStringLiteral("Use Meta Description")), "cbADMeta");
    descriptionTypes_ = new QButtonGroup(this);
    descriptionTypes_->addButton(cbADTitle_, 1);
    descriptionTypes_->addButton(cbADMeta_, 2);
    cbUseCCF_ = MakeCheckBox("cbUseCCF", "Use a custom cache folder");
    eCCFolder_ = MakeField("eCCFolder");
    eCCFolder_->setAccessibleName(QStringLiteral("custom cache folder"));
    sbCCFolder_ = MakeImageButton(QStringLiteral("sbCCFolder"), QStringLiteral("folder"),
                                  QStringLiteral("choose the cache folder"));
    auto* clearHistory = MakeButton("SpeedButton1", "clear opened document history");
    connect(clearHistory, &QPushButton::clicked, this, &TfrmSettings::SpeedButton1Click);

    auto* layout = new QGridLayout(page);
    layout->setColumnMinimumWidth(0, 16);
    layout->addWidget(cbGAutoscan_, 0, 0, 1, 3);
    layout->addWidget(cbGAutoSave_, 1, 0, 1, 3);
    layout->addWidget(cbAutoDescription_, 2, 0, 1, 3);
    layout->addWidget(cbADTitle_, 3, 1, 1, 2);
    layout->addWidget(cbADMeta_, 4, 1, 1, 2);
    layout->addWidget(cbUseCCF_, 5, 0, 1, 3);
    layout->addWidget(eCCFolder_, 6, 1);
    layout->addWidget(sbCCFolder_, 6, 2);
    layout->setRowStretch(7, 1);
    layout->addWidget(clearHistory, 8, 0, 1, 3);
    return page;
}

QWidget* TfrmSettings::BuildConnectionPage() {
    auto* page = Named(new QWidget, "pConnection");
    eCHTTPPort_ = MakeField("eCHTTPPort");
    cbCUseProxy_ = MakeCheckBox("cbCUseProxy", "Connect through a proxy");
    cbCBasicAuthentification_ = MakeCheckBox("cbCBasicAuthentification", "Basic Authentification");
    eCUsername_ = MakeField("eCUsername");
    eCPassword_ = MakeField("eCPassword");
    eCServer_ = MakeField("eCServer");
    eCProxyPort_ = MakeField("eCProxyPort");

    auto* layout = new QGridLayout(page);
    layout->setColumnMinimumWidth(0, 16);
    layout->addWidget(LabelFor("HTTP Port", eCHTTPPort_), 0, 0, 1, 2);
    layout->addWidget(eCHTTPPort_, 0, 2);
    layout->addWidget(cbCUseProxy_, 1, 0, 1, 3);
    layout->addWidget(cbCBasicAuthentification_, 2, 1, 1, 2);
    int row = 3;
    for (const auto& [caption, field] : {std::pair{"Username", eCUsername_},
                                         {"Password", eCPassword_},
                                         {"Server", eCServer_},
                                         {"Port", eCProxyPort_}}) {
        layout->addWidget(LabelFor(caption, field), row, 1);
        layout->addWidget(field, row++, 2);
    }
    layout->setRowStretch(row, 1);
    return page;
}

QWidget* TfrmSettings::BuildAudioPage() {
    auto* page = Named(new QWidget, "pAudio");
    cbPlaySounds_ = MakeCheckBox("cbPlaySounds", "Play sounds to notify of changes");
    auto* layout = new QGridLayout(page);
    layout->addWidget(cbPlaySounds_, 0, 0, 1, 4);
    for (int row = 0; row < SoundRowCount; ++row) {
        const bool finished = row == SoundRowCount - 1;
        const QString number = QString::number(row + 1);
        SoundRow& sound = soundRows_[static_cast<std::size_t>(row)];
        sound.Name = new QLineEdit;
        sound.Name->setObjectName(finished ? QStringLiteral("eSoundFinished")
                                           : QStringLiteral("eSoundName") + number);
        sound.Play = MakeImageButton(finished ? QStringLiteral("sbSoundFinished")
                                              : QStringLiteral("eSoundPlay") + number,
                                     QStringLiteral("play"), QStringLiteral("play the sound"));
        sound.Choose =
            MakeImageButton(finished ? QStringLiteral("sbChooseSoundFinished")
                                     : QStringLiteral("eSoundChoose") + number,
                            QStringLiteral("folder"), QStringLiteral("choose a sound file"));
        layout->addWidget(LabelFor(SoundLabels[row], sound.Name), 2 * row + 1, 0, 1, 4);
        layout->addWidget(sound.Name, 2 * row + 2, 0);
        layout->addWidget(sound.Play, 2 * row + 2, 1);
        layout->addWidget(sound.Choose, 2 * row + 2, 2);
    }
    layout->setRowStretch(2 * SoundRowCount + 1, 1);
    return page;
}

QLayout* TfrmSettings::BuildButtonRow() {
    auto* help = MakeButton("BitBtn1", "&Help");
    auto* save = MakeButton("bSave", "&Save");
    auto* cancel = MakeButton("bCancel", "&Cancel");
    connect(help, &QPushButton::clicked, this, &TfrmSettings::BitBtn1Click);
    connect(save, &QPushButton::clicked, this, &TfrmSettings::bSaveClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(help);
    row->addStretch();
    row->addWidget(save);
    row->addWidget(cancel);
    return row;
}

void TfrmSettings::ShowPage(int page) {
    pages_->button(page)->setChecked(true);
    pageStack_->setCurrentIndex(page);
}

std::string TfrmSettings::SoundText(int row) const {
    const std::string& stored = row < TSettings::kSoundCount
                                    ? settings_.Sound[static_cast<std::size_t>(row)]
                                    : settings_.SoundFinished;
    return Edited(soundRows_[static_cast<std::size_t>(row)].Name, stored);
}

void TfrmSettings::SetSoundText(int row, const std::string& bytes) {
    soundRows_[static_cast<std::size_t>(row)].Name->setText(ShowText(bytes));
}

void TfrmSettings::BuildSettingsDisplay() {
    eCHTTPPort_->setText(QString::number(settings_.HTTPPort));
    cbCUseProxy_->setChecked(settings_.UseProxySettings);
    cbCBasicAuthentification_->setChecked(settings_.BasicAuthentication);
    eCPassword_->setText(ShowText(settings_.ProxyPassword));
    eCUsername_->setText(ShowText(settings_.ProxyUsername));
    eCServer_->setText(ShowText(settings_.ProxyServer));
    eCProxyPort_->setText(QString::number(settings_.ProxyPort));
    cbGAutoscan_->setChecked(settings_.AutoScanAfterLoad);
    cbGAutoSave_->setChecked(settings_.AutoSave);
    cbAutoDescription_->setChecked(settings_.AutoDescription);
    // Any type but the two known ones checks neither.
    descriptionTypes_->setExclusive(false);
    cbADTitle_->setChecked(settings_.AutoDescriptionType == 1);
    cbADMeta_->setChecked(settings_.AutoDescriptionType == 2);
    descriptionTypes_->setExclusive(true);
    cbPlaySounds_->setChecked(settings_.PlayNotifySounds);
    for (int row = 0; row < TSettings::kSoundCount; ++row) {
        SetSoundText(row, settings_.Sound[static_cast<std::size_t>(row)]);
    }
    cbUseCCF_->setChecked(settings_.UseCCF);
    eCCFolder_->setText(ShowText(settings_.CCF));
    SetSoundText(SoundRowCount - 1, settings_.SoundFinished);
    cbCUseProxyClick();
    cbUseCCFClick();
    cbPlaySoundsClick();
}

void TfrmSettings::cbCUseProxyClick() {
    const bool use = cbCUseProxy_->isChecked();
    cbCBasicAuthentification_->setEnabled(use);
    for (QLineEdit* field : {eCPassword_, eCUsername_, eCServer_, eCProxyPort_}) {
        field->setEnabled(use);
        // White while in use, the grey of a button face while not; greyed text stays the system's.
        QPalette colours = palette();
        if (use) {
            colours.setColor(QPalette::Base, Qt::white);
            colours.setColor(QPalette::Text, Qt::black);
        } else {
            colours.setColor(QPalette::Base, palette().color(QPalette::Button));
        }
        field->setPalette(colours);
    }
}

void TfrmSettings::cbUseCCFClick() {
    eCCFolder_->setEnabled(cbUseCCF_->isChecked());
    sbCCFolder_->setEnabled(cbUseCCF_->isChecked());
}

void TfrmSettings::cbPlaySoundsClick() {
    for (const SoundRow& sound : soundRows_) {
        for (QWidget* control :
             {static_cast<QWidget*>(sound.Name), static_cast<QWidget*>(sound.Play),
              static_cast<QWidget*>(sound.Choose)}) {
            control->setEnabled(cbPlaySounds_->isChecked());
        }
    }
}

void TfrmSettings::sbCCFolderClick() {
    const QString folder = prompts_.ChooseFolder(eCCFolder_->text());
    if (!folder.isEmpty()) {
        eCCFolder_->setText(folder);
    }
}

void TfrmSettings::eSoundChooseClick(int row) {
    const QString file = prompts_.ChooseOpenFile(QStringLiteral("Open"), soundFolder_,
                                                 QStringLiteral("Sound files (*.wav)"));
    if (!file.isEmpty()) {
        soundRows_[static_cast<std::size_t>(row)].Name->setText(file);
        soundFolder_ = QFileInfo(file).absolutePath();
    }
}

void TfrmSettings::eSoundPlayClick(int row) {
    sounds_.Play(soundRows_[static_cast<std::size_t>(row)].Name->text());
}

void TfrmSettings::SpeedButton1Click() {
    // At once, and for good: Cancel does not bring the history back.
    if (prompts_.AskYesNo(QStringLiteral("Are you sure?"))) {
        settings_.RecentlyCount = 0;
    }
}

void TfrmSettings::BitBtn1Click() {
    emit HelpRequested(QStringLiteral("settings.htm"));
}

bool TfrmSettings::ValuesAreSound() {
    struct Check {
        QString Problem;
        int Page;
        QLineEdit* Field;
    };
    const QString noFolder =
        QStringLiteral("Please enter the custom cache folder, or untick \"Use a custom cache "
                       "folder\".");
    const Check checks[] = {
        {PortProblem(eCHTTPPort_->text(), QStringLiteral("HTTP Port")), PageConnection,
         eCHTTPPort_},
        {cbCUseProxy_->isChecked() ? PortProblem(eCProxyPort_->text(), QStringLiteral("proxy Port"))
                                   : QString(),
         PageConnection, eCProxyPort_},
        {cbUseCCF_->isChecked() && eCCFolder_->text().trimmed().isEmpty() ? noFolder : QString(),
         PageGeneral, eCCFolder_},
    };
    for (const Check& check : checks) {
        if (!check.Problem.isEmpty()) {
            ShowPage(check.Page);
            prompts_.Error(check.Problem);
            check.Field->setFocus();
            check.Field->selectAll();
            return false;
        }
    }
    return true;
}

void TfrmSettings::bSaveClick() {
    // Nothing is copied until every value can be: a half-saved dialog would leave the settings
    // half old and half new.
    if (!ValuesAreSound()) {
        return;
    }
    settings_.HTTPPort = PortValue(eCHTTPPort_->text());
    settings_.UseProxySettings = cbCUseProxy_->isChecked();
    settings_.BasicAuthentication = cbCBasicAuthentification_->isChecked();
    settings_.ProxyPassword = Edited(eCPassword_, settings_.ProxyPassword);
    settings_.ProxyUsername = Edited(eCUsername_, settings_.ProxyUsername);
    settings_.ProxyServer = Edited(eCServer_, settings_.ProxyServer);
    // Without a proxy its port is not checked; one that is no port keeps the stored value.
    if (PortProblem(eCProxyPort_->text(), {}).isEmpty()) {
        settings_.ProxyPort = PortValue(eCProxyPort_->text());
    }
    settings_.AutoScanAfterLoad = cbGAutoscan_->isChecked();
    settings_.AutoSave = cbGAutoSave_->isChecked();
    settings_.AutoDescription = cbAutoDescription_->isChecked();
    settings_.AutoDescriptionType = cbADTitle_->isChecked() ? 1 : 2;
    settings_.PlayNotifySounds = cbPlaySounds_->isChecked();
    for (int row = 0; row < TSettings::kSoundCount; ++row) {
        settings_.Sound[static_cast<std::size_t>(row)] = SoundText(row);
    }
    settings_.SoundFinished = SoundText(SoundRowCount - 1);
    settings_.UseCCF = cbUseCCF_->isChecked();
    if (settings_.UseCCF) {
        const std::string typed = Edited(eCCFolder_, settings_.CCF);
        eCCFolder_->setText(WithSlash(eCCFolder_->text()));
        settings_.CCF = typed.ends_with('/') ? typed : typed + '/';
    } else {
        settings_.CCF = defaultDataFolder_;
    }
    accept();
}

} // namespace zelmox
