#include "ToolButtons.h"

#include "Images.h"

namespace zelmox {

namespace {

QToolButton* MakeButton(const QString& name, const QString& caption, const QString& hint,
                        const QString& image, Qt::ToolButtonStyle style, QSize minimumSize) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setIcon(ButtonImage(image));
    button->setToolButtonStyle(style);
    button->setAutoRaise(true);
    // At least the classic size; wider where the system's font needs room for the caption.
    button->setMinimumSize(minimumSize);
    return button;
}

} // namespace

QToolButton* MakeToolButton(const QString& name, const QString& caption, const QString& hint,
                            const QString& image) {
    QToolButton* button =
        MakeButton(name, caption, hint, image, Qt::ToolButtonTextUnderIcon, QSize(86, 68));
    button->setIconSize(QSize(48, 48));
    return button;
}

QToolButton* MakeBottomButton(const QString& name, const QString& caption, const QString& hint,
                              const QString& image) {
    return MakeButton(name, caption, hint, image, Qt::ToolButtonTextBesideIcon, QSize(71, 31));
}

void ToolButtons::Create() {
    tbSave = MakeToolButton("tbSave", "Save", "save the current configuration", "save");
    tbScan = MakeToolButton("tbScan", "Scan All Tabs",
                            "scan the current list of website sites for changes (scans ALL tabs)",
                            "scan-all");
    tbScanCurrent =
        MakeToolButton("tbScanCurrent", "Scan Current",
                       "scan only the currently selected section (tab)", "scan-current");
    tbAutoScan = MakeToolButton(
        "tbAutoScan", "Auto Scan",
        "automatically scan the current set of websites at a user determined interval",
        "auto-scan");
    tbAddWatch =
        MakeToolButton("tbAddWatch", "Add Watch", "add a website link to watch", "add-watch");
    tbDeleteWatch = MakeToolButton("tbDeleteWatch", "Delete Watch",
                                   "delete the currently active website watch", "delete-watch");
    tbAddSection =
        MakeToolButton("tbAddSection", "Add Section", "add a new section (tab)", "add-section");
    tbDeleteSection = MakeToolButton("tbDeleteSection", "Delete Section",
                                     "delete the current section (tab)", "delete-section");
    tbRenameSection = MakeToolButton("tbRenameSection", "Rename Section",
                                     "rename the currently selected section", "rename-section");
    sbCompare =
        MakeBottomButton("sbCompare", "compare",
                         "compare the last two changes for the highlighted 'watch'", "compare");
    sbInfo = MakeBottomButton("sbInfo", "info",
                              "show information on the currently selected 'watch'", "info");
    sbClear =
        MakeBottomButton("sbClear", "clear", "clear the status of the current selection", "clear");
    sbEdit = MakeBottomButton("sbEdit", "edit", "edit the current watch", "edit");
    tbDeleteSection->setEnabled(false);
    for (QToolButton* button : {sbCompare, sbInfo, sbClear, sbEdit}) {
        button->setEnabled(false);
    }
}

void ToolButtons::DisableToolButtons(int mode) {
    for (QToolButton* button :
         {tbSave, tbScan, tbScanCurrent, sbCompare, sbInfo, sbClear, sbEdit, tbAddWatch,
          tbDeleteWatch, tbAddSection, tbDeleteSection, tbRenameSection}) {
        button->setEnabled(false);
    }
    if (mode != ModeAutoScan) {
        tbAutoScan->setEnabled(false);
    }
    if (mode == ModeAutoScan) {
        miTTStart->setEnabled(false);
        miTTStop->setEnabled(true);
    }
}

void ToolButtons::EnableToolButtons(int mode, bool firstTabActive) {
    for (QToolButton* button :
         {tbSave, tbScan, tbScanCurrent, tbAutoScan, tbAddWatch, tbDeleteWatch, tbAddSection,
          sbCompare, sbInfo, sbClear, sbEdit, tbRenameSection}) {
        button->setEnabled(true);
    }
    if (!firstTabActive) {
        tbDeleteSection->setEnabled(true);
    }
    if (mode == ModeAutoScan) {
        miTTStart->setEnabled(true);
        miTTStop->setEnabled(false);
    }
}

} // namespace zelmox
