#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QButtonGroup;
class QLineEdit;
class QListWidget;

namespace zelmox {

class UserPrompts;

// What the import dialog returns: the lines it lists (none when cancelled) and the scan type of
// every imported watch.
struct ImportRequest {
    std::vector<std::string> Lines;
    int ScanType = 0;
};

// The import dialog: a text file of addresses, one a line, shown line by line, and the scan method
// of the watches made from them.
class TfrmImport : public QDialog {
    Q_OBJECT

public:
    explicit TfrmImport(UserPrompts& prompts, QWidget* parent = nullptr);

    ImportRequest Result() const;

    // The browse button: an open chooser, then the list shows the chosen file's lines.
    void sbImportClick();
    // The list shows the lines of the file; a file that cannot be read leaves it as it was.
    void LoadList(const QString& path);

private:
    UserPrompts& prompts_;
    QLineEdit* eFilename_ = nullptr;
    QListWidget* lbImport_ = nullptr;
    QButtonGroup* scanMethods_ = nullptr;
    // The lines as read, byte for byte; the list shows them decoded.
    std::vector<std::string> lines_;
};

// Shows the import dialog; the lines are empty when it was cancelled.
ImportRequest ExecuteImport(UserPrompts& prompts, QWidget* parent);

} // namespace zelmox
