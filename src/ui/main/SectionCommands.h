#pragma once

#include <QObject>
#include <string>

namespace zelmox {

class TfrmMain;

// Adding, renaming, deleting and sorting sections, and opening a watch from its grid.
class SectionCommands : public QObject {
    Q_OBJECT

public:
    explicit SectionCommands(TfrmMain& window);

    // Adds a section named so, or shows the maximum message; false when none was added.
    bool AddNewTab(const std::string& name);

    void tbAddSectionClick();
    void tbRenameSectionClick();
    void tbDeleteSectionClick();
    void SortActiveGrid(int tabIndex, int column);
    void sg1DblClick();

private:
    TfrmMain& window_;
};

} // namespace zelmox
