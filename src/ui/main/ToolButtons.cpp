#include "ToolButtons.h"

namespace zelmox {

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
