#pragma once

#include <QByteArray>
#include <QObject>

class QAction;
class QMenu;

namespace zelmox {

class Importer;
class TfrmMain;

// The File menu's exchange of address lists: "Export List" writes every watch's address to a
// text file, "Import Watches" makes watches of the shown section from one.
class ListCommands : public QObject {
    Q_OBJECT

public:
    // Adds the two commands to the File menu, before `before`.
    ListCommands(TfrmMain& window, QMenu* fileMenu, QAction* before);

    void Export1Click();
    void Import1Click();

    // True while an import fetches its pages.
    bool IsImporting() const { return importer_ != nullptr; }

signals:
    // An import ended; its watches are in their section.
    void ImportFinished();

private:
    void ShowImportProgress(int line, const QByteArray& address);
    void EndImport();

    TfrmMain& window_;
    Importer* importer_ = nullptr;
};

} // namespace zelmox
