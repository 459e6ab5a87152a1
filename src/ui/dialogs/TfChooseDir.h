#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QModelIndex;
class QTreeView;

namespace zelmox {

// The folder chooser: a tree of the computer's folders (folders only) under a drop-down list that
// shows the selected folder and the folders on its way from the root, to jump back along it.
class TfChooseDir : public QDialog {
    Q_OBJECT

public:
    // Opens with `folder` selected when it exists.
    explicit TfChooseDir(const QString& folder, QWidget* parent = nullptr);

    // The selected folder ending in "/"; empty when none is selected.
    QString SelectedFolder() const;
    void SelectFolder(const QString& folder);

    // Shows the chooser modally: the chosen folder ending in "/", or empty when cancelled.
    static QString Execute(const QString& folder, QWidget* parent);

private:
    void ShowSelection();
    void ShowPathOf(const QModelIndex& index);

    QFileSystemModel* folders_ = nullptr;
    QTreeView* stvMain_ = nullptr;
    QComboBox* cbPath_ = nullptr;
    // The folders beside the selected one were read; it is shown once they are sorted.
    bool scrollPending_ = false;
};

} // namespace zelmox
