#pragma once

#include "Clock.h"
#include "HttpClient.h"
#include "Ports.h"
#include "Watch.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;
class QWidget;

namespace zelmox {

struct TSettings;

// The add/edit watch dialog: address, description, detection method, keywords and the manual flag.
// OK checks that the address can be opened (a web address is fetched with the dialog's own
// client, without freezing the window) and may take the description from the page.
class TfrmAddWatch : public QDialog {
    Q_OBJECT

public:
    TfrmAddWatch(const TSettings& settings, UserPrompts& prompts, QWidget* parent = nullptr);

    // Fills the controls from a watch being edited.
    void Fill(const TWatch& watch);
    // Description, address, scan type, keywords (keyword scan only) and the manual flag.
    void ReadResult(TWatch& watch) const;

    HttpClient& Client() { return client_; }
    // What "&Help" opens the help with; without one the button stays disabled.
    void SetHelpOpener(HelpOpener showHelp);

    // The dialog's handlers, public for the tests that drive them.
    void ePageAddressExit();
    void CheckFileType(bool resetMethod);
    void rbScanType1Click();
    void sbAddKeywordClick();
    void eKeywordKeyPress();
    void sbDelKeywordClick();
    void sbGetLocalFileClick();
    void bOKClick();
    void BitBtn1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    int CheckedScanType() const;
    bool AddKeyword();
    // Into the list in its sorted place, unless it is there already in any letter case.
    bool InsertKeyword(const QString& keyword);
    bool OkRuleHolds() const;
    void SetChecking(bool checking);
    void OnPageFetched(bool ok, const QByteArray& content);

    const TSettings& settings_;
    UserPrompts& prompts_;
    HttpClient client_;
    QLineEdit* eDescription_ = nullptr;
    QLineEdit* ePageAddress_ = nullptr;
    QToolButton* sbGetLocalFile_ = nullptr;
    QRadioButton* rbScanType_[4] = {};
    QButtonGroup* scanTypes_ = nullptr;
    QWidget* pKeywords_ = nullptr;
    QLineEdit* eKeyword_ = nullptr;
    QListWidget* lbKeywords_ = nullptr;
    QCheckBox* cbManual_ = nullptr;
    QLabel* checking_ = nullptr;
    QPushButton* BitBtn1_ = nullptr;
    QPushButton* bOK_ = nullptr;
    QPushButton* bCancel_ = nullptr;
    // The address as it stood when the dialog opened or the field was last left.
    QString addressAtLastExit_;
    ContentFetch* fetch_ = nullptr;
    HelpOpener showHelp_;
};

// Shows the dialog to add a watch; the record's Address is empty when the user cancelled.
TWatch ExecuteAddWatch(const TSettings& settings, UserPrompts& prompts, QWidget* parent,
                       const HelpOpener& showHelp);

// Shows the dialog to edit a watch; the record's Address is empty when the user cancelled. A new
// address or scan type starts the watch's record afresh; AddressMD5 always follows the result.
TWatch ExecuteEditWatch(const TWatch& watch, const TSettings& settings, UserPrompts& prompts,
                        const Clock& clock, QWidget* parent, const HelpOpener& showHelp);

} // namespace zelmox
