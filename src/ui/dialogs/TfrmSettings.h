#pragma once

#include <QDialog>
#include <array>
#include <string>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
class QToolButton;

namespace zelmox {

class SoundPlayer;
class UserPrompts;
struct TSettings;

// The settings dialog: general behaviour, connection and sounds on three pages. It edits the
// settings record in memory; "Save" copies every control back once all of them hold sound values.
class TfrmSettings : public QDialog {
    Q_OBJECT

public:
    enum Page { PageGeneral = 0, PageConnection = 1, PageAudio = 2 };
    // The four scan types' rows, then the "scan finished" row.
    static constexpr int SoundRowCount = 5;

    // defaultDataFolder is the snapshot folder when no custom folder is used.
    TfrmSettings(TSettings& settings, std::string defaultDataFolder, UserPrompts& prompts,
                 SoundPlayer& sounds, QWidget* parent = nullptr);

    // Copies the settings into the controls.
    void BuildSettingsDisplay();

    // The dialog's handlers, public for the tests that drive them.
    void ShowPage(int page);
    void cbCUseProxyClick();
    void cbUseCCFClick();
    void cbPlaySoundsClick();
    void sbCCFolderClick();
    void eSoundChooseClick(int row);
    void eSoundPlayClick(int row);
    void SpeedButton1Click();
    void BitBtn1Click();
    void bSaveClick();

signals:
    // "Help" asks for the help viewer on this page.
    void HelpRequested(const QString& page);

private:
    struct SoundRow {
        QLineEdit* Name = nullptr;
        QToolButton* Play = nullptr;
        QToolButton* Choose = nullptr;
    };

    QWidget* BuildGeneralPage();
    QWidget* BuildConnectionPage();
    QWidget* BuildAudioPage();
    QLayout* BuildButtonRow();
    // False after showing the first control whose value cannot be saved, and what is wrong.
    bool ValuesAreSound();
    std::string SoundText(int row) const;
    void SetSoundText(int row, const std::string& bytes);

    TSettings& settings_;
    const std::string defaultDataFolder_;
    UserPrompts& prompts_;
    SoundPlayer& sounds_;
    // The sound chooser opens where it was last left, as one dialog shared by the five rows.
    QString soundFolder_;

    QButtonGroup* pages_ = nullptr;
    QStackedWidget* pageStack_ = nullptr;

    QCheckBox* cbGAutoscan_ = nullptr;
    QCheckBox* cbGAutoSave_ = nullptr;
    QCheckBox* cbAutoDescription_ = nullptr;
    QButtonGroup* descriptionTypes_ = nullptr;
    QRadioButton* cbADTitle_ = nullptr;
    QRadioButton* cbADMeta_ = nullptr;
    QCheckBox* cbUseCCF_ = nullptr;
    QLineEdit* eCCFolder_ = nullptr;
    QToolButton* sbCCFolder_ = nullptr;

    QLineEdit* eCHTTPPort_ = nullptr;
    QCheckBox* cbCUseProxy_ = nullptr;
    QCheckBox* cbCBasicAuthentification_ = nullptr;
    QLineEdit* eCUsername_ = nullptr;
    QLineEdit* eCPassword_ = nullptr;
    QLineEdit* eCServer_ = nullptr;
    QLineEdit* eCProxyPort_ = nullptr;

    QCheckBox* cbPlaySounds_ = nullptr;
    std::array<SoundRow, SoundRowCount> soundRows_;
};

} // namespace zelmox
