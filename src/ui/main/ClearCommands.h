#pragma once

#include <QObject>

namespace zelmox {

class TfrmMain;

// Clearing the change marks of the selected watch, of the shown section or of every section.
class ClearCommands : public QObject {
    Q_OBJECT

public:
    explicit ClearCommands(TfrmMain& window);

    void sbClearClick();
    void miClearAllClick();
    void miClearThisTabClick();

private:
    void ClearSection(int tab);
    // The tray image, the "clear" button and the counts after any clear.
    void Cleared();

    TfrmMain& window_;
};

} // namespace zelmox
